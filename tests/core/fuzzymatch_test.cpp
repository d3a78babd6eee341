// Fuzzy matching for the go-to box: which texts match a query, where, and in which order they rank.
#include "model/fuzzymatch.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(FuzzyMatch, WhichTextsMatchAndWhere) {
    struct Case {
        const char* name;
        std::string query, text;
        bool matched;
        std::vector<std::size_t> positions;
    };
    const std::vector<Case> cases = {
        {"prefix", "rou", "router", true, {0, 1, 2}},
        {"subsequence with gaps", "rtr", "router", true, {0, 3, 5}},
        {"letters in either case", "ROUT", "Router", true, {0, 1, 2, 3}},
        {"order matters", "tr", "rt", false, {}},
        {"every query character is needed", "routerx", "router", false, {}},
        {"a character is used once", "oo", "ro", false, {}},
        {"prefers a word start to the first occurrence", "mr", "marm router", true, {0, 5}},
        {"prefers the contiguous run", "rout", "xr o router", true, {5, 6, 7, 8}},
        {"digits after letters start a word", "12", "S1 S12", true, {4, 5}},
        {"blanks in the query are ignored", "ma rou", "Main router", true, {0, 1, 5, 6, 7}},
        {"non-ASCII letters match exactly, whole",
         "\xC3\xA9t\xC3\xA9",
         "\xC3\x89t\xC3\xA9 \xC3\xA9t\xC3\xA9",
         true,
         {6, 8, 9}},
        {"no byte of a UTF-8 character matches a part of another", "\xC3\xA9", "\xC3\x89\xC2\xA9", false, {}},
        {"empty query matches everything", "", "router", true, {}},
        {"blank query matches everything", "  ", "", true, {}},
        {"query against empty text", "r", "", false, {}},
        {"the start of a very long text takes part", "ab", "ab" + std::string(100000, 'x'), true, {0, 1}},
        {"beyond the first 2000 characters nothing does", "ab", std::string(2000, 'x') + "ab", false, {}},
        {"the last character that takes part", "a", std::string(1999, 'x') + "a", true, {1999}},
        {"a query of 200 characters still matches", std::string(200, 'q'), std::string(300, 'q'), true,
         [] {
             std::vector<std::size_t> p(200);
             for (std::size_t i = 0; i < p.size(); ++i)
                 p[i] = i;
             return p;
         }()},
        {"a longer query matches nothing", std::string(201, 'q'), std::string(300, 'q'), false, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const TFuzzyMatch match = FuzzyMatch(c.query, c.text);
        EXPECT_EQ(match.Matched, c.matched);
        if (c.matched) {
            EXPECT_EQ(match.Positions, c.positions);
        }
    }
}

// The IDs of the ranked candidates, best first.
std::vector<std::string> RankedFirstTexts(const std::string& query,
                                          const std::vector<std::vector<std::string>>& list) {
    std::vector<std::string> out;
    for (const TFuzzyRanked& r : RankFuzzy(query, list))
        out.push_back(list[r.Index][0]);
    return out;
}

TEST(FuzzyMatch, RanksPrefixThenWordStartsThenShorterGaps) {
    struct Case {
        const char* name;
        std::string query;
        std::vector<std::vector<std::string>> candidates;
        std::vector<std::string> expected; // first texts of the candidates, best first
    };
    const std::vector<Case> cases = {
        {"prefix before word start before inside a word",
         "rout",
         {{"arrow out"}, {"xrouter"}, {"Main router"}, {"router"}},
         {"router", "Main router", "xrouter", "arrow out"}},
        {"a match at the start beats a closer run further on",
         "rt",
         {{"a rt"}, {"router"}},
         {"router", "a rt"}},
        {"word starts before scattered letters",
         "ns",
         {{"options"}, {"new screen"}},
         {"new screen", "options"}},
        {"camel case counts as word starts",
         "sc",
         {{"discount"}, {"startCheck"}},
         {"startCheck", "discount"}},
        {"shorter gaps first", "ae", {{"a___e"}, {"a_e"}, {"a__e"}}, {"a_e", "a__e", "a___e"}},
        {"equal scores: shorter text first, then list order",
         "s1",
         {{"S1 copy"}, {"S1"}, {"S1 back"}},
         {"S1", "S1 copy", "S1 back"}},
        {"non-matching candidates are left out", "zz", {{"router"}, {"zz top"}}, {"zz top"}},
        {"empty query keeps the list order", "", {{"b"}, {"a"}, {"ccc"}}, {"b", "a", "ccc"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(RankedFirstTexts(c.query, c.candidates), c.expected);
    }
}

TEST(FuzzyMatch, ACandidateRanksByItsBestText) {
    // Candidates are (ID, caption): the second matches through its caption's prefix, the first only
    // inside its ID.
    const std::vector<std::vector<std::string>> list = {{"XPRT", "Intro"}, {"S2", "Printers"}};
    const std::vector<TFuzzyRanked> ranked = RankFuzzy("prt", list);
    ASSERT_EQ(ranked.size(), 2u);
    EXPECT_EQ(ranked[0].Index, 1u);
    EXPECT_EQ(ranked[0].Text, 1u);
    EXPECT_EQ(ranked[0].Match.Positions, (std::vector<std::size_t>{0, 1, 4}));
    EXPECT_EQ(ranked[1].Index, 0u);
    EXPECT_EQ(ranked[1].Text, 0u);
    EXPECT_GT(ranked[0].Match.Score, ranked[1].Match.Score);
}

} // namespace
