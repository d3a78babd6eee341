#include "tagfile/tagdomout.h"

#include "support/error.h"
#include "support/utf8.h"

#include <array>

namespace {

// Elements deeper than this are indented like this depth, so that the output of a pathologically
// deep document stays linear in the number of elements.
constexpr std::size_t kMaxIndent = 64;

constexpr std::string_view kReplacement = "\xEF\xBF\xBD"; // U+FFFD

// For each byte: true when it is copied to the output as it is. All other bytes (markup
// characters, control characters, non-ASCII bytes) go through EscapeOne.
constexpr std::array<bool, 256> MakePlainTable(bool attribute) {
    std::array<bool, 256> table{};
    for (int c = 0x20; c < 0x80; ++c)
        table[c] = true;
    table['&'] = table['<'] = table['>'] = false;
    if (attribute)
        table['"'] = false;
    else
        table['\t'] = table['\n'] = true;
    return table;
}
constexpr std::array<bool, 256> kPlainText = MakePlainTable(false);
constexpr std::array<bool, 256> kPlainAttribute = MakePlainTable(true);

// Appends `s` escaped for character content (attribute == false) or for a double-quoted attribute
// value. In text, & < > are escaped (> so that "]]>" cannot appear) and CR as &#13; because the
// parser would otherwise turn it into LF. In attribute values also " and TAB, LF and CR, which the
// parser would otherwise turn into blanks. Control characters that XML 1.0 does not allow and
// U+FFFE/U+FFFF are dropped; ill-formed UTF-8 becomes U+FFFD.
void AppendEscaped(std::string& out, std::string_view s, bool attribute) {
    const std::array<bool, 256>& plain = attribute ? kPlainAttribute : kPlainText;
    auto p = reinterpret_cast<const unsigned char*>(s.data());
    const auto end = p + s.size();
    while (p < end) {
        const auto run = p;
        while (p < end && plain[*p])
            ++p;
        out.append(reinterpret_cast<const char*>(run), p - run);
        if (p == end)
            break;
        const unsigned char c = *p;
        if (c >= 0x80) {
            char32_t cp = 0;
            std::size_t bad = 0;
            const std::size_t length = Utf8Sequence(p, end, cp, bad);
            if (length == 0) {
                out += kReplacement;
                p += bad;
            } else {
                if (cp != 0xFFFE && cp != 0xFFFF)
                    out.append(reinterpret_cast<const char*>(p), length);
                p += length;
            }
            continue;
        }
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\t':
            out += "&#9;";
            break;
        case '\n':
            out += "&#10;";
            break;
        case '\r':
            out += "&#13;";
            break;
        default:
            break; // a control character XML cannot carry: dropped
        }
        ++p;
    }
}

bool IsNameStart(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' || c == ':' || c >= 0x80;
}

bool IsNameChar(unsigned char c) {
    return IsNameStart(c) || (c >= '0' && c <= '9') || c == '-' || c == '.';
}

// Element and attribute names are written unchanged, so one that XML cannot carry is refused.
// Non-ASCII name characters are accepted when they are well-formed UTF-8.
void CheckName(std::string_view name) {
    bool valid = !name.empty() && IsNameStart(static_cast<unsigned char>(name[0]));
    auto p = reinterpret_cast<const unsigned char*>(name.data());
    const auto end = p + name.size();
    while (valid && p < end) {
        if (*p < 0x80) {
            valid = IsNameChar(*p);
            ++p;
        } else {
            char32_t cp = 0;
            std::size_t bad = 0;
            const std::size_t length = Utf8Sequence(p, end, cp, bad);
            valid = length != 0;
            p += length;
        }
    }
    if (!valid)
        throw AppError("\"" + std::string(name) + "\" is not a valid XML name.");
}

} // namespace

void TTagDomOut::StartDocument() {
    m_out.reserve(4096);
    m_out += R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";
}

void TTagDomOut::EndDocument() {
    if (m_ended)
        return;
    while (m_depth > 0)
        EndElement();
    m_out += '\n';
    m_ended = true;
}

void TTagDomOut::CheckWritable() const {
    if (m_ended)
        throw AppError("The XML document has already been ended.");
}

void TTagDomOut::CloseStartTag() {
    if (m_startTagOpen) {
        m_out += '>';
        m_startTagOpen = false;
    }
}

void TTagDomOut::NewLine(std::size_t depth) {
    m_out += '\n';
    m_out.append(depth < kMaxIndent ? depth : kMaxIndent, '\t');
}

void TTagDomOut::StartElement(std::string_view name) {
    StartElement(name, std::span<const TTagAttr>());
}

void TTagDomOut::StartElement(std::string_view name, std::initializer_list<TTagAttr> attributes) {
    StartElement(name, std::span<const TTagAttr>(attributes.begin(), attributes.size()));
}

void TTagDomOut::StartElement(std::string_view name, std::span<const TTagAttr> attributes) {
    CheckWritable();
    if (m_depth == 0 && m_rootWritten)
        throw AppError("An XML document can have only one root element; \"" + std::string(name) +
                       "\" would be a second one.");
    CheckName(name);
    for (std::size_t i = 0; i < attributes.size(); ++i) {
        CheckName(attributes[i].Name);
        for (std::size_t j = 0; j < i; ++j)
            if (attributes[j].Name == attributes[i].Name)
                throw AppError("The attribute \"" + std::string(attributes[i].Name) +
                               "\" is given twice for the element \"" + std::string(name) + "\".");
    }

    bool isInline = false;
    if (m_depth > 0) {
        OpenElement& parent = m_open[m_depth - 1];
        CloseStartTag();
        parent.HasChildren = true;
        isInline = parent.Inline;
    }
    if (!isInline)
        NewLine(m_depth);
    m_out += '<';
    m_out += name;
    for (const TTagAttr& a : attributes) {
        m_out += ' ';
        m_out += a.Name;
        m_out += "=\"";
        AppendEscaped(m_out, a.Value, true);
        m_out += '"';
    }
    m_startTagOpen = true;

    if (m_depth == m_open.size())
        m_open.emplace_back();
    OpenElement& element = m_open[m_depth++];
    element.Name.assign(name);
    element.Inline = isInline;
    element.HasChildren = false;
}

void TTagDomOut::EndElement() {
    CheckWritable();
    if (m_depth == 0)
        throw AppError("No XML element is open to be ended.");
    const OpenElement& element = m_open[m_depth - 1];
    if (m_startTagOpen) {
        m_out += "/>";
        m_startTagOpen = false;
    } else {
        if (element.HasChildren && !element.Inline)
            NewLine(m_depth - 1);
        m_out += "</";
        m_out += element.Name;
        m_out += '>';
    }
    if (--m_depth == 0)
        m_rootWritten = true;
}

void TTagDomOut::Characters(std::string_view text) {
    if (text.empty())
        return;
    CheckWritable();
    if (m_depth == 0)
        throw AppError("Text cannot be written outside the root element.");
    CloseStartTag();
    // From here on the element's content is written exactly as given: indentation added between
    // its pieces would become part of its text.
    m_open[m_depth - 1].Inline = true;
    AppendEscaped(m_out, text, false);
}

void TTagDomOut::TextElement(std::string_view name, std::string_view text) {
    TextElement(name, std::span<const TTagAttr>(), text);
}

void TTagDomOut::TextElement(std::string_view name, std::initializer_list<TTagAttr> attributes,
                             std::string_view text) {
    TextElement(name, std::span<const TTagAttr>(attributes.begin(), attributes.size()), text);
}

void TTagDomOut::TextElement(std::string_view name, std::span<const TTagAttr> attributes,
                             std::string_view text) {
    StartElement(name, attributes);
    Characters(text);
    EndElement();
}
