#pragma once
// Reading UTF-8 one sequence at a time, as strictly as the standard asks: overlong forms, surrogates
// and values above U+10FFFF are ill-formed. The routines are inline because the writers call them for
// every non-ASCII character they copy.
#include <cstddef>
#include <string_view>

// The length of the well-formed UTF-8 sequence at p (p < end), with its code point in `cp`; 0 when
// the bytes there are ill-formed, with `bad` set to the length of their longest valid start (at least
// 1): the bytes that one replacement character stands for.
inline std::size_t Utf8Sequence(const unsigned char* p, const unsigned char* end, char32_t& cp,
                                std::size_t& bad) {
    const unsigned char lead = *p;
    if (lead < 0x80) {
        cp = lead;
        return 1;
    }
    std::size_t length;
    unsigned char lo = 0x80, hi = 0xBF; // allowed range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        cp = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        cp = lead & 0x0F;
        if (lead == 0xE0)
            lo = 0xA0; // no overlong forms
        else if (lead == 0xED)
            hi = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        cp = lead & 0x07;
        if (lead == 0xF0)
            lo = 0x90; // no overlong forms
        else if (lead == 0xF4)
            hi = 0x8F; // nothing above U+10FFFF
    } else {
        bad = 1;
        return 0;
    }
    for (std::size_t i = 1; i < length; ++i) {
        const unsigned char lower = i == 1 ? lo : 0x80;
        const unsigned char upper = i == 1 ? hi : 0xBF;
        if (p + i >= end || p[i] < lower || p[i] > upper) {
            bad = i;
            return 0;
        }
        cp = (cp << 6) | (p[i] & 0x3F);
    }
    return length;
}

// The length of the well-formed UTF-8 sequence at text[at] (at < text.size()); 0 when the bytes there
// are not one.
inline std::size_t Utf8SequenceLength(std::string_view text, std::size_t at) {
    const auto* begin = reinterpret_cast<const unsigned char*>(text.data());
    char32_t cp = 0;
    std::size_t bad = 0;
    return Utf8Sequence(begin + at, begin + text.size(), cp, bad);
}
