// The note editor: enabling of its buttons and what Add, Replace, Delete and Clear do to the note list.
#include "editor/noteform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

TEST(NoteButtonsFor, AddNeedsNameTypeAndIdDeleteNeedsASelectionReplaceNeedsBoth) {
    struct Case {
        const char* name;
        const char* type;
        const char* id;
        bool selected;
        bool add, replace, del;
    };
    const Case cases[] = {
        {"", "", "", false, false, false, false},
        {"Name", "Safety", "N1", false, true, false, false},
        {"Name", "Safety", "N1", true, true, true, true},
        {"", "Safety", "N1", true, false, false, true},
        {"Name", "", "N1", false, false, false, false},
        {"Name", "Safety", "", false, false, false, false},
        {"   ", "Safety", "N1", false, false, false, false},
        {"\t\r\n", "Safety", "N1", true, false, false, true},
        {" Name", "Safety", "N1", false, true, false, false},
        {"Name", " ", "N1", false, false, false, false},
        {"Name", "Own type", "\x01N1\x1f", false, true, false, false},
        {"\xc3\xa9", "Safety", "N1", false, true, false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name) + "/" + c.type + "/" + c.id + (c.selected ? "/selected" : ""));
        const NoteButtonStates states = NoteButtonsFor(c.name, c.type, c.id, c.selected);
        EXPECT_EQ(states.add, c.add);
        EXPECT_EQ(states.replace, c.replace);
        EXPECT_EQ(states.del, c.del);
    }
}

TEST(NoteListLine, NameIdTypeAndWholeTextSeparatedByTabs) {
    EXPECT_EQ(NoteListLine({"Gloves", "Safety", "Wear gloves.\r\nAlways.", "N1"}),
              "Gloves\tN1\tSafety\tWear gloves.\r\nAlways.");
    EXPECT_EQ(NoteListLine({}), "\t\t\t");
}

namespace {

class NoteFormTest : public ::testing::Test {
protected:
    std::vector<NoteValues> notes = {
        {"Gloves", "Safety", "Wear gloves.\r\nAlways.", "N1"},
        {"Waste", "Waste Handling", "", "N2"},
        {"Scale", "Scalability", "Up to 10 kg.", "N3"},
    };
    int changes = 0;
    TNoteForm form{notes, [this] { ++changes; }};

    void Enter(const char* name, const char* type, const char* text, const char* id) {
        form.eName()->setText(QString::fromUtf8(name));
        form.cbType()->setEditText(QString::fromUtf8(type));
        form.mText()->setPlainText(QString::fromUtf8(text));
        form.eID()->setText(QString::fromUtf8(id));
    }
    void Select(int row) { form.lbList()->setCurrentRow(row); }
    std::vector<std::string> Lines() const {
        std::vector<std::string> lines;
        for (int i = 0; i < form.lbList()->count(); ++i)
            lines.push_back(form.lbList()->item(i)->text().toStdString());
        return lines;
    }
    void ExpectButtons(bool add, bool replace, bool del) {
        EXPECT_EQ(form.bAdd()->isEnabled(), add);
        EXPECT_EQ(form.bReplace()->isEnabled(), replace);
        EXPECT_EQ(form.bDelete()->isEnabled(), del);
        EXPECT_TRUE(form.bClear()->isEnabled());
        EXPECT_TRUE(form.bClose()->isEnabled());
    }
};

} // namespace

TEST_F(NoteFormTest, DialogHasItsCaptionTypesAndMinimumSize) {
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Note editor"));
    EXPECT_TRUE(form.isModal());
    EXPECT_EQ(form.minimumSize(), QSize(464, 300));
    const QStringList types = {"Miscellaneous",
                               "Safety",
                               "Material Incompatibility",
                               "Materials Recovery",
                               "Toxicity",
                               "Hazards Evaluation",
                               "Environmental/Regulations",
                               "Waste Handling",
                               "Scalability",
                               "Operability"};
    ASSERT_EQ(form.cbType()->count(), types.size());
    for (int i = 0; i < types.size(); ++i)
        EXPECT_EQ(form.cbType()->itemText(i), types[i]);
    EXPECT_EQ(form.cbType()->currentText(), QStringLiteral("Miscellaneous"));
    EXPECT_TRUE(form.cbType()->isEditable());
    const char* names[] = {"eName", "cbType",   "mText",   "eID",    "lbList",
                           "bAdd",  "bReplace", "bDelete", "bClear", "bClose"};
    for (const char* name : names)
        EXPECT_NE(form.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(form.bAdd()->text(), QStringLiteral("&Add"));
    EXPECT_EQ(form.bReplace()->text(), QStringLiteral("&Replace"));
    EXPECT_EQ(form.bDelete()->text(), QStringLiteral("&Delete"));
    EXPECT_EQ(form.bClear()->text(), QStringLiteral("C&lear"));
    EXPECT_EQ(form.bClose()->text(), QStringLiteral("&Close"));
}

TEST_F(NoteFormTest, ShowingListsTheNotesWithNothingSelected) {
    form.show();
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Gloves\tN1\tSafety\tWear gloves.\r\nAlways.",
                                                 "Waste\tN2\tWaste Handling\t",
                                                 "Scale\tN3\tScalability\tUp to 10 kg."}));
    ExpectButtons(false, false, false);
    EXPECT_EQ(changes, 0);
}

TEST_F(NoteFormTest, AnOptionWithoutNotesOpensEmptyWithAddReplaceDeleteDisabled) {
    std::vector<NoteValues> none;
    TNoteForm empty(none, [] {});
    empty.show();
    EXPECT_EQ(empty.lbList()->count(), 0);
    EXPECT_FALSE(empty.bAdd()->isEnabled());
    EXPECT_FALSE(empty.bReplace()->isEnabled());
    EXPECT_FALSE(empty.bDelete()->isEnabled());
    EXPECT_TRUE(empty.bClear()->isEnabled());
    EXPECT_TRUE(empty.bClose()->isEnabled());
}

TEST_F(NoteFormTest, SelectingALineCopiesTheNoteIntoTheBoxes) {
    form.show();
    Select(0);
    EXPECT_EQ(form.eName()->text(), QStringLiteral("Gloves"));
    EXPECT_EQ(form.cbType()->currentText(), QStringLiteral("Safety"));
    EXPECT_EQ(form.mText()->toPlainText(), QStringLiteral("Wear gloves.\nAlways."));
    EXPECT_EQ(form.eID()->text(), QStringLiteral("N1"));
    ExpectButtons(true, true, true);

    // Changing only the text keeps Replace enabled, and Replace stores the new text with CR LF breaks.
    form.mText()->setPlainText(QStringLiteral("Wear gloves.\nAnd goggles."));
    ExpectButtons(true, true, true);
    form.bReplace()->click();
    EXPECT_EQ(notes[0].Text, "Wear gloves.\r\nAnd goggles.");
    EXPECT_EQ(Lines()[0], "Gloves\tN1\tSafety\tWear gloves.\r\nAnd goggles.");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(notes.size(), 3u);
}

TEST_F(NoteFormTest, NameTypeAndIdChangesUpdateTheButtonsButTextChangesDoNot) {
    form.show();
    Enter("", "Safety", "", "N9");
    ExpectButtons(false, false, false);
    form.eName()->setText(QStringLiteral("   "));
    ExpectButtons(false, false, false);
    form.eName()->setText(QStringLiteral(" Name"));
    ExpectButtons(true, false, false);
    form.cbType()->setEditText(QString());
    ExpectButtons(false, false, false);
    form.cbType()->setEditText(QStringLiteral("My own type"));
    ExpectButtons(true, false, false);
    form.eID()->setText(QString());
    ExpectButtons(false, false, false);
}

TEST_F(NoteFormTest, AddAppendsTheBoxesExactlyAndKeepsSelectionAndBoxes) {
    form.show();
    Select(1);
    Enter(" Name ", "My own type", "Line 1\nLine 2\n", " N4");
    form.bAdd()->click();
    ASSERT_EQ(notes.size(), 4u);
    EXPECT_EQ(notes[3].Name, " Name ");
    EXPECT_EQ(notes[3].Type, "My own type");
    EXPECT_EQ(notes[3].Text, "Line 1\r\nLine 2\r\n");
    EXPECT_EQ(notes[3].ID, " N4");
    EXPECT_EQ(Lines().back(), " Name \t N4\tMy own type\tLine 1\r\nLine 2\r\n");
    EXPECT_EQ(form.SelectedIndex(), 1) << "the selection stays";
    EXPECT_EQ(form.eName()->text(), QStringLiteral(" Name "));
    EXPECT_EQ(changes, 1);

    form.bAdd()->click();
    ASSERT_EQ(notes.size(), 5u) << "Add twice adds two equal notes";
    EXPECT_EQ(notes[4].ID, notes[3].ID);
    EXPECT_EQ(changes, 2);
}

TEST_F(NoteFormTest, DeleteRemovesTheNoteAndLeavesNothingSelected) {
    form.show();
    Select(1);
    form.bDelete()->click();
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[1].ID, "N3") << "the next note takes the deleted note's place";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Gloves\tN1\tSafety\tWear gloves.\r\nAlways.",
                                                 "Scale\tN3\tScalability\tUp to 10 kg."}));
    EXPECT_EQ(form.SelectedIndex(), -1);
    ExpectButtons(true, false, false);
    EXPECT_EQ(form.eName()->text(), QStringLiteral("Waste")) << "the boxes keep the deleted note's values";
    EXPECT_EQ(changes, 1);

    form.bAdd()->click(); // puts it back at the end
    ASSERT_EQ(notes.size(), 3u);
    EXPECT_EQ(notes[2].Name, "Waste");
    EXPECT_EQ(notes[2].Type, "Waste Handling");
    EXPECT_EQ(changes, 2);
}

TEST_F(NoteFormTest, ClearEmptiesTheBoxesAndKeepsTheSelection) {
    form.show();
    Select(2);
    form.bClearClick();
    EXPECT_EQ(form.eName()->text(), QString());
    EXPECT_EQ(form.cbType()->currentText(), QStringLiteral("Miscellaneous"));
    EXPECT_EQ(form.mText()->toPlainText(), QString());
    EXPECT_EQ(form.eID()->text(), QString());
    EXPECT_EQ(form.SelectedIndex(), 2);
    ExpectButtons(false, false, true);
    Enter("Again", "Safety", "", "N3");
    ExpectButtons(true, true, true);
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(notes.size(), 3u);
}

TEST_F(NoteFormTest, CloseOnlyCloses) {
    form.show();
    Select(0);
    form.bClose()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(notes.size(), 3u);
}
