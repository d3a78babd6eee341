#include "tagfile/xmltagfilein.h"

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
    bool wellFormed = static_cast<bool>(result);
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
    fRoot = root;
    fCurrent = root;
    fEntering = true;
}

void TXMLTagFileIn::LoadAttributes() {
    // The vector and its strings are reused from element to element.
    std::size_t count = 0;
    for (pugi::xml_attribute a = fCurrent.first_attribute(); a; a = a.next_attribute()) {
        if (count == fAttributes.size())
            fAttributes.emplace_back();
        std::string& line = fAttributes[count++];
        line.assign(a.name());
        line += '=';
        line += a.value();
    }
    fAttributes.resize(count);
}

TTagKind TXMLTagFileIn::Next(std::string& name) {
    for (;;) {
        if (!fCurrent) {
            name.clear();
            return tkEndOfDocument;
        }
        switch (fCurrent.type()) {
        case pugi::node_element:
            name.assign(fCurrent.name());
            if (fEntering) {
                LoadAttributes();
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
    const bool isElement = fCurrent.type() == pugi::node_element;
    if (isElement && !fEntering) {
        if (fCurrent == fRoot) {
            fCurrent = pugi::xml_node(); // the root's end has been reported
        } else if (pugi::xml_node next = fCurrent.next_sibling()) {
            fCurrent = next;
            fEntering = true;
        } else {
            fCurrent = fCurrent.parent();
        }
        return;
    }
    if (pugi::xml_node child = fCurrent.first_child()) {
        fCurrent = child;
        return;
    }
    if (isElement) {
        fEntering = false; // an element without content: its end comes next
        return;
    }
    if (pugi::xml_node next = fCurrent.next_sibling()) {
        fCurrent = next;
    } else {
        fCurrent = fCurrent.parent();
        fEntering = false;
    }
}

std::string TXMLTagFileIn::Attribute(std::string_view name) const {
    for (const std::string& line : fAttributes) {
        const std::size_t eq = line.find('=');
        if (eq != std::string::npos && EqualsIgnoringCase(std::string_view(line).substr(0, eq), name))
            return line.substr(eq + 1);
    }
    return {};
}
