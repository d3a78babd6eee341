#pragma once
// The XML file reader: parses a whole XML document at once and reports it as a flat sequence of
// read steps (element start with its attributes, text, element end) in document order.
// Comments and processing instructions are skipped, CDATA sections are reported as text, text that
// is only white space is never reported, and character and entity references come back decoded.
// Input that is not well-formed XML gives no exception: the reader is at its end at once.
// No DTD or external entity is ever loaded.
#include "tagfile/tagkind.h"

#include <pugixml.hpp>

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TXMLTagFileIn {
public:
    // Parses the bytes (UTF-8, a byte-order mark allowed). The reader works on a copy of them.
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
    bool AtEnd() const { return fCurrentType == pugi::node_null; }

    // One read step; `name` receives the element name or the text (empty for the other kinds).
    TTagKind Next(std::string& name);
    // The same step without copying: `name` views the name or text inside the reader, and stays valid
    // for as long as the reader lives.
    TTagKind Next(std::string_view& name);

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
    void Advance();
    bool MoveTo(pugi::xml_node node);
    void MoveToParent();
    void StopWalk();

    // The bytes being parsed; the parser decodes names and texts in place, and the document's nodes
    // point into this buffer, so it lives as long as the document.
    std::string fBuffer;
    pugi::xml_document fDocument;
    // The walk: the node it stands at and that node's type (node_null when the walk has ended).
    pugi::xml_node fCurrent;
    pugi::xml_node_type fCurrentType = pugi::node_null;
    // The elements whose start has been reported and whose end has not, outermost first, with their
    // names: the walk goes back up and reports ends from here without asking the parser again.
    struct TOpenElement {
        pugi::xml_node Node;
        std::string_view Name;
    };
    std::vector<TOpenElement> fOpen;
    // The element whose attributes are current (that of the last start). Its attribute lines are
    // made only when asked for, so that a walk that does not look at them does not pay for them.
    pugi::xml_node fAttributeElement;
    mutable std::vector<std::string> fAttributes;
    mutable bool fAttributesMade = true;
    bool fEntering = true;
};
