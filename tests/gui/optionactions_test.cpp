// The Option panel in a real window: switching the action kind, storing the command (with the offer to
// create a missing screen) and the script, the command examples, the Notes command with its dialog, and
// assistant texts shown as plain text.
#include "editor/actionhelp.h"
#include "editor/noteform.h"
#include "editor/uitext.h"
#include "editorfixture.h"

#include <QAction>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <functional>
#include <optional>

namespace {

const std::string kArrow = "\u00bb";

class OptionActionsTest : public EditorFixture {
protected:
    void SetUp() override { Start(); }
    TAssistOption* OptionAt(int screen, int option) const { return ScreenAt(screen)->Options.Item(option); }
    OptionPanel& Panel() const { return *form->Option(); }

    // Moves the focus out of the box into another box of the same panel (which stores nothing).
    void Leave() { FocusByMouse(Panel().eOptionCaption()); }

    static QString Guidance(int index) {
        const std::string_view text = ActionHelpFor(index)->guidance;
        return ToDisplayText(QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size())));
    }

    static std::vector<std::string> Entries(const QComboBox* box) {
        std::vector<std::string> entries;
        for (int i = 0; i < box->count(); ++i)
            entries.push_back(box->itemText(i).toStdString());
        return entries;
    }

    // Runs the Notes command; `drive` runs once the note dialog is up and must close it. Returns whether
    // a dialog came up at all.
    bool RunNotes(const std::function<void(TNoteForm&)>& drive) {
        bool opened = false;
        // Timers of this call only: none may fire after it returned.
        QTimer driver;
        driver.setSingleShot(true);
        QObject::connect(&driver, &QTimer::timeout, [&] {
            if (auto* dialog = qobject_cast<TNoteForm*>(QApplication::activeModalWidget())) {
                opened = true;
                drive(*dialog);
            }
        });
        // A dialog that the driver failed to close would hang the test: this closes whatever is left.
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            if (auto* dialog = qobject_cast<TNoteForm*>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        driver.start(0);
        guard.start(3000);
        form->Actions().aNote->setEnabled(true); // the handler itself must check the current item
        form->Actions().aNote->trigger();
        QApplication::processEvents();
        return opened;
    }
};

} // namespace

TEST_F(OptionActionsTest, SwitchingTheActionChangesBoxesAtOnceAndStoresOnlyOnLeaving) {
    Fill({{"S1", {{"o1", akGoto, "S2"}}}, {"S2"}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    ClickTreeNode(option);
    EXPECT_TRUE(Panel().cbCommand()->isEnabled());
    EXPECT_FALSE(Panel().mOptionScript()->isEnabled());
    EXPECT_EQ(Panel().mHelp()->toPlainText(), Guidance(0));

    struct Case {
        TActionKind kind;
        bool command;
        bool script;
        std::string structureLast; // last node of the structure view once stored
    };
    const Case cases[] = {
        {akScript, false, true, " O o1 " + kArrow + " SCRIPT"},
        {akNote, false, false, "A A1 " + kArrow + " S S1"},
        {akInternet, true, false, " O o1 " + kArrow + " INTERNET S2"},
        {akGotoButton, true, false, " O o1 " + kArrow + " S S2"},
    };
    const QColor base = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor face = QApplication::palette().color(QPalette::Active, QPalette::Button);
    TActionKind stored = akGoto;
    for (const Case& c : cases) {
        SCOPED_TRACE(ActionEntries()[c.kind]);
        FocusByMouse(Panel().cbAction());
        const auto before = NodeTexts(StructureModel());
        Panel().cbAction()->setCurrentIndex(int(c.kind));

        // At once: boxes, colours and guidance; the model and the views wait for the focus to leave.
        EXPECT_EQ(Panel().cbCommand()->isEnabled(), c.command);
        EXPECT_EQ(Panel().mOptionScript()->isEnabled(), c.script);
        EXPECT_EQ(Panel().cbCommand()->palette().color(QPalette::Active, QPalette::Base),
                  c.command ? base : face);
        EXPECT_EQ(Panel().mOptionScript()->palette().color(QPalette::Active, QPalette::Base),
                  c.script ? base : face);
        EXPECT_EQ(Panel().mHelp()->toPlainText(), Guidance(int(c.kind)));
        EXPECT_EQ(Panel().cbCommand()->currentText(), QStringLiteral("S2"))
            << "a disabled box keeps its text";
        EXPECT_EQ(option->Action, stored);
        EXPECT_EQ(NodeTexts(StructureModel()), before);

        Leave();
        stored = c.kind;
        EXPECT_EQ(option->Action, c.kind);
        EXPECT_TRUE(Root().Changed);
        EXPECT_EQ(NodeTexts(StructureModel()).back(), c.structureLast);
    }

    // Leaving the drop-down without another selection stores nothing.
    Root().Changed = false;
    FocusByMouse(Panel().cbAction());
    Leave();
    EXPECT_FALSE(Root().Changed);
}

TEST_F(OptionActionsTest, TheScriptMemoStoresTrimmedLinesEveryTimeItIsLeft) {
    Fill({{"S1", {{"o1", akScript}}}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    struct Case {
        const char* name;
        const char* before; // the option's script when it becomes current
        const char* typed;  // nullptr: leave the memo untouched
        const char* stored;
    };
    const Case cases[] = {
        {"indentation and trailing empty lines go", "", "Sub Main\n    MsgBox 1\nEnd Sub\n\n",
         "Sub Main\rMsgBox 1\rEnd Sub"},
        {"blank lines between lines stay", "", "A\n\n  \nB  ", "A\r\r\rB"},
        {"trailing blanks at the very end go", "", "x = 1 \n \t\n   ", "x = 1"},
        {"only blanks store nothing", "old", "  \n\n ", ""},
        {"untouched memo stores the normalised script", "  Sub Main\r\r  End Sub\r\r", nullptr,
         "Sub Main\r\rEnd Sub"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(&Root());
        option->Script = c.before;
        ClickTreeNode(option);
        Root().Changed = false;
        Root().BuildDate = "19990101";
        FocusByMouse(Panel().mOptionScript());
        if (c.typed != nullptr)
            Panel().mOptionScript()->setPlainText(QString::fromUtf8(c.typed));
        Leave();
        EXPECT_EQ(option->Script, c.stored);
        EXPECT_TRUE(Root().Changed) << "the script memo always stores";
        EXPECT_NE(Root().BuildDate, "19990101");
    }

    // The very script the model holds, entered and left again, still counts as a change.
    Root().Changed = false;
    FocusByMouse(Panel().mOptionScript());
    Leave();
    EXPECT_TRUE(Root().Changed);
}

TEST_F(OptionActionsTest, ACommandNamingNoScreenOffersToCreateItForGoToOptionsOnly) {
    struct Case {
        const char* name;
        TActionKind kind;
        const char* typed;
        std::optional<Prompter::Answer> answer; // none: no prompt expected
        std::vector<std::string> screens;       // IDs afterwards
        bool changed;
        const char* optionNode; // what the structure shows after the option's arrow; none: no node
    };
    const Case cases[] = {
        {"other case finds S2", akGoto, "s2", std::nullopt, {"S1", "S2"}, true, "S S2"},
        {"Yes creates the screen", akGoto, "S9", Prompter::Answer::Yes, {"S1", "S2", "S9"}, true, "S S9"},
        {"button kind asks too", akGotoButton, "S8", Prompter::Answer::Yes, {"S1", "S2", "S8"}, true, "S S8"},
        {"No keeps the text", akGoto, "S9", Prompter::Answer::No, {"S1", "S2"}, true, nullptr},
        {"another assistant never asks", akAssistant, "S9", std::nullopt, {"S1", "S2"}, true, "GOTO S9"},
        {"empty command never asks", akGoto, "", std::nullopt, {"S1", "S2"}, true, nullptr},
        {"the same text stores nothing", akGoto, "S2", std::nullopt, {"S1", "S2"}, false, "S S2"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        ClickTreeNode(&Root()); // the option of the last case goes with Fill
        Fill({{"S1", {{"o1", c.kind, "S2"}}}, {"S2"}}, "S1");
        TAssistOption* option = OptionAt(0, 0);
        ClickTreeNode(option);
        if (c.answer)
            prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, *c.answer);
        FocusByMouse(Panel().cbCommand());
        Panel().cbCommand()->setEditText(QString::fromUtf8(c.typed));
        Leave();

        EXPECT_EQ(option->Command, c.typed);
        EXPECT_EQ(Root().Changed, c.changed);
        if (c.answer) {
            EXPECT_EQ(prompter.AskedPrompts().back().text,
                      std::string("Can't find screen ") + c.typed + ".\r\rCreate a new one?");
        }
        std::vector<std::string> ids;
        for (const TAssistScreen& screen : Root().Screens)
            ids.push_back(screen.ID);
        EXPECT_EQ(ids, c.screens);

        const bool created = c.screens.size() == 3;
        const auto tree = NodeTexts(TreeModel());
        EXPECT_EQ(tree.size(), created ? 5u : 4u) << "the tree shows a created screen";
        EXPECT_EQ(tree.back(), " " + c.screens.back());
        // The structure shows the link as the command now has it, never the old target.
        std::vector<std::string> structure = {"A A1 " + kArrow + " S S1"};
        if (c.optionNode != nullptr)
            structure.push_back(" O o1 " + kArrow + " " + c.optionNode);
        EXPECT_EQ(NodeTexts(StructureModel()), structure);
        if (created) {
            EXPECT_EQ(form->CurrentItem(), option) << "the option stays current";
        }
        EXPECT_EQ(prompter.Pending(), 0u);
    }
}

TEST_F(OptionActionsTest, EnterInTheCommandBoxStoresAndAsksWhileTheFocusStays) {
    Fill({{"S1", {{"o1", akGoto, "S1"}}}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    ClickTreeNode(option);
    FocusByMouse(Panel().cbCommand());
    Panel().cbCommand()->setEditText(QStringLiteral("S5"));
    prompter.ExpectMessage(Prompter::MessageKind::ConfirmYesNo, Prompter::Answer::Yes);
    QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
    QApplication::sendEvent(QApplication::focusWidget(), &enter);
    EXPECT_EQ(option->Command, "S5");
    EXPECT_EQ(Root().Screens.Count(), 2);
    EXPECT_TRUE(Panel().cbCommand()->hasFocus());

    // Leaving afterwards finds nothing new to store and asks nothing more.
    Root().Changed = false;
    Leave();
    EXPECT_FALSE(Root().Changed);
}

TEST_F(OptionActionsTest, DroppingDownTheCommandListOffersTheExamplesOfTheChosenKind) {
    Fill({{"S1", {{"o1", akGoto, "typed"}}}, {"S2"}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    ClickTreeNode(option);
    DropDownComboBox* command = Panel().cbCommand();
    for (int kind = 0; kind < ActionKindCount; ++kind) {
        SCOPED_TRACE(ActionEntries()[kind]);
        Panel().cbAction()->setCurrentIndex(kind);
        command->setEnabled(true); // the kinds without a command disable the box; the list is still defined
        command->showPopup();
        command->hidePopup();
        const std::vector<std::string> entries = Entries(command);
        if (kind <= int(akGotoButton)) {
            EXPECT_EQ(entries, (std::vector<std::string>{"S1", "S2"}));
        } else {
            EXPECT_EQ(entries, CommandExamples(kind, {}));
        }
        if (kind == int(akScript) || kind == int(akNote)) {
            EXPECT_TRUE(entries.empty());
        }
        EXPECT_EQ(command->currentText(), QStringLiteral("typed")) << "the typed text stays";
    }

    // The screen IDs are read again every time the list drops down.
    Panel().cbAction()->setCurrentIndex(int(akGoto));
    ScreenAt(1)->ID = "Renamed";
    TAssistScreen::Create(Root())->ID = "S3";
    command->showPopup();
    command->hidePopup();
    EXPECT_EQ(Entries(command), (std::vector<std::string>{"S1", "Renamed", "S3"}));

    // The first-screen box lists the screens too.
    ClickTreeNode(&Root());
    form->General()->cbInitScreen()->showPopup();
    form->General()->cbInitScreen()->hidePopup();
    EXPECT_EQ(Entries(form->General()->cbInitScreen()), (std::vector<std::string>{"S1", "Renamed", "S3"}));
    EXPECT_EQ(option->Command, "typed");
}

TEST_F(OptionActionsTest, NotesCommandEditsTheOptionsNotesAndRefreshesThePanelList) {
    Fill({{"S1", {{"o1", akNote}}}}, "S1");
    TAssistOption* option = OptionAt(0, 0);
    TNote* kept = option->Notes.Add();
    kept->Name = "Gloves";
    kept->Type = "Safety";
    kept->ID = "N1";

    // Not for the assistant or a screen.
    for (TAssistBase* item : std::initializer_list<TAssistBase*>{&Root(), ScreenAt(0)}) {
        ClickTreeNode(item);
        EXPECT_FALSE(RunNotes([](TNoteForm& dialog) { dialog.reject(); }));
    }
    EXPECT_FALSE(Root().Changed);
    EXPECT_EQ(settings->ReadValue("Window.TNoteForm", ""), "");

    ClickTreeNode(option);
    ASSERT_EQ(Panel().lbOptionNotes()->count(), 1);
    const bool opened = RunNotes([](TNoteForm& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("Note editor"));
        EXPECT_EQ(dialog.lbList()->count(), 1);
        dialog.eName()->setText(QStringLiteral("Waste"));
        dialog.cbType()->setEditText(QStringLiteral("Waste Handling"));
        dialog.mText()->setPlainText(QStringLiteral("Bag it.\nLabel it."));
        dialog.eID()->setText(QStringLiteral("N2"));
        dialog.bAdd()->click();
        dialog.resize(500, 333);
        dialog.bClose()->click();
    });
    EXPECT_TRUE(opened);
    ASSERT_EQ(option->Notes.Count(), 2);
    EXPECT_EQ(option->Notes.Item(1)->Text, "Bag it.\r\nLabel it.");
    EXPECT_TRUE(Root().Changed);
    ASSERT_EQ(Panel().lbOptionNotes()->count(), 2);
    EXPECT_EQ(Panel().lbOptionNotes()->item(1)->text(), QStringLiteral("Waste\tN2\tWaste Handling"));

    const std::string placement = settings->ReadValue("Window.TNoteForm", "");
    EXPECT_NE(placement.find(",500,333,"), std::string::npos) << placement;

    // The next dialog comes back at the stored size.
    QSize restored;
    EXPECT_TRUE(RunNotes([&](TNoteForm& dialog) {
        restored = dialog.size();
        dialog.bClose()->click();
    }));
    EXPECT_EQ(restored, QSize(500, 333));
}

TEST_F(OptionActionsTest, AssistantTextsWithMarkupAreShownAsTheyAre) {
    const std::string markup = "<b>o1</b>&amp;<br>";
    Fill({{"<i>S1</i>", {{markup, akExec, "<a href=\"x\">run</a>"}}}}, "<i>S1</i>");
    TAssistOption* option = OptionAt(0, 0);
    TNote* note = option->Notes.Add();
    note->Name = "<u>n</u>";
    note->Type = "<font color=red>t</font>";
    note->ID = "&lt;";
    note->Text = "<h1>big</h1>";
    form->RebuildTree();
    ClickTreeNode(option);

    EXPECT_EQ(NodeTexts(TreeModel()), (std::vector<std::string>{"A1", " <i>S1</i>", "  " + markup}));
    EXPECT_EQ(NodeTexts(StructureModel()).back(),
              " O " + markup + " " + kArrow + " EXEC <a href=\"x\">run</a>");
    EXPECT_EQ(Panel().cbCommand()->currentText().toStdString(), "<a href=\"x\">run</a>");
    EXPECT_EQ(Panel().eOptionID()->text().toStdString(), markup);
    EXPECT_EQ(Panel().lbOptionNotes()->item(0)->text().toStdString(),
              "<u>n</u>\t&lt;\t<font color=red>t</font>");
    // Every label of the panels is plain text, so a text put there later cannot turn into markup.
    for (const QLabel* label : form->findChildren<QLabel*>())
        EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();

    EXPECT_TRUE(RunNotes([](TNoteForm& dialog) {
        EXPECT_EQ(dialog.lbList()->item(0)->text().toStdString(),
                  "<u>n</u>\t&lt;\t<font color=red>t</font>\t<h1>big</h1>");
        dialog.lbList()->setCurrentRow(0);
        EXPECT_EQ(dialog.mText()->toPlainText().toStdString(), "<h1>big</h1>");
        EXPECT_EQ(dialog.cbType()->currentText().toStdString(), "<font color=red>t</font>");
        for (const QLabel* label : dialog.findChildren<QLabel*>())
            EXPECT_EQ(label->textFormat(), Qt::PlainText) << label->text().toStdString();
        dialog.bClose()->click();
    }));
    EXPECT_FALSE(Root().Changed);
}
