#include "cli/jsontext.h"

namespace {
// Length of the valid UTF-8 sequence starting at text[i], or 0 when the bytes there are not one
// (overlong forms, surrogates and values above U+10FFFF included).
std::size_t Utf8SequenceLength(std::string_view text, std::size_t i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    std::size_t length;
    unsigned char low = 0x80, high = 0xBF; // allowed range of the second byte
    if (lead < 0x80)
        return 1;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0)
            low = 0xA0;
        else if (lead == 0xED)
            high = 0x9F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        if (lead == 0xF0)
            low = 0x90;
        else if (lead == 0xF4)
            high = 0x8F;
    } else {
        return 0;
    }
    if (i + length > text.size())
        return 0;
    if (byte(i + 1) < low || byte(i + 1) > high)
        return 0;
    for (std::size_t k = 2; k < length; ++k)
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
    return length;
}
} // namespace

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
