// The spell service: choosing and storing the language, the on/off switch, the personal word list
// (add, persist, reload) and the words ignored for the session.
#include "spelltesthelpers.h"

#include <QDir>
#include <QSignalSpy>

namespace {
const std::string kCafe = "caf\xC3\xA9";
} // namespace

TEST_F(SpellTest, LanguageComesFromTheSettingsThenTheLocale) {
    struct Case {
        const char* name;
        std::string stored; // "" = no value
        QString locale;
        std::string expected;
    };
    const Case cases[] = {
        {"stored language wins over the locale", "yy_LATIN", "xx_TEST", "yy_LATIN"},
        {"no stored language: the locale's", "", "xx_TEST", "xx_TEST"},
        {"stored language not installed: the locale's", "zz_GONE", "yy_LATIN", "yy_LATIN"},
        {"locale without a dictionary: en_US", "", "qq_QQ", "en_US"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        settings->WriteValue("Spelling\\Language", c.stored);
        const auto service = MakeService(c.locale);
        EXPECT_EQ(service->Language(), c.expected);
        EXPECT_TRUE(service->IsActive());
        // Choosing at start never rewrites what the user stored.
        EXPECT_EQ(settings->ReadValue("Spelling\\Language", "<none>"),
                  c.stored.empty() ? "<none>" : c.stored);
    }
}

TEST_F(SpellTest, SetLanguageOpensStoresAndSignals) {
    const auto service = MakeService();
    ASSERT_EQ(service->Language(), "xx_TEST");
    EXPECT_FALSE(service->IsCorrect("hullo"));
    QSignalSpy changed(service.get(), &SpellService::Changed);

    EXPECT_TRUE(service->SetLanguage("yy_LATIN"));
    EXPECT_EQ(service->Language(), "yy_LATIN");
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(settingsStore.Make()->ReadValue("Spelling\\Language"), "yy_LATIN");
    // yy_LATIN does not know "screen"; the answer cached under xx_TEST must not survive the switch.
    EXPECT_FALSE(service->IsCorrect("screen"));
    EXPECT_TRUE(service->IsCorrect(kCafe));

    // Choosing the language the locale gave stores it, without new marks.
    settings->WriteValue("Spelling\\Language", "");
    const auto fromLocale = MakeService(QStringLiteral("xx_TEST"));
    QSignalSpy localeChanged(fromLocale.get(), &SpellService::Changed);
    EXPECT_TRUE(fromLocale->SetLanguage("xx_TEST"));
    EXPECT_EQ(settings->ReadValue("Spelling\\Language"), "xx_TEST");
    EXPECT_EQ(localeChanged.count(), 0);
    settings->WriteValue("Spelling\\Language", "yy_LATIN");

    // A language that is not installed changes nothing.
    EXPECT_FALSE(service->SetLanguage("zz_GONE"));
    EXPECT_EQ(service->Language(), "yy_LATIN");
    EXPECT_FALSE(service->ErrorText().isEmpty());
    EXPECT_EQ(changed.count(), 1);
    EXPECT_EQ(settingsStore.Make()->ReadValue("Spelling\\Language"), "yy_LATIN");
}

TEST_F(SpellTest, SwitchOffAcceptsEverythingAndIsRemembered) {
    auto service = MakeService();
    QSignalSpy changed(service.get(), &SpellService::Changed);
    EXPECT_FALSE(service->IsCorrect("wrld"));
    EXPECT_FALSE(service->Suggestions("wrld").empty());

    service->SetEnabled(false);
    EXPECT_EQ(changed.count(), 1);
    EXPECT_FALSE(service->IsActive());
    EXPECT_TRUE(service->IsCorrect("wrld"));
    EXPECT_TRUE(service->Suggestions("wrld").empty());
    EXPECT_EQ(settings->ReadValue("Spelling\\Check"), "0");

    service = MakeService(); // next start
    EXPECT_FALSE(service->Enabled());
    service->SetEnabled(true);
    EXPECT_EQ(settings->ReadValue("Spelling\\Check"), "1");
    EXPECT_FALSE(service->IsCorrect("wrld"));
}

TEST_F(SpellTest, PersonalWordsArePersistedAndReadAtTheNextStart) {
    auto service = MakeService();
    QSignalSpy changed(service.get(), &SpellService::Changed);
    ASSERT_FALSE(service->IsCorrect("zorb"));
    ASSERT_FALSE(service->IsCorrect("na\xC3\xAFve"));

    EXPECT_TRUE(service->AddToDictionary("zorb"));
    EXPECT_TRUE(service->AddToDictionary("na\xC3\xAFve"));
    EXPECT_EQ(changed.count(), 2);
    EXPECT_TRUE(service->IsCorrect("zorb"));
    EXPECT_TRUE(service->IsCorrect("Zorb")); // capitalised at a sentence start
    EXPECT_TRUE(service->IsCorrect("na\xC3\xAFve"));
    EXPECT_EQ(service->PersonalWordsFile(), QFileInfo(settingsStore.userFile).absolutePath() + "/words.txt");
    EXPECT_EQ(TempSettings::ReadRaw(WordsFile()), "na\xC3\xAFve\nzorb\n");

    // Next start: the list is read back and loaded into whichever dictionary is chosen.
    service = MakeService();
    EXPECT_TRUE(service->IsCorrect("zorb"));
    EXPECT_TRUE(service->IsCorrect("na\xC3\xAFve"));
    ASSERT_TRUE(service->SetLanguage("yy_LATIN"));
    EXPECT_TRUE(service->IsCorrect("zorb"));
}

TEST_F(SpellTest, PersonalWordListFileFormat) {
    // CR LF line ends, blanks around words, empty lines; words added meanwhile by another program are
    // kept when this one adds a word.
    TempSettings::WriteRaw(WordsFile(), "  zorb \r\n\r\n\nquux\n");
    const auto service = MakeService();
    EXPECT_EQ(service->PersonalWords(), (std::set<std::string>{"quux", "zorb"}));
    EXPECT_TRUE(service->IsCorrect("zorb"));
    EXPECT_TRUE(service->IsCorrect("quux"));
    TempSettings::WriteRaw(WordsFile(), "zorb\nquux\nblarg\n");
    EXPECT_TRUE(service->AddToDictionary("frob"));
    EXPECT_EQ(TempSettings::ReadRaw(WordsFile()), "blarg\nfrob\nquux\nzorb\n");
    EXPECT_TRUE(service->IsCorrect("blarg"));
    // Nothing that is not one word goes in.
    EXPECT_FALSE(service->AddToDictionary(""));
    EXPECT_FALSE(service->AddToDictionary("two\nlines"));
    EXPECT_EQ(TempSettings::ReadRaw(WordsFile()), "blarg\nfrob\nquux\nzorb\n");
}

TEST_F(SpellTest, UnwritableWordListKeepsTheWordForTheSession) {
    // The settings folder is a file: no list can be written below it.
    TempSettings::WriteRaw(settingsStore.dir.filePath("blocker"), "x");
    auto blocked = std::make_shared<TRegWrap>(TRegRoot::CurrentUser, TempSettings::KeyPath,
                                              settingsStore.dir.filePath("blocker/Pathova.ini"),
                                              settingsStore.systemFile);
    SpellService service(blocked, QStringLiteral("xx_TEST"));
    ASSERT_EQ(service.Language(), "xx_TEST");
    EXPECT_FALSE(service.AddToDictionary("zorb"));
    EXPECT_TRUE(service.ErrorText().contains(QStringLiteral("words.txt")))
        << service.ErrorText().toStdString();
    EXPECT_TRUE(service.IsCorrect("zorb"));
}

TEST_F(SpellTest, IgnoredWordsLastTheSessionOnly) {
    auto service = MakeService();
    QSignalSpy changed(service.get(), &SpellService::Changed);
    service->Ignore("zorb");
    EXPECT_EQ(changed.count(), 1);
    service->Ignore("zorb"); // already ignored: nothing changes
    EXPECT_EQ(changed.count(), 1);
    EXPECT_TRUE(service->IsCorrect("zorb"));
    ASSERT_TRUE(service->SetLanguage("yy_LATIN"));
    EXPECT_TRUE(service->IsCorrect("zorb")) << "ignored words stay ignored in another language";
    EXPECT_FALSE(QFile::exists(WordsFile()));
    EXPECT_TRUE(service->PersonalWords().empty());

    service = MakeService(); // next start
    EXPECT_FALSE(service->IsCorrect("zorb"));
}
