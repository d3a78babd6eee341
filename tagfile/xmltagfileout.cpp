#include "tagfile/xmltagfileout.h"

#include <utility>

TXMLTagFileOut::TXMLTagFileOut() {
    StartDocument();
}

TXMLTagFileOut::TXMLTagFileOut(std::string& target) : m_target(&target) {
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
    if (m_target) {
        if (m_target->empty())
            *m_target = std::move(text);
        else
            m_target->append(text);
        return {};
    }
    return text;
}
