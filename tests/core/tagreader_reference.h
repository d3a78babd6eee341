#pragma once
// The read steps of a TXMLTagFileIn, and the steps the XML parser's own tree of the same bytes says
// it must give. Shared by the reader's tests and its differential fuzz target, so nothing here
// depends on a test framework: a misbehaving walk is reported as a text, not as a test failure.
#include "tagfile/xmltagfilein.h"

#include <pugixml.hpp>

#include <cstddef>
#include <optional>
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

// Why the steps are not those of one properly nested element, or an empty text when they are (or
// when there are none: a reader that refuses its input gives no step). Every end closes the innermost
// open element by its name, texts stand inside the root, nothing follows the root's end, no step is
// of an unknown kind, names are not empty and every attribute line has a name before its '='.
inline std::string TagNestingFault(const TagReadSteps& steps) {
    std::vector<const std::string*> open;
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const TagReadStep& step = steps[i];
        const std::string at = " (step " + std::to_string(i) + ": " + DescribeStep(step) + ")";
        if (i > 0 && open.empty())
            return "a step after the root element's end" + at;
        switch (step.Kind) {
        case tkStart:
            if (step.Text.empty())
                return "an element without a name" + at;
            for (const std::string& line : step.Attributes)
                if (line.empty() || line.front() == '=' || line.find('=') == std::string::npos)
                    return "an attribute line without a name or '='" + at;
            open.push_back(&step.Text);
            break;
        case tkEnd:
            if (open.empty() || *open.back() != step.Text)
                return "an end that does not close the innermost open element" + at;
            open.pop_back();
            break;
        case tkText:
            if (open.empty())
                return "text outside the root element" + at;
            break;
        default:
            return "a step of no known kind" + at;
        }
    }
    if (!open.empty())
        return "the root element is not closed";
    return {};
}

// The steps a reader must give for `bytes`, taken from the parser's tree of a copy of them (the same
// options as the reader: the default ones plus fragment mode, so that text beside the root stays in
// the tree and can be refused): the root element's nodes in document order. No value when the parser
// refuses the bytes or when their top level is not exactly one element with no text beside it.
// The walk is iterative, so deep documents do not use up the stack.
inline std::optional<TagReadSteps> ParsedCopySteps(std::string_view bytes) {
    pugi::xml_document doc;
    if (!doc.load_buffer(bytes.data(), bytes.size(), pugi::parse_default | pugi::parse_fragment))
        return std::nullopt;
    pugi::xml_node root;
    for (pugi::xml_node child : doc.children()) {
        if (child.type() != pugi::node_element || root)
            return std::nullopt;
        root = child;
    }
    if (!root)
        return std::nullopt;

    TagReadSteps steps;
    const auto end = [&steps](pugi::xml_node element) { steps.push_back({tkEnd, element.name(), {}}); };
    for (pugi::xml_node node = root;;) {
        switch (node.type()) {
        case pugi::node_element: {
            TagReadStep start{tkStart, node.name(), {}};
            for (pugi::xml_attribute a : node.attributes())
                start.Attributes.push_back(std::string(a.name()) + "=" + a.value());
            steps.push_back(std::move(start));
            if (pugi::xml_node child = node.first_child()) {
                node = child;
                continue;
            }
            end(node);
            break;
        }
        case pugi::node_pcdata:
        case pugi::node_cdata:
            steps.push_back({tkText, node.value(), {}});
            break;
        default: // no other kind is kept in the tree with these options
            steps.push_back({tkUnknown, {}, {}});
            break;
        }
        // On to the next node in document order, closing the elements that end on the way.
        for (;;) {
            if (node == root)
                return steps;
            if (pugi::xml_node next = node.next_sibling()) {
                node = next;
                break;
            }
            node = node.parent();
            end(node);
        }
    }
}

// The same steps as short texts; none when the parser refuses the bytes.
inline std::vector<std::string> ParsedCopyEvents(std::string_view bytes) {
    return DescribeSteps(ParsedCopySteps(bytes).value_or(TagReadSteps{}));
}
