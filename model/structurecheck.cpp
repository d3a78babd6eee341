#include "model/structurecheck.h"

#include "model/assistroot.h"
#include "support/textroutines.h"

#include <cstddef>
#include <unordered_map>
#include <utility>

namespace {

bool IsGoto(TActionKind action) {
    return action == akGoto || action == akGotoButton;
}

// Screens that some go-to option leads to: for each folded target ID, how many distinct screens hold
// such an option. `lastSource` is the position of the last screen counted, so that a screen with
// several options to the same target counts once (screens are visited in list order).
struct LinkSources {
    int count = 0;
    int lastSource = -1;
};

// Collects findings and counts them by severity.
class Findings {
public:
    void Error(std::string message, const TAssistBase* item) {
        Add(FindingSeverity::Error, std::move(message), item);
        ++result_.Errors;
    }
    void Warning(std::string message, const TAssistBase* item) {
        Add(FindingSeverity::Warning, std::move(message), item);
        ++result_.Warnings;
    }
    StructureCheckResult Take() { return std::move(result_); }

private:
    void Add(FindingSeverity severity, std::string message, const TAssistBase* item) {
        result_.Findings.push_back(StructureFinding{severity, std::move(message), item});
    }
    StructureCheckResult result_;
};

void CheckRoot(const TAssistRoot& root, const std::unordered_map<std::string, int>& screensById,
               Findings& out) {
    if (root.FirstScreen.empty())
        out.Error("No first screen defined at top level.", &root);
    else if (!screensById.contains(AsciiLower(root.FirstScreen)))
        out.Error("First screen defined at top level not found.", &root);
    if (root.AuthorName.empty())
        out.Warning("No author set at top level.", &root);
    if (root.Copyright.empty())
        out.Warning("No copyright set at top level.", &root);
    if (root.Caption.empty())
        out.Error("No caption for assistant at top level.", &root);
    if (root.ID.empty())
        out.Error("No ID for assistant at top level.", &root);
    if (root.Description.empty())
        out.Warning("No explanation for assistant at top level.", &root);
}

void CheckOptions(const TAssistScreen& screen, const std::unordered_map<std::string, int>& screensById,
                  Findings& out) {
    const int optionCount = screen.Options.Count();
    std::unordered_map<std::string, int> earlierOptions; // folded option ID -> options seen so far
    int k = 0;
    for (const TAssistOption& option : screen.Options) {
        ++k;
        const std::string& id = option.ID;
        if (id.empty())
            out.Error("No ID for option " + IntToStr(k) + " of screen " + screen.ID + ".", &option);
        if (option.Caption.empty() && optionCount != 1)
            out.Error("No caption for option " + id + ".", &option);
        int& earlier = earlierOptions[AsciiLower(id)];
        for (int i = 0; i < earlier; ++i)
            out.Error("Option ID " + id + " duplicated.", &option);
        ++earlier;
        if (option.Command.empty() && option.Action != akScript && option.Action != akNote)
            out.Error("Command not specified for option " + id + ".", &option);
        if (IsGoto(option.Action) && !screensById.contains(AsciiLower(option.Command)))
            out.Error("Screen " + option.Command + " target for " + id + " not found.", &option);
        if (option.Action == akScript && option.Script.empty())
            out.Error("Option ID " + id + " script empty.", &option);
        if (option.Action == akNote && option.Notes.Empty())
            out.Warning("Option ID " + id + " has no notes.", &option);
        if (!option.Script.empty() && !ScriptHasSubMain(option.Script))
            out.Warning("Option ID " + id + " script does not appear to have a Sub Main.", &option);
        if (option.Action == akRun)
            out.Warning("Option ID " + id + " is using a deprecated action type.", &option);
    }
}

} // namespace

std::string StructureFinding::Line() const {
    return (Severity == FindingSeverity::Error ? "Error: " : "Warning: ") + Message;
}

std::string StructureCheckResult::Caption() const {
    return WarningsCaption(Warnings, Errors);
}

std::string WarningsCaption(int warnings, int errors) {
    return "&Warning(s): " + IntToStr(warnings) + ", error(s): " + IntToStr(errors) + ".";
}

bool ScriptHasSubMain(std::string_view script) {
    std::string rest(script);
    while (!rest.empty()) {
        std::string line = Trim(SplitAt(rest, '\r'));
        if (line.empty())
            continue;
        const std::string word = SplitAt(line, ' ');
        if (!SameText(word, "Sub"))
            continue;
        if (SameText(TextBefore(line, '\''), "Main"))
            return true;
    }
    return false;
}

StructureCheckResult CheckStructure(const TAssistRoot& root) {
    const int screenCount = root.Screens.Count();

    // One pass over the screens gathers everything the checks look up: the folded IDs, how many
    // earlier screens share each screen's ID, which IDs exist at all, which targets go-to options of
    // which screens name, and which screens lead to themselves.
    std::vector<std::string> foldedIds;
    std::vector<int> earlierEqual;
    std::vector<char> linksToItself;
    foldedIds.reserve(static_cast<std::size_t>(screenCount));
    earlierEqual.reserve(static_cast<std::size_t>(screenCount));
    linksToItself.reserve(static_cast<std::size_t>(screenCount));
    std::unordered_map<std::string, int> screensById; // folded ID -> number of screens with it
    std::unordered_map<std::string, LinkSources> linkSources;
    int n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        std::string folded = AsciiLower(screen.ID);
        int& seen = screensById[folded];
        earlierEqual.push_back(seen);
        ++seen;
        bool self = false;
        for (const TAssistOption& option : screen.Options) {
            if (!IsGoto(option.Action))
                continue;
            std::string target = AsciiLower(option.Command);
            self = self || target == folded;
            LinkSources& sources = linkSources[std::move(target)];
            if (sources.lastSource != n) {
                sources.lastSource = n;
                ++sources.count;
            }
        }
        foldedIds.push_back(std::move(folded));
        linksToItself.push_back(self ? 1 : 0);
        ++n;
    }

    Findings out;
    CheckRoot(root, screensById, out);

    const std::string firstScreen = AsciiLower(root.FirstScreen);
    n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        const auto index = static_cast<std::size_t>(n);
        ++n;
        const std::string& id = screen.ID;
        if (id.empty())
            out.Error("No ID for screen " + IntToStr(n) + ".", &screen);
        if (screen.Caption.empty())
            out.Error("No caption for screen " + id + ".", &screen);
        if (screen.Options.Count() == 1) {
            const TAssistOption& only = *screen.Options.Item(0);
            if (!only.Caption.empty() || !only.Description.empty())
                out.Warning("Screen " + id + " has only 1 non-blank option.", &screen);
        }
        for (int i = 0; i < earlierEqual[index]; ++i)
            out.Error("Screen ID " + id + " duplicated.", &screen);

        CheckOptions(screen, screensById, out);

        // Linked: it is the first screen, or a go-to option of some other screen names it. The
        // screen's own options are taken out of the count of screens leading to its ID.
        bool linked = foldedIds[index] == firstScreen;
        if (!linked) {
            const auto found = linkSources.find(foldedIds[index]);
            const int others = found == linkSources.end() ? 0 : found->second.count - linksToItself[index];
            linked = others > 0;
        }
        if (!linked)
            out.Warning("Screen " + id + " not linked to main structure.", &screen);
    }
    return out.Take();
}
