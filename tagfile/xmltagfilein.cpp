#include "tagfile/xmltagfilein.h"

#include "support/textroutines.h"

#include <pugixml.hpp>

#include <bit>
#include <cstring>
#include <istream>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <iterator>

namespace {

using TStep = TXMLTagFileIn::TStep;

constexpr std::uint32_t kStart = TStep::kStart;
constexpr std::uint32_t kText = TStep::kText;
constexpr std::uint32_t kEnd = TStep::kEnd;
constexpr std::uint32_t kAttribute = TStep::kAttribute;
constexpr std::uint32_t kLineFeed = TStep::kLineFeed;
constexpr unsigned kCountShift = TStep::kCountShift;

// Offsets and lengths are 32-bit, and a start's attribute count must fit above its kind bits: longer
// input is refused (it is far beyond the largest file an assistant is read from).
constexpr std::size_t kMaxDocumentBytes = 0x7FFFFFFF;

// Fragment mode makes pugixml keep text found outside the root element, so that such input can be
// refused; without it that text would be dropped silently. Comments, processing instructions, the
// declaration and the document type are not kept in its tree, and it never loads a DTD or external
// entity (it resolves only the predefined entities and character references).
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_fragment;

// Character classes of the scanner.
enum : unsigned char {
    cSpace = 1,     // white space between markup: blank, tab, CR, LF
    cNameStart = 2, // may start a name: letters, '_', ':' and every byte of a multi-byte character
    cName = 4,      // may go on in a name: the above, digits, '-' and '.'
    cTextStop = 8,  // ends a plain run of element text: '<', '&', CR, LF and NUL
    cValueStop = 16 // ends a plain run of an attribute value: '&', quotes, tab, CR, LF and NUL
};

struct TCharClasses {
    unsigned char Of[256] = {};
    constexpr TCharClasses() {
        for (const char c : {' ', '\t', '\r', '\n'})
            Of[static_cast<unsigned char>(c)] |= cSpace;
        for (int c = 0; c < 256; ++c) {
            const bool letter =
                (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
            if (letter)
                Of[c] |= cNameStart | cName;
            if ((c >= '0' && c <= '9') || c == '-' || c == '.')
                Of[c] |= cName;
        }
        for (const char c : {'<', '&', '\r', '\n', '\0'})
            Of[static_cast<unsigned char>(c)] |= cTextStop;
        for (const char c : {'&', '"', '\'', '\t', '\r', '\n', '\0'})
            Of[static_cast<unsigned char>(c)] |= cValueStop;
    }
};
constexpr TCharClasses kClasses;

inline bool Is(char c, unsigned char cls) {
    return (kClasses.Of[static_cast<unsigned char>(c)] & cls) != 0;
}

// True when the text at `p` starts with `word`. Compares one byte at a time and stops at the first
// difference, so it never reads past the NUL that ends the buffer.
bool Follows(const char* p, std::string_view word) {
    for (const char c : word)
        if (*p++ != c)
            return false;
    return true;
}

char* WriteUtf8(char* out, std::uint32_t code) {
    if (code < 0x80) {
        *out++ = static_cast<char>(code);
    } else if (code < 0x800) {
        *out++ = static_cast<char>(0xC0 | (code >> 6));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
        *out++ = static_cast<char>(0xE0 | (code >> 12));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    } else {
        *out++ = static_cast<char>(0xF0 | (code >> 18));
        *out++ = static_cast<char>(0x80 | ((code >> 12) & 0x3F));
        *out++ = static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        *out++ = static_cast<char>(0x80 | (code & 0x3F));
    }
    return out;
}

// The scanner for UTF-8 input. It walks the bytes once, decodes every name, text and attribute value
// where it stands (a decoded text is never longer than its source), and appends an entry per step to
// the table. The bytes must be followed by a NUL, which the scanner takes for the end; a NUL inside
// them is not allowed in XML and makes the document ill-formed, as does anything else it does not
// accept. Every routine returns where it stopped, or null when the document is refused.
class TScanner {
public:
    TScanner(char* begin, char* end, std::vector<TStep>& steps) : base_(begin), end_(end), steps_(steps) {}

    bool Run() {
        char* s = base_;
        if (Follows(s, "\xEF\xBB\xBF"))
            s += 3;
        bool rootSeen = false;
        // The top level: white space, comments, processing instructions, a document type before the
        // root, and the root element, once.
        for (;;) {
            while (Is(*s, cSpace))
                ++s;
            if (*s != '<')
                return *s == '\0' && s == end_ && rootSeen;
            if (s[1] == '?') {
                s = SkipProcessingInstruction(s + 2, false);
            } else if (s[1] == '!') {
                if (Follows(s + 2, "--"))
                    s = SkipComment(s + 4);
                else if (!rootSeen && Follows(s + 2, "DOCTYPE"))
                    s = SkipDocumentType(s);
                else
                    return false;
            } else {
                if (rootSeen)
                    return false;
                rootSeen = true;
                s = StartTag(s + 1);
                if (s && !open_.empty())
                    s = Content(s);
            }
            if (!s)
                return false;
        }
    }

private:
    void Add(const char* p, std::size_t length, std::uint32_t info) {
        steps_.push_back({static_cast<std::uint32_t>(p - base_), static_cast<std::uint32_t>(length), info});
    }

    static char* ScanName(char* p) {
        if (!Is(*p, cNameStart))
            return nullptr;
        ++p;
        while (Is(*p, cName))
            ++p;
        return p;
    }

    // The content of the open elements, up to the end of the outermost one.
    char* Content(char* s) {
        while (!open_.empty()) {
            if (*s != '<') {
                // Text that is only white space is not reported.
                char* const mark = s;
                while (Is(*s, cSpace))
                    ++s;
                if (*s != '<' && !(s = Text(mark)))
                    return nullptr;
            }
            const char c = s[1];
            if (c == '/')
                s = EndTag(s + 2);
            else if (c == '!')
                s = Follows(s + 2, "--")        ? SkipComment(s + 4)
                    : Follows(s + 2, "[CDATA[") ? CData(s + 9)
                                                : nullptr;
            else if (c == '?')
                s = SkipProcessingInstruction(s + 2, true);
            else
                s = StartTag(s + 1);
            if (!s)
                return nullptr;
        }
        return s;
    }

    // `s` stands after '<'. Adds the start, its attributes and, for an empty element, its end.
    char* StartTag(char* s) {
        char* p = ScanName(s);
        if (!p)
            return nullptr;
        const std::size_t start = steps_.size();
        Add(s, static_cast<std::size_t>(p - s), kStart);
        std::uint32_t count = 0;
        for (;;) {
            bool space = false;
            while (Is(*p, cSpace)) {
                ++p;
                space = true;
            }
            if (*p == '>') {
                open_.push_back(start);
                ++p;
                break;
            }
            if (*p == '/') {
                if (p[1] != '>')
                    return nullptr;
                Add(s, steps_[start].Length, kEnd);
                p += 2;
                break;
            }
            // An attribute, which must be set apart from what comes before it.
            char* const name = p;
            if (!space || !(p = ScanName(p)))
                return nullptr;
            Add(name, static_cast<std::size_t>(p - name), kAttribute);
            while (Is(*p, cSpace))
                ++p;
            if (*p++ != '=')
                return nullptr;
            while (Is(*p, cSpace))
                ++p;
            const char quote = *p;
            if ((quote != '"' && quote != '\'') || !(p = AttributeValue(p + 1, quote)))
                return nullptr;
            ++count;
        }
        steps_[start].Info = kStart | (count << kCountShift);
        return p;
    }

    // `s` stands after "</". The name must be that of the innermost open element.
    char* EndTag(char* s) {
        const TStep open = steps_[open_.back()];
        // Compared a byte at a time: names are short, and a difference or the NUL at the end of the
        // input stops the comparison.
        const char* name = base_ + open.Offset;
        char* p = s;
        const char* const nameEnd = name + open.Length;
        // Eight bytes at a time while both sides have eight bytes before the end of the input.
        while (nameEnd - name >= 8 && end_ - p >= 8) {
            std::uint64_t a, b;
            std::memcpy(&a, name, 8);
            std::memcpy(&b, p, 8);
            if (a != b)
                return nullptr;
            name += 8;
            p += 8;
        }
        if constexpr (std::endian::native == std::endian::little) {
            // The rest of a name shorter than eight bytes: the low bytes of one load from each side.
            if (const auto rest = nameEnd - name; rest > 0 && end_ - p >= 8 && end_ - name >= 8) {
                std::uint64_t a, b;
                std::memcpy(&a, name, 8);
                std::memcpy(&b, p, 8);
                if (((a ^ b) & (~std::uint64_t{0} >> (64 - 8 * rest))) != 0)
                    return nullptr;
                name = nameEnd;
                p += rest;
            }
        }
        for (; name != nameEnd; ++name, ++p)
            if (*p != *name)
                return nullptr;
        if (Is(*p, cName))
            return nullptr;
        while (Is(*p, cSpace))
            ++p;
        if (*p != '>')
            return nullptr;
        steps_.push_back({open.Offset, open.Length, kEnd});
        open_.pop_back();
        return p + 1;
    }

    // Moves `r` up to the next byte of class `stop`. Plain bytes stay where they are until a decoded
    // reference or line end has made the text shorter (`w` lags behind `r`); from then on they are
    // copied down as they are read.
    template <unsigned char stop> static void PassPlainBytes(char*& r, char*& w) {
        if (w == r) {
            while (!Is(*r, stop))
                ++r;
            w = r;
        } else {
            while (!Is(*r, stop))
                *w++ = *r++;
        }
    }

    // Moves `r` (and `w`, copying the bytes down when it lags behind) over plain element text sixteen
    // bytes at a time, as long as a whole block lies before the end of the input. Stops at the block
    // that holds a byte the text loop must look at; that loop then goes on a byte at a time.
    void SkipPlainText(char*& r, char*& w) const {
#if defined(__SSE2__)
        const __m128i lt = _mm_set1_epi8('<'), amp = _mm_set1_epi8('&'), cr = _mm_set1_epi8('\r'),
                      lf = _mm_set1_epi8('\n'), nul = _mm_setzero_si128();
        while (end_ - r >= 16) {
            const __m128i block = _mm_loadu_si128(reinterpret_cast<const __m128i*>(r));
            const __m128i stops =
                _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, lt), _mm_cmpeq_epi8(block, amp)),
                             _mm_or_si128(_mm_or_si128(_mm_cmpeq_epi8(block, cr), _mm_cmpeq_epi8(block, lf)),
                                          _mm_cmpeq_epi8(block, nul)));
            if (const int found = _mm_movemask_epi8(stops); found != 0) {
                // Up to the first byte to look at; the loop after this call stops there at once.
                const int plain = __builtin_ctz(static_cast<unsigned>(found));
                if (w == r) {
                    r += plain;
                    w = r;
                } else {
                    for (int i = 0; i < plain; ++i)
                        *w++ = *r++;
                }
                return;
            }
            if (w != r)
                _mm_storeu_si128(reinterpret_cast<__m128i*>(w), block);
            w += 16;
            r += 16;
        }
#else
        (void)r;
        (void)w;
#endif
    }

    // Element text from `s` up to the next '<': references decoded, CR LF and lone CR made LF.
    char* Text(char* s) {
        char* const start = s;
        char* w = s;
        char* r = s;
        std::uint32_t lineFeed = 0;
        for (;;) {
            SkipPlainText(r, w);
            PassPlainBytes<cTextStop>(r, w);
            switch (*r) {
            case '<':
                Add(start, static_cast<std::size_t>(w - start), kText | lineFeed);
                return r;
            case '\r':
                *w++ = '\n';
                if (*++r == '\n')
                    ++r;
                lineFeed = kLineFeed;
                break;
            case '\n':
                *w++ = *r++;
                lineFeed = kLineFeed;
                break;
            case '&':
                if (!(r = Reference(r, w)))
                    return nullptr;
                if (w[-1] == '\n') // a reference to a line feed (a reference writes at least one byte)
                    lineFeed = kLineFeed;
                break;
            default: // NUL: the end of the input inside an element, or a NUL byte
                return nullptr;
            }
        }
    }

    // An attribute value after its opening quote: references decoded, tab, LF, CR and CR LF made one
    // blank each. Adds the value; returns the position after the closing quote.
    char* AttributeValue(char* s, char quote) {
        char* const start = s;
        char* w = s;
        char* r = s;
        for (;;) {
            PassPlainBytes<cValueStop>(r, w);
            const char c = *r;
            if (c == quote) {
                Add(start, static_cast<std::size_t>(w - start), kAttribute);
                return r + 1;
            }
            switch (c) {
            case '\r':
                *w++ = ' ';
                if (*++r == '\n')
                    ++r;
                break;
            case '\t':
            case '\n':
                *w++ = ' ';
                ++r;
                break;
            case '&':
                if (!(r = Reference(r, w)))
                    return nullptr;
                break;
            case '"':
            case '\'':
                *w++ = *r++; // the other quote
                break;
            default:
                return nullptr;
            }
        }
    }

    // A reference at `r` (its '&'): a character reference or one of the five predefined entities is
    // decoded into `w`. Anything else starting with '&' is kept as it stands, as the XML library this
    // reader replaces does, so that files it read still read. A character reference to no character
    // (zero, a surrogate, beyond U+10FFFF) refuses the document: it cannot be decoded into text.
    // Returns where reading goes on.
    static char* Reference(char* r, char*& w) {
        char* p = r + 1;
        if (*p == '#') {
            const bool hex = p[1] == 'x';
            p += hex ? 2 : 1;
            std::uint32_t code = 0;
            bool digits = false;
            for (;; ++p) {
                unsigned digit;
                if (*p >= '0' && *p <= '9')
                    digit = static_cast<unsigned>(*p - '0');
                else if (hex && (*p | ' ') >= 'a' && (*p | ' ') <= 'f')
                    digit = static_cast<unsigned>((*p | ' ') - 'a' + 10);
                else
                    break;
                digits = true;
                code = code > 0x10FFFF ? code : code * (hex ? 16 : 10) + digit;
            }
            if (*p != ';' || !digits) {
                *w++ = *r; // not a reference: the '&' stays, the rest is read as text
                return r + 1;
            }
            if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
                return nullptr;
            w = WriteUtf8(w, code);
            return p + 1;
        }
        struct TEntity {
            std::string_view Name;
            char Character;
        };
        static constexpr TEntity entities[] = {
            {"lt;", '<'}, {"gt;", '>'}, {"amp;", '&'}, {"quot;", '"'}, {"apos;", '\''}};
        for (const TEntity& e : entities) {
            if (Follows(p, e.Name)) {
                *w++ = e.Character;
                return p + e.Name.size();
            }
        }
        *w++ = *r;
        return r + 1;
    }

    // A CDATA section's content after "<![CDATA[": reported as text even when empty or blank, line
    // ends made LF.
    char* CData(char* s) {
        char* const start = s;
        char* w = s;
        std::uint32_t lineFeed = 0;
        for (char* r = s;;) {
            const char c = *r;
            if (c == ']' && r[1] == ']' && r[2] == '>') {
                Add(start, static_cast<std::size_t>(w - start), kText | lineFeed);
                return r + 3;
            }
            if (c == '\0')
                return nullptr;
            if (c == '\r') {
                *w++ = '\n';
                if (*++r == '\n')
                    ++r;
                lineFeed = kLineFeed;
                continue;
            }
            if (c == '\n')
                lineFeed = kLineFeed;
            *w++ = c;
            ++r;
        }
    }

    // Returns the position after the first `close` from `s` on, or null at the end of the input.
    static char* SkipPast(char* s, std::string_view close) {
        for (; *s != '\0'; ++s)
            if (Follows(s, close))
                return s + close.size();
        return nullptr;
    }

    static char* SkipComment(char* s) {
        return SkipPast(s, "-->");
    }

    // `s` stands after "<?". The target must be a name; an XML declaration inside an element is refused.
    static char* SkipProcessingInstruction(char* s, bool inElement) {
        char* const end = ScanName(s);
        if (!end)
            return nullptr;
        if (inElement && SameText(std::string_view(s, static_cast<std::size_t>(end - s)), "xml"))
            return nullptr;
        return SkipPast(end, "?>");
    }

    // `s` stands at "<!DOCTYPE". Nothing in it is loaded or used: the declaration is passed over,
    // with its quoted texts, comments, processing instructions, markup declarations and conditional
    // sections, up to the '>' that closes it.
    static char* SkipDocumentType(char* s) {
        s += 2;
        std::size_t depth = 0;
        while (*s != '\0') {
            if (s[0] == '<' && s[1] == '!' && s[2] != '-') {
                if (s[2] == '[') {
                    s = SkipConditionalSection(s + 3);
                } else {
                    s += 2;
                    ++depth;
                }
            } else if (s[0] == '"' || s[0] == '\'') {
                const char quote = s[0];
                for (++s; *s != quote; ++s)
                    if (*s == '\0')
                        return nullptr;
                ++s;
            } else if (s[0] == '<') {
                s = Follows(s, "<?")     ? SkipPast(s + 2, "?>")
                    : Follows(s, "<!--") ? SkipComment(s + 4)
                                         : nullptr;
            } else if (s[0] == '>') {
                if (depth == 0)
                    return s + 1;
                --depth;
                ++s;
            } else {
                ++s;
            }
            if (!s)
                return nullptr;
        }
        return nullptr;
    }

    // After "<![" inside a document type: passed over up to its "]]>", nested sections counted.
    static char* SkipConditionalSection(char* s) {
        std::size_t depth = 0;
        while (*s != '\0') {
            if (Follows(s, "<![")) {
                s += 3;
                ++depth;
            } else if (Follows(s, "]]>")) {
                s += 3;
                if (depth-- == 0)
                    return s;
            } else {
                ++s;
            }
        }
        return nullptr;
    }

    char* const base_;
    char* const end_;
    std::vector<TStep>& steps_;
    // The step indexes of the starts of the open elements, outermost first.
    std::vector<std::size_t> open_;
};

// True when pugixml's guess of the encoding of the bytes is UTF-8, so that the scanner reads them as
// it would: no NUL among the first four bytes, no UTF-16 byte-order mark, and no declaration that names
// another encoding (pugixml reads ISO-8859-1 and latin1; any other name is left to it too, to be safe).
bool IsUtf8Text(std::string_view data) {
    if (data.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(data[0]), b1 = static_cast<unsigned char>(data[1]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE))
            return false;
    }
    if (data.substr(0, 4).find('\0') != std::string_view::npos)
        return false;
    if (!data.starts_with("<?xm"))
        return true; // with a UTF-8 byte-order mark the declaration does not count
    const std::string_view declaration = data.substr(0, data.find("?>"));
    std::size_t at = declaration.find("encoding");
    if (at == std::string_view::npos)
        return true;
    at += 8;
    const auto skipBlanks = [&] {
        while (at < declaration.size() && Is(declaration[at], cSpace))
            ++at;
    };
    skipBlanks();
    if (at >= declaration.size() || declaration[at] != '=')
        return false;
    ++at;
    skipBlanks();
    if (at >= declaration.size() || (declaration[at] != '"' && declaration[at] != '\''))
        return false;
    const std::size_t close = declaration.find(declaration[at], at + 1);
    if (close == std::string_view::npos)
        return false;
    const std::string_view name = declaration.substr(at + 1, close - at - 1);
    return SameText(name, "utf-8");
}

// True when the bytes hold a character reference to U+0000 (&#0; or &#x0;, with any number of zeros).
// pugixml decodes it into a NUL byte, which ends the text or attribute value it stands in, so the
// rest of that text would be lost without a word. XML does not allow the character at all, so such a
// document is treated as not well-formed. NUL bytes are passed over while matching, so that the same
// holds for UTF-16 and UTF-32 input.
bool HasNulCharacterReference(const char* data, std::size_t size) {
    const char* const end = data + size;
    const auto next = [end](const char* p) {
        while (p < end && *p == '\0')
            ++p;
        return p;
    };
    for (const char* amp = data;
         (amp = static_cast<const char*>(std::memchr(amp, '&', static_cast<std::size_t>(end - amp)))) !=
         nullptr;) {
        const char* p = next(amp + 1);
        amp = p;
        if (p == end || *p != '#')
            continue;
        p = next(p + 1);
        if (p < end && *p == 'x')
            p = next(p + 1);
        bool zero = false;
        while (p < end && *p == '0') {
            zero = true;
            p = next(p + 1);
        }
        if (zero && p < end && *p == ';')
            return true;
    }
    return false;
}

} // namespace

TXMLTagFileIn::TXMLTagFileIn(std::string_view data) {
    fBuffer.reserve(data.size() + 1); // room for the end mark added before scanning
    fBuffer.assign(data);
    Parse();
}

TXMLTagFileIn::TXMLTagFileIn(std::string&& data) : fBuffer(std::move(data)) {
    Parse();
}

TXMLTagFileIn::TXMLTagFileIn(std::istream& in)
    : fBuffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) {
    Parse();
}

void TXMLTagFileIn::Parse() {
    bool wellFormed = fBuffer.size() <= kMaxDocumentBytes;
    if (wellFormed && IsUtf8Text(fBuffer)) {
        const std::size_t size = fBuffer.size();
        fBuffer.push_back('\0');
        // An assistant file has about one step per twelve bytes.
        fSteps.reserve(size / 12 + 16);
        TScanner scanner(fBuffer.data(), fBuffer.data() + size, fSteps);
        wellFormed = scanner.Run();
    } else if (wellFormed) {
        ParseWithPugixml();
        wellFormed = !fSteps.empty();
    }
    if (!wellFormed) {
        std::vector<TStep>().swap(fSteps);
        std::string().swap(fBuffer);
    }
}

// Input in another encoding: pugixml converts and parses it, and its tree is copied into a new
// buffer and step table, so that the walk is the same for every input.
void TXMLTagFileIn::ParseWithPugixml() {
    pugi::xml_document document;
    if (HasNulCharacterReference(fBuffer.data(), fBuffer.size()) ||
        !document.load_buffer(fBuffer.data(), fBuffer.size(), kParseOptions, pugi::encoding_auto))
        return;
    // A well-formed document has exactly one element at its top level and no text beside it.
    pugi::xml_node root;
    for (pugi::xml_node child = document.first_child(); child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            if (root)
                return;
            root = child;
        } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            return;
        }
    }
    if (!root)
        return;
    std::string buffer;
    bool fits = true;
    const auto add = [&](const char* text, std::uint32_t info) {
        const std::size_t length = std::strlen(text);
        fits = fits && buffer.size() + length <= kMaxDocumentBytes;
        if (fits) {
            fSteps.push_back(
                {static_cast<std::uint32_t>(buffer.size()), static_cast<std::uint32_t>(length), info});
            buffer.append(text, length);
        }
    };
    // A depth-first walk without recursion: each element is entered (its start and attributes), its
    // children are walked, and it is left (its end, which repeats the start's entry).
    std::vector<std::size_t> open;
    for (pugi::xml_node node = root; fits;) {
        if (node.type() == pugi::node_element) {
            const std::size_t start = fSteps.size();
            add(node.name(), kStart);
            std::uint32_t count = 0;
            for (pugi::xml_attribute a = node.first_attribute(); a; a = a.next_attribute(), ++count) {
                add(a.name(), kAttribute);
                add(a.value(), kAttribute);
            }
            if (!fits)
                break;
            fSteps[start].Info = kStart | (count << kCountShift);
            if (node.first_child()) {
                open.push_back(start);
                node = node.first_child();
                continue;
            }
            fSteps.push_back({fSteps[start].Offset, fSteps[start].Length, kEnd});
        } else if (node.type() == pugi::node_pcdata || node.type() == pugi::node_cdata) {
            const bool lineFeed = std::strchr(node.value(), '\n') != nullptr;
            add(node.value(), kText | (lineFeed ? kLineFeed : 0));
        }
        // On to the next sibling, ending each element whose children are done.
        while (!node.next_sibling() && !open.empty()) {
            const TStep start = fSteps[open.back()];
            fSteps.push_back({start.Offset, start.Length, kEnd});
            open.pop_back();
            node = node.parent();
        }
        if (node == root)
            break;
        node = node.next_sibling();
    }
    if (!fits) {
        fSteps.clear();
        return;
    }
    fBuffer = std::move(buffer);
}

TTagKind TXMLTagFileIn::Next(std::string& name) {
    std::string_view step;
    const TTagKind kind = Next(step);
    name.assign(step);
    return kind;
}

const std::vector<std::string>& TXMLTagFileIn::Attributes() const {
    if (!fAttributesMade) {
        // The vector and its strings are reused from element to element.
        fAttributes.resize(fAttributeCount);
        for (std::size_t i = 0; i < fAttributeCount; ++i) {
            std::string& line = fAttributes[i];
            line.assign(View(fSteps[fAttributeFirst + 2 * i]));
            line += '=';
            line += View(fSteps[fAttributeFirst + 2 * i + 1]);
        }
        fAttributesMade = true;
    }
    return fAttributes;
}

std::string TXMLTagFileIn::Attribute(std::string_view name) const {
    return std::string(AttributeView(name));
}

std::string_view TXMLTagFileIn::AttributeView(std::string_view name) const {
    // The same answer as searching the lines of Attributes, without making them.
    for (std::size_t i = 0; i < fAttributeCount; ++i)
        if (SameText(View(fSteps[fAttributeFirst + 2 * i]), name))
            return View(fSteps[fAttributeFirst + 2 * i + 1]);
    return {};
}
