#include "spell/assistspellcheck.h"

#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "model/note.h"
#include "spell/spellchecker.h"
#include "spell/wordtokenizer.h"

#include <map>

namespace {
class Walker {
public:
    explicit Walker(const SpellChecker& checker) : m_checker(checker) {}

    void Check(const std::string& itemID, const char* field, const std::string& text) {
        for (const WordSpan& span : SplitWords(text)) {
            std::string word = text.substr(span.Offset, span.Length);
            if (Correct(word))
                continue;
            m_findings.push_back({itemID, field, word, SuggestionsFor(word)});
        }
    }

    void CheckLines(const std::string& itemID, const char* field, const std::vector<std::string>& lines) {
        for (const std::string& line : lines)
            Check(itemID, field, line);
    }

    std::vector<SpellFinding> Take() { return std::move(m_findings); }

private:
    // Texts repeat the same words many times; each distinct word goes to the dictionary once.
    bool Correct(const std::string& word) {
        const auto known = m_verdicts.find(word);
        if (known != m_verdicts.end())
            return known->second;
        const bool correct = m_checker.IsCorrect(word);
        m_verdicts.emplace(word, correct);
        return correct;
    }

    // A typo tends to recur, and asking hunspell for suggestions costs far more than a check: each
    // distinct misspelt word is asked once.
    const std::vector<std::string>& SuggestionsFor(const std::string& word) {
        auto known = m_suggestions.find(word);
        if (known == m_suggestions.end())
            known = m_suggestions.emplace(word, m_checker.Suggestions(word)).first;
        return known->second;
    }

    const SpellChecker& m_checker;
    std::map<std::string, bool, std::less<>> m_verdicts;
    std::map<std::string, std::vector<std::string>, std::less<>> m_suggestions;
    std::vector<SpellFinding> m_findings;
};
} // namespace

std::vector<SpellFinding> CheckAssistantSpelling(const TAssistRoot& root, const SpellChecker& checker) {
    Walker walker(checker);
    walker.Check(root.ID, "caption", root.Caption);
    for (const TAssistScreen& screen : root.Screens) {
        walker.Check(screen.ID, "caption", screen.Caption);
        walker.CheckLines(screen.ID, "text", screen.Description);
        for (const TAssistOption& option : screen.Options) {
            walker.Check(option.ID, "caption", option.Caption);
            walker.CheckLines(option.ID, "description", option.Description);
            for (const TNote& note : option.Notes)
                walker.Check(option.ID, "note", note.Text);
        }
    }
    return walker.Take();
}
