#pragma once
// The structure check: lists what is wrong or doubtful in an assistant (missing IDs and captions,
// duplicated IDs, missing commands and targets, scripts without a Sub Main, screens nothing leads to).
// It reads the model only, never changes it and never throws; the editor's Warnings page shows the
// findings as lines, and amftool can print the same lines.
//
// Every look-up is a hash look-up keyed by the ID with the letters A-Z folded to lower case, so a run
// costs time linear in the number of screens and options. The findings themselves can grow faster: n
// screens with one ID give n(n-1)/2 "duplicated" lines, one per earlier equal screen (and the same for
// options). So that such a file cannot exhaust memory, a run lists at most a fixed number of lines;
// the counts still count every finding, listed or not.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

class TAssistBase;
class TAssistRoot;

enum class FindingSeverity { Error, Warning };

// The field of the item that a finding is about, so that an editor can lead to the box at fault. None
// when no one field is (a screen with a single option).
enum class FindingField {
    None,
    ID,
    Caption,
    Description,
    FirstScreen,
    AuthorName,
    Copyright,
    Action,
    Command,
    Script,
    Notes
};

struct StructureFinding {
    FindingSeverity Severity = FindingSeverity::Error;
    std::string Message;               // without the "Error: " / "Warning: " prefix
    const TAssistBase* Item = nullptr; // the root, a screen or an option of the checked assistant
    FindingField Field = FindingField::None;

    // The line as the Warnings page lists it: "Error: " or "Warning: " followed by the message.
    std::string Line() const;
};

// The most lines one run lists: far more than anyone reads, few enough to hold and show.
inline constexpr std::size_t MaxListedFindings = 100000;

struct StructureCheckResult {
    // In the order found; never sorted. The first findings of the run, at most the run's limit.
    std::vector<StructureFinding> Findings;
    // Every finding of the run, also those past the limit (64-bit: the duplicates can number
    // billions).
    std::int64_t Errors = 0;
    std::int64_t Warnings = 0;

    // The caption of the Warnings page after this run ("&Warning(s): W, error(s): E.").
    std::string Caption() const;
};

// Runs every check on the assistant, in the fixed order: the assistant's own fields, then for each
// screen its fields, its options and whether anything leads to it. Lists the first `maxLines`
// findings and counts them all.
StructureCheckResult CheckStructure(const TAssistRoot& root, std::size_t maxLines = MaxListedFindings);

// "&Warning(s): " + warnings + ", error(s): " + errors + "." with both counts in decimal.
std::string WarningsCaption(std::int64_t warnings, std::int64_t errors);

// True when some line of the script (lines end at a carriage return) is, after trimming, "Sub", one
// blank, and "Main" up to the end of the line or an apostrophe; letter case ignored.
bool ScriptHasSubMain(std::string_view script);
