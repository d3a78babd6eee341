// Hint splitting and line-break conversion for display.
#include "editor/uitext.h"

#include <QAction>
#include <QLineEdit>
#include <gtest/gtest.h>

TEST(SplitHint, ShortTextBeforeTheFirstBarLongTextAfterIt) {
    struct Case {
        const char* hint;
        const char* shortText;
        const char* longText;
    };
    const Case cases[] = {
        {"Open file|Open an existing assistant data file.", "Open file",
         "Open an existing assistant data file."},
        {"Click to edit associated notes.", "Click to edit associated notes.",
         "Click to edit associated notes."},
        {"a|b|c", "a", "b|c"},
        {"|long only", "", "long only"},
        {"short only|", "short only", ""},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.hint);
        const HintParts parts = SplitHint(QString::fromUtf8(c.hint));
        EXPECT_EQ(parts.shortText, QString::fromUtf8(c.shortText));
        EXPECT_EQ(parts.longText, QString::fromUtf8(c.longText));
    }
}

TEST(ApplyHint, ToolTipGetsTheShortTextStatusTipTheLongText) {
    QLineEdit edit;
    ApplyHint(&edit, QStringLiteral("Screen ID|Unique ID string for the screen."));
    EXPECT_EQ(edit.toolTip(), QStringLiteral("Screen ID"));
    EXPECT_EQ(edit.statusTip(), QStringLiteral("Unique ID string for the screen."));

    QAction action(QStringLiteral("&Save"));
    ApplyHint(&action, QStringLiteral("Save to file|Save the current assistant data."));
    EXPECT_EQ(action.toolTip(), QStringLiteral("Save to file"));
    EXPECT_EQ(action.statusTip(), QStringLiteral("Save the current assistant data."));
}

TEST(ToDisplayText, CarriageReturnsAndCrLfBecomeOneLineBreakEach) {
    struct Case {
        const char* text;
        const char* shown;
    };
    const Case cases[] = {
        {"no breaks", "no breaks"},
        {"a\r\rb", "a\n\nb"},
        {"a\r\nb", "a\nb"},
        {"a\nb", "a\nb"},
        {"a\r\n\r\nb", "a\n\nb"},
        {"a\n\rb", "a\n\nb"},
        {"ends\r", "ends\n"},
        {"\r\n", "\n"},
        {"", ""},
        {"caf\xc3\xa9\r\xc2\xbb", "caf\xc3\xa9\n\xc2\xbb"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ToDisplayText(std::string(c.text)), QString::fromUtf8(c.shown));
    }
}

TEST(Mnemonics, EscapingKeepsEveryAmpersandAndStrippingTakesOnlyTheMarkers) {
    struct Case {
        const char* plain;   // what the user should read
        const char* escaped; // EscapeMnemonics(plain)
        const char* marked;  // a caption with mnemonic markers that reads as plain
    };
    const Case cases[] = {
        {"Save", "Save", "&Save"},
        {"Fish & Chips.amf", "Fish && Chips.amf", "Fish && &Chips.amf"},
        {"&&", "&&&&", "&&&&"},
        {"", "", ""},
        {"trailing", "trailing", "trailing&"},
        {"caf\xc3\xa9 & th\xc3\xa9", "caf\xc3\xa9 && th\xc3\xa9", "&caf\xc3\xa9 && th\xc3\xa9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.plain);
        const QString plain = QString::fromUtf8(c.plain);
        EXPECT_EQ(EscapeMnemonics(plain), QString::fromUtf8(c.escaped));
        EXPECT_EQ(StripMnemonics(QString::fromUtf8(c.marked)), plain);
        EXPECT_EQ(StripMnemonics(EscapeMnemonics(plain)), plain);
    }
}
