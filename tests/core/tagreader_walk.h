#pragma once
// The read steps of a TXMLTagFileIn and the checks of its contract while it is walked. Nothing here
// depends on a test framework: a misbehaving walk is reported as a text, not as a test failure.
#include "tagfile/xmltagfilein.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

// One read step: its kind, the element name or the text, and for a start the attribute lines
// ("name=value", in document order) the reader gives for it.
struct TagReadStep {
    TTagKind Kind = tkUnknown;
    std::string Text;
    std::vector<std::string> Attributes;
    bool operator==(const TagReadStep&) const = default;
};
using TagReadSteps = std::vector<TagReadStep>;

// A step as a short text: "+NAME" plus " @name=value" per attribute for a start, "-NAME" for an end,
// "'text'" for a text and "?" for anything else.
inline std::string DescribeStep(const TagReadStep& step) {
    switch (step.Kind) {
    case tkStart: {
        std::string out = "+" + step.Text;
        for (const std::string& line : step.Attributes)
            out += " @" + line;
        return out;
    }
    case tkEnd:
        return "-" + step.Text;
    case tkText:
        return "'" + step.Text + "'";
    default:
        return "?";
    }
}

inline std::vector<std::string> DescribeSteps(const TagReadSteps& steps) {
    std::vector<std::string> out;
    out.reserve(steps.size());
    for (const TagReadStep& step : steps)
        out.push_back(DescribeStep(step));
    return out;
}

// What walking a reader to its end gave. `Fault` is empty unless the reader broke its own contract
// while being walked: a walk that does not end, AtEnd disagreeing with the step that follows, a name
// left at the end of the document, or a viewed name that changed before the reader went away.
struct TagReaderWalk {
    TagReadSteps Steps;
    std::string Fault;
};

// Walks `in` to its end with Next(Name&), where Name is std::string (copies) or std::string_view
// (views into the reader). A walk of more than `maxSteps` steps counts as one that never ends.
template <class Name> TagReaderWalk WalkTagReader(TXMLTagFileIn& in, std::size_t maxSteps = 1000000) {
    static_assert(std::is_same_v<Name, std::string> || std::is_same_v<Name, std::string_view>);
    TagReaderWalk walk;
    // Views must stay valid and unchanged for as long as the reader lives: they are compared with
    // the copies taken at each step once the walk is over.
    std::vector<std::string_view> views;
    for (std::size_t count = 0;; ++count) {
        if (count > maxSteps) {
            walk.Fault = "the reader does not reach the end of the document";
            return walk;
        }
        const bool atEnd = in.AtEnd();
        Name name = Name("stale");
        const TTagKind kind = in.Next(name);
        if (atEnd != (kind == tkEndOfDocument)) {
            walk.Fault = atEnd ? "AtEnd was true before a step that is not the end of the document"
                               : "AtEnd was false before the end of the document";
            return walk;
        }
        if (kind == tkEndOfDocument) {
            if (!name.empty())
                walk.Fault = "the end of the document comes with a name";
            else if (!in.AtEnd())
                walk.Fault = "the reader is not at its end after the end of the document";
            else if (Name again = Name("stale"); in.Next(again) != tkEndOfDocument || !again.empty())
                walk.Fault = "a step after the end of the document is not the end again";
            break;
        }
        TagReadStep step{kind, std::string(name), {}};
        if (kind == tkStart)
            step.Attributes = in.Attributes();
        if constexpr (std::is_same_v<Name, std::string_view>)
            views.push_back(name);
        walk.Steps.push_back(std::move(step));
    }
    for (std::size_t i = 0; i < views.size() && walk.Fault.empty(); ++i)
        if (views[i] != walk.Steps[i].Text)
            walk.Fault = "the name viewed at step " + std::to_string(i) +
                         " changed while the reader lived: now '" + std::string(views[i]) + "'";
    return walk;
}
