#pragma once
// The XML file reader: parses a whole XML document at once and reports it as a flat sequence of
// read steps (element start with its attributes, text, element end) in document order.
// Comments and processing instructions are skipped, CDATA sections are reported as text, text that
// is only white space is never reported, and character and entity references come back decoded.
// Input that is not well-formed gives no exception: the reader is at its end at once.
// No DTD or external entity is ever loaded.
//
// UTF-8 input (the files this program writes) is read by a scanner of its own that decodes names and
// texts inside the bytes and notes every step in one flat table, so that walking the document is a
// step along that table. Input in another encoding (UTF-16, UTF-32, Latin-1) is parsed by pugixml,
// which converts it, and its tree is turned into the same table.
#include "tagfile/tagkind.h"

#include <cstdint>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

class TXMLTagFileIn {
public:
    // Parses the bytes (UTF-8, a byte-order mark allowed). The reader works on a copy of them.
    explicit TXMLTagFileIn(std::string_view data);
    explicit TXMLTagFileIn(const char* data) : TXMLTagFileIn(std::string_view(data)) {}
    // Parses the bytes in the text it takes over, without copying them: the reader decodes the
    // document inside that text.
    explicit TXMLTagFileIn(std::string&& data);
    // Reads the stream from its current position to its end and parses it.
    explicit TXMLTagFileIn(std::istream& in);
    TXMLTagFileIn(const TXMLTagFileIn&) = delete;
    TXMLTagFileIn& operator=(const TXMLTagFileIn&) = delete;

    // True when there is nothing more to read.
    bool AtEnd() const { return fNext >= fSteps.size(); }

    // One read step; `name` receives the element name or the text (empty for the other kinds).
    TTagKind Next(std::string& name);
    // The same step without copying: `name` views the name or text inside the reader, and stays valid
    // for as long as the reader lives.
    // (Defined here, as the file reader takes one step per element, text and end.)
    TTagKind Next(std::string_view& name) {
        if (fNext >= fSteps.size()) {
            name = {};
            return tkEndOfDocument;
        }
        const TStep& step = fSteps[fNext];
        name = View(step);
        switch (step.Info & TStep::kKindMask) {
        case TStep::kStart:
            fAttributeFirst = fNext + 1;
            fAttributeCount = step.Info >> TStep::kCountShift;
            fAttributesMade = false;
            fNext += 1 + 2 * fAttributeCount;
            return tkStart;
        case TStep::kText:
            fLastTextHasLineFeed = (step.Info & TStep::kLineFeed) != 0;
            ++fNext;
            return tkText;
        case TStep::kEnd:
            ++fNext;
            return tkEnd;
        default: // the table never has an attribute entry here
            ++fNext;
            name = {};
            return tkUnknown;
        }
    }

    // True when the text of the last tkText step holds a line feed.
    bool LastTextHasLineFeed() const { return fLastTextHasLineFeed; }

    // The attributes of the element of the last tkStart, one "name=value" line each, in document order.
    // The reference stays valid until the next call of Next.
    const std::vector<std::string>& Attributes() const;

    // The value of the attribute whose name equals `name` ignoring the case of A-Z (the text after
    // the first '=' of the first such line), or an empty text when there is none.
    std::string Attribute(std::string_view name) const;
    // The same value without copying; it stays valid for as long as the reader lives.
    std::string_view AttributeView(std::string_view name) const;

    // One entry of the step table: where its name or text lies in the buffer, and what it is.
    struct TStep {
        std::uint32_t Offset = 0;
        std::uint32_t Length = 0;
        // The kind in the low two bits, then a flag or, for a start, its attribute count.
        std::uint32_t Info = 0;

        static constexpr std::uint32_t kStart = 0;
        static constexpr std::uint32_t kText = 1;
        static constexpr std::uint32_t kEnd = 2;
        static constexpr std::uint32_t kAttribute =
            3; // an attribute's name, or (the entry after it) its value
        static constexpr std::uint32_t kKindMask = 3;
        static constexpr std::uint32_t kLineFeed = 4; // a text holding a line feed
        static constexpr unsigned kCountShift = 3;    // a start's attribute count stands above the kind bits
    };

private:
    void Parse();
    void ParseWithPugixml();
    std::string_view View(const TStep& step) const { return {fBuffer.data() + step.Offset, step.Length}; }

    // The bytes being read; names and texts are decoded inside them and the steps point into them.
    std::string fBuffer;
    // The document's steps in order. A start is followed by two entries per attribute (its name and its
    // value); an element's end repeats the name of its start.
    std::vector<TStep> fSteps;
    std::size_t fNext = 0;
    // The attributes of the last start: the index of the first attribute entry and their number.
    std::size_t fAttributeFirst = 0;
    std::size_t fAttributeCount = 0;
    bool fLastTextHasLineFeed = false;
    mutable std::vector<std::string> fAttributes;
    mutable bool fAttributesMade = true;
};
