#pragma once
// Test helper: the read steps of a tag reader as short texts, so that whole sequences can be
// compared at once. "+NAME" plus " @name=value" per attribute is a start, "-NAME" an end,
// "'text'" a text and "?" a node of no known kind.
#include "tagfile/xmltagfilein.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

inline std::vector<std::string> ReadEvents(TXMLTagFileIn& in) {
    std::vector<std::string> events;
    std::string name = "stale";
    // A walk that never ends is a fault of the reader; stop it instead of hanging.
    for (int guard = 0; guard < 1000000; ++guard) {
        const TTagKind kind = in.Next(name);
        switch (kind) {
        case tkStart: {
            std::string e = "+" + name;
            for (const std::string& line : in.Attributes())
                e += " @" + line;
            events.push_back(e);
            break;
        }
        case tkEnd:
            events.push_back("-" + name);
            break;
        case tkText:
            events.push_back("'" + name + "'");
            break;
        case tkUnknown:
            events.push_back("?");
            break;
        case tkEndOfDocument:
            EXPECT_TRUE(name.empty());
            EXPECT_TRUE(in.AtEnd());
            return events;
        }
    }
    ADD_FAILURE() << "the reader does not reach the end of the document";
    return events;
}

inline std::vector<std::string> ReadEvents(std::string_view xml) {
    TXMLTagFileIn in(xml);
    return ReadEvents(in);
}
