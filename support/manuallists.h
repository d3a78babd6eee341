#pragma once
// The two lists that the HTML manual keeps beside its pages: the table of contents (contents.txt)
// and the keyword index (keywords.txt). Both are plain UTF-8 text, one entry a line:
//     Title|page.html#anchor
// The text after the last vertical bar is the link target, relative to the manual folder. In the
// table of contents every two leading blanks put the entry one level deeper; keywords have no
// levels. Empty lines and lines starting with '#' are skipped.
#include <string>
#include <string_view>
#include <vector>

struct ManualEntry {
    int Level = 0;      // nesting depth, 0 for top-level entries and for keywords
    std::string Title;  // text shown in the contents tree or the keyword list
    std::string Target; // "page.html" or "page.html#anchor"
};

struct ManualList {
    std::vector<ManualEntry> Entries;
    // 1-based numbers of lines that are neither skipped nor a well-formed entry (no bar, an empty
    // title or target, an odd indentation, or a contents entry more than one level below the one
    // before it).
    std::vector<int> BadLines;
};

ManualList ParseManualContents(std::string_view text);
ManualList ParseManualKeywords(std::string_view text);

// Splits a target into its page and its anchor ("a.html#x" -> "a.html", "x"; "a.html" -> "a.html", "").
void SplitManualTarget(const std::string& target, std::string& page, std::string& anchor);
