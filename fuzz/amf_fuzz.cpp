// libFuzzer target for reading untrusted assistant files. Every input is read into a fresh assistant;
// an input that reads is then put through everything the editor does with an opened file: the
// structure check, the navigation structure, the HTML report through the real writer and support, and a
// save. The saved text must read again, and saving and reading must settle: a save that cannot be
// opened, or that alters the file each time it is repeated, is a fault.
//
// Failures other than AppError (which is how reading refuses bad input) escape and are reported by
// libFuzzer as crashes; a broken property aborts with a message on stderr.
#include "model/assistroot.h"
#include "model/fileformat.h"
#include "model/navigationstructure.h"
#include "model/structurecheck.h"
#include "support/clock.h"
#include "support/components.h"
#include "support/error.h"
#include "support/reportchain.h"
#include "tests/core/documentfactory.h"
#include "tests/core/htmlcheck.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <sstream>
#include <string>

namespace {

const std::string kUser = "{6B29FC40-CA47-1067-B31D-00DD010662DA} Fuzz Tester";

[[noreturn]] void Fail(const char* what, const std::string& detail) {
    std::fprintf(stderr, "amf_fuzz: %s\n%s\n", what, detail.c_str());
    std::abort();
}

// Reads `text` into `root`; returns the refusal message, or an empty text when it read.
std::string Read(TAssistRoot& root, const std::string& text) {
    std::istringstream in(text);
    try {
        root.LoadFromStream(in);
    } catch (const AppError& e) {
        const std::string message = e.what();
        return message.empty() ? std::string("(empty message)") : message;
    }
    return {};
}

void Exercise(TAssistRoot& root) {
    const StructureCheckResult check = CheckStructure(root);
    // Every finding is listed up to the limit and counted beyond it.
    const std::int64_t counted = check.Errors + check.Warnings;
    const auto listed = static_cast<std::int64_t>(check.Findings.size());
    if (listed != std::min<std::int64_t>(counted, static_cast<std::int64_t>(MaxListedFindings)))
        Fail("finding counts do not match the findings", check.Caption());
    const NavigationStructure navigation = BuildNavigationStructure(root);
    for (std::size_t i = 0; i < navigation.Nodes.size(); ++i) {
        const int parent = navigation.Nodes[i].Parent;
        if ((i == 0) != (parent < 0) || parent >= static_cast<int>(i))
            Fail("navigation node out of order", navigation.Nodes[i].Text);
    }

    DocumentFactory factory;
    try {
        ShowAssistantReport(factory, nullptr, root.Caption, [&](IHTMLReport& r) { root.WriteReport(r); });
    } catch (const AppError& e) {
        Fail("the report of a readable assistant failed", e.what());
    }
    const HtmlCheck html = CheckHtml(factory.Shown);
    if (!html.Errors.empty())
        Fail("the report is not clean HTML", html.Errors.front());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // Dates in saved files and reports do not depend on the day of the run.
    SetTodaySource([] {
        return std::chrono::year_month_day{std::chrono::year{2026}, std::chrono::month{1},
                                           std::chrono::day{2}};
    });
    // Small limits keep each run fast while still reaching the limit checks.
    SetAssistFileLimits({.MaxFileBytes = 1 << 20, .MaxItems = 2000});
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input(reinterpret_cast<const char*>(data), size);
    TAssistRoot root(kUser);
    if (!Read(root, input).empty())
        return 0;
    if (root.Changed)
        Fail("an assistant just read counts as changed", input);
    Exercise(root);

    const std::string saved = root.SaveToText();
    TAssistRoot again(kUser);
    if (const std::string error = Read(again, saved); !error.empty())
        Fail(("a saved assistant does not read again: " + error).c_str(), saved);
    // Saving may normalize twice: the first save trims lines and drops what XML cannot carry, which can
    // leave an element empty that the next save leaves out. From then on saving what was read must
    // give the same text again, or each save of the file would alter it.
    const std::string second = again.SaveToText();
    TAssistRoot third(kUser);
    if (const std::string error = Read(third, second); !error.empty())
        Fail(("a saved assistant does not read again: " + error).c_str(), second);
    const std::string thirdText = third.SaveToText();
    if (thirdText != second)
        Fail("saving what was saved changed the text", "before:\n" + second + "\nafter:\n" + thirdText);
    return 0;
}
