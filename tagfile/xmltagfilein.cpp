#include "tagfile/xmltagfilein.h"

#include <cstring>
#include <istream>
#include <iterator>

namespace {

// Fragment mode makes the parser keep text found outside the root element, so that such input
// can be refused below; without it that text would be dropped silently. Comments, processing
// instructions, the declaration and the document type are not kept in the tree at all, and the
// parser never loads a DTD or external entity (it resolves only the predefined entities and
// character references). End-of-line handling (CR LF and lone CR become LF) and the blanking of
// white-space characters in attribute values are those of any XML parser.
constexpr unsigned kParseOptions = pugi::parse_default | pugi::parse_fragment;

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool EqualsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    return true;
}

// True when the bytes hold a character reference to U+0000 (&#0; or &#x0;, with any number of zeros).
// The parser decodes it into a NUL byte, which ends the text or attribute value it stands in, so the
// rest of that text would be lost without a word. XML does not allow the character at all, so such a
// document is treated as not well-formed. NUL bytes are passed over while matching, so that the same
// holds for UTF-16 and UTF-32 input. (The same characters inside a CDATA section or a comment are
// refused too; this program never writes either.)
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
    Parse(data.data(), data.size());
}

TXMLTagFileIn::TXMLTagFileIn(std::istream& in) {
    const std::string data{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    Parse(data.data(), data.size());
}

void TXMLTagFileIn::Parse(const void* data, std::size_t size) {
    const pugi::xml_parse_result result =
        fDocument.load_buffer(data, size, kParseOptions, pugi::encoding_auto);
    // A well-formed document has exactly one element at its top level and no text beside it.
    // Anything else is treated as an empty document: the reader is at its end at once.
    pugi::xml_node root;
    bool wellFormed = result && !HasNulCharacterReference(static_cast<const char*>(data), size);
    for (pugi::xml_node child = fDocument.first_child(); wellFormed && child; child = child.next_sibling()) {
        if (child.type() == pugi::node_element) {
            wellFormed = !root;
            root = child;
        } else if (child.type() == pugi::node_pcdata || child.type() == pugi::node_cdata) {
            wellFormed = false;
        }
    }
    if (!wellFormed || !root) {
        fDocument.reset();
        root = pugi::xml_node();
    }
    StopWalk();
    MoveTo(root);
    fDepth = 0;
    fEntering = true;
}

const std::vector<std::string>& TXMLTagFileIn::Attributes() const {
    if (!fAttributesMade) {
        // The vector and its strings are reused from element to element.
        std::size_t count = 0;
        for (pugi::xml_attribute a = fAttributeElement.first_attribute(); a; a = a.next_attribute()) {
            if (count == fAttributes.size())
                fAttributes.emplace_back();
            std::string& line = fAttributes[count++];
            line.assign(a.name());
            line += '=';
            line += a.value();
        }
        fAttributes.resize(count);
        fAttributesMade = true;
    }
    return fAttributes;
}

// Moves the walk to `node` when there is such a node; returns false, leaving the walk where it is,
// when there is not.
bool TXMLTagFileIn::MoveTo(pugi::xml_node node) {
    const pugi::xml_node_type type = node.type(); // node_null for no node
    if (type == pugi::node_null)
        return false;
    fCurrent = node;
    fCurrentType = type;
    return true;
}

void TXMLTagFileIn::StopWalk() {
    fCurrent = pugi::xml_node();
    fCurrentType = pugi::node_null;
}

TTagKind TXMLTagFileIn::Next(std::string& name) {
    for (;;) {
        switch (fCurrentType) {
        case pugi::node_null:
            name.clear();
            return tkEndOfDocument;
        case pugi::node_element:
            name.assign(fCurrent.name());
            if (fEntering) {
                fAttributeElement = fCurrent;
                fAttributesMade = false;
                Advance();
                return tkStart;
            }
            Advance();
            return tkEnd;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            name.assign(fCurrent.value());
            Advance();
            return tkText;
        case pugi::node_comment:
        case pugi::node_pi:
        case pugi::node_declaration:
        case pugi::node_doctype:
            Advance();
            continue;
        default:
            name.clear();
            Advance();
            return tkUnknown;
        }
    }
}

// One step of a depth-first walk of the root element. An element is visited twice: entering (its
// start is reported) and leaving (its end is reported). The walk is iterative, so the depth of the
// document does not matter.
void TXMLTagFileIn::Advance() {
    if (fCurrentType == pugi::node_element) {
        if (fEntering) {
            // Only elements have children in the tree the parser keeps.
            if (MoveTo(fCurrent.first_child()))
                ++fDepth;
            else
                fEntering = false; // an element without content: its end comes next
        } else if (fDepth == 0) {
            StopWalk(); // the root's end has been reported
        } else if (MoveTo(fCurrent.next_sibling())) {
            fEntering = true;
        } else {
            MoveTo(fCurrent.parent()); // its end comes next
            --fDepth;
        }
        return;
    }
    if (!MoveTo(fCurrent.next_sibling())) {
        MoveTo(fCurrent.parent());
        --fDepth;
        fEntering = false;
    }
}

std::string TXMLTagFileIn::Attribute(std::string_view name) const {
    // The same answer as searching the lines of Attributes, without making them.
    for (pugi::xml_attribute a = fAttributeElement.first_attribute(); a; a = a.next_attribute())
        if (EqualsIgnoringCase(a.name(), name))
            return a.value();
    return {};
}
