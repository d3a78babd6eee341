#pragma once
// Test helper: the read steps of a tag reader as short texts, so that whole sequences can be
// compared at once. "+NAME" plus " @name=value" per attribute is a start, "-NAME" an end,
// "'text'" a text and "?" a node of no known kind. A reader that misbehaves while it is walked
// (see WalkTagReader) fails the test.
#include "tagfile/xmltagfilein.h"
#include "tagreader_walk.h"

#include <gtest/gtest.h>

#include <string>
#include <string_view>
#include <vector>

inline std::vector<std::string> ReadEvents(TXMLTagFileIn& in) {
    const TagReaderWalk walk = WalkTagReader<std::string>(in);
    if (!walk.Fault.empty())
        ADD_FAILURE() << walk.Fault;
    return DescribeSteps(walk.Steps);
}

inline std::vector<std::string> ReadEvents(std::string_view xml) {
    TXMLTagFileIn in(xml);
    return ReadEvents(in);
}
