#include "tagfile/xmlcharacters.h"

#include "support/textroutines.h"
#include "support/utf8.h"

#include <cstdint>

namespace {

bool IsXmlChar(std::uint32_t cp) {
    if (cp >= 0x20)
        return cp <= 0xD7FF || (cp >= 0xE000 && cp <= 0xFFFD) || (cp >= 0x10000 && cp <= 0x10FFFF);
    return cp == '\t' || cp == '\n' || cp == '\r';
}

std::string Hex(std::uint32_t value) {
    static constexpr char digits[] = "0123456789ABCDEF";
    std::string out;
    do {
        out.insert(out.begin(), digits[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (out.size() < 4)
        out.insert(out.begin(), '0');
    return out;
}

// Walks the code points of the bytes in one encoding, keeping track of the line, and notes what the
// parser will take for markup that matters here: comments, CDATA sections and processing instructions
// (which hold no references), the document type (whose quoted texts may hold '>' and '[') and the
// references themselves.
template <TXmlEncoding kEncoding> class TCharacterScanner {
public:
    explicit TCharacterScanner(std::string_view bytes)
        : m_begin(reinterpret_cast<const unsigned char*>(bytes.data())), m_size(bytes.size()) {}

    TXmlCharacterCheck Run() {
        std::size_t pos = 0;
        char32_t cp = 0;
        // A byte-order mark is not the document's first character.
        std::size_t first = 0;
        if (std::size_t length = Decode(0, cp); length != 0 && cp == 0xFEFF)
            first = length;
        while (pos < m_size) {
            if constexpr (kEncoding == TXmlEncoding::Utf8) {
                // Plain printable ASCII needs nothing but passing over.
                if (m_state == kContent || m_state == kDocType) {
                    const bool* const plain = m_state == kContent ? kPlain.Content : kPlain.DocType;
                    const std::size_t from = pos;
                    while (pos < m_size && plain[m_begin[pos]])
                        ++pos;
                    if (pos != from)
                        m_afterCr = false;
                    if (pos == m_size)
                        break;
                }
            }
            const std::size_t length = Decode(pos, cp);
            if (length == 0)
                return Fault(pos, std::string("the bytes are not valid ") + XmlEncodingName(kEncoding) + ".");
            if (!IsXmlChar(cp))
                return Fault(pos, "stands the character U+" + Hex(cp) + ", which XML 1.0 does not allow.");
            std::size_t next = pos + length;
            switch (m_state) {
            case kContent:
            case kDocType:
            case kQuoted:
                if (cp == '&') {
                    if (TXmlCharacterCheck check = Reference(pos, next); !check.Valid)
                        return check;
                } else if (m_state == kQuoted) {
                    if (cp == m_quote)
                        m_state = kDocType;
                } else if (cp == '<') {
                    if (Follows(next, "!--")) {
                        m_after = m_state;
                        m_state = kComment;
                    } else if (Follows(next, "![CDATA[") && m_state == kContent) {
                        m_state = kCData;
                    } else if (Follows(next, "?")) {
                        if (IsDeclarationTarget(next + Unit()) && pos != first)
                            return {false, {}};
                        m_after = m_state;
                        m_state = kInstruction;
                    } else if (Follows(next, "!DOCTYPE") && m_state == kContent) {
                        m_state = kDocType;
                        m_brackets = 0;
                    }
                } else if (m_state == kDocType) {
                    if (cp == '"' || cp == '\'') {
                        m_quote = cp;
                        m_state = kQuoted;
                    } else if (cp == '[') {
                        ++m_brackets;
                    } else if (cp == ']' && m_brackets > 0) {
                        --m_brackets;
                    } else if (cp == '>' && m_brackets == 0) {
                        m_state = kContent;
                    }
                }
                break;
            case kComment:
                if (cp == '-' && Follows(next, "->")) {
                    next += 2 * Unit();
                    m_state = m_after;
                }
                break;
            case kCData:
                if (cp == ']' && Follows(next, "]>")) {
                    next += 2 * Unit();
                    m_state = kContent;
                }
                break;
            case kInstruction:
                if (cp == '?' && Follows(next, ">")) {
                    next += Unit();
                    m_state = m_after;
                }
                break;
            }
            CountLine(cp);
            pos = next;
        }
        return {};
    }

private:
    enum TState { kContent, kComment, kCData, kInstruction, kDocType, kQuoted };

    // Bytes of UTF-8 that need no look at all: printable ASCII but '<' and '&', and in a document type
    // also the quotes, brackets and '>' that it counts.
    struct TPlainBytes {
        bool Content[256] = {};
        bool DocType[256] = {};
        constexpr TPlainBytes() {
            for (int c = 0x20; c < 0x7F; ++c) {
                Content[c] = c != '<' && c != '&';
                DocType[c] = Content[c] && c != '"' && c != '\'' && c != '[' && c != ']' && c != '>';
            }
        }
    };
    static constexpr TPlainBytes kPlain{};

    // The size of one code unit: what an ASCII character takes.
    static constexpr std::size_t Unit() {
        switch (kEncoding) {
        case TXmlEncoding::Utf16Le:
        case TXmlEncoding::Utf16Be:
            return 2;
        case TXmlEncoding::Utf32Le:
        case TXmlEncoding::Utf32Be:
            return 4;
        default:
            return 1;
        }
    }

    // The code unit at `pos`, which must be whole.
    std::uint32_t UnitAt(std::size_t pos) const {
        const unsigned char* p = m_begin + pos;
        switch (kEncoding) {
        case TXmlEncoding::Utf16Le:
            return p[0] | (p[1] << 8);
        case TXmlEncoding::Utf16Be:
            return (p[0] << 8) | p[1];
        case TXmlEncoding::Utf32Le:
            return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
        case TXmlEncoding::Utf32Be:
            return (static_cast<std::uint32_t>(p[0]) << 24) | (p[1] << 16) | (p[2] << 8) | p[3];
        default:
            return p[0];
        }
    }

    // The length in bytes of the character at `pos` (pos < size), with its code point; 0 when the bytes
    // there are not a character in the encoding.
    std::size_t Decode(std::size_t pos, char32_t& cp) const {
        if (pos >= m_size)
            return 0;
        if constexpr (kEncoding == TXmlEncoding::Utf8) {
            std::size_t bad = 0;
            return Utf8Sequence(m_begin + pos, m_begin + m_size, cp, bad);
        } else if constexpr (kEncoding == TXmlEncoding::Latin1) {
            cp = m_begin[pos];
            return 1;
        } else {
            if (m_size - pos < Unit())
                return 0;
            const std::uint32_t unit = UnitAt(pos);
            if constexpr (Unit() == 4) {
                cp = unit;
                return unit <= 0x10FFFF && (unit < 0xD800 || unit > 0xDFFF) ? 4 : 0;
            } else {
                cp = unit;
                if (unit < 0xD800 || unit > 0xDFFF)
                    return 2;
                if (unit > 0xDBFF || m_size - pos < 4)
                    return 0;
                const std::uint32_t low = UnitAt(pos + 2);
                if (low < 0xDC00 || low > 0xDFFF)
                    return 0;
                cp = 0x10000 + ((unit - 0xD800) << 10) + (low - 0xDC00);
                return 4;
            }
        }
    }

    // True when the ASCII characters of `word` stand at `pos`.
    bool Follows(std::size_t pos, std::string_view word) const {
        for (const char c : word) {
            if (pos + Unit() > m_size || UnitAt(pos) != static_cast<unsigned char>(c))
                return false;
            pos += Unit();
        }
        return true;
    }

    // True when the processing instruction whose target starts at `pos` is named xml (any letter case),
    // which only the declaration at the very start of a document may be.
    bool IsDeclarationTarget(std::size_t pos) const {
        std::string name;
        while (pos + Unit() <= m_size && name.size() < 4) {
            const std::uint32_t unit = UnitAt(pos);
            const bool nameChar = (unit >= 'a' && unit <= 'z') || (unit >= 'A' && unit <= 'Z') ||
                                  (unit >= '0' && unit <= '9') || unit == '-' || unit == '.' || unit == '_' ||
                                  unit == ':' || unit >= 0x80;
            if (!nameChar)
                break;
            name += static_cast<char>(unit < 0x80 ? unit : '?');
            pos += Unit();
        }
        return SameText(name, "xml");
    }

    // A '&' at `pos`, `next` after it: a character reference read as the parser reads it must stand for
    // a character XML allows. Anything else is left to the parser.
    TXmlCharacterCheck Reference(std::size_t pos, std::size_t next) const {
        if (!Follows(next, "#"))
            return {};
        std::size_t p = next + Unit();
        const bool hex = Follows(p, "x");
        if (hex)
            p += Unit();
        std::uint32_t value = 0;
        bool digits = false;
        for (; p + Unit() <= m_size; p += Unit()) {
            const std::uint32_t c = UnitAt(p);
            if (c >= '0' && c <= '9')
                value = value * (hex ? 16 : 10) + (c - '0');
            else if (hex && (c | 0x20) >= 'a' && (c | 0x20) <= 'f')
                value = value * 16 + ((c | 0x20) - 'a' + 10);
            else
                break;
            digits = true;
        }
        if (!digits || !Follows(p, ";") || IsXmlChar(value))
            return {};
        std::string text;
        for (std::size_t q = pos; q <= p; q += Unit())
            text += static_cast<char>(UnitAt(q));
        return Fault(pos, "the character reference " + text + " stands for U+" + Hex(value) +
                              ", which XML 1.0 does not allow.");
    }

    void CountLine(char32_t cp) {
        if (cp == '\r')
            ++m_line;
        else if (cp == '\n' && !m_afterCr)
            ++m_line;
        m_afterCr = cp == '\r';
    }

    TXmlCharacterCheck Fault(std::size_t pos, const std::string& what) const {
        return {false, "At byte offset " + UIntToStr(pos) + " (line " + UIntToStr(m_line) + ") " + what};
    }

    const unsigned char* const m_begin;
    const std::size_t m_size;
    std::size_t m_line = 1;
    bool m_afterCr = false;
    TState m_state = kContent;
    TState m_after = kContent; // where a comment or processing instruction returns to
    char32_t m_quote = 0;
    std::size_t m_brackets = 0;
};

} // namespace

TXmlEncoding DetectXmlEncoding(std::string_view bytes) {
    const auto at = [&](std::size_t i) {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0x100;
    };
    const unsigned d0 = at(0), d1 = at(1), d2 = at(2), d3 = at(3);
    if (d0 == 0x00 && d1 == 0x00 && d2 == 0xFE && d3 == 0xFF)
        return TXmlEncoding::Utf32Be;
    if (d0 == 0xFF && d1 == 0xFE && d2 == 0x00 && d3 == 0x00)
        return TXmlEncoding::Utf32Le;
    if (d0 == 0xFE && d1 == 0xFF)
        return TXmlEncoding::Utf16Be;
    if (d0 == 0xFF && d1 == 0xFE)
        return TXmlEncoding::Utf16Le;
    if (d0 == 0xEF && d1 == 0xBB && d2 == 0xBF)
        return TXmlEncoding::Utf8;
    // Without a mark, the NUL bytes around the first '<' tell the width and the byte order.
    if (d0 == 0x00 && d1 == 0x00 && d2 == 0x00 && d3 == 0x3C)
        return TXmlEncoding::Utf32Be;
    if (d0 == 0x3C && d1 == 0x00 && d2 == 0x00 && d3 == 0x00)
        return TXmlEncoding::Utf32Le;
    if (d0 == 0x00 && d1 == 0x3C)
        return TXmlEncoding::Utf16Be;
    if (d0 == 0x3C && d1 == 0x00)
        return TXmlEncoding::Utf16Le;
    // A declaration naming Latin-1; any other name is read as UTF-8.
    if (!bytes.starts_with("<?xml"))
        return TXmlEncoding::Utf8;
    const std::string_view declaration = bytes.substr(0, bytes.find("?>"));
    std::size_t pos = declaration.find("encoding");
    if (pos == std::string_view::npos)
        return TXmlEncoding::Utf8;
    pos += 8;
    const auto blanks = [&] {
        while (pos < declaration.size() && (declaration[pos] == ' ' || declaration[pos] == '\t' ||
                                            declaration[pos] == '\r' || declaration[pos] == '\n'))
            ++pos;
    };
    blanks();
    if (pos >= declaration.size() || declaration[pos] != '=')
        return TXmlEncoding::Utf8;
    ++pos;
    blanks();
    if (pos >= declaration.size() || (declaration[pos] != '"' && declaration[pos] != '\''))
        return TXmlEncoding::Utf8;
    const std::size_t close = declaration.find(declaration[pos], pos + 1);
    if (close == std::string_view::npos)
        return TXmlEncoding::Utf8;
    const std::string_view name = declaration.substr(pos + 1, close - pos - 1);
    return SameText(name, "ISO-8859-1") || SameText(name, "latin1") ? TXmlEncoding::Latin1
                                                                    : TXmlEncoding::Utf8;
}

const char* XmlEncodingName(TXmlEncoding encoding) {
    switch (encoding) {
    case TXmlEncoding::Utf16Le:
        return "UTF-16LE";
    case TXmlEncoding::Utf16Be:
        return "UTF-16BE";
    case TXmlEncoding::Utf32Le:
        return "UTF-32LE";
    case TXmlEncoding::Utf32Be:
        return "UTF-32BE";
    case TXmlEncoding::Latin1:
        return "ISO-8859-1";
    default:
        return "UTF-8";
    }
}

TXmlCharacterCheck CheckXmlCharacters(std::string_view bytes, TXmlEncoding encoding) {
    switch (encoding) {
    case TXmlEncoding::Utf16Le:
        return TCharacterScanner<TXmlEncoding::Utf16Le>(bytes).Run();
    case TXmlEncoding::Utf16Be:
        return TCharacterScanner<TXmlEncoding::Utf16Be>(bytes).Run();
    case TXmlEncoding::Utf32Le:
        return TCharacterScanner<TXmlEncoding::Utf32Le>(bytes).Run();
    case TXmlEncoding::Utf32Be:
        return TCharacterScanner<TXmlEncoding::Utf32Be>(bytes).Run();
    case TXmlEncoding::Latin1:
        return TCharacterScanner<TXmlEncoding::Latin1>(bytes).Run();
    default:
        return TCharacterScanner<TXmlEncoding::Utf8>(bytes).Run();
    }
}
