#include "support/manuallists.h"

#include "support/textroutines.h"

#include <utility>

namespace {

ManualList ParseList(std::string_view text, bool nested) {
    ManualList list;
    int lineNumber = 0;
    int previousLevel = -1; // a contents entry may go at most one level deeper than the one before
    std::string rest(text);
    while (!rest.empty()) {
        std::string line = SplitAt(rest, '\n');
        ++lineNumber;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        const std::string trimmed = Trim(line);
        if (trimmed.empty() || trimmed[0] == '#')
            continue;
        const std::size_t indent = line.find_first_not_of(' ');
        const std::size_t bar = trimmed.rfind('|');
        ManualEntry entry;
        if (bar != std::string::npos) {
            entry.Title = Trim(std::string_view(trimmed).substr(0, bar));
            entry.Target = Trim(std::string_view(trimmed).substr(bar + 1));
        }
        const int level = static_cast<int>(indent / 2);
        const bool indentOk = nested ? indent % 2 == 0 && level <= previousLevel + 1 : indent == 0;
        if (entry.Title.empty() || entry.Target.empty() || !indentOk) {
            list.BadLines.push_back(lineNumber);
            continue;
        }
        entry.Level = nested ? level : 0;
        previousLevel = entry.Level;
        list.Entries.push_back(std::move(entry));
    }
    return list;
}

} // namespace

ManualList ParseManualContents(std::string_view text) {
    return ParseList(text, true);
}

ManualList ParseManualKeywords(std::string_view text) {
    return ParseList(text, false);
}

void SplitManualTarget(const std::string& target, std::string& page, std::string& anchor) {
    anchor = target;
    page = SplitAt(anchor, '#');
}
