// Spell checking in the real editor window: the prose boxes of the panels (captions, texts,
// descriptions) mark misspelt words with the fixture dictionary; IDs, commands and scripts never do.
#include "editor/lineeditspellmarker.h"
#include "editor/spellservice.h"
#include "editorfixture.h"

#include <QTest>
#include <QTextBlock>
#include <QTextLayout>

#include <cstdlib>
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
    Fill({ScreenSpec("S1")}, "S1");
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
    Fill({ScreenSpec("S1", {OptionSpec("O1", akGoto, "S1")})}, "S1");
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
