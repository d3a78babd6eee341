#include "editor/optionpanel.h"

#include "editor/documentedits.h"
#include "editor/dropdowncombobox.h"
#include "editor/exithandlers.h"
#include "editor/idcaptiondelegate.h"
#include "editor/panelwidgets.h"
#include "editor/prompter.h"
#include "editor/tabstopdelegate.h"
#include "editor/uitext.h"
#include "model/assistroot.h"

#include <QApplication>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextOption>
#include <QVBoxLayout>

namespace {

// Enabled boxes get the normal window colour, disabled ones the button-face colour.
void SetBoxColour(QWidget* box, bool enabled) {
    const QPalette appPalette = QApplication::palette();
    QPalette palette = box->palette();
    palette.setColor(QPalette::Base,
                     appPalette.color(QPalette::Active, enabled ? QPalette::Base : QPalette::Button));
    box->setPalette(palette);
}

} // namespace

OptionPanel::OptionPanel(QWidget* parent) : ItemPanel(parent) {
    setObjectName(QStringLiteral("Option"));
    setWindowTitle(QStringLiteral("Option"));

    m_eOptionID = MakeEdit(QStringLiteral("eOptionID"), this);
    m_eOptionCaption = MakeEdit(QStringLiteral("eOptionCaption"), this);
    m_mOptionExp = MakeMemo(QStringLiteral("mOptionExp"), this);

    m_cbAction = new QComboBox(this);
    m_cbAction->setObjectName(QStringLiteral("cbAction"));
    m_cbAction->setEditable(false);
    for (const std::string_view entry : ActionEntries())
        m_cbAction->addItem(QString::fromUtf8(entry.data(), static_cast<qsizetype>(entry.size())));

    m_cbCommand = new DropDownComboBox(this);
    m_cbCommand->setObjectName(QStringLiteral("cbCommand"));
    m_cbCommand->setEditable(true);
    m_cbCommand->setInsertPolicy(QComboBox::NoInsert);
    ShowIdCaptions(*m_cbCommand);

    m_mOptionScript = MakeMemo(QStringLiteral("mOptionScript"), this);
    m_mOptionScript->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    m_mOptionScript->setLineWrapMode(QPlainTextEdit::NoWrap);

    m_mHelp = new QPlainTextEdit(this);
    m_mHelp->setObjectName(QStringLiteral("mHelp"));
    m_mHelp->setReadOnly(true);
    m_mHelp->setTabChangesFocus(true);
    m_mHelp->setFocusPolicy(Qt::ClickFocus);
    m_mHelp->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    // The guidance wraps to the box's width, long addresses too, and scrolls down: nothing is cut off.
    m_mHelp->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    m_mHelp->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    m_mHelp->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    {
        const QPalette appPalette = QApplication::palette();
        QPalette palette = m_mHelp->palette();
        palette.setColor(QPalette::Base, appPalette.color(QPalette::ToolTipBase));
        palette.setColor(QPalette::Text, appPalette.color(QPalette::ToolTipText));
        m_mHelp->setPalette(palette);
    }
    // Tall enough for the longest guidance at the narrowest panel; a longer one scrolls.
    m_mHelp->setMinimumHeight(m_mHelp->fontMetrics().lineSpacing() * 6 + 8);
    m_mHelp->setMaximumHeight(m_mHelp->fontMetrics().lineSpacing() * 6 + 8);

    m_lbOptionNotes = new QListWidget(this);
    m_lbOptionNotes->setObjectName(QStringLiteral("lbOptionNotes"));
    m_lbOptionNotes->setItemDelegate(new TabStopDelegate(50, m_lbOptionNotes));
    m_lbOptionNotes->setUniformItemSizes(true);
    {
        QPalette palette = m_lbOptionNotes->palette();
        palette.setColor(QPalette::Base, QApplication::palette().color(QPalette::Active, QPalette::Button));
        m_lbOptionNotes->setPalette(palette);
    }
    m_lbOptionNotes->setMaximumHeight(m_lbOptionNotes->fontMetrics().height() * 5 + 8);

    m_bEditNotes = new QPushButton(QStringLiteral("&Notes"), this);
    m_bEditNotes->setObjectName(QStringLiteral("bEditNotes"));

    auto* fields = new QFormLayout;
    fields->setRowWrapPolicy(QFormLayout::WrapAllRows);
    fields->addRow(MakeLabel(QStringLiteral("&ID for this option:"), m_eOptionID, this), m_eOptionID);
    fields->addRow(MakeLabel(QStringLiteral("&Caption for the option"), m_eOptionCaption, this),
                   m_eOptionCaption);

    auto* actionGrid = new QGridLayout;
    actionGrid->addWidget(MakeLabel(QStringLiteral("&Action:"), m_cbAction, this), 0, 0);
    actionGrid->addWidget(m_cbAction, 0, 1);
    actionGrid->addWidget(MakeLabel(QStringLiteral("Command:"), m_cbCommand, this), 1, 0);
    actionGrid->addWidget(m_cbCommand, 1, 1);
    actionGrid->addWidget(m_mHelp, 0, 2, 3, 1);
    actionGrid->setRowStretch(2, 1);
    actionGrid->setColumnStretch(1, 1);
    actionGrid->setColumnStretch(2, 2);

    auto* notesRow = new QHBoxLayout;
    notesRow->addWidget(m_lbOptionNotes, 1);
    notesRow->addWidget(m_bEditNotes, 0, Qt::AlignTop);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(MakeLabel(QStringLiteral("&Description of option (optional):"), m_mOptionExp, this));
    layout->addWidget(m_mOptionExp, 1);
    layout->addLayout(actionGrid);
    layout->addWidget(MakeLabel(QStringLiteral("Script:"), m_mOptionScript, this));
    layout->addWidget(m_mOptionScript, 2);
    layout->addWidget(MakeLabel(QStringLiteral("Notes:"), m_lbOptionNotes, this));
    layout->addLayout(notesRow);

    ApplyHint(m_eOptionID, QStringLiteral("Option ID|Unique ID string for the option."));
    ApplyHint(m_eOptionCaption,
              QStringLiteral("Option title|Title for option, appearing to left of button."));
    ApplyHint(m_mOptionExp, QStringLiteral("Description of option|Description of the option, appearing under "
                                           "button and title. Can be left blank."));
    ApplyHint(m_cbAction,
              QStringLiteral("Action on selection|Action to take when option is selected by user."));
    ApplyHint(m_cbCommand,
              QStringLiteral("Option command|Command related to the option. See the drop down for "
                             "examples."));
    ApplyHint(m_mOptionScript, QStringLiteral("VB Script to run|VB script code to execute when action is run "
                                              "script. Must include Sub Main...End Sub."));
    ApplyHint(m_lbOptionNotes, QStringLiteral("List of notes to enter for this option."));
    ApplyHint(m_bEditNotes, QStringLiteral("Click to edit associated notes."));

    setTabOrder(m_eOptionID, m_eOptionCaption);
    setTabOrder(m_eOptionCaption, m_mOptionExp);
    setTabOrder(m_mOptionExp, m_cbAction);
    setTabOrder(m_cbAction, m_cbCommand);
    setTabOrder(m_cbCommand, m_mOptionScript);
    setTabOrder(m_mOptionScript, m_lbOptionNotes);
    setTabOrder(m_lbOptionNotes, m_bEditNotes);

    connect(m_cbAction, &QComboBox::currentIndexChanged, this, [this] { UpdateActionHelp(); });
    connect(m_cbCommand, &DropDownComboBox::aboutToDropDown, this, [this] { FillCommandList(); });
    m_cbAction->setCurrentIndex(0);
    UpdateActionHelp();
}

void OptionPanel::UpdateActionHelp() {
    if (const std::optional<ActionHelpState> state = ActionHelpFor(m_cbAction->currentIndex()))
        ApplyActionHelp(*state);
}

void OptionPanel::ApplyActionHelp(const ActionHelpState& state) {
    m_mOptionScript->setEnabled(state.scriptEnabled);
    m_cbCommand->setEnabled(state.commandEnabled);
    SetBoxColour(m_mOptionScript, state.scriptEnabled);
    SetBoxColour(m_cbCommand, state.commandEnabled);
    m_mHelp->setPlainText(ToDisplayText(
        QString::fromUtf8(state.guidance.data(), static_cast<qsizetype>(state.guidance.size()))));
}

void OptionPanel::FillCommandExamples(QComboBox* list, int actionIndex,
                                      const std::vector<std::string>& screenIDs) {
    // Keep an editable box's text: the examples replace the list, not what the user typed.
    const QString text = list->currentText();
    list->clear();
    for (const std::string& entry : CommandExamples(actionIndex, screenIDs))
        list->addItem(QString::fromStdString(entry));
    if (list->isEditable())
        list->setEditText(text);
}

bool OptionPanel::ShowItem(TAssistBase* item) {
    m_option = dynamic_cast<TAssistOption*>(item);
    if (m_option != nullptr) {
        m_eOptionID->setText(QString::fromStdString(m_option->ID));
        m_eOptionCaption->setText(QString::fromStdString(m_option->Caption));
        FillMemo(m_mOptionExp, m_option->Description);
        m_mOptionScript->setPlainText(ScriptMemoText(m_option->Script));
        m_mOptionScript->moveCursor(QTextCursor::Start);
        ShowNotes();
        m_cbAction->setCurrentIndex(static_cast<int>(m_option->Action));
        m_cbCommand->setCurrentText(QString::fromStdString(m_option->Command));
    }
    // Whatever item is shown, the guidance follows the action drop-down as it stands.
    UpdateActionHelp();
    return m_option != nullptr;
}

TAssistBase* OptionPanel::Item() const {
    return m_option;
}

QList<QWidget*> OptionPanel::TextBoxes() const {
    return {m_eOptionID, m_eOptionCaption, m_mOptionExp, m_cbCommand, m_mOptionScript};
}

QList<QWidget*> OptionPanel::ProseBoxes() const {
    return {m_eOptionCaption, m_mOptionExp};
}

void OptionPanel::ShowNotes() {
    m_lbOptionNotes->clear();
    if (m_option == nullptr)
        return;
    for (const TNote& note : m_option->Notes)
        m_lbOptionNotes->addItem(QString::fromStdString(note.Name + '\t' + note.ID + '\t' + note.Type));
}

void OptionPanel::RegisterExitHandlers(ExitHandlerRegistry& registry) {
    registry.Register(m_eOptionID, [this](QWidget*) { StoreID(); });
    registry.Register(m_eOptionCaption, [this](QWidget*) { StoreCaption(); });
    registry.Register(m_mOptionExp, [this](QWidget*) { StoreDescription(); });
    registry.Register(m_cbAction, [this](QWidget*) { StoreAction(); });
    registry.Register(
        m_cbCommand, [this](QWidget*) { StoreCommand(); }, true);
    registry.Register(m_mOptionScript, [this](QWidget*) { StoreScript(); });
    connect(&Edits(), &TDocumentEdits::DocumentChanged, this,
            [this](const DocumentChange& change) { FollowChange(change); });
}

void OptionPanel::FollowChange(const DocumentChange& change) {
    if (m_option != nullptr && change.item == m_option)
        ShowNotes();
}

void OptionPanel::StoreID() {
    if (m_option != nullptr)
        Edits().SetField(*m_option, TextField::ID, BoxText(m_eOptionID));
}

void OptionPanel::StoreCaption() {
    if (m_option != nullptr)
        Edits().SetField(*m_option, TextField::Caption, BoxText(m_eOptionCaption));
}

void OptionPanel::StoreDescription() {
    if (m_option != nullptr)
        Edits().SetDescription(*m_option, MemoLines(m_mOptionExp));
}

void OptionPanel::StoreAction() {
    const int index = m_cbAction->currentIndex();
    if (m_option != nullptr && index >= 0 && index < ActionKindCount)
        Edits().SetAction(*m_option, static_cast<TActionKind>(index));
}

void OptionPanel::StoreCommand() {
    if (m_option == nullptr)
        return;
    TAssistOption& option = *m_option;
    const std::string command = BoxText(m_cbCommand);
    if (!Edits().SetField(option, TextField::Command, command))
        return;
    // A go-to command that names no screen yet is an offer to create that screen.
    const bool goesToScreen = IsGoto(option.Action);
    if (command.empty() || !goesToScreen || Edits().Root().Screens.FindScreen(command) != nullptr)
        return;
    const std::string question = "Can't find screen " + command + ".\r\rCreate a new one?";
    if (Ask().Message(Prompter::MessageKind::ConfirmYesNo, question) != Prompter::Answer::Yes)
        return;
    Edits().CreateScreen(&command);
}

void OptionPanel::StoreScript() {
    if (m_option != nullptr)
        Edits().SetField(*m_option, TextField::Script, ScriptOf(m_mOptionScript), true);
}

void OptionPanel::FillCommandList() {
    std::vector<std::string> ids;
    if (Attached())
        for (const TAssistScreen& screen : Edits().Root().Screens)
            ids.push_back(screen.ID);
    const int action = m_cbAction->currentIndex();
    FillCommandExamples(m_cbCommand, action, ids);
    // The screen IDs of the go-to actions show their screens' captions; the other actions' examples
    // name no screen, even when one of them happens to be spelt like an ID.
    if (Attached() && (action == akGoto || action == akGotoButton))
        SetScreenCaptions(*m_cbCommand, Edits().Root());
}
