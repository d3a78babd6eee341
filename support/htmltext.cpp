#include "support/htmltext.h"

#include "support/utf8.h"

namespace {
constexpr const char* kReplacement = "\xEF\xBF\xBD"; // U+FFFD
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
        const std::size_t len = Utf8SequenceLength(text, i);
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
