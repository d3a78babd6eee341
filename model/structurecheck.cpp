#include "model/structurecheck.h"

#include "model/assistroot.h"
#include "model/foldedkey.h"
#include "support/textroutines.h"

#include <cstddef>
#include <string_view>
#include <unordered_map>
#include <utility>

namespace {

// Tables keyed by views of the model's ID texts, compared with A-Z case folded. The views stay valid
// for the whole run: the check never changes the model.
template <typename Value>
using IdMap = std::unordered_map<std::string_view, Value, FoldedIdHash, FoldedIdEqual>;

// Up to this many options a screen's option IDs are compared pairwise (cheaper than a table for the
// usual handful); above it a table keeps the check linear.
constexpr int PairwiseOptionLimit = 16;

bool IsGoto(TActionKind action) {
    return action == akGoto || action == akGotoButton;
}

// Screens that some go-to option leads to: for each target ID, how many distinct screens hold
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

void CheckRoot(const TAssistRoot& root, const IdMap<int>& screensById, Findings& out) {
    if (root.FirstScreen.empty())
        out.Error("No first screen defined at top level.", &root);
    else if (!screensById.contains(std::string_view(root.FirstScreen)))
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

// How many earlier options of the screen have the ID of option k (0-based).
class EarlierOptionIds {
public:
    explicit EarlierOptionIds(const TAssistScreen& screen) : screen_(screen) {
        if (screen.Options.Count() > PairwiseOptionLimit)
            counts_.reserve(static_cast<std::size_t>(screen.Options.Count()));
    }
    // Called for every option in list order.
    int Next(int k, const std::string& id) {
        if (screen_.Options.Count() > PairwiseOptionLimit)
            return counts_[std::string_view(id)]++;
        int equal = 0;
        for (int e = 0; e < k; ++e)
            equal += SameText(screen_.Options.Item(e)->ID, id) ? 1 : 0;
        return equal;
    }

private:
    const TAssistScreen& screen_;
    IdMap<int> counts_;
};

void CheckOptions(const TAssistScreen& screen, const IdMap<int>& screensById, Findings& out) {
    const int optionCount = screen.Options.Count();
    EarlierOptionIds earlierOptions(screen);
    int k = 0;
    for (const TAssistOption& option : screen.Options) {
        const std::string& id = option.ID;
        const int earlier = earlierOptions.Next(k, id);
        ++k;
        if (id.empty())
            out.Error("No ID for option " + IntToStr(k) + " of screen " + screen.ID + ".", &option);
        if (option.Caption.empty() && optionCount != 1)
            out.Error("No caption for option " + id + ".", &option);
        for (int i = 0; i < earlier; ++i)
            out.Error("Option ID " + id + " duplicated.", &option);
        if (option.Command.empty() && option.Action != akScript && option.Action != akNote)
            out.Error("Command not specified for option " + id + ".", &option);
        if (IsGoto(option.Action) && !screensById.contains(std::string_view(option.Command)))
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

// The text without leading and trailing bytes 0..32.
std::string_view TrimmedView(std::string_view text) {
    while (!text.empty() && static_cast<unsigned char>(text.front()) <= 32)
        text.remove_prefix(1);
    while (!text.empty() && static_cast<unsigned char>(text.back()) <= 32)
        text.remove_suffix(1);
    return text;
}

// The text before the first `c` (all of it when there is none); `text` becomes what follows that `c`
// (empty when there is none).
std::string_view CutAt(std::string_view& text, char c) {
    const std::size_t at = text.find(c);
    const std::string_view head = text.substr(0, at);
    text = at == std::string_view::npos ? std::string_view() : text.substr(at + 1);
    return head;
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
    while (!script.empty()) {
        std::string_view line = TrimmedView(CutAt(script, '\r'));
        if (line.empty())
            continue;
        if (!SameText(CutAt(line, ' '), "Sub"))
            continue;
        if (SameText(line.substr(0, line.find('\'')), "Main"))
            return true;
    }
    return false;
}

StructureCheckResult CheckStructure(const TAssistRoot& root) {
    const auto screenCount = static_cast<std::size_t>(root.Screens.Count());

    // One pass over the screens gathers everything the checks look up: how many earlier screens share
    // each screen's ID, which IDs exist at all, which targets the go-to options of which screens name,
    // and which screens lead to themselves.
    std::vector<int> earlierEqual;
    std::vector<char> linksToItself;
    earlierEqual.reserve(screenCount);
    linksToItself.reserve(screenCount);
    IdMap<int> screensById; // ID -> number of screens with it
    IdMap<LinkSources> linkSources;
    screensById.reserve(screenCount);
    linkSources.reserve(screenCount);
    int n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        earlierEqual.push_back(screensById[std::string_view(screen.ID)]++);
        bool self = false;
        for (const TAssistOption& option : screen.Options) {
            if (!IsGoto(option.Action))
                continue;
            self = self || SameText(option.Command, screen.ID);
            LinkSources& sources = linkSources[std::string_view(option.Command)];
            if (sources.lastSource != n) {
                sources.lastSource = n;
                ++sources.count;
            }
        }
        linksToItself.push_back(self ? 1 : 0);
        ++n;
    }

    Findings out;
    CheckRoot(root, screensById, out);

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
        bool linked = SameText(id, root.FirstScreen);
        if (!linked) {
            const auto found = linkSources.find(std::string_view(id));
            const int others = found == linkSources.end() ? 0 : found->second.count - linksToItself[index];
            linked = others > 0;
        }
        if (!linked)
            out.Warning("Screen " + id + " not linked to main structure.", &screen);
    }
    return out.Take();
}
