#include "model/textmatcher.h"

#include "support/textroutines.h"

#include <cstring>

bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' ||
           u >= 0x80;
}

TPlainMatcher::TPlainMatcher(std::string pattern, bool matchCase, bool wholeWords)
    : m_pattern(matchCase ? std::move(pattern) : AsciiLower(pattern)), m_matchCase(matchCase),
      m_wholeWords(wholeWords) {}

bool TPlainMatcher::MatchesAt(std::string_view text, std::size_t at) const {
    if (m_matchCase) {
        if (text.compare(at, m_pattern.size(), m_pattern) != 0)
            return false;
    } else {
        for (std::size_t i = 0; i < m_pattern.size(); ++i)
            if (LowerAscii(text[at + i]) != m_pattern[i])
                return false;
    }
    if (!m_wholeWords)
        return true;
    const std::size_t end = at + m_pattern.size();
    return (at == 0 || !IsWordByte(text[at - 1])) && (end == text.size() || !IsWordByte(text[end]));
}

// Offset of the next match at or after `from`; npos when there is none. The first byte of the pattern
// is looked for with memchr (both cases when case is ignored), which keeps a scan over megabytes of
// text close to the speed of memory.
std::size_t TPlainMatcher::Next(std::string_view text, std::size_t from) const {
    if (m_pattern.empty() || text.size() < m_pattern.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - m_pattern.size();
    const char first = m_pattern[0];
    const char upper =
        (!m_matchCase && first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
    std::size_t at = from;
    while (at <= last) {
        const void* p1 = std::memchr(text.data() + at, first, last - at + 1);
        std::size_t found = p1 ? static_cast<std::size_t>(static_cast<const char*>(p1) - text.data())
                               : std::string_view::npos;
        if (upper != first) {
            const std::size_t limit = found == std::string_view::npos ? last + 1 : found;
            if (const void* p2 = std::memchr(text.data() + at, upper, limit - at))
                found = static_cast<std::size_t>(static_cast<const char*>(p2) - text.data());
        }
        if (found == std::string_view::npos)
            return found;
        if (MatchesAt(text, found))
            return found;
        at = found + 1;
    }
    return std::string_view::npos;
}

std::vector<TTextMatch> TPlainMatcher::FindAll(std::string_view text) const {
    std::vector<TTextMatch> result;
    for (std::size_t at = Next(text, 0); at != std::string_view::npos; at = Next(text, at + m_pattern.size()))
        result.push_back({at, m_pattern.size()});
    return result;
}

bool TPlainMatcher::Contains(std::string_view text) const {
    return Next(text, 0) != std::string_view::npos;
}
