// Spell checking: dictionary look-up, the words of a text, hunspell in UTF-8 and Latin-1, and the walk
// over an assistant's texts.
#include "assistantbuilder.h"
#include "model/note.h"
#include "spell/assistspellcheck.h"
#include "spell/dictionaryfinder.h"
#include "spell/spellchecker.h"
#include "spell/wordtokenizer.h"
#include "support/error.h"

#include <algorithm>
#include <cstdlib>
#include <gtest/gtest.h>
#include <optional>
#include <string>
#include <vector>

namespace {
const std::string kDictFolder = std::string(AMF_TEST_DATA) + "/dict";

// Points the dictionary search at the fixture folder for the duration of a test.
class DictionaryPathScope {
public:
    explicit DictionaryPathScope(const std::string& path) {
        if (const char* old = std::getenv("AMF_DICTIONARY_PATH"))
            m_old = old;
        ::setenv("AMF_DICTIONARY_PATH", path.c_str(), 1);
    }
    ~DictionaryPathScope() {
        if (m_old.empty())
            ::unsetenv("AMF_DICTIONARY_PATH");
        else
            ::setenv("AMF_DICTIONARY_PATH", m_old.c_str(), 1);
    }

private:
    std::string m_old;
};

std::vector<std::string> Words(const std::string& text) {
    std::vector<std::string> words;
    for (const WordSpan& span : SplitWords(text))
        words.push_back(text.substr(span.Offset, span.Length));
    return words;
}

SpellChecker OpenFixture(const std::string& language) {
    const std::optional<DictionaryFiles> files = FindDictionary(language);
    if (!files)
        throw AppError("fixture dictionary " + language + " not found");
    return SpellChecker(*files);
}
} // namespace

TEST(SpellTokenizer, TableOfTexts) {
    struct Case {
        const char* Text;
        std::vector<std::string> Expected;
    };
    const Case cases[] = {
        {"", {}},
        {"Hello, world!", {"Hello", "world"}},
        {"\"Quoted\" (bracketed) end.", {"Quoted", "bracketed", "end"}},
        {"don't 'quoted' rock'n'roll", {"don't", "quoted", "rock'n'roll"}},
        {"it\xE2\x80\x99s fine", {"it\xE2\x80\x99s", "fine"}},
        {"trailing' 'leading", {"trailing", "leading"}},
        {"well-known \xE2\x80\x94 dash", {"well", "known", "dash"}},
        {"In 2026 the 3rd mp3 cost 4.50", {"In", "the", "cost"}},
        {"see https://example.com/a_path?q=wrng now", {"see", "now"}},
        {"visit www.exmple.org or (http://x.y/z).", {"visit", "or"}},
        {"mail ann.lee@exmple.com today", {"mail", "today"}},
        {"a lone @ sign", {"a", "lone", "sign"}},
        {"caf\xC3\xA9 na\xC3\xAFve \xD0\xBC\xD0\xB8\xD1\x80",
         {"caf\xC3\xA9", "na\xC3\xAFve", "\xD0\xBC\xD0\xB8\xD1\x80"}},
        {"\xC2\xABguillemets\xC2\xBB\xC2\xA0"
         "nbsp",
         {"guillemets", "nbsp"}},
        {"line one\r\nline\ttwo", {"line", "one", "line", "two"}},
        {"bad \xFF byte", {"bad", "byte"}},
        {"cut \xC3", {"cut"}},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Words(c.Text), c.Expected) << "text: " << c.Text;
}

TEST(SpellTokenizer, SpansPointIntoTheText) {
    const std::string text = "  Ab, c\xC3\xA9"
                             "d";
    const std::vector<WordSpan> spans = SplitWords(text);
    ASSERT_EQ(spans.size(), 2u);
    EXPECT_EQ(spans[0].Offset, 2u);
    EXPECT_EQ(spans[0].Length, 2u);
    EXPECT_EQ(spans[1].Offset, 6u);
    EXPECT_EQ(spans[1].Length, 4u);
}

TEST(SpellDictionaries, FoldersAndLookUp) {
    DictionaryPathScope scope("/nonexistent-folder:" + kDictFolder);
    const std::vector<std::string> folders = DictionaryFolders();
    ASSERT_GE(folders.size(), 4u);
    EXPECT_EQ(folders[0], "/nonexistent-folder");
    EXPECT_EQ(folders[1], kDictFolder);
    EXPECT_EQ(folders[2], "/usr/share/hunspell");
    EXPECT_EQ(folders[3], "/usr/share/myspell/dicts");

    std::vector<std::string> languages;
    for (const DictionaryFiles& d : InstalledDictionaries())
        languages.push_back(d.Language);
    EXPECT_NE(std::find(languages.begin(), languages.end(), "xx_TEST"), languages.end());
    EXPECT_NE(std::find(languages.begin(), languages.end(), "yy_LATIN"), languages.end());
    EXPECT_TRUE(std::is_sorted(languages.begin(), languages.end()));

    const std::optional<DictionaryFiles> found = FindDictionary("xx_TEST");
    ASSERT_TRUE(found.has_value());
    EXPECT_EQ(found->AffixFile, kDictFolder + "/xx_TEST.aff");
    EXPECT_EQ(found->WordFile, kDictFolder + "/xx_TEST.dic");
    for (const char* missing : {"zz_NONE", "", "..", "../dict/xx_TEST"})
        EXPECT_FALSE(FindDictionary(missing).has_value()) << missing;
}

TEST(SpellDictionaries, SystemFoldersCanBeLeftOut) {
    DictionaryPathScope scope(kDictFolder);
    const char* old = std::getenv("AMF_SYSTEM_DICTIONARIES");
    const std::optional<std::string> kept = old ? std::optional<std::string>(old) : std::nullopt;
    struct Case {
        const char* value; // nullptr: not set
        std::vector<std::string> folders;
    };
    const Case cases[] = {
        {nullptr, {kDictFolder, "/usr/share/hunspell", "/usr/share/myspell/dicts"}},
        {"1", {kDictFolder, "/usr/share/hunspell", "/usr/share/myspell/dicts"}},
        {"", {kDictFolder, "/usr/share/hunspell", "/usr/share/myspell/dicts"}},
        {"0", {kDictFolder}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value ? c.value : "(unset)");
        if (c.value)
            ::setenv("AMF_SYSTEM_DICTIONARIES", c.value, 1);
        else
            ::unsetenv("AMF_SYSTEM_DICTIONARIES");
        EXPECT_EQ(DictionaryFolders(), c.folders);
    }
    // Only the fixture's own dictionaries remain, whatever the system has installed.
    ::setenv("AMF_SYSTEM_DICTIONARIES", "0", 1);
    std::vector<std::string> languages;
    for (const DictionaryFiles& d : InstalledDictionaries())
        languages.push_back(d.Language);
    EXPECT_EQ(languages, (std::vector<std::string>{"xx_TEST", "yy_LATIN"}));
    {
        DictionaryPathScope empty("/nonexistent-folder");
        EXPECT_TRUE(InstalledDictionaries().empty());
        EXPECT_FALSE(FindDictionary("en_US").has_value());
    }
    if (kept)
        ::setenv("AMF_SYSTEM_DICTIONARIES", kept->c_str(), 1);
    else
        ::unsetenv("AMF_SYSTEM_DICTIONARIES");
}

TEST(SpellChecker, UnreadableDictionaryIsAnError) {
    EXPECT_THROW(SpellChecker({"qq", kDictFolder + "/missing.aff", kDictFolder + "/missing.dic"}), AppError);
}

TEST(SpellChecker, WordsInUtf8AndLatin1Dictionaries) {
    DictionaryPathScope scope(kDictFolder);
    const SpellChecker utf8 = OpenFixture("xx_TEST");
    const SpellChecker latin = OpenFixture("yy_LATIN");
    EXPECT_EQ(utf8.Encoding(), "UTF-8");
    EXPECT_EQ(latin.Encoding(), "ISO8859-1");
    struct Case {
        const char* Word;
        bool InUtf8;
        bool InLatin;
    };
    const Case cases[] = {
        {"hello", true, true},
        {"Hello", true, true}, // capitalised at a sentence start
        {"helo", false, false},
        {"caf\xC3\xA9", true, true}, // converted to Latin-1 for the second dictionary
        {"cafe", false, false},
        {"don't", true, false},
        {"don\xE2\x80\x99t", true, false}, // typographic apostrophe, also where Latin-1 cannot hold it
        {"dont\xE2\x80\x99s", false, false},
        {"\xD0\xBC\xD0\xB8\xD1\x80", false, true}, // Cyrillic: Latin-1 cannot hold it, so it is not judged
    };
    for (const Case& c : cases) {
        EXPECT_EQ(utf8.IsCorrect(c.Word), c.InUtf8) << c.Word;
        EXPECT_EQ(latin.IsCorrect(c.Word), c.InLatin) << c.Word;
    }
    // Suggestions come back in UTF-8 from both.
    const std::vector<std::string> fromLatin = latin.Suggestions("cafe");
    EXPECT_NE(std::find(fromLatin.begin(), fromLatin.end(), "caf\xC3\xA9"), fromLatin.end());
    const std::vector<std::string> fromUtf8 = utf8.Suggestions("helo");
    EXPECT_NE(std::find(fromUtf8.begin(), fromUtf8.end(), "hello"), fromUtf8.end());
    EXPECT_LE(utf8.Suggestions("e", 5).size(), 5u);
    EXPECT_LE(utf8.Suggestions("helo", 1).size(), 1u);
}

TEST(SpellAssistant, ChecksProseFieldsOnly) {
    DictionaryPathScope scope(kDictFolder);
    const SpellChecker checker = OpenFixture("xx_TEST");
    TAssistRoot root(testbuild::User);
    root.ID = "Wrongid";
    root.Caption = "Welcome wrld";
    TAssistScreen& screen = testbuild::Screen(root, "scrn", "Start screeen");
    screen.Description = {"the text", "hello wurld"};
    TAssistOption& option = testbuild::Option(screen, "scrn.1", akExec, "badcommand", "Finish optoin");
    option.Description = {"note descripton"};
    option.Script = "misspelt scrpt";
    TNote* note = option.Notes.Add();
    note->Name = "Nme";
    note->Text = "the notte\rhello";

    const std::vector<SpellFinding> findings = CheckAssistantSpelling(root, checker);
    struct Expected {
        std::string Item, Field, Word;
    };
    const std::vector<Expected> expected = {
        {"Wrongid", "caption", "wrld"},  {"scrn", "caption", "screeen"},          {"scrn", "text", "wurld"},
        {"scrn.1", "caption", "optoin"}, {"scrn.1", "description", "descripton"}, {"scrn.1", "note", "notte"},
    };
    ASSERT_EQ(findings.size(), expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(findings[i].ItemID, expected[i].Item) << i;
        EXPECT_EQ(findings[i].Field, expected[i].Field) << i;
        EXPECT_EQ(findings[i].Word, expected[i].Word) << i;
        EXPECT_LE(findings[i].Suggestions.size(), 5u);
    }
    EXPECT_NE(std::find(findings[0].Suggestions.begin(), findings[0].Suggestions.end(), "world"),
              findings[0].Suggestions.end());
}

TEST(SpellChecker, AddedWordsAreAcceptedInEitherEncoding) {
    DictionaryPathScope scope(kDictFolder);
    SpellChecker utf8 = OpenFixture("xx_TEST");
    SpellChecker latin = OpenFixture("yy_LATIN");
    for (SpellChecker* checker : {&utf8, &latin}) {
        SCOPED_TRACE(checker->Language());
        EXPECT_FALSE(checker->IsCorrect("na\xC3\xAFve"));
        EXPECT_TRUE(checker->Add("na\xC3\xAFve")); // Latin-1 holds the diaeresis: converted before adding
        EXPECT_TRUE(checker->IsCorrect("na\xC3\xAFve"));
        EXPECT_FALSE(checker->IsCorrect("naive"));
        EXPECT_FALSE(checker->Add(""));
    }
    // A word Latin-1 cannot hold is not added (and is not judged either).
    EXPECT_FALSE(latin.Add("\xD0\xBC\xD0\xB8\xD1\x80"));
    EXPECT_TRUE(utf8.Add("\xD0\xBC\xD0\xB8\xD1\x80"));
    EXPECT_TRUE(utf8.IsCorrect("\xD0\xBC\xD0\xB8\xD1\x80"));
}

TEST(SpellDictionaries, ChooseLanguage) {
    const std::vector<std::string> installed = {"de_AT", "de_DE", "en_GB", "en_US", "fr_FR"};
    struct Case {
        const char* wanted;
        const char* locale;
        std::vector<std::string> installed;
        const char* expected;
    };
    const Case cases[] = {
        {"fr_FR", "de_DE", installed, "fr_FR"},       // the stored choice
        {"", "de_DE", installed, "de_DE"},            // the locale
        {"it_IT", "de_DE", installed, "de_DE"},       // stored but not installed
        {"", "de-DE", installed, "de_DE"},            // BCP 47 spelling
        {"", "en_GB.UTF-8@euro", installed, "en_GB"}, // POSIX locale with encoding and modifier
        {"", "de_CH", installed, "de_AT"},            // another dictionary of the same language
        {"", "it_IT", installed, "en_US"},            // then en_US
        {"", "C", installed, "en_US"},
        {"", "it_IT", {"fr_FR", "nl_NL"}, "fr_FR"}, // then the first installed
        {"", "", {}, ""},                           // none installed
    };
    for (const Case& c : cases)
        EXPECT_EQ(ChooseLanguage(c.wanted, c.locale, c.installed), c.expected)
            << c.wanted << " / " << c.locale;
}
