#pragma once
// The XML file writer: a tag writer whose output is a complete UTF-8 XML document in memory,
// starting with the declaration <?xml version="1.0" encoding="UTF-8" standalone="yes"?>, without
// a byte-order mark, one element per line indented by nesting depth.
//
//     TXMLTagFileOut out;
//     out.StartElement("ROOT", {{"NAME", "A1"}});
//     ...
//     out.EndElement();
//     std::string text = out.Finish();
#include "tagfile/tagdomout.h"

#include <string>

class TXMLTagFileOut : public TTagDomOut {
public:
    // Starts the document; the text is taken with Finish.
    TXMLTagFileOut();
    // Starts the document; when the document is ended (Finish or destruction) its text is appended
    // to `target`, which must outlive the writer.
    explicit TXMLTagFileOut(std::string& target);
    // Ends the document if Finish was not called.
    ~TXMLTagFileOut() override;

    // Ends the document (closing any element still open) and returns its text. Later calls return
    // an empty text; with a target the text goes there and the result is empty.
    std::string Finish();

private:
    std::string* m_target = nullptr;
};
