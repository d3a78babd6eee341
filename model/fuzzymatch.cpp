#include "model/fuzzymatch.h"

#include <algorithm>
#include <limits>

namespace {

// Score parts. A matched character earns kMatch; one at the start of a word earns kWordStart more, one at
// the very start of the text kTextStart on top; one right after the previous matched character earns
// kConsecutive. Every character skipped between two matched ones costs 1, and so does every character
// before the first match, up to kLeadCap.
constexpr int kMatch = 1;
constexpr int kWordStart = 10;
constexpr int kTextStart = 20;
constexpr int kConsecutive = 12;
constexpr int kLeadCap = 10;
constexpr int kNone = std::numeric_limits<int>::min() / 2;
// The work grows with query length times text length: only the start of a long text takes part, and a
// query longer than any ID or caption one would type matches nothing.
constexpr std::size_t kMaxTextUnits = 2000;
constexpr std::size_t kMaxQueryUnits = 200;

// One character: a whole UTF-8 sequence, or a single byte when the bytes do not form one.
struct Unit {
    std::size_t at;
    std::size_t size;
};

std::size_t SequenceLength(unsigned char lead) {
    if (lead < 0x80)
        return 1;
    if ((lead & 0xE0) == 0xC0)
        return 2;
    if ((lead & 0xF0) == 0xE0)
        return 3;
    if ((lead & 0xF8) == 0xF0)
        return 4;
    return 1;
}

std::vector<Unit> Units(std::string_view text, bool dropBlanks) {
    std::vector<Unit> units;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t size = SequenceLength(static_cast<unsigned char>(text[i]));
        if (i + size > text.size())
            size = 1;
        for (std::size_t k = 1; k < size; ++k)
            if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) {
                size = 1;
                break;
            }
        if (!(dropBlanks && size == 1 && (text[i] == ' ' || text[i] == '\t')))
            units.push_back({i, size});
        i += size;
    }
    return units;
}

char Fold(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

bool SameUnit(std::string_view a, Unit ua, std::string_view b, Unit ub) {
    if (ua.size != ub.size)
        return false;
    if (ua.size == 1)
        return Fold(a[ua.at]) == Fold(b[ub.at]);
    return a.substr(ua.at, ua.size) == b.substr(ub.at, ub.size);
}

enum class Kind { Lower, Upper, Digit, OtherLetter, Separator };

Kind KindOf(std::string_view text, Unit u) {
    if (u.size > 1)
        return Kind::OtherLetter; // characters outside ASCII count as letters
    const char c = text[u.at];
    if (c >= 'a' && c <= 'z')
        return Kind::Lower;
    if (c >= 'A' && c <= 'Z')
        return Kind::Upper;
    if (c >= '0' && c <= '9')
        return Kind::Digit;
    return Kind::Separator;
}

// A word starts at the text's start, after a separator, at a capital after a small letter (camel case)
// and at a digit after a letter ("S12").
bool IsWordStart(std::string_view text, const std::vector<Unit>& units, std::size_t j) {
    const Kind here = KindOf(text, units[j]);
    if (here == Kind::Separator)
        return false;
    if (j == 0)
        return true;
    const Kind before = KindOf(text, units[j - 1]);
    if (before == Kind::Separator)
        return true;
    if (here == Kind::Upper && before == Kind::Lower)
        return true;
    return here == Kind::Digit && before != Kind::Digit;
}

} // namespace

TFuzzyMatch FuzzyMatch(std::string_view query, std::string_view text) {
    TFuzzyMatch result;
    const std::vector<Unit> q = Units(query, true);
    if (q.empty()) {
        result.Matched = true;
        return result;
    }
    std::vector<Unit> t = Units(text, false);
    if (t.size() > kMaxTextUnits)
        t.resize(kMaxTextUnits);
    const std::size_t m = q.size(), n = t.size();
    if (m > n || m > kMaxQueryUnits)
        return result;

    std::vector<int> bonus(n);
    for (std::size_t j = 0; j < n; ++j)
        bonus[j] = kMatch + (IsWordStart(text, t, j) ? kWordStart : 0) + (j == 0 ? kTextStart : 0);

    // score[i*n + j]: the best score of query characters 0..i with character i matched at text unit j;
    // from[i*n + j]: where character i-1 was matched on that best way.
    std::vector<int> score(m * n, kNone);
    std::vector<std::size_t> from(m * n, 0);
    for (std::size_t j = 0; j < n; ++j)
        if (SameUnit(query, q[0], text, t[j]))
            score[j] = bonus[j] - static_cast<int>(std::min<std::size_t>(j, kLeadCap));
    for (std::size_t i = 1; i < m; ++i) {
        const int* prev = &score[(i - 1) * n];
        int* cur = &score[i * n];
        // best of prev[k] + k over k <= j-2, so that prev[k] - (j-k-1) = bestGap - (j-1).
        int bestGap = kNone;
        std::size_t bestGapAt = 0;
        for (std::size_t j = i; j < n; ++j) {
            if (j >= 2 && prev[j - 2] != kNone && prev[j - 2] + static_cast<int>(j - 2) > bestGap) {
                bestGap = prev[j - 2] + static_cast<int>(j - 2);
                bestGapAt = j - 2;
            }
            if (!SameUnit(query, q[i], text, t[j]))
                continue;
            int best = kNone;
            std::size_t bestFrom = 0;
            if (prev[j - 1] != kNone) {
                best = prev[j - 1] + kConsecutive;
                bestFrom = j - 1;
            }
            if (bestGap != kNone && bestGap - static_cast<int>(j - 1) > best) {
                best = bestGap - static_cast<int>(j - 1);
                bestFrom = bestGapAt;
            }
            if (best == kNone)
                continue;
            cur[j] = best + bonus[j];
            from[i * n + j] = bestFrom;
        }
    }
    const int* last = &score[(m - 1) * n];
    std::size_t end = n;
    for (std::size_t j = 0; j < n; ++j)
        if (last[j] != kNone && (end == n || last[j] > last[end]))
            end = j;
    if (end == n)
        return result;
    result.Matched = true;
    result.Score = last[end];
    result.Positions.resize(m);
    std::size_t j = end;
    for (std::size_t i = m; i-- > 0;) {
        result.Positions[i] = t[j].at;
        if (i > 0)
            j = from[i * n + j];
    }
    return result;
}

std::vector<TFuzzyRanked> RankFuzzy(std::string_view query,
                                    const std::vector<std::vector<std::string>>& candidates) {
    std::vector<TFuzzyRanked> ranked;
    std::vector<std::size_t> lengths;
    for (std::size_t index = 0; index < candidates.size(); ++index) {
        TFuzzyRanked best;
        bool found = false;
        std::size_t length = 0;
        for (std::size_t k = 0; k < candidates[index].size(); ++k) {
            const std::string& text = candidates[index][k];
            TFuzzyMatch match = FuzzyMatch(query, text);
            if (!match.Matched)
                continue;
            if (!found || match.Score > best.Match.Score ||
                (match.Score == best.Match.Score && text.size() < length)) {
                best = {index, k, std::move(match)};
                length = text.size();
                found = true;
            }
        }
        if (found) {
            ranked.push_back(std::move(best));
            lengths.push_back(length);
        }
    }
    if (Units(query, true).empty())
        return ranked; // nothing to rank by: list order
    std::vector<std::size_t> order(ranked.size());
    for (std::size_t i = 0; i < order.size(); ++i)
        order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (ranked[a].Match.Score != ranked[b].Match.Score)
            return ranked[a].Match.Score > ranked[b].Match.Score;
        return lengths[a] < lengths[b];
    });
    std::vector<TFuzzyRanked> sorted;
    sorted.reserve(ranked.size());
    for (std::size_t i : order)
        sorted.push_back(std::move(ranked[i]));
    return sorted;
}
