// The note editor: enabling of its buttons and what Add, Replace, Delete and Clear do to the note list.
#include "editor/documentedits.h"
#include "editor/noteform.h"
#include "model/assistroot.h"
#include "tempsettings.h"

#include <QComboBox>
#include <QDate>
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
    TNote note;
    note.Name = "Gloves";
    note.Type = "Safety";
    note.Text = "Wear gloves.\r\nAlways.";
    note.ID = "N1";
    EXPECT_EQ(NoteListLine(note), "Gloves\tN1\tSafety\tWear gloves.\r\nAlways.");
    EXPECT_EQ(NoteListLine(TNote{}), "\t\t\t");
}

namespace {

TNote MakeNote(const char* name, const char* type, const char* text, const char* id) {
    TNote note;
    note.Name = name;
    note.Type = type;
    note.Text = text;
    note.ID = id;
    return note;
}

// The dialog on one option of an otherwise empty assistant; every change it makes goes through the edit
// layer and is counted here.
class NoteFormTest : public ::testing::Test {
protected:
    TAssistRoot root{"{00000000-0000-0000-0000-000000000001} ann"};
    TAssistOption* option = MakeOption(root, {MakeNote("Gloves", "Safety", "Wear gloves.\r\nAlways.", "N1"),
                                              MakeNote("Waste", "Waste Handling", "", "N2"),
                                              MakeNote("Scale", "Scalability", "Up to 10 kg.", "N3")});
    TDocumentEdits edits{root};
    int changes = RecordEdits();
    TNoteForm form{*option, edits, nullptr};

    static TAssistOption* MakeOption(TAssistRoot& assistant, const std::vector<TNote>& notes) {
        TAssistScreen* screen = TAssistScreen::Create(assistant);
        TAssistOption* created = TAssistOption::Create(*screen);
        for (const TNote& note : notes)
            *created->Notes.Add() = note;
        assistant.Changed = false;
        assistant.BuildDate = "19990101";
        return created;
    }
    int RecordEdits() {
        QObject::connect(&edits, &TDocumentEdits::DocumentChanged, [this] { ++changes; });
        return 0;
    }
    const TNote& NoteAt(int index) const { return *option->Notes.Item(index); }

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
    TAssistOption* bare = MakeOption(root, {});
    TNoteForm empty(*bare, edits, nullptr);
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
    EXPECT_EQ(NoteAt(0).Text, "Wear gloves.\r\nAnd goggles.");
    EXPECT_EQ(Lines()[0], "Gloves\tN1\tSafety\tWear gloves.\r\nAnd goggles.");
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(option->Notes.Count(), 3);
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
    ASSERT_EQ(option->Notes.Count(), 4);
    EXPECT_EQ(NoteAt(3).Name, " Name ");
    EXPECT_EQ(NoteAt(3).Type, "My own type");
    EXPECT_EQ(NoteAt(3).Text, "Line 1\r\nLine 2\r\n");
    EXPECT_EQ(NoteAt(3).ID, " N4");
    EXPECT_EQ(Lines().back(), " Name \t N4\tMy own type\tLine 1\r\nLine 2\r\n");
    EXPECT_EQ(form.SelectedIndex(), 1) << "the selection stays";
    EXPECT_EQ(form.eName()->text(), QStringLiteral(" Name "));
    EXPECT_EQ(changes, 1);

    form.bAdd()->click();
    ASSERT_EQ(option->Notes.Count(), 5) << "Add twice adds two equal notes";
    EXPECT_EQ(NoteAt(4).ID, NoteAt(3).ID);
    EXPECT_EQ(changes, 2);
}

TEST_F(NoteFormTest, DeleteRemovesTheNoteAndLeavesNothingSelected) {
    form.show();
    Select(1);
    form.bDelete()->click();
    ASSERT_EQ(option->Notes.Count(), 2);
    EXPECT_EQ(NoteAt(1).ID, "N3") << "the next note takes the deleted note's place";
    EXPECT_EQ(Lines(), (std::vector<std::string>{"Gloves\tN1\tSafety\tWear gloves.\r\nAlways.",
                                                 "Scale\tN3\tScalability\tUp to 10 kg."}));
    EXPECT_EQ(form.SelectedIndex(), -1);
    ExpectButtons(true, false, false);
    EXPECT_EQ(form.eName()->text(), QStringLiteral("Waste")) << "the boxes keep the deleted note's values";
    EXPECT_EQ(changes, 1);

    form.bAdd()->click(); // puts it back at the end
    ASSERT_EQ(option->Notes.Count(), 3);
    EXPECT_EQ(NoteAt(2).Name, "Waste");
    EXPECT_EQ(NoteAt(2).Type, "Waste Handling");
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
    EXPECT_EQ(option->Notes.Count(), 3);
}

TEST_F(NoteFormTest, CloseOnlyCloses) {
    form.show();
    Select(0);
    form.bClose()->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(changes, 0);
    EXPECT_EQ(option->Notes.Count(), 3);
    EXPECT_FALSE(root.Changed);
    EXPECT_EQ(root.BuildDate, "19990101");
}

TEST_F(NoteFormTest, AddThenDeleteLeavesTheAssistantChangedWithTodaysBuildDate) {
    form.show();
    Enter("Temp", "Safety", "", "N9");
    form.bAdd()->click();
    Select(3);
    form.bDelete()->click();
    EXPECT_EQ(option->Notes.Count(), 3);
    EXPECT_TRUE(root.Changed);
    EXPECT_EQ(root.BuildDate, QDate::currentDate().toString(QStringLiteral("yyyyMMdd")).toStdString());
    EXPECT_EQ(changes, 2);
}

TEST_F(NoteFormTest, NoteTextWithAnyKindOfLineBreakShowsItsLines) {
    struct Case {
        const char* stored;
        const char* shown;
    };
    // A file read back may give LF alone; CR LF is what the memo writes; a lone CR is an old break.
    const Case cases[] = {
        {"One\nTwo\nThree", "One\nTwo\nThree"},
        {"One\r\nTwo", "One\nTwo"},
        {"One\rTwo\r\n", "One\nTwo\n"},
        {"<b>bold</b> &amp;", "<b>bold</b> &amp;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored);
        option->Notes.Item(1)->Text = c.stored;
        TNoteForm dialog(*option, edits, nullptr);
        dialog.show();
        dialog.lbList()->setCurrentRow(1);
        EXPECT_EQ(dialog.mText()->toPlainText(), QString::fromUtf8(c.shown));
        // Replacing without touching the memo writes CR LF breaks.
        dialog.bReplace()->click();
        QString expected = QString::fromUtf8(c.shown);
        expected.replace(u'\n', QStringLiteral("\r\n"));
        EXPECT_EQ(NoteAt(1).Text, expected.toStdString());
    }
}

TEST(NoteFormPlacement, KeptUnderTheDialogsClassNameAndRestoredNextTime) {
    TempSettings temp;
    std::unique_ptr<TRegWrap> settings = temp.Make();
    TAssistRoot root{"{00000000-0000-0000-0000-000000000001} ann"};
    TAssistOption* option = TAssistOption::Create(*TAssistScreen::Create(root));
    TDocumentEdits edits{root};
    QSize size;
    {
        TNoteForm form(*option, edits, settings.get());
        form.show();
        form.resize(form.width() + 37, form.height() + 23);
        size = form.size();
        form.bClose()->click();
        form.SaveFormPlacement();
    }
    const std::string stored = settings->ReadValue("Window.TNoteForm", "");
    EXPECT_NE(stored, "");
    EXPECT_NE(stored.find(std::to_string(size.width()) + "," + std::to_string(size.height())),
              std::string::npos)
        << stored;

    TNoteForm again(*option, edits, settings.get());
    EXPECT_EQ(again.size(), size);

    // Without an explicit save the destructor stores the placement.
    settings->WriteValue("Window.TNoteForm", "");
    { TNoteForm form(*option, edits, settings.get()); }
    EXPECT_NE(settings->ReadValue("Window.TNoteForm", ""), "");
}
