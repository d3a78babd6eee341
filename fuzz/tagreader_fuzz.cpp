// libFuzzer differential target for the XML tag reader. Every input is read by TXMLTagFileIn twice,
// once from a view of the bytes and once from a string it takes over (walked with copied names and
// with viewed names), and is parsed by the XML parser on its own for the reference steps.
//
// The reader may refuse more than the parser does, but whatever it accepts (it is not at its end at
// once) it must read exactly as the parser's tree of the same bytes says: the same starts with the
// same attributes, texts and ends, properly nested. A reader that accepts what the parser refuses,
// reads differently, nests wrongly or misbehaves while walked aborts with a message on stderr.
#include "tagfile/xmltagfilein.h"
#include "tests/core/tagreader_reference.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>

namespace {

// The bytes with everything outside printable ASCII escaped, so that a report is readable and shows
// what the bytes are; long texts are cut.
std::string Printable(std::string_view bytes, std::size_t limit = 2000) {
    std::string out;
    for (std::size_t i = 0; i < bytes.size() && i < limit; ++i) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        if (c == '\\') {
            out += "\\\\";
        } else if (c == '\n') {
            out += "\\n\n";
        } else if (c >= 0x20 && c < 0x7F) {
            out += static_cast<char>(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        }
    }
    if (bytes.size() > limit)
        out += "... (" + std::to_string(bytes.size()) + " bytes in all)";
    return out;
}

[[noreturn]] void Fail(const char* how, const std::string& what, std::string_view input,
                       const std::string& detail = {}) {
    std::fprintf(stderr, "tagreader_fuzz: the reader %s %s\n", how, what.c_str());
    if (!detail.empty())
        std::fprintf(stderr, "%s\n", detail.c_str());
    std::fprintf(stderr, "input:\n%s\n", Printable(input).c_str());
    std::abort();
}

// Where the steps first differ, with the steps around that place on both sides.
std::string FirstDifference(const TagReadSteps& read, const TagReadSteps& reference) {
    std::size_t at = 0;
    while (at < read.size() && at < reference.size() && read[at] == reference[at])
        ++at;
    std::string out = "steps differ from step " + std::to_string(at) + " on (" + std::to_string(read.size()) +
                      " read, " + std::to_string(reference.size()) + " in the parser's tree)\n";
    const std::size_t from = at < 3 ? 0 : at - 3;
    const auto side = [&](const char* label, const TagReadSteps& steps) {
        out += label;
        for (std::size_t i = from; i < steps.size() && i < at + 4; ++i)
            out += "  [" + std::to_string(i) + "] " + Printable(DescribeStep(steps[i]), 200) + "\n";
        if (at >= steps.size())
            out += "  (no more steps)\n";
    };
    side("reader:\n", read);
    side("parser:\n", reference);
    return out;
}

template <class Name>
void Check(const char* what, TXMLTagFileIn& in, std::string_view input,
           const std::optional<TagReadSteps>& reference) {
    // Every step but the last stands for at least one byte of the input (an empty element for four),
    // so a walk of more steps than that never ends.
    const TagReaderWalk walk = WalkTagReader<Name>(in, 2 * input.size() + 16);
    if (!walk.Fault.empty())
        Fail("misbehaves", what, input, walk.Fault);
    if (walk.Steps.empty())
        return; // refused: allowed for any input
    if (const std::string fault = TagNestingFault(walk.Steps); !fault.empty())
        Fail("gives steps that are not properly nested", what, input, fault);
    if (!reference)
        Fail("accepts what the parser refuses", what, input);
    if (walk.Steps != *reference)
        Fail("reads differently from the parser", what, input, FirstDifference(walk.Steps, *reference));
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::optional<TagReadSteps> reference = ParsedCopySteps(input);

    TXMLTagFileIn viewed(input);
    Check<std::string>("(from a view of the bytes, copied names)", viewed, input, reference);

    TXMLTagFileIn taken{std::string(input)};
    Check<std::string_view>("(from a string taken over, viewed names)", taken, input, reference);
    return 0;
}
