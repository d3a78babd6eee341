#include "model/textmatcher.h"

#include "support/textroutines.h"

#include <cstring>

bool IsWordByte(char c) {
    const auto u = static_cast<unsigned char>(c);
    return (u >= '0' && u <= '9') || (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z') || u == '_' ||
           u >= 0x80;
}

TPlainMatcher::TPlainMatcher(std::string pattern, bool matchCase, bool wholeWords)
    : pattern_(matchCase ? std::move(pattern) : AsciiLower(pattern)), matchCase_(matchCase),
      wholeWords_(wholeWords) {}

bool TPlainMatcher::MatchesAt(std::string_view text, std::size_t at) const {
    if (matchCase_) {
        if (text.compare(at, pattern_.size(), pattern_) != 0)
            return false;
    } else {
        for (std::size_t i = 0; i < pattern_.size(); ++i)
            if (LowerAscii(text[at + i]) != pattern_[i])
                return false;
    }
    if (!wholeWords_)
        return true;
    const std::size_t end = at + pattern_.size();
    return (at == 0 || !IsWordByte(text[at - 1])) && (end == text.size() || !IsWordByte(text[end]));
}

// Offset of the next match at or after `from`; npos when there is none. The first byte of the pattern
// is looked for with memchr (both cases when case is ignored), which keeps a scan over megabytes of
// text close to the speed of memory.
std::size_t TPlainMatcher::Next(std::string_view text, std::size_t from) const {
    if (pattern_.empty() || text.size() < pattern_.size())
        return std::string_view::npos;
    const std::size_t last = text.size() - pattern_.size();
    const char first = pattern_[0];
    const char upper =
        (!matchCase_ && first >= 'a' && first <= 'z') ? static_cast<char>(first - 'a' + 'A') : first;
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
    for (std::size_t at = Next(text, 0); at != std::string_view::npos; at = Next(text, at + pattern_.size()))
        result.push_back({at, pattern_.size()});
    return result;
}

bool TPlainMatcher::Contains(std::string_view text) const {
    return Next(text, 0) != std::string_view::npos;
}
