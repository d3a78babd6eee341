#pragma once
// Fuzzy matching for quick-open boxes: a query matches a text when its characters appear in the text in
// the same order, not necessarily side by side ("rtr" matches "router"). Letters A to Z match in either
// case, every other character exactly; a UTF-8 character is matched whole, never byte by byte; blanks in
// the query are ignored. Matches are ranked by a score: a match at the start of the text ranks first,
// then matches whose characters begin words or follow one another, then matches with shorter gaps.
// The work grows with the product of the two lengths, so only the first 2000 characters of a text take
// part, and a query of more than 200 characters matches nothing.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

struct TFuzzyMatch {
    bool Matched = false;
    int Score = 0;                      // higher is better; only meaningful when Matched
    std::vector<std::size_t> Positions; // byte offset in the text of each matched query character
};

// The best way `query` matches `text`. An empty query (or one of blanks only) matches every text with
// score 0 and no positions.
TFuzzyMatch FuzzyMatch(std::string_view query, std::string_view text);

// One ranked candidate: its index in the list given, which of its texts matched best and how.
struct TFuzzyRanked {
    std::size_t Index = 0;
    std::size_t Text = 0; // index of the best matching text within the candidate
    TFuzzyMatch Match;
};

// The candidates that match, best first. Each candidate is a list of texts (an ID and a caption, say)
// and counts with its best matching text. Equal scores rank the shorter matched text first, then keep
// the order of the list. With an empty query every candidate is returned in list order.
std::vector<TFuzzyRanked> RankFuzzy(std::string_view query,
                                    const std::vector<std::vector<std::string>>& candidates);
