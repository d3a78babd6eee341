#include "model/assistroot.h"
#include "model/foldedid.h"
#include "model/screenindex.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
const std::string User = "{00000000-0000-4000-8000-000000000001} Index Tester";

TAssistRoot& WithScreens(TAssistRoot& root, const std::vector<std::string>& ids) {
    TAssistRoot::LoadingScope loading(root);
    for (const std::string& id : ids)
        TAssistScreen::Create(root)->ID = id;
    return root;
}
} // namespace

TEST(FoldedId, HashAndEqualityIgnoreTheCaseOfAToZOnly) {
    struct Case {
        std::string a, b;
        bool equal;
    };
    const Case cases[] = {
        {"Start", "sTaRt", true},        {"", "", true},    {"S1.2", "s1.2", true},
        {"Start", "Start ", false},      {"@", "`", false}, {"[", "{", false}, // next to A-Z and a-z
        {"\xC3\xA9", "\xC3\x89", false}, {"Z", "z", true},  {"A", "a", true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.a + " / " + c.b);
        EXPECT_EQ(TFoldedIdEqual{}(c.a, c.b), c.equal);
        if (c.equal) {
            EXPECT_EQ(TFoldedIdHash{}(c.a), TFoldedIdHash{}(c.b));
        }
    }
    TFoldedIdSet set{"Start", "START", "next", "", "\xC3\xA9", "\xC3\x89"};
    EXPECT_EQ(set.size(), 5u);
    EXPECT_EQ(set.count("sTART"), 1u);
    EXPECT_EQ(set.count("Nex"), 0u);
}

TEST(ScreenIndex, FindsWhatFindScreenFinds) {
    TAssistRoot root(User);
    WithScreens(root, {"Start", "start", "", "\xC3\xA9", "\xC3\x89", "Next", "NEXT", ""});
    const TScreenIndex index(root.Screens);
    struct Case {
        std::string id;
        int position;
    };
    const Case cases[] = {
        {"START", 0}, {"start", 0},   {"", 2},         {"\xC3\xA9", 3}, {"\xC3\x89", 4},
        {"next", 5},  {"Start ", -1}, {"Missing", -1}, {"@", -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        EXPECT_EQ(index.Position(c.id), c.position);
        EXPECT_EQ(index.Find(c.id), root.Screens.Item(c.position));
        EXPECT_EQ(index.Find(c.id), root.Screens.FindScreen(c.id));
    }
    EXPECT_EQ(index.Count(), 8);
    EXPECT_EQ(&index.Screen(7), root.Screens.Item(7));
}

TEST(ScreenIndex, KeepsTheFirstOfManyScreensWithOneId) {
    TAssistRoot root(User);
    std::vector<std::string> ids;
    for (int i = 0; i < 6000; ++i)
        ids.push_back((i % 2 ? "s" : "S") + std::to_string(i % 3000)); // each ID twice, in two cases
    WithScreens(root, ids);
    const TScreenIndex index(root.Screens);
    for (int i = 0; i < 3000; ++i)
        ASSERT_EQ(index.Position("S" + std::to_string(i)), i) << i;
    EXPECT_EQ(index.Position("S3000"), -1);
}
