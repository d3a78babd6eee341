// The "Spelling" group of the Options dialog: it lists the installed dictionaries, shows the current
// choices and stores new ones only on Apply.
#include "editor/spelloptions.h"
#include "spelltesthelpers.h"

#include <QCheckBox>
#include <QComboBox>

TEST_F(SpellTest, OptionsListTheDictionariesAndApplyTheChoices) {
    const auto service = MakeService();
    SpellOptionsWidget options(*service);
    EXPECT_EQ(options.title(), QStringLiteral("Spelling"));
    QComboBox* languages = options.cbSpellLanguage();
    std::vector<std::string> listed;
    for (int i = 0; i < languages->count(); ++i)
        listed.push_back(languages->itemData(i).toString().toStdString());
    EXPECT_EQ(listed, service->InstalledLanguages());
    EXPECT_NE(std::find(listed.begin(), listed.end(), "yy_LATIN"), listed.end());
    EXPECT_EQ(languages->currentData().toString(), QStringLiteral("xx_TEST"));
    EXPECT_TRUE(options.chSpellCheck()->isChecked());

    // Nothing changes before Apply.
    languages->setCurrentIndex(languages->findData(QStringLiteral("yy_LATIN")));
    options.chSpellCheck()->setChecked(false);
    EXPECT_EQ(service->Language(), "xx_TEST");
    EXPECT_TRUE(service->Enabled());

    EXPECT_TRUE(options.Apply());
    EXPECT_EQ(service->Language(), "yy_LATIN");
    EXPECT_FALSE(service->Enabled());
    EXPECT_EQ(settings->ReadValue("Spelling\\Language"), "yy_LATIN");
    EXPECT_EQ(settings->ReadValue("Spelling\\Check"), "0");

    // A new widget shows the stored choices.
    SpellOptionsWidget again(*service);
    EXPECT_EQ(again.cbSpellLanguage()->currentData().toString(), QStringLiteral("yy_LATIN"));
    EXPECT_FALSE(again.chSpellCheck()->isChecked());
}

TEST(SpellOptions, LanguageTitles) {
    struct Case {
        const char* code;
        const char* title;
    };
    const Case cases[] = {
        {"en_US", "English (United States) - en_US"},
        {"de_DE", "German (Germany) - de_DE"},
        {"fr", "French - fr"},
        {"xx_TEST", "xx_TEST"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(SpellOptionsWidget::LanguageTitle(QString::fromLatin1(c.code)).toStdString(), c.title);
}
