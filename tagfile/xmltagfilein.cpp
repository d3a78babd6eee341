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

// True when the zero-terminated `candidate` equals `name` ignoring the case of A-Z; the candidate is
// compared as it is walked, without measuring it first.
bool EqualsIgnoringCase(const char* candidate, std::string_view name) {
    for (const char c : name) {
        if (*candidate == '\0' || AsciiLower(*candidate) != AsciiLower(c))
            return false;
        ++candidate;
    }
    return *candidate == '\0';
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

// True when the parser takes the bytes for 8-bit text (UTF-8, or Latin-1 when a declaration says so):
// no NUL among the first four bytes and no UTF-16 byte-order mark. Only for such text does a NUL byte
// added at the end change neither the encoding the parser detects nor the characters it decodes.
bool IsEightBitText(std::string_view data) {
    if (data.size() >= 2) {
        const auto b0 = static_cast<unsigned char>(data[0]), b1 = static_cast<unsigned char>(data[1]);
        if ((b0 == 0xFE && b1 == 0xFF) || (b0 == 0xFF && b1 == 0xFE))
            return false;
    }
    return data.substr(0, 4).find('\0') == std::string_view::npos;
}

} // namespace

TXMLTagFileIn::TXMLTagFileIn(std::string_view data) {
    fBuffer.reserve(data.size() + 1); // room for the end mark added before parsing
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
    // The check looks at the bytes as they came: parsing in place decodes the references it looks for.
    const std::size_t size = fBuffer.size();
    bool wellFormed = !HasNulCharacterReference(fBuffer.data(), size);
    if (wellFormed && IsEightBitText(fBuffer)) {
        // 8-bit text is decoded where it is, with a NUL byte as its end. The parser needs that end
        // inside the buffer: without it the parser would take the last byte for the end and lose it
        // (the last character of text after the root element, for example). Parsing a copy of the
        // bytes adds the same end.
        fBuffer.push_back('\0');
        wellFormed = static_cast<bool>(
            fDocument.load_buffer_inplace(fBuffer.data(), size + 1, kParseOptions, pugi::encoding_auto));
    } else if (wellFormed) {
        // Other encodings are converted into a buffer of the parser's own: the bytes are not needed.
        wellFormed = static_cast<bool>(
            fDocument.load_buffer(fBuffer.data(), size, kParseOptions, pugi::encoding_auto));
        std::string().swap(fBuffer);
    }
    // A well-formed document has exactly one element at its top level and no text beside it.
    // Anything else is treated as an empty document: the reader is at its end at once.
    pugi::xml_node root;
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
        std::string().swap(fBuffer);
        root = pugi::xml_node();
    }
    StopWalk();
    MoveTo(root);
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
    std::string_view step;
    const TTagKind kind = Next(step);
    name.assign(step);
    return kind;
}

TTagKind TXMLTagFileIn::Next(std::string_view& name) {
    for (;;) {
        switch (fCurrentType) {
        case pugi::node_null:
            name = {};
            return tkEndOfDocument;
        case pugi::node_element:
            if (fEntering) {
                name = fCurrent.name();
                fOpen.push_back({fCurrent, name});
                fAttributeElement = fCurrent;
                fAttributesMade = false;
                Advance();
                return tkStart;
            }
            name = fOpen.back().Name;
            fOpen.pop_back();
            Advance();
            return tkEnd;
        case pugi::node_pcdata:
        case pugi::node_cdata:
            name = fCurrent.value();
            Advance();
            return tkText;
        case pugi::node_comment:
        case pugi::node_pi:
        case pugi::node_declaration:
        case pugi::node_doctype:
            Advance();
            continue;
        default:
            name = {};
            Advance();
            return tkUnknown;
        }
    }
}

// One step of a depth-first walk of the root element. An element is visited twice: entering (its
// start is reported) and leaving (its end is reported). The walk is iterative, so the depth of the
// document does not matter (the open elements are kept in a vector on the heap).
void TXMLTagFileIn::Advance() {
    if (fCurrentType == pugi::node_element) {
        if (fEntering) {
            // Only elements have children in the tree the parser keeps.
            if (!MoveTo(fCurrent.first_child()))
                fEntering = false; // an element without content: its end comes next
        } else if (fOpen.empty()) {
            StopWalk(); // the root's end has been reported
        } else if (MoveTo(fCurrent.next_sibling())) {
            fEntering = true;
        } else {
            MoveToParent(); // its end comes next
        }
        return;
    }
    if (!MoveTo(fCurrent.next_sibling())) {
        MoveToParent();
        fEntering = false;
    }
}

// Moves the walk up to the element that holds the current node: the innermost open element.
void TXMLTagFileIn::MoveToParent() {
    fCurrent = fOpen.back().Node;
    fCurrentType = pugi::node_element;
}

std::string TXMLTagFileIn::Attribute(std::string_view name) const {
    return std::string(AttributeView(name));
}

std::string_view TXMLTagFileIn::AttributeView(std::string_view name) const {
    // The same answer as searching the lines of Attributes, without making them.
    for (pugi::xml_attribute a = fAttributeElement.first_attribute(); a; a = a.next_attribute())
        if (EqualsIgnoringCase(a.name(), name))
            return a.value();
    return {};
}
