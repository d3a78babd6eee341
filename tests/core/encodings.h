#pragma once
// Test helper: a text written in each encoding the reader accepts, so that a case can be run over all
// of them from one UTF-8 fixture.
#include "tagfile/xmlcharacters.h"

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace encodings {

// One way of writing a document: the encoding, with or without a byte-order mark (Latin-1 instead
// starts with a declaration naming it).
struct Variant {
    const char* Name;
    TXmlEncoding Encoding;
    bool Mark;
};

inline const std::vector<Variant>& Variants() {
    static const std::vector<Variant> variants = {
        {"UTF-8", TXmlEncoding::Utf8, false},
        {"UTF-8 with a mark", TXmlEncoding::Utf8, true},
        {"UTF-16LE", TXmlEncoding::Utf16Le, true},
        {"UTF-16BE", TXmlEncoding::Utf16Be, true},
        {"UTF-16LE without a mark", TXmlEncoding::Utf16Le, false},
        {"UTF-16BE without a mark", TXmlEncoding::Utf16Be, false},
        {"UTF-32LE", TXmlEncoding::Utf32Le, true},
        {"UTF-32BE", TXmlEncoding::Utf32Be, true},
        {"UTF-32LE without a mark", TXmlEncoding::Utf32Le, false},
        {"ISO-8859-1", TXmlEncoding::Latin1, false},
    };
    return variants;
}

// The code points of well-formed UTF-8 (the fixtures are).
inline std::vector<std::uint32_t> CodePoints(std::string_view utf8) {
    std::vector<std::uint32_t> out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const int length = b < 0x80 ? 1 : b < 0xE0 ? 2 : b < 0xF0 ? 3 : 4;
        std::uint32_t cp = length == 1 ? b : b & (0x3F >> (length - 1));
        for (int k = 1; k < length; ++k)
            cp = (cp << 6) | (static_cast<unsigned char>(utf8[i + static_cast<std::size_t>(k)]) & 0x3F);
        out.push_back(cp);
        i += static_cast<std::size_t>(length);
    }
    return out;
}

inline void Unit(std::string& out, std::uint32_t value, int bytes, bool bigEndian) {
    for (int k = 0; k < bytes; ++k) {
        const int shift = 8 * (bigEndian ? bytes - 1 - k : k);
        out += static_cast<char>((value >> shift) & 0xFF);
    }
}

// The bytes of the mark or declaration that start a document in the variant.
inline std::string Start(const Variant& v) {
    switch (v.Encoding) {
    case TXmlEncoding::Latin1:
        return "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?>";
    case TXmlEncoding::Utf8:
        return v.Mark ? "\xEF\xBB\xBF" : "";
    default:
        break;
    }
    std::string out;
    if (v.Mark) {
        const bool big = v.Encoding == TXmlEncoding::Utf16Be || v.Encoding == TXmlEncoding::Utf32Be;
        const bool wide = v.Encoding == TXmlEncoding::Utf32Le || v.Encoding == TXmlEncoding::Utf32Be;
        Unit(out, 0xFEFF, wide ? 4 : 2, big);
    }
    return out;
}

// The UTF-8 text in the variant's encoding, without its start; none when Latin-1 cannot hold it.
inline std::optional<std::string> Body(const Variant& v, std::string_view utf8) {
    if (v.Encoding == TXmlEncoding::Utf8)
        return std::string(utf8);
    std::string out;
    for (const std::uint32_t cp : CodePoints(utf8)) {
        switch (v.Encoding) {
        case TXmlEncoding::Latin1:
            if (cp > 0xFF)
                return std::nullopt;
            out += static_cast<char>(cp);
            break;
        case TXmlEncoding::Utf16Le:
        case TXmlEncoding::Utf16Be: {
            const bool big = v.Encoding == TXmlEncoding::Utf16Be;
            if (cp >= 0x10000) {
                Unit(out, 0xD800 + ((cp - 0x10000) >> 10), 2, big);
                Unit(out, 0xDC00 + ((cp - 0x10000) & 0x3FF), 2, big);
            } else {
                Unit(out, cp, 2, big);
            }
            break;
        }
        default:
            Unit(out, cp, 4, v.Encoding == TXmlEncoding::Utf32Be);
            break;
        }
    }
    return out;
}

// The whole document in the variant; none when Latin-1 cannot hold it.
inline std::optional<std::string> Encode(const Variant& v, std::string_view utf8) {
    std::optional<std::string> body = Body(v, utf8);
    if (!body)
        return std::nullopt;
    return Start(v) + *body;
}

} // namespace encodings
