#pragma once
// The XML file reader: parses a whole XML document at once with pugixml and walks the parsed tree,
// reporting it as a sequence of read steps (element start with its attributes, text, element end) in
// document order. Comments and processing instructions are skipped, CDATA sections are reported as
// text, text that is only white space is never reported, and character and entity references come
// back decoded. Input that is not well-formed gives no exception: the reader is at its end at once.
// No DTD or external entity is ever loaded.
//
// Every encoding the parser knows (UTF-8, UTF-16, UTF-32, Latin-1) is read the same way: the encoding
// is decided first, the characters are checked (see xmlcharacters.h), and the parser reads the bytes
// in that encoding, UTF-8 in place inside the reader's own copy of them.
#include "tagfile/tagkind.h"

#include <pugixml.hpp>

#include <cstring>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TXMLTagFileIn {
public:
    // Parses the bytes (a byte-order mark allowed). The reader works on a copy of them.
    explicit TXMLTagFileIn(std::string_view data);
    explicit TXMLTagFileIn(const char* data) : TXMLTagFileIn(std::string_view(data)) {}
    // Parses the bytes in the text it takes over, without copying them: the parser decodes the
    // document inside that text.
    explicit TXMLTagFileIn(std::string&& data);
    // Reads the stream from its current position to its end and parses it.
    explicit TXMLTagFileIn(std::istream& in);
    TXMLTagFileIn(const TXMLTagFileIn&) = delete;
    TXMLTagFileIn& operator=(const TXMLTagFileIn&) = delete;

    // True when there is nothing more to read.
    bool AtEnd() const { return !m_node; }

    // When the input was refused because of a character (bytes that are not text in the encoding, or a
    // character XML 1.0 does not allow, also as a reference): a sentence saying what stands where.
    // Empty for every other input, well-formed or not.
    const std::string& Problem() const { return m_problem; }

    // One read step; `name` receives the element name or the text (empty for the other kinds).
    TTagKind Next(std::string& name);
    // The same step without copying: `name` views the name or text inside the reader, and stays valid
    // for as long as the reader lives.
    // (Defined here, as the file reader takes one step per element, text and end.)
    TTagKind Next(std::string_view& name) {
        for (;;) {
            if (!m_node) {
                name = {};
                return tkEndOfDocument;
            }
            const pugi::xml_node node = m_node;
            switch (node.type()) {
            case pugi::node_element: {
                name = node.name();
                const bool entering = m_entering;
                if (entering) {
                    m_attributeNode = node;
                    m_attributesMade = false;
                }
                Advance();
                return entering ? tkStart : tkEnd;
            }
            case pugi::node_pcdata:
            case pugi::node_cdata:
                name = node.value();
                m_lastTextHasLineFeed = std::memchr(name.data(), '\n', name.size()) != nullptr;
                Advance();
                return tkText;
            default: // the parse options keep no other kind inside the root
                Advance();
                break;
            }
        }
    }

    // True when the text of the last tkText step holds a line feed.
    bool LastTextHasLineFeed() const { return m_lastTextHasLineFeed; }

    // The attributes of the element of the last tkStart, one "name=value" line each, in document order.
    // The reference stays valid until the next call of Next.
    const std::vector<std::string>& Attributes() const;

    // The value of the attribute whose name equals `name` ignoring the case of A-Z (the text after
    // the first '=' of the first such line), or an empty text when there is none.
    std::string Attribute(std::string_view name) const;
    // The same value without copying; it stays valid for as long as the reader lives.
    std::string_view AttributeView(std::string_view name) const;

private:
    void Parse();
    // One step of the depth-first walk: into an element's content, on to the next sibling, or up to
    // the parent whose end comes next; past the root's end there is no current node.
    void Advance() {
        if (m_entering && m_node.type() == pugi::node_element) {
            if (const pugi::xml_node child = m_node.first_child()) {
                m_node = child;
                return;
            }
            m_entering = false; // an empty element: its end comes next
            return;
        }
        if (m_node == m_root) {
            m_node = {};
            return;
        }
        if (const pugi::xml_node sibling = m_node.next_sibling()) {
            m_node = sibling;
            m_entering = true;
            return;
        }
        m_node = m_node.parent();
        m_entering = false;
    }

    // The bytes being read; for UTF-8 the parser decodes the document inside them and the tree's names
    // and texts point into them.
    std::string m_buffer;
    pugi::xml_document m_document;
    pugi::xml_node m_root;
    pugi::xml_node m_node;
    bool m_entering = true;
    // The element of the last start, whose attributes are asked for.
    pugi::xml_node m_attributeNode;
    bool m_lastTextHasLineFeed = false;
    std::string m_problem;
    mutable std::vector<std::string> m_attributes;
    mutable bool m_attributesMade = true;
};
