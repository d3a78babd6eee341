#include "editor/noteform.h"

#include "editor/documentedits.h"
#include "editor/panelwidgets.h"
#include "editor/tabstopdelegate.h"
#include "editor/uitext.h"
#include "model/assistoption.h"
#include "model/note.h"
#include "support/qt/placement.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <vector>

namespace {

QPushButton* MakeButton(const QString& objectName, const QString& caption, QWidget* parent) {
    auto* button = new QPushButton(caption, parent);
    button->setObjectName(objectName);
    button->setAutoDefault(false);
    return button;
}

// Copies of an option's notes, in list order: the edit layer replaces the list as a whole.
std::vector<TNote> CopyOf(const TNotes& notes) {
    std::vector<TNote> copy;
    copy.reserve(static_cast<std::size_t>(notes.Count()));
    for (const TNote& note : notes)
        copy.push_back(note);
    return copy;
}

} // namespace

TNoteForm::TNoteForm(TAssistOption& option, TDocumentEdits& edits, TRegWrap* settings, QWidget* parent)
    : QDialog(parent), m_option(option), m_edits(edits), m_settings(settings) {
    setObjectName(QStringLiteral("NoteForm"));
    setWindowTitle(QStringLiteral("Note editor"));
    setModal(true);
    setMinimumSize(464, 300);
    resize(520, 380);

    auto* listGroup = new QGroupBox(QStringLiteral("Current notes:"), this);
    m_lbList = new QListWidget(listGroup);
    m_lbList->setObjectName(QStringLiteral("lbList"));
    m_lbList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_lbList->setItemDelegate(new TabStopDelegate(50, m_lbList));
    auto* listLayout = new QVBoxLayout(listGroup);
    listLayout->addWidget(m_lbList);

    auto* editGroup = new QGroupBox(QStringLiteral("Note editing:"), this);
    m_eName = MakeEdit(QStringLiteral("eName"), editGroup);
    m_cbType = new QComboBox(editGroup);
    m_cbType->setObjectName(QStringLiteral("cbType"));
    m_cbType->setEditable(true);
    m_cbType->setInsertPolicy(QComboBox::NoInsert);
    for (const std::string_view type : NoteTypes())
        m_cbType->addItem(QString::fromUtf8(type.data(), static_cast<qsizetype>(type.size())));
    m_cbType->setCurrentIndex(0);
    m_mText = new QPlainTextEdit(editGroup);
    m_mText->setObjectName(QStringLiteral("mText"));
    m_mText->setTabChangesFocus(true);
    m_eID = MakeEdit(QStringLiteral("eID"), editGroup);
    m_bAdd = MakeButton(QStringLiteral("bAdd"), QStringLiteral("&Add"), editGroup);
    m_bReplace = MakeButton(QStringLiteral("bReplace"), QStringLiteral("&Replace"), editGroup);
    m_bDelete = MakeButton(QStringLiteral("bDelete"), QStringLiteral("&Delete"), editGroup);
    m_bClear = MakeButton(QStringLiteral("bClear"), QStringLiteral("C&lear"), editGroup);
    m_bClose = MakeButton(QStringLiteral("bClose"), QStringLiteral("&Close"), editGroup);
    m_bAdd->setEnabled(false);
    m_bReplace->setEnabled(false);
    m_bDelete->setEnabled(false);

    m_cbType->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    m_cbType->setMinimumContentsLength(10);
    m_mText->setMinimumHeight(m_mText->fontMetrics().lineSpacing() * 3 + 10);

    auto* grid = new QGridLayout;
    grid->addWidget(MakeLabel(QStringLiteral("Name:"), m_eName, editGroup), 0, 0);
    grid->addWidget(m_eName, 0, 1);
    grid->addWidget(MakeLabel(QStringLiteral("Type:"), m_cbType, editGroup), 0, 2);
    grid->addWidget(m_cbType, 0, 3);
    grid->addWidget(MakeLabel(QStringLiteral("Text:"), m_mText, editGroup), 1, 0, Qt::AlignTop);
    grid->addWidget(m_mText, 1, 1, 1, 3);
    grid->addWidget(MakeLabel(QStringLiteral("Unique ID:"), m_eID, editGroup), 2, 0);
    grid->addWidget(m_eID, 2, 1);
    grid->setColumnStretch(1, 1);
    grid->setColumnStretch(3, 1);
    grid->setRowStretch(1, 1);

    // Editing buttons beside the boxes; Close at the bottom of the right edge.
    auto* buttons = new QVBoxLayout;
    buttons->addWidget(m_bAdd);
    buttons->addWidget(m_bReplace);
    buttons->addWidget(m_bDelete);
    buttons->addWidget(m_bClear);
    buttons->addStretch(1);
    buttons->addWidget(m_bClose);

    auto* editLayout = new QHBoxLayout(editGroup);
    editLayout->addLayout(grid, 1);
    editLayout->addLayout(buttons);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(listGroup, 1);
    layout->addWidget(editGroup, 0);

    setTabOrder(m_eName, m_cbType);
    setTabOrder(m_cbType, m_mText);
    setTabOrder(m_mText, m_eID);

    connect(m_lbList, &QListWidget::itemSelectionChanged, this, &TNoteForm::lbListClick);
    connect(m_eName, &QLineEdit::textChanged, this, &TNoteForm::UpdateButtons);
    connect(m_cbType, &QComboBox::editTextChanged, this, &TNoteForm::UpdateButtons);
    connect(m_eID, &QLineEdit::textChanged, this, &TNoteForm::UpdateButtons);
    connect(m_bAdd, &QPushButton::clicked, this, &TNoteForm::bAddClick);
    connect(m_bReplace, &QPushButton::clicked, this, &TNoteForm::bReplaceClick);
    connect(m_bDelete, &QPushButton::clicked, this, &TNoteForm::bDeleteClick);
    connect(m_bClear, &QPushButton::clicked, this, &TNoteForm::bClearClick);
    connect(m_bClose, &QPushButton::clicked, this, &QDialog::accept);

    if (m_settings != nullptr)
        RestorePlacement(*m_settings, this, true);
}

TNoteForm::~TNoteForm() {
    try {
        SaveFormPlacement();
    } catch (const std::exception&) {
        // Losing the placement is harmless; the owner saves it earlier where a failure can be shown.
    }
}

void TNoteForm::SaveFormPlacement() {
    if (m_settings == nullptr || m_placementSaved)
        return;
    m_placementSaved = true;
    SavePlacement(*m_settings, this);
}

void TNoteForm::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_shown) {
        m_shown = true;
        FormShow();
    }
}

void TNoteForm::FormShow() {
    const QSignalBlocker blocker(m_lbList);
    m_lbList->clear();
    for (const TNote& note : m_option.Notes)
        m_lbList->addItem(QString::fromStdString(NoteListLine(note)));
    UpdateButtons();
}

int TNoteForm::SelectedIndex() const {
    const QList<QListWidgetItem*> selected = m_lbList->selectedItems();
    return selected.isEmpty() ? -1 : m_lbList->row(selected.first());
}

TNote TNoteForm::EnteredNote() const {
    QString text = m_mText->toPlainText();
    text.replace(u'\n', QStringLiteral("\r\n"));
    TNote note;
    note.Name = m_eName->text().toStdString();
    note.Type = m_cbType->currentText().toStdString();
    note.Text = text.toStdString();
    note.ID = m_eID->text().toStdString();
    return note;
}

void TNoteForm::UpdateButtons() {
    const NoteButtonStates states =
        NoteButtonsFor(m_eName->text().toStdString(), m_cbType->currentText().toStdString(),
                       m_eID->text().toStdString(), SelectedIndex() >= 0);
    m_bAdd->setEnabled(states.add);
    m_bReplace->setEnabled(states.replace);
    m_bDelete->setEnabled(states.del);
}

void TNoteForm::lbListClick() {
    const int index = SelectedIndex();
    if (const TNote* note = m_option.Notes.Item(index)) {
        m_eName->setText(QString::fromStdString(note->Name));
        m_cbType->setEditText(QString::fromStdString(note->Type));
        // A note read from a file may come back with LF alone; any break shows as a line of the memo.
        m_mText->setPlainText(ToDisplayText(note->Text));
        m_eID->setText(QString::fromStdString(note->ID));
    }
    UpdateButtons();
}

void TNoteForm::SetLine(int index) {
    if (const TNote* note = m_option.Notes.Item(index); note != nullptr && m_lbList->item(index) != nullptr)
        m_lbList->item(index)->setText(QString::fromStdString(NoteListLine(*note)));
}

void TNoteForm::bAddClick() {
    std::vector<TNote> notes = CopyOf(m_option.Notes);
    notes.push_back(EnteredNote());
    m_edits.ChangeNotes(m_option, notes);
    const QSignalBlocker blocker(m_lbList);
    m_lbList->addItem(QString());
    SetLine(m_option.Notes.Count() - 1);
}

void TNoteForm::bReplaceClick() {
    const int index = SelectedIndex();
    if (index < 0 || index >= m_option.Notes.Count())
        return;
    std::vector<TNote> notes = CopyOf(m_option.Notes);
    notes[static_cast<std::size_t>(index)] = EnteredNote();
    m_edits.ChangeNotes(m_option, notes);
    SetLine(index);
}

void TNoteForm::bDeleteClick() {
    const int index = SelectedIndex();
    if (index < 0 || index >= m_option.Notes.Count())
        return;
    std::vector<TNote> notes = CopyOf(m_option.Notes);
    notes.erase(notes.begin() + index);
    m_edits.ChangeNotes(m_option, notes);
    {
        // Removing the line must not select its neighbour: the boxes keep the deleted note's values.
        const QSignalBlocker blocker(m_lbList);
        delete m_lbList->takeItem(index);
        m_lbList->clearSelection();
        m_lbList->setCurrentRow(-1);
    }
    UpdateButtons();
}

void TNoteForm::bClearClick() {
    m_eName->clear();
    m_cbType->setCurrentIndex(0);
    m_cbType->setEditText(m_cbType->itemText(0));
    m_mText->clear();
    m_eID->clear();
    UpdateButtons();
}
