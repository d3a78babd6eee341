// Spell checking in the real editor window: the prose boxes of the panels (captions, texts,
// descriptions) mark misspelt words with the fixture dictionary; IDs, commands and scripts never do.
// The Options command changes the language and the switch for every open box and keeps them for the
// next window.
#include "editor/lineeditspellmarker.h"
#include "editor/optionsdialog.h"
#include "editor/spelloptions.h"
#include "editor/spellservice.h"
#include "editorfixture.h"

#include <QCheckBox>
#include <QContextMenuEvent>
#include <QDir>
#include <QMenu>
#include <QPushButton>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>

#include <cstdlib>
#include <functional>
#include <utility>

namespace {

// The texts of the spell-marked ranges of a multi-line box, in order.
QStringList MarkedWords(const QPlainTextEdit& box) {
    QStringList words;
    const QTextDocument& document = *box.document();
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next())
        for (const QTextLayout::FormatRange& range : block.layout()->formats())
            if (range.format.underlineStyle() == QTextCharFormat::SpellCheckUnderline)
                words << block.text().mid(range.start, range.length);
    return words;
}

// The texts of the marked ranges of a one-line box; empty when the box has no marker at all.
QStringList MarkedWords(const QLineEdit& box) {
    QStringList words;
    for (const LineEditSpellMarker* marker : box.findChildren<LineEditSpellMarker*>())
        for (const SpellRange& range : marker->Marked())
            words << box.text().mid(range.Start, range.Length);
    return words;
}

} // namespace

class WindowSpellingTest : public EditorFixture {
protected:
    void SetUp() override {
        if (const char* old = std::getenv("AMF_DICTIONARY_PATH"))
            m_oldPath = std::make_pair(true, std::string(old));
        ::setenv("AMF_DICTIONARY_PATH", (std::string(AMF_TEST_DATA) + "/dict").c_str(), 1);
        settings->WriteValue("Spelling\\Language", "xx_TEST");
    }
    void TearDown() override {
        EditorFixture::TearDown();
        if (m_oldPath.first)
            ::setenv("AMF_DICTIONARY_PATH", m_oldPath.second.c_str(), 1);
        else
            ::unsetenv("AMF_DICTIONARY_PATH");
    }

private:
    std::pair<bool, std::string> m_oldPath{false, {}};
};

TEST_F(WindowSpellingTest, TheScreenTextBoxUnderlinesAMisspeltWord) {
    Start();
    ASSERT_NE(form->Spelling(), nullptr);
    ASSERT_EQ(form->Spelling()->Language(), "xx_TEST");
    ASSERT_TRUE(form->Spelling()->IsActive());
    Fill({ScreenEntry("S1")}, "S1");
    ClickTreeNode(ScreenAt(0));
    QPlainTextEdit* text = form->Screen()->mScreenExp();
    FocusByMouse(text);
    QTest::keyClicks(text, QStringLiteral("welcome to the sceen"));
    EXPECT_EQ(MarkedWords(*text), (QStringList{QStringLiteral("to"), QStringLiteral("sceen")}));

    // Turned off in the one service: the marks go; on again: they come back.
    form->Spelling()->SetEnabled(false);
    EXPECT_TRUE(MarkedWords(*text).isEmpty());
    form->Spelling()->SetEnabled(true);
    EXPECT_EQ(MarkedWords(*text), (QStringList{QStringLiteral("to"), QStringLiteral("sceen")}));
}

TEST_F(WindowSpellingTest, OnlyTheProseBoxesOfEachPanelAreChecked) {
    Start();
    Fill({ScreenEntry("S1", {OptionEntry("O1", akGoto, "S1")})}, "S1");
    const QString wrong = QStringLiteral("wrld");
    struct Case {
        const char* name;
        QLineEdit* box;
        bool checked;
    };
    const std::vector<Case> lines = {
        {"assistant caption", form->General()->eProjectCaption(), true},
        {"assistant ID", form->General()->eProjectID(), false},
        {"author", form->General()->eAuthor(), false},
        {"screen caption", form->Screen()->eScreenCaption(), true},
        {"screen ID", form->Screen()->eScreenID(), false},
        {"screen image", form->Screen()->eScreenImage(), false},
        {"option caption", form->Option()->eOptionCaption(), true},
        {"option ID", form->Option()->eOptionID(), false},
    };
    for (const Case& c : lines) {
        SCOPED_TRACE(c.name);
        c.box->setText(wrong);
        EXPECT_EQ(MarkedWords(*c.box), c.checked ? QStringList{wrong} : QStringList{});
    }
    struct MemoCase {
        const char* name;
        QPlainTextEdit* box;
        bool checked;
    };
    const std::vector<MemoCase> memos = {
        {"assistant description", form->General()->mProjectExp(), true},
        {"screen text", form->Screen()->mScreenExp(), true},
        {"option description", form->Option()->mOptionExp(), true},
        {"option script", form->Option()->mOptionScript(), false},
    };
    for (const MemoCase& c : memos) {
        SCOPED_TRACE(c.name);
        c.box->setPlainText(wrong);
        EXPECT_EQ(MarkedWords(*c.box), c.checked ? QStringList{wrong} : QStringList{});
    }
    // Set aside unchanged: the texts above were never stored.
    Root().Changed = false;
}

// ---- The Options command

namespace {

// Runs the Options command of the window; `drive` runs once the dialog is up and must close it.
// Returns whether the dialog came up.
bool RunOptions(MainWindow& window, const std::function<void(OptionsDialog&)>& drive) {
    bool opened = false;
    // Timers of this call only: none may fire after it returned.
    QTimer driver;
    driver.setSingleShot(true);
    QObject::connect(&driver, &QTimer::timeout, [&] {
        if (auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget())) {
            opened = true;
            drive(*dialog);
        }
    });
    // A dialog the driver failed to close would hang the test: this closes whatever is left.
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<OptionsDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    driver.start(0);
    guard.start(3000);
    window.Actions().aOptions->trigger();
    QApplication::processEvents();
    return opened;
}

void Choose(OptionsDialog& dialog, const char* language) {
    QComboBox* languages = dialog.gbSpelling()->cbSpellLanguage();
    languages->setCurrentIndex(languages->findData(QString::fromLatin1(language)));
}

} // namespace

// xx_TEST knows "welcome", "the" and "screen"; yy_LATIN knows only "hello", "café" and "world".
TEST_F(WindowSpellingTest, OptionsChangeTheLanguageAndTheSwitchOfEveryOpenBox) {
    Start();
    Fill({ScreenEntry("S1")}, "S1");
    ClickTreeNode(ScreenAt(0));
    QPlainTextEdit* text = form->Screen()->mScreenExp();
    QLineEdit* caption = form->Screen()->eScreenCaption();
    text->setPlainText(QStringLiteral("welcome to the screen, hello"));
    caption->setText(QStringLiteral("hello screen"));
    const QStringList xxText{QStringLiteral("to")};
    const QStringList yyText{QStringLiteral("welcome"), QStringLiteral("to"), QStringLiteral("the"),
                             QStringLiteral("screen")};
    ASSERT_EQ(MarkedWords(*text), xxText);
    ASSERT_EQ(MarkedWords(*caption), QStringList{});

    struct Step {
        const char* name;
        const char* language;
        bool check;
        bool ok;
        QStringList textMarks;
        QStringList captionMarks;
    };
    const Step steps[] = {
        {"Cancel changes nothing", "yy_LATIN", false, false, xxText, {}},
        {"another language", "yy_LATIN", true, true, yyText, {QStringLiteral("screen")}},
        {"switched off", "yy_LATIN", false, true, {}, {}},
        {"on again, first language", "xx_TEST", true, true, xxText, {}},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.name);
        EXPECT_TRUE(RunOptions(*form, [&](OptionsDialog& dialog) {
            Choose(dialog, step.language);
            dialog.gbSpelling()->chSpellCheck()->setChecked(step.check);
            (step.ok ? dialog.bOk() : dialog.bCancel())->click();
        }));
        EXPECT_EQ(MarkedWords(*text), step.textMarks);
        EXPECT_EQ(MarkedWords(*caption), step.captionMarks);
    }
    // Set aside unchanged: the texts above were never stored.
    Root().Changed = false;
}

TEST_F(WindowSpellingTest, TheOptionsChosenAreReadBackByANewWindow) {
    settings->WriteValue("Spelling\\Language", "");
    Start();
    const std::string fromLocale = form->Spelling()->Language();
    ASSERT_FALSE(fromLocale.empty());
    ASSERT_NE(fromLocale, "yy_LATIN");
    ASSERT_TRUE(RunOptions(*form, [](OptionsDialog& dialog) {
        Choose(dialog, "yy_LATIN");
        dialog.gbSpelling()->chSpellCheck()->setChecked(false);
        dialog.bOk()->click();
    }));
    EXPECT_EQ(settings->ReadValue("Spelling\\Language"), "yy_LATIN");
    EXPECT_EQ(settings->ReadValue("Spelling\\Check"), "0");

    Start(); // a new window over the same settings
    ASSERT_NE(form->Spelling(), nullptr);
    EXPECT_EQ(form->Spelling()->Language(), "yy_LATIN");
    EXPECT_FALSE(form->Spelling()->Enabled());
    EXPECT_TRUE(RunOptions(*form, [](OptionsDialog& dialog) {
        EXPECT_EQ(dialog.gbSpelling()->cbSpellLanguage()->currentData().toString(),
                  QStringLiteral("yy_LATIN"));
        EXPECT_FALSE(dialog.gbSpelling()->chSpellCheck()->isChecked());
        dialog.bCancel()->click();
    }));
}

TEST_F(WindowSpellingTest, TheSpellingMenuAsksTheWindowsCurrentPrompter) {
    Start();
    Fill({ScreenEntry("S1")}, "S1");
    ClickTreeNode(ScreenAt(0));
    QLineEdit* caption = form->Screen()->eScreenCaption();
    caption->setText(QStringLiteral("zorb"));
    // The personal word list cannot be written where a folder takes its name.
    ASSERT_TRUE(QDir().mkpath(form->Spelling()->PersonalWordsFile()));

    ScriptedPrompter later;
    later.ExpectMessage(Prompter::MessageKind::ErrorOk, Prompter::Answer::Ok);
    form->SetPrompter(&later);
    bool added = false;
    QTimer::singleShot(0, [&] {
        auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
        if (menu == nullptr)
            return;
        for (QAction* action : menu->actions())
            if (action->objectName() == QStringLiteral("aSpellAdd")) {
                added = true;
                action->trigger();
            }
        menu->close();
    });
    const QRect word = LineEditSpellMarker::WordRect(*caption, {0, 4});
    QContextMenuEvent event(QContextMenuEvent::Mouse, word.center(), caption->mapToGlobal(word.center()));
    QApplication::sendEvent(caption, &event);
    ASSERT_TRUE(added) << "no spelling menu came up";
    ASSERT_EQ(later.AskedPrompts().size(), 1u);
    EXPECT_NE(later.AskedPrompts()[0].text.find("words.txt"), std::string::npos);
    EXPECT_TRUE(prompter.AskedPrompts().empty()) << "the prompter of the window's start was asked";
    form->SetPrompter(&prompter);
    Root().Changed = false;
}
