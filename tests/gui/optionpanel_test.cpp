// The Option panel's action controls: entries, guidance, enabled boxes and their colours, command examples.
#include "editor/actionhelp.h"
#include "editor/dropdowncombobox.h"
#include "editor/optionpanel.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <gtest/gtest.h>

namespace {

const char* const GuidanceA =
    "Select an existing screen from the drop-down list, or enter a new screen and confirm "
    "to create it when prompted.";
const char* const GuidanceB =
    "Enter an assistant file, relative to the calling assistant file. {$} FindFile codes can be used if "
    "required."
    "\r\nOptionally, add an initial screen following the file, with a comma.\r\nFor example:\r\n"
    "    {$EXE}\\Second.amf\r\n    Second.amf,Screen34";
const char* const GuidanceC = "Enter a brakko tool, optionally with command-line parameters.\r\nThis is now "
                              "obsolete, and should not be used.";
const char* const GuidanceD = "Enter a Manulex access command. This can be a simple section code reference, "
                              "or have an action prefix. For "
                              "example:\r\n    CR_1\r\n    text,CR_1_1_1.2\r\n    structure,CR_1_1_1.2\r\n   "
                              " search,\"CR_1,CR_2\",\"crystal "
                              "shape\"";
const char* const GuidanceEStart = "Enter web address, for example:\r\n    ";
const char* const GuidanceF = "Enter VB script code in sub main...end sub.";
const char* const GuidanceG =
    "This option adds the notes configured to the calling application.\r\nThis is only "
    "relevant to applications support the INote interface.";
const char* const GuidanceH =
    "Execute program or file, with command-line parameters separated by spaces and quoted as normal. "
    "Parameters can "
    "have {$} FindFile prefixes, in which case they will be replaced by the appropriate full path. For "
    "example:\r\n    NotePad.exe {$EXE}\\MyLogFile.log";

} // namespace

TEST(ActionEntries, NineEntriesInActionKindOrder) {
    const std::vector<std::string> expected = {"Go to another screen",
                                               "Button to another screen",
                                               "Go to another assistant",
                                               "Run a Brakko tool",
                                               "Browse a document",
                                               "Go to a web page",
                                               "Run script",
                                               "Note only",
                                               "Execute program/file"};
    ASSERT_EQ(ActionEntries().size(), expected.size());
    OptionPanel panel;
    ASSERT_EQ(panel.cbAction()->count(), 9);
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(std::string(ActionEntries()[i]), expected[i]);
        EXPECT_EQ(panel.cbAction()->itemText(int(i)).toStdString(), expected[i]);
    }
    EXPECT_FALSE(panel.cbAction()->isEditable());
    EXPECT_TRUE(panel.cbCommand()->isEditable());
}

TEST(ActionHelp, EnabledBoxesAndGuidanceFollowTheActionKind) {
    struct Case {
        int index;
        bool script;
        bool command;
        const char* guidance; // exact, or the start for the web address text
        bool exact;
    };
    const Case cases[] = {
        {0, false, true, GuidanceA, true}, {1, false, true, GuidanceA, true},
        {2, false, true, GuidanceB, true}, {3, false, true, GuidanceC, true},
        {4, false, true, GuidanceD, true}, {5, false, true, GuidanceEStart, false},
        {6, true, false, GuidanceF, true}, {7, false, false, GuidanceG, true},
        {8, false, true, GuidanceH, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        const std::optional<ActionHelpState> state = ActionHelpFor(c.index);
        ASSERT_TRUE(state.has_value());
        EXPECT_EQ(state->scriptEnabled, c.script);
        EXPECT_EQ(state->commandEnabled, c.command);
        if (c.exact) {
            EXPECT_EQ(state->guidance, c.guidance);
        } else {
            EXPECT_TRUE(state->guidance.starts_with(c.guidance)) << state->guidance;
            EXPECT_GT(state->guidance.size(), std::string_view(c.guidance).size())
                << "an example address follows";
        }
    }
    for (const int none : {-1, 9, 100})
        EXPECT_FALSE(ActionHelpFor(none).has_value()) << none;
}

TEST(OptionPanel, SelectingAnActionSetsBoxesColoursAndGuidanceAtOnce) {
    OptionPanel panel;
    const QColor window = QApplication::palette().color(QPalette::Active, QPalette::Base);
    const QColor buttonFace = QApplication::palette().color(QPalette::Active, QPalette::Button);
    panel.cbCommand()->setEditText(QStringLiteral("S2"));
    panel.mOptionScript()->setPlainText(QStringLiteral("Sub Main\nEnd Sub"));

    for (int index = 0; index < 9; ++index) {
        SCOPED_TRACE(index);
        panel.cbAction()->setCurrentIndex(index);
        const ActionHelpState state = *ActionHelpFor(index);
        EXPECT_EQ(panel.mOptionScript()->isEnabled(), state.scriptEnabled);
        EXPECT_EQ(panel.cbCommand()->isEnabled(), state.commandEnabled);
        EXPECT_EQ(panel.mOptionScript()->palette().color(QPalette::Base),
                  state.scriptEnabled ? window : buttonFace);
        EXPECT_EQ(panel.cbCommand()->palette().color(QPalette::Base),
                  state.commandEnabled ? window : buttonFace);
        QString shown = QString::fromUtf8(state.guidance.data(), qsizetype(state.guidance.size()));
        shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        EXPECT_EQ(panel.mHelp()->toPlainText(), shown);
        EXPECT_EQ(panel.cbCommand()->currentText(), QStringLiteral("S2")) << "a disabled box keeps its text";
        EXPECT_EQ(panel.mOptionScript()->toPlainText(), QStringLiteral("Sub Main\nEnd Sub"));
    }

    // With no entry selected nothing changes.
    panel.cbAction()->setCurrentIndex(7);
    panel.cbAction()->setCurrentIndex(-1);
    panel.UpdateActionHelp();
    EXPECT_FALSE(panel.cbCommand()->isEnabled());
    EXPECT_FALSE(panel.mOptionScript()->isEnabled());
    EXPECT_TRUE(panel.mHelp()->toPlainText().startsWith(QStringLiteral("This option adds the notes")));
}

TEST(CommandExamples, EachActionKindOffersItsExamples) {
    const std::vector<std::string> screens = {"S1", "Intro", "S1"};
    struct Case {
        int index;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {0, screens},
        {1, screens},
        {2, {"<assistantFile>", "<assistantFile>,<initialScreen>"}},
        {4,
         {"<code>", "text,<code>", "structure,<code>", "topic,<code>",
          "search,\"<code1>,<code2>...\",\"<searchTerms>\"", "home", "login", "support"}},
        {6, {}},
        {7, {}},
        {8, {"<program>", "<program> <param1> <param2>..."}},
        {-1, {}},
        {9, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        EXPECT_EQ(CommandExamples(c.index, screens), c.expected);
    }
    EXPECT_EQ(CommandExamples(3, screens).size(), 3u);
    EXPECT_EQ(CommandExamples(5, screens).size(), 2u);
    EXPECT_TRUE(CommandExamples(0, {}).empty());
}

TEST(CommandExamples, FillingAListReplacesItsEntriesAndKeepsTheTypedText) {
    DropDownComboBox box;
    box.setEditable(true);
    box.addItems({"old1", "old2", "old3", "old4"});
    box.setEditText(QStringLiteral("typed"));
    OptionPanel::FillCommandExamples(&box, 8, {});
    ASSERT_EQ(box.count(), 2);
    EXPECT_EQ(box.itemText(0), QStringLiteral("<program>"));
    EXPECT_EQ(box.currentText(), QStringLiteral("typed"));
    OptionPanel::FillCommandExamples(&box, 7, {});
    EXPECT_EQ(box.count(), 0);
}

TEST(OptionPanel, BoxesHaveTheirNamesKindsAndHints) {
    OptionPanel panel;
    EXPECT_EQ(panel.objectName(), QStringLiteral("Option"));
    EXPECT_EQ(panel.windowTitle(), QStringLiteral("Option"));
    struct Case {
        QWidget* box;
        const char* name;
        const char* toolTip;
        const char* statusTip;
    };
    const Case cases[] = {
        {panel.eOptionID(), "eOptionID", "Option ID", "Unique ID string for the option."},
        {panel.eOptionCaption(), "eOptionCaption", "Option title",
         "Title for option, appearing to left of button."},
        {panel.mOptionExp(), "mOptionExp", "Description of option",
         "Description of the option, appearing under button and title. Can be left blank."},
        {panel.cbAction(), "cbAction", "Action on selection",
         "Action to take when option is selected by user."},
        {panel.cbCommand(), "cbCommand", "Option command",
         "Command related to the option. See the drop down for examples."},
        {panel.mOptionScript(), "mOptionScript", "VB Script to run",
         "VB script code to execute when action is run script. Must include Sub Main...End Sub."},
        {panel.lbOptionNotes(), "lbOptionNotes", "List of notes to enter for this option.",
         "List of notes to enter for this option."},
        {panel.bEditNotes(), "bEditNotes", "Click to edit associated notes.",
         "Click to edit associated notes."},
        {panel.mHelp(), "mHelp", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(c.box->objectName(), QString::fromLatin1(c.name));
        EXPECT_EQ(c.box->toolTip(), QString::fromUtf8(c.toolTip));
        EXPECT_EQ(c.box->statusTip(), QString::fromUtf8(c.statusTip));
    }
    EXPECT_EQ(panel.mOptionScript()->lineWrapMode(), QPlainTextEdit::NoWrap);
    EXPECT_EQ(panel.mOptionScript()->horizontalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_EQ(panel.mOptionScript()->verticalScrollBarPolicy(), Qt::ScrollBarAlwaysOn);
    EXPECT_TRUE(panel.mHelp()->isReadOnly());
    EXPECT_EQ(panel.mHelp()->palette().color(QPalette::Base),
              QApplication::palette().color(QPalette::ToolTipBase));
    EXPECT_EQ(panel.bEditNotes()->text(), QStringLiteral("&Notes"));
}
