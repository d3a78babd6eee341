#include "cli/textline.h"

std::string OneLineText(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string result;
    result.reserve(text.size());
    for (const char c : text) {
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
        default: {
            const auto code = static_cast<unsigned char>(c);
            if (code < 0x20 || code == 0x7F) {
                result += "\\x";
                result += hex[code >> 4];
                result += hex[code & 0xF];
            } else {
                result += c;
            }
        }
        }
    }
    return result;
}
