#include "tagfile/xmltagfileout.h"

#include <utility>

TXMLTagFileOut::TXMLTagFileOut() {
    StartDocument();
}

TXMLTagFileOut::TXMLTagFileOut(std::string& target) : fTarget(&target) {
    StartDocument();
}

TXMLTagFileOut::~TXMLTagFileOut() {
    try {
        Finish();
    } catch (...) {
        // Out of memory while closing the last elements: a destructor cannot report it.
    }
}

std::string TXMLTagFileOut::Finish() {
    if (DocumentEnded())
        return {};
    EndDocument();
    std::string text = std::move(Output());
    Output().clear();
    if (fTarget) {
        if (fTarget->empty())
            *fTarget = std::move(text);
        else
            fTarget->append(text);
        return {};
    }
    return text;
}
