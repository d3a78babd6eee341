#include "tagfile/xmltagfilein.h"

#include "support/textroutines.h"
#include "tagfile/xmlcharacters.h"

#include <istream>
#include <iterator>

namespace {

// Fragment mode makes pugixml keep text found outside the root element, and the document type node is
// kept, so that both can be refused where XML does not allow them; without them such input would be
// read with a part dropped silently. Comments, processing instructions and the declaration are not
// kept in the tree, and the parser never loads a DTD or external entity (it resolves only the
// predefined entities and character references).
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_fragment | pugi::parse_doctype;

pugi::xml_encoding ParserEncoding(TXmlEncoding encoding) {
    switch (encoding) {
    case TXmlEncoding::Utf16Le:
        return pugi::encoding_utf16_le;
    case TXmlEncoding::Utf16Be:
        return pugi::encoding_utf16_be;
    case TXmlEncoding::Utf32Le:
        return pugi::encoding_utf32_le;
    case TXmlEncoding::Utf32Be:
        return pugi::encoding_utf32_be;
    case TXmlEncoding::Latin1:
        return pugi::encoding_latin1;
    default:
        return pugi::encoding_utf8;
    }
}

} // namespace

TXMLTagFileIn::TXMLTagFileIn(std::string_view data) : m_buffer(data) {
    Parse();
}

TXMLTagFileIn::TXMLTagFileIn(std::string&& data) : m_buffer(std::move(data)) {
    Parse();
}

TXMLTagFileIn::TXMLTagFileIn(std::istream& in)
    : m_buffer(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()) {
    Parse();
}

void TXMLTagFileIn::Parse() {
    const TXmlEncoding encoding = DetectXmlEncoding(m_buffer);
    const TXmlCharacterCheck characters = CheckXmlCharacters(m_buffer, encoding);
    bool wellFormed = characters.Valid;
    if (!wellFormed)
        m_problem = characters.Where;
    if (wellFormed) {
        // The parser is handed the document followed by one NUL character, which it takes for the end:
        // without it, parsing in place would lose a text that runs up to the last byte (text after
        // the root would vanish instead of being refused). The check above has refused any NUL
        // inside the document itself.
        std::size_t unit = 1;
        if (encoding == TXmlEncoding::Utf16Le || encoding == TXmlEncoding::Utf16Be)
            unit = 2;
        else if (encoding == TXmlEncoding::Utf32Le || encoding == TXmlEncoding::Utf32Be)
            unit = 4;
        m_buffer.append(unit, '\0');
        wellFormed = m_document.load_buffer_inplace(m_buffer.data(), m_buffer.size(), kParseOptions,
                                                    ParserEncoding(encoding));
    }
    // A well-formed document has exactly one element at its top level, no text beside it and a
    // document type, if any, only before it.
    if (wellFormed) {
        for (pugi::xml_node child = m_document.first_child(); child && wellFormed;
             child = child.next_sibling()) {
            switch (child.type()) {
            case pugi::node_element:
                wellFormed = !m_root;
                m_root = child;
                break;
            case pugi::node_doctype:
                wellFormed = !m_root && child == m_document.first_child();
                break;
            case pugi::node_pcdata:
            case pugi::node_cdata:
                wellFormed = false;
                break;
            default:
                break;
            }
        }
        wellFormed = wellFormed && m_root;
    }
    if (!wellFormed) {
        m_root = {};
        m_document.reset();
        std::string().swap(m_buffer);
    }
    m_node = m_root;
    m_entering = true;
}

TTagKind TXMLTagFileIn::Next(std::string& name) {
    std::string_view step;
    const TTagKind kind = Next(step);
    name.assign(step);
    return kind;
}

const std::vector<std::string>& TXMLTagFileIn::Attributes() const {
    if (!m_attributesMade) {
        // The vector and its strings are reused from element to element.
        std::size_t count = 0;
        for (pugi::xml_attribute a = m_attributeNode.first_attribute(); a; a = a.next_attribute()) {
            if (count == m_attributes.size())
                m_attributes.emplace_back();
            std::string& line = m_attributes[count++];
            line.assign(a.name());
            line += '=';
            line += a.value();
        }
        m_attributes.resize(count);
        m_attributesMade = true;
    }
    return m_attributes;
}

std::string TXMLTagFileIn::Attribute(std::string_view name) const {
    return std::string(AttributeView(name));
}

std::string_view TXMLTagFileIn::AttributeView(std::string_view name) const {
    // The same answer as searching the lines of Attributes, without making them.
    for (pugi::xml_attribute a = m_attributeNode.first_attribute(); a; a = a.next_attribute())
        if (SameText(a.name(), name))
            return a.value();
    return {};
}
