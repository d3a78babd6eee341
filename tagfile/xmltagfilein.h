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
    // Parses the bytes (UTF-8, a byte-order mark allowed).
    explicit TXMLTagFileIn(std::string_view data);
    // Reads the stream from its current position to its end and parses it.
    explicit TXMLTagFileIn(std::istream& in);
    TXMLTagFileIn(const TXMLTagFileIn&) = delete;
    TXMLTagFileIn& operator=(const TXMLTagFileIn&) = delete;

    // True when there is nothing more to read.
    bool AtEnd() const { return !fCurrent; }

    // One read step; `name` receives the element name or the text (empty for the other kinds).
    TTagKind Next(std::string& name);

    // The attributes of the element of the last tkStart, one "name=value" line each, in document order.
    const std::vector<std::string>& Attributes() const { return fAttributes; }

    // The value of the attribute whose name equals `name` ignoring the case of A-Z (the text after
    // the first '=' of the first such line), or an empty text when there is none.
    std::string Attribute(std::string_view name) const;

private:
    void Parse(const void* data, std::size_t size);
    void Advance();
    void LoadAttributes();

    pugi::xml_document fDocument;
    pugi::xml_node fRoot;
    pugi::xml_node fCurrent;
    std::vector<std::string> fAttributes;
    bool fEntering = true;
};
