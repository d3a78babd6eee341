#include "cli/textline.h"

#include "support/utf8.h"

std::string OneLineText(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    const auto* end = begin + text.size();
    for (std::size_t at = 0; at < text.size();) {
        const char c = text[at];
        const auto code = static_cast<unsigned char>(c);
        if (code >= 0x80) {
            // A C1 control character (U+0080 to U+009F, two bytes in UTF-8) is written as \u00XX: some
            // terminals take U+009B for the start of an escape sequence. Stray bytes pass through.
            char32_t cp = 0;
            std::size_t bad = 0;
            const std::size_t length = Utf8Sequence(begin + at, end, cp, bad);
            if (length == 2 && cp <= 0x9F) {
                result += "\\u00";
                result += hex[cp >> 4];
                result += hex[cp & 0xF];
            } else {
                result.append(text, at, length == 0 ? 1 : length);
            }
            at += length == 0 ? 1 : length;
            continue;
        }
        ++at;
        switch (c) {
        case '\\':
            result += "\\\\";
            break;
        case '\r':
            result += "\\r";
            break;
        case '\n':
            result += "\\n";
            break;
        case '\t':
            result += "\\t";
            break;
        default:
            if (code < 0x20 || code == 0x7F) {
                result += "\\x";
                result += hex[code >> 4];
                result += hex[code & 0xF];
            } else {
                result += c;
            }
        }
    }
    return result;
}
