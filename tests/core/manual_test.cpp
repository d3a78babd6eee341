// The user manual shipped with the editor: its contents and keyword lists parse, and every link in
// the pages and lists leads to a page and anchor that exist.
#include "support/helpref.h"
#include "support/manuallists.h"

#include <gtest/gtest.h>

#include <cctype>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

const fs::path kManual = fs::path(AMF_SOURCE_DIR) / "docs" / "manual";

std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

// The texts between `open` and the next `close`, in order ("href=\"", "\"" gives every href value).
// An attribute name must follow a blank, so that "name=" does not match inside "classname=".
std::vector<std::string> AllBetween(const std::string& text, const std::string& open,
                                    const std::string& close) {
    std::vector<std::string> found;
    const bool attribute = open.back() == '"';
    for (std::size_t at = text.find(open); at != std::string::npos; at = text.find(open, at + 1)) {
        if (attribute && (at == 0 || !std::isspace(static_cast<unsigned char>(text[at - 1]))))
            continue;
        const std::size_t start = at + open.size();
        const std::size_t end = text.find(close, start);
        if (end == std::string::npos)
            break;
        found.push_back(text.substr(start, end - start));
    }
    return found;
}

// The pages of the manual folder with the anchors (name= and id=) each defines.
std::map<std::string, std::set<std::string>> PagesWithAnchors(const fs::path& folder) {
    std::map<std::string, std::set<std::string>> pages;
    for (const auto& entry : fs::directory_iterator(folder)) {
        if (entry.path().extension() != ".html")
            continue;
        const std::string text = ReadFile(entry.path());
        std::vector<std::string> names = AllBetween(text, "name=\"", "\"");
        for (const std::string& id : AllBetween(text, "id=\"", "\""))
            names.push_back(id);
        std::set<std::string>& set = pages[entry.path().filename().string()];
        for (const std::string& name : names)
            EXPECT_TRUE(set.insert(name).second)
                << entry.path().filename() << " defines anchor " << name << " twice";
    }
    return pages;
}

// Checks one link target: "page.html", "page.html#anchor" or "#anchor" (inside `fromPage`). Other
// files (the style sheet) only need to exist.
void ExpectTargetExists(const std::map<std::string, std::set<std::string>>& pages,
                        const std::string& fromPage, const std::string& target) {
    std::string page, anchor;
    SplitManualTarget(target, page, anchor);
    if (page.empty())
        page = fromPage;
    SCOPED_TRACE(fromPage + " -> " + target);
    const auto it = pages.find(page);
    if (it == pages.end()) {
        EXPECT_TRUE(anchor.empty()) << "anchor into a file that is not a page";
        EXPECT_TRUE(fs::is_regular_file(kManual / page)) << "no such file in the manual";
        return;
    }
    if (!anchor.empty()) {
        EXPECT_TRUE(it->second.count(anchor)) << "no anchor \"" << anchor << "\" in " << page;
    }
}

} // namespace

TEST(ManualLists, ParseEntriesLevelsAndBadLines) {
    struct Case {
        const char* name;
        bool contents; // contents list (levels allowed) or keyword list
        std::string text;
        std::vector<ManualEntry> entries;
        std::vector<int> badLines;
    };
    const std::vector<Case> cases = {
        {"levels by two blanks",
         true,
         "A|a.html\n  B|a.html#b\n    C|c.html\n  D|d.html\n",
         {{0, "A", "a.html"}, {1, "B", "a.html#b"}, {2, "C", "c.html"}, {1, "D", "d.html"}},
         {}},
        {"comments, blank lines and CR LF", true, "# heading\r\n\r\nA|a.html\r\n", {{0, "A", "a.html"}}, {}},
        {"title may hold a bar: the last one separates", false, "A|B|b.html", {{0, "A|B", "b.html"}}, {}},
        {"blanks around the pieces are dropped",
         false,
         "Undo  |  files.html#undo  ",
         {{0, "Undo", "files.html#undo"}},
         {}},
        {"missing bar, title or target",
         false,
         "no bar\n|x.html\nTitle|\nOk|ok.html",
         {{0, "Ok", "ok.html"}},
         {1, 2, 3}},
        {"odd indentation", true, "A|a.html\n B|b.html", {{0, "A", "a.html"}}, {2}},
        {"skipping a level", true, "A|a.html\n    B|b.html", {{0, "A", "a.html"}}, {2}},
        {"first entry indented", true, "  A|a.html", {}, {1}},
        {"keywords are never indented", false, "  A|a.html", {}, {1}},
        {"no final line break", false, "A|a.html", {{0, "A", "a.html"}}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const ManualList list = c.contents ? ParseManualContents(c.text) : ParseManualKeywords(c.text);
        ASSERT_EQ(list.Entries.size(), c.entries.size());
        for (std::size_t i = 0; i < c.entries.size(); ++i) {
            EXPECT_EQ(list.Entries[i].Level, c.entries[i].Level) << "entry " << i;
            EXPECT_EQ(list.Entries[i].Title, c.entries[i].Title) << "entry " << i;
            EXPECT_EQ(list.Entries[i].Target, c.entries[i].Target) << "entry " << i;
        }
        EXPECT_EQ(list.BadLines, c.badLines);
    }
}

TEST(Manual, EveryLinkInThePagesResolves) {
    const auto pages = PagesWithAnchors(kManual);
    ASSERT_TRUE(pages.count(std::string(kManualContentsPage)));
    ASSERT_TRUE(pages.count(std::string(kManualHelpOnHelpPage)));
    for (const auto& [page, anchors] : pages) {
        for (const std::string& target : AllBetween(ReadFile(kManual / page), "href=\"", "\"")) {
            if (target.find("://") != std::string::npos || target.rfind("mailto:", 0) == 0)
                continue;
            EXPECT_FALSE(target.empty()) << page << " has an empty link";
            ExpectTargetExists(pages, page, target);
        }
    }
}

TEST(Manual, ContentsAndKeywordListsAreWellFormedAndResolve) {
    const auto pages = PagesWithAnchors(kManual);
    const ManualList contents = ParseManualContents(ReadFile(kManual / kManualContentsList));
    const ManualList keywords = ParseManualKeywords(ReadFile(kManual / kManualKeywordList));
    EXPECT_TRUE(contents.BadLines.empty()) << "bad lines in " << kManualContentsList;
    EXPECT_TRUE(keywords.BadLines.empty()) << "bad lines in " << kManualKeywordList;
    ASSERT_FALSE(contents.Entries.empty());
    ASSERT_FALSE(keywords.Entries.empty());
    for (const ManualEntry& entry : contents.Entries)
        ExpectTargetExists(pages, std::string(kManualContentsList), entry.Target);
    for (const ManualEntry& entry : keywords.Entries)
        ExpectTargetExists(pages, std::string(kManualKeywordList), entry.Target);
}

TEST(Manual, EveryPageIsInTheContentsAndHasATitle) {
    const auto pages = PagesWithAnchors(kManual);
    std::set<std::string> listed;
    for (const ManualEntry& entry : ParseManualContents(ReadFile(kManual / kManualContentsList)).Entries) {
        std::string page, anchor;
        SplitManualTarget(entry.Target, page, anchor);
        listed.insert(page);
    }
    for (const auto& [page, anchors] : pages) {
        EXPECT_TRUE(listed.count(page)) << page << " cannot be reached from the contents pane";
        const std::vector<std::string> titles = AllBetween(ReadFile(kManual / page), "<title>", "</title>");
        ASSERT_EQ(titles.size(), 1u) << page << " needs one <title>";
        EXPECT_FALSE(titles[0].empty()) << page;
    }
}

TEST(Manual, WarningsPageQuotesTheFixedCheckMessagesExactly) {
    const std::string page = ReadFile(kManual / "checks.html");
    const std::vector<std::string> messages = {
        "Error: No first screen defined at top level.",
        "Error: First screen defined at top level not found.",
        "Warning: No author set at top level.",
        "Warning: No copyright set at top level.",
        "Error: No caption for assistant at top level.",
        "Error: No ID for assistant at top level.",
        "Warning: No explanation for assistant at top level.",
    };
    for (const std::string& message : messages)
        EXPECT_NE(page.find(message), std::string::npos) << message;
}
