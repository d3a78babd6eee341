#pragma once
// One open hunspell dictionary, spoken to in UTF-8 whatever the dictionary's own encoding.
#include "spell/dictionaryfinder.h"

#include <memory>
#include <optional>
#include <string>
#include <vector>

class Hunspell;

class SpellChecker {
public:
    // Opens the dictionary files; throws AppError when they cannot be read.
    explicit SpellChecker(const DictionaryFiles& files);
    ~SpellChecker();
    SpellChecker(const SpellChecker&) = delete;
    SpellChecker& operator=(const SpellChecker&) = delete;

    const std::string& Language() const { return m_language; }
    // The dictionary's encoding as its affix file declares it (hunspell's default is ISO8859-1).
    const std::string& Encoding() const { return m_encoding; }

    // True when the UTF-8 word is spelt correctly. A word the dictionary's encoding cannot hold is
    // accepted: that dictionary cannot judge it. A typographic apostrophe (U+2019) counts as the ASCII
    // one when the word is not known with it.
    bool IsCorrect(const std::string& word) const;
    // Up to `limit` suggestions for the word, in UTF-8, best first.
    std::vector<std::string> Suggestions(const std::string& word, std::size_t limit = 5) const;
    // Accepts the UTF-8 word from now on, for as long as this checker lives (hunspell's run-time word
    // list: a personal word list or a word the user chose to ignore). False when the dictionary's
    // encoding cannot hold the word; such words are accepted anyway (see IsCorrect).
    bool Add(const std::string& word);

private:
    // hunspell's verdict on the word; nothing when the dictionary's encoding cannot hold it.
    std::optional<bool> Judge(const std::string& word) const;

    std::unique_ptr<Hunspell> m_hunspell;
    std::string m_language;
    std::string m_encoding;
    bool m_utf8 = true;
};
