#include "model/structurecheck.h"

#include "model/assistroot.h"
#include "model/foldedid.h"
#include "support/textroutines.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string_view>
#include <utility>

namespace {

// Numbers the distinct IDs (A-Z in either case) in order of first appearance: 0, 1, 2...
class IdNumbers {
public:
    explicit IdNumbers(std::size_t expected) { m_numbers.reserve(expected); }
    // The number of `id`, giving it the next one when it is new. The ID's text must outlive the table.
    int Insert(std::string_view id) {
        return m_numbers.try_emplace(id, static_cast<int>(m_numbers.size())).first->second;
    }
    // The number of `id`; -1 when it has none.
    int Find(std::string_view id) const {
        const auto found = m_numbers.find(id);
        return found == m_numbers.end() ? -1 : found->second;
    }

private:
    TFoldedIdMap<int> m_numbers;
};

// Up to this many options a screen's option IDs are compared pairwise (cheaper than a table for the
// usual handful); above it a table keeps the check linear.
constexpr int PairwiseOptionLimit = 16;

// Collects findings and counts them by severity; lists only the first `limit`, counts all.
class Findings {
public:
    explicit Findings(std::size_t limit) : m_limit(limit) {}

    void Error(std::string message, const TAssistBase* item, FindingField field) {
        ++m_result.Errors;
        Add(FindingSeverity::Error, std::move(message), item, field);
    }
    // The same error `times` times (0 or more), counted at once: only the lines within the limit cost
    // anything, however many there are.
    void Errors(const std::string& message, const TAssistBase* item, FindingField field, std::int64_t times) {
        m_result.Errors += times;
        for (std::int64_t i = 0; i < times && Count() < m_limit; ++i)
            Add(FindingSeverity::Error, message, item, field);
    }
    void Warning(std::string message, const TAssistBase* item, FindingField field) {
        ++m_result.Warnings;
        Add(FindingSeverity::Warning, std::move(message), item, field);
    }
    std::size_t Count() const { return m_result.Findings.size(); }
    StructureCheckResult Take() { return std::move(m_result); }

private:
    void Add(FindingSeverity severity, std::string message, const TAssistBase* item, FindingField field) {
        if (Count() < m_limit)
            m_result.Findings.push_back(StructureFinding{severity, std::move(message), item, field});
    }
    std::size_t m_limit;
    StructureCheckResult m_result;
};

void CheckRoot(const TAssistRoot& root, const IdNumbers& screenIds, Findings& out) {
    if (root.FirstScreen.empty())
        out.Error("No first screen defined at top level.", &root, FindingField::FirstScreen);
    else if (screenIds.Find(root.FirstScreen) < 0)
        out.Error("First screen defined at top level not found.", &root, FindingField::FirstScreen);
    if (root.AuthorName.empty())
        out.Warning("No author set at top level.", &root, FindingField::AuthorName);
    if (root.Copyright.empty())
        out.Warning("No copyright set at top level.", &root, FindingField::Copyright);
    if (root.Caption.empty())
        out.Error("No caption for assistant at top level.", &root, FindingField::Caption);
    if (root.ID.empty())
        out.Error("No ID for assistant at top level.", &root, FindingField::ID);
    if (root.Description.empty())
        out.Warning("No explanation for assistant at top level.", &root, FindingField::Description);
}

// How many earlier options of the screen have the ID of option k (0-based).
class EarlierOptionIds {
public:
    explicit EarlierOptionIds(const TAssistScreen& screen) : m_screen(screen) {
        const auto count = static_cast<std::size_t>(screen.Options.Count());
        if (count > PairwiseOptionLimit) {
            m_ids = std::make_unique<IdNumbers>(count);
            m_counts.reserve(count);
        }
    }
    // Called for every option in list order (k: its 0-based position).
    int Next(int k, const std::string& id) {
        if (m_ids) {
            const auto number = static_cast<std::size_t>(m_ids->Insert(id));
            if (number == m_counts.size())
                m_counts.push_back(0);
            return m_counts[number]++;
        }
        // Few options: compare with each earlier one, by hash first so that the texts are compared
        // only when they are most likely equal.
        const std::size_t hash = TFoldedIdHash{}(id);
        int equal = 0;
        for (int e = 0; e < k; ++e)
            if (m_hashes[static_cast<std::size_t>(e)] == hash && SameText(m_screen.Options.Item(e)->ID, id))
                ++equal;
        m_hashes[static_cast<std::size_t>(k)] = hash;
        return equal;
    }

private:
    const TAssistScreen& m_screen;
    std::array<std::size_t, PairwiseOptionLimit> m_hashes{}; // of the earlier options, few options
    std::unique_ptr<IdNumbers> m_ids;                        // only for screens with many options
    std::vector<int> m_counts;                               // by ID number: options seen so far
};

// Which screens go-to options lead to, gathered while the options are checked: for each screen ID
// number, how many distinct screens have a go-to option naming it, and for each screen whether one of
// its own go-to options names its own ID.
struct Links {
    std::vector<int> linkingScreens; // by ID number
    std::vector<int> lastSource;     // by ID number: the last screen counted, so each counts once
    std::vector<char> toItself;      // by screen position

    void Add(int source, int sourceId, int target) {
        const auto t = static_cast<std::size_t>(target);
        if (lastSource[t] != source) {
            lastSource[t] = source;
            ++linkingScreens[t];
        }
        if (target == sourceId)
            toItself[static_cast<std::size_t>(source)] = 1;
    }
};

// The checks of one screen's options. `position` and `idNumber` identify the screen for `links`.
void CheckOptions(const TAssistScreen& screen, int position, int idNumber, const IdNumbers& screenIds,
                  Links& links, Findings& out) {
    const int optionCount = screen.Options.Count();
    EarlierOptionIds earlierOptions(screen);
    int k = 0;
    for (const TAssistOption& option : screen.Options) {
        const std::string& id = option.ID;
        const int earlier = earlierOptions.Next(k, id);
        ++k;
        if (id.empty())
            out.Error("No ID for option " + IntToStr(k) + " of screen " + screen.ID + ".", &option,
                      FindingField::ID);
        if (option.Caption.empty() && optionCount != 1)
            out.Error("No caption for option " + id + ".", &option, FindingField::Caption);
        out.Errors("Option ID " + id + " duplicated.", &option, FindingField::ID, earlier);
        if (option.Command.empty() && option.Action != akScript && option.Action != akNote)
            out.Error("Command not specified for option " + id + ".", &option, FindingField::Command);
        if (IsGoto(option.Action)) {
            const int target = screenIds.Find(option.Command);
            if (target < 0)
                out.Error("Screen " + option.Command + " target for " + id + " not found.", &option,
                          FindingField::Command);
            else
                links.Add(position, idNumber, target);
        }
        if (option.Action == akScript && option.Script.empty())
            out.Error("Option ID " + id + " script empty.", &option, FindingField::Script);
        if (option.Action == akNote && option.Notes.Empty())
            out.Warning("Option ID " + id + " has no notes.", &option, FindingField::Notes);
        if (!option.Script.empty() && !ScriptHasSubMain(option.Script))
            out.Warning("Option ID " + id + " script does not appear to have a Sub Main.", &option,
                        FindingField::Script);
        if (option.Action == akRun)
            out.Warning("Option ID " + id + " is using a deprecated action type.", &option,
                        FindingField::Action);
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

std::string WarningsCaption(std::int64_t warnings, std::int64_t errors) {
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

StructureCheckResult CheckStructure(const TAssistRoot& root, std::size_t maxLines) {
    const auto screenCount = static_cast<std::size_t>(root.Screens.Count());

    // Number the distinct screen IDs; note for each screen its ID's number and how many earlier
    // screens share it. This reads the screens only; the options are read once, below.
    IdNumbers screenIds(screenCount);
    std::vector<int> idNumber, earlierEqual;
    std::vector<int> screensWithId; // by ID number
    idNumber.reserve(screenCount);
    earlierEqual.reserve(screenCount);
    for (const TAssistScreen& screen : root.Screens) {
        const int number = screenIds.Insert(screen.ID);
        if (static_cast<std::size_t>(number) == screensWithId.size())
            screensWithId.push_back(0);
        idNumber.push_back(number);
        earlierEqual.push_back(screensWithId[static_cast<std::size_t>(number)]++);
    }

    Findings out(maxLines);
    CheckRoot(root, screenIds, out);

    // Every check but the link check, screen by screen; the links are gathered on the way. A screen's
    // link warning belongs right after its options' findings, but later screens can still link it,
    // so the warnings are put in place afterwards: segmentEnd marks where each screen's lines end.
    Links links{std::vector<int>(screensWithId.size(), 0), std::vector<int>(screensWithId.size(), -1),
                std::vector<char>(screenCount, 0)};
    std::vector<std::size_t> segmentEnd;
    segmentEnd.reserve(screenCount);
    int n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        const auto index = static_cast<std::size_t>(n);
        ++n;
        const std::string& id = screen.ID;
        if (id.empty())
            out.Error("No ID for screen " + IntToStr(n) + ".", &screen, FindingField::ID);
        if (screen.Caption.empty())
            out.Error("No caption for screen " + id + ".", &screen, FindingField::Caption);
        if (screen.Options.Count() == 1) {
            const TAssistOption& only = *screen.Options.Item(0);
            if (!only.Caption.empty() || !only.Description.empty())
                out.Warning("Screen " + id + " has only 1 non-blank option.", &screen, FindingField::None);
        }
        out.Errors("Screen ID " + id + " duplicated.", &screen, FindingField::ID, earlierEqual[index]);
        CheckOptions(screen, n - 1, idNumber[index], screenIds, links, out);
        segmentEnd.push_back(out.Count());
    }

    // Linked: the screen is the first screen, or a go-to option of some other screen names it (its
    // own options are taken out of the count of screens leading to its ID). The lines listed so far
    // are the first of the run without the link warnings, so the first `maxLines` of the merged
    // order are all among them.
    StructureCheckResult result = out.Take();
    std::vector<StructureFinding> lines;
    lines.reserve(result.Findings.size());
    std::size_t from = 0;
    n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        const auto index = static_cast<std::size_t>(n++);
        for (; from < segmentEnd[index] && lines.size() < maxLines; ++from)
            lines.push_back(std::move(result.Findings[from]));
        const int others =
            links.linkingScreens[static_cast<std::size_t>(idNumber[index])] - links.toItself[index];
        if (others <= 0 && !SameText(screen.ID, root.FirstScreen)) {
            ++result.Warnings;
            if (lines.size() < maxLines)
                lines.push_back({FindingSeverity::Warning,
                                 "Screen " + screen.ID + " not linked to main structure.", &screen,
                                 FindingField::ID});
        }
    }
    // The assistant's own lines when it has no screens.
    for (; from < result.Findings.size() && lines.size() < maxLines; ++from)
        lines.push_back(std::move(result.Findings[from]));
    result.Findings = std::move(lines);
    return result;
}
