#include "components/htmltext.h"

namespace {
constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// Length of the valid UTF-8 sequence at the start of s, or 0 when it is not valid (overlong forms,
// surrogates and values above U+10FFFF count as invalid).
std::size_t ValidSequenceLength(std::string_view s) {
    const auto b0 = static_cast<unsigned char>(s[0]);
    if (b0 < 0x80)
        return 1;
    std::size_t len;
    unsigned lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        len = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        len = 3;
        if (b0 == 0xE0)
            lo = 0xA0;
        else if (b0 == 0xED)
            hi = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        len = 4;
        if (b0 == 0xF0)
            lo = 0x90;
        else if (b0 == 0xF4)
            hi = 0x8F;
    } else {
        return 0;
    }
    if (s.size() < len)
        return 0;
    const auto b1 = static_cast<unsigned char>(s[1]);
    if (b1 < lo || b1 > hi)
        return 0;
    for (std::size_t i = 2; i < len; ++i) {
        const auto b = static_cast<unsigned char>(s[i]);
        if (b < 0x80 || b > 0xBF)
            return 0;
    }
    return len;
}
} // namespace

void AppendHtmlEscaped(std::string& out, std::string_view text) {
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        switch (c) {
        case '&':
            out += "&amp;";
            ++i;
            continue;
        case '<':
            out += "&lt;";
            ++i;
            continue;
        case '>':
            out += "&gt;";
            ++i;
            continue;
        case '"':
            out += "&quot;";
            ++i;
            continue;
        case '\'':
            out += "&#39;";
            ++i;
            continue;
        default:
            break;
        }
        const auto u = static_cast<unsigned char>(c);
        if ((u < 0x20 && c != '\t' && c != '\n' && c != '\r') || u == 0x7F) {
            out += kReplacement;
            ++i;
            continue;
        }
        const std::size_t len = ValidSequenceLength(text.substr(i));
        if (len == 0) {
            out += kReplacement;
            ++i;
            continue;
        }
        // C1 control characters (U+0080..U+009F) are not allowed in HTML text either.
        if (len == 2 && u == 0xC2 && static_cast<unsigned char>(text[i + 1]) < 0xA0) {
            out += kReplacement;
            i += 2;
            continue;
        }
        out.append(text.substr(i, len));
        i += len;
    }
}

std::string HtmlEscaped(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    AppendHtmlEscaped(out, text);
    return out;
}

std::string HtmlAnchorId(std::string_view id) {
    if (id.empty())
        return "_";
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    out.reserve(id.size());
    for (const char c : id) {
        if (c >= 'A' && c <= 'Z') {
            out += static_cast<char>(c - 'A' + 'a');
        } else if ((c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.') {
            out += c;
        } else {
            const auto u = static_cast<unsigned char>(c);
            out += '_';
            out += kHex[u >> 4];
            out += kHex[u & 0x0F];
        }
    }
    return out;
}
