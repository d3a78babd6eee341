// The Options dialog over a spell service with the fixture dictionaries only (the system's are left
// out, so the list is the same on every machine): what it shows, what OK stores, that Cancel and a
// failing OK store nothing, and how it looks with no dictionary installed.
#include "editor/optionsdialog.h"
#include "editor/spelloptions.h"
#include "scriptedprompter.h"
#include "spelltesthelpers.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QSignalSpy>
#include <QTemporaryDir>

#include <optional>

namespace {

// The fixture dictionaries and nothing from the system.
class OptionsDialogTest : public SpellTest {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("AMF_SYSTEM_DICTIONARIES"))
            m_oldSystem = old;
        ::setenv("AMF_SYSTEM_DICTIONARIES", "0", 1);
        SpellTest::SetUp();
    }
    void TearDown() override {
        SpellTest::TearDown();
        if (m_oldSystem)
            ::setenv("AMF_SYSTEM_DICTIONARIES", m_oldSystem->c_str(), 1);
        else
            ::unsetenv("AMF_SYSTEM_DICTIONARIES");
    }

    static std::vector<std::string> Listed(const OptionsDialog& dialog) {
        std::vector<std::string> listed;
        const QComboBox* languages = dialog.gbSpelling()->cbSpellLanguage();
        for (int i = 0; i < languages->count(); ++i)
            listed.push_back(languages->itemData(i).toString().toStdString());
        return listed;
    }
    static QString Shown(const OptionsDialog& dialog) {
        return dialog.gbSpelling()->cbSpellLanguage()->currentData().toString();
    }
    static void Choose(OptionsDialog& dialog, const char* language) {
        QComboBox* languages = dialog.gbSpelling()->cbSpellLanguage();
        const int index = languages->findData(QString::fromLatin1(language));
        ASSERT_GE(index, 0) << language;
        languages->setCurrentIndex(index);
    }
    std::string Stored(const char* name) const { return settings->ReadValue(name, "(absent)"); }

    ScriptedPrompter prompter;

private:
    std::optional<std::string> m_oldSystem;
};

} // namespace

TEST_F(OptionsDialogTest, ShowsTheInstalledDictionariesAndTheChoicesInEffect) {
    const auto service = MakeService();
    OptionsDialog dialog(*service, prompter);
    EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Options"));
    EXPECT_EQ(dialog.gbSpelling()->title(), QStringLiteral("Spelling"));
    EXPECT_EQ(Listed(dialog), (std::vector<std::string>{"xx_TEST", "yy_LATIN"}));
    EXPECT_EQ(Shown(dialog), QStringLiteral("xx_TEST"));
    EXPECT_TRUE(dialog.gbSpelling()->chSpellCheck()->isChecked());
    EXPECT_TRUE(dialog.gbSpelling()->chSpellCheck()->isEnabled());
    EXPECT_TRUE(dialog.gbSpelling()->cbSpellLanguage()->isEnabled());

    // Nothing stored yet: the language the locale gave is the one shown.
    settings->WriteValue("Spelling\\Language", "");
    const auto fromLocale = MakeService(QStringLiteral("yy_LATIN"));
    OptionsDialog localeDialog(*fromLocale, prompter);
    EXPECT_EQ(Shown(localeDialog), QStringLiteral("yy_LATIN"));
}

TEST_F(OptionsDialogTest, OkAppliesAndStoresTheChoices) {
    const auto service = MakeService();
    OptionsDialog dialog(*service, prompter);
    dialog.show();
    Choose(dialog, "yy_LATIN");
    dialog.gbSpelling()->chSpellCheck()->setChecked(false);
    // Nothing happens before OK.
    EXPECT_EQ(service->Language(), "xx_TEST");
    EXPECT_TRUE(service->Enabled());

    dialog.bOk()->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(service->Language(), "yy_LATIN");
    EXPECT_FALSE(service->Enabled());
    EXPECT_TRUE(service->IsCorrect("zorb")) << "switched off: no word is marked";
    EXPECT_EQ(Stored("Spelling\\Language"), "yy_LATIN");
    EXPECT_EQ(Stored("Spelling\\Check"), "0");

    // A dialog opened later shows the new choices; switching on again is stored as well.
    OptionsDialog again(*service, prompter);
    EXPECT_EQ(Shown(again), QStringLiteral("yy_LATIN"));
    EXPECT_FALSE(again.gbSpelling()->chSpellCheck()->isChecked());
    again.gbSpelling()->chSpellCheck()->setChecked(true);
    again.bOk()->click();
    EXPECT_TRUE(service->IsActive());
    EXPECT_FALSE(service->IsCorrect("zorb"));
    EXPECT_EQ(Stored("Spelling\\Check"), "1");
}

TEST_F(OptionsDialogTest, CancelChangesNothing) {
    const auto service = MakeService();
    QSignalSpy changed(service.get(), &SpellService::Changed);
    OptionsDialog dialog(*service, prompter);
    dialog.show();
    Choose(dialog, "yy_LATIN");
    dialog.gbSpelling()->chSpellCheck()->setChecked(false);
    dialog.bCancel()->click();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(service->Language(), "xx_TEST");
    EXPECT_TRUE(service->Enabled());
    EXPECT_EQ(changed.count(), 0);
    EXPECT_EQ(Stored("Spelling\\Language"), "xx_TEST");
    EXPECT_EQ(Stored("Spelling\\Check"), "(absent)");
}

TEST_F(OptionsDialogTest, ADictionaryThatCannotBeOpenedKeepsTheDialogOpenAndStoresNothing) {
    // A dictionary that is listed when the dialog opens and gone when OK is clicked.
    QTemporaryDir extra;
    ASSERT_TRUE(extra.isValid());
    for (const char* ext : {".aff", ".dic"})
        ASSERT_TRUE(QFile::copy(QString::fromStdString(std::string(AMF_TEST_DATA) + "/dict/xx_TEST" + ext),
                                extra.filePath(QStringLiteral("zz_GONE") + QString::fromLatin1(ext))));
    ::setenv("AMF_DICTIONARY_PATH",
             (std::string(AMF_TEST_DATA) + "/dict:" + extra.path().toStdString()).c_str(), 1);
    const auto service = MakeService();
    OptionsDialog dialog(*service, prompter);
    dialog.show();
    ASSERT_EQ(Listed(dialog), (std::vector<std::string>{"xx_TEST", "yy_LATIN", "zz_GONE"}));
    Choose(dialog, "zz_GONE");
    dialog.gbSpelling()->chSpellCheck()->setChecked(false);
    ASSERT_TRUE(QFile::remove(extra.filePath(QStringLiteral("zz_GONE.dic"))));

    prompter.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    dialog.bOk()->click();
    ASSERT_EQ(prompter.AskedPrompts().size(), 1u);
    EXPECT_NE(prompter.AskedPrompts()[0].text.find("zz_GONE"), std::string::npos)
        << prompter.AskedPrompts()[0].text;
    EXPECT_TRUE(dialog.isVisible()) << "the user can choose another language";
    EXPECT_EQ(service->Language(), "xx_TEST");
    EXPECT_TRUE(service->Enabled()) << "the switch is not stored when the language failed";
    EXPECT_EQ(Stored("Spelling\\Language"), "xx_TEST");
    EXPECT_EQ(Stored("Spelling\\Check"), "(absent)");

    // Another choice then goes through.
    Choose(dialog, "yy_LATIN");
    dialog.bOk()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(service->Language(), "yy_LATIN");
    EXPECT_FALSE(service->Enabled());
}

TEST_F(OptionsDialogTest, WithoutDictionariesTheDialogSaysSoAndTheSwitchIsOff) {
    QTemporaryDir empty;
    ASSERT_TRUE(empty.isValid());
    ::setenv("AMF_DICTIONARY_PATH", empty.path().toUtf8().constData(), 1);
    const auto service = MakeService();
    ASSERT_EQ(service->Language(), "");
    ASSERT_FALSE(service->IsActive());

    OptionsDialog dialog(*service, prompter);
    dialog.show();
    SpellOptionsWidget& group = *dialog.gbSpelling();
    EXPECT_EQ(group.cbSpellLanguage()->count(), 0);
    EXPECT_FALSE(group.cbSpellLanguage()->isEnabled());
    EXPECT_FALSE(group.chSpellCheck()->isChecked());
    EXPECT_FALSE(group.chSpellCheck()->isEnabled());
    auto* note = group.findChild<QLabel*>(QStringLiteral("lSpellNote"));
    ASSERT_NE(note, nullptr);
    EXPECT_TRUE(note->isVisible());
    EXPECT_TRUE(note->text().startsWith(QStringLiteral("No dictionaries are installed.")))
        << note->text().toStdString();

    // OK closes and leaves the stored switch alone: checking comes back once a dictionary is there.
    dialog.bOk()->click();
    EXPECT_FALSE(dialog.isVisible());
    EXPECT_EQ(Stored("Spelling\\Check"), "(absent)");
    EXPECT_TRUE(service->Enabled());

    // Installed later: the next dialog lists it, offers it and OK opens it.
    ::setenv("AMF_DICTIONARY_PATH", (std::string(AMF_TEST_DATA) + "/dict").c_str(), 1);
    OptionsDialog later(*service, prompter);
    later.show();
    EXPECT_EQ(Listed(later), (std::vector<std::string>{"xx_TEST", "yy_LATIN"}));
    EXPECT_EQ(Shown(later), QStringLiteral("xx_TEST")) << "no en_US here: the first installed";
    EXPECT_TRUE(later.gbSpelling()->chSpellCheck()->isChecked());
    EXPECT_FALSE(later.findChild<QLabel*>(QStringLiteral("lSpellNote"))->isVisible());
    later.bOk()->click();
    EXPECT_FALSE(later.isVisible());
    EXPECT_EQ(QString::fromStdString(service->Language()), Shown(later));
    EXPECT_TRUE(service->IsActive());
}
