#include "cli/jsontext.h"

#include "support/utf8.h"

std::string JsonString(std::string_view text) {
    static const char hex[] = "0123456789abcdef";
    std::string result = "\"";
    std::size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        switch (c) {
        case '"':
            result += "\\\"";
            ++i;
            continue;
        case '\\':
            result += "\\\\";
            ++i;
            continue;
        case '\b':
            result += "\\b";
            ++i;
            continue;
        case '\f':
            result += "\\f";
            ++i;
            continue;
        case '\n':
            result += "\\n";
            ++i;
            continue;
        case '\r':
            result += "\\r";
            ++i;
            continue;
        case '\t':
            result += "\\t";
            ++i;
            continue;
        default:
            break;
        }
        const auto code = static_cast<unsigned char>(c);
        if (code < 0x20) {
            result += "\\u00";
            result += hex[code >> 4];
            result += hex[code & 0xF];
            ++i;
            continue;
        }
        const std::size_t length = Utf8SequenceLength(text, i);
        if (length == 0) {
            result += "\\ufffd";
            ++i;
            continue;
        }
        result.append(text, i, length);
        i += length;
    }
    result += '"';
    return result;
}
