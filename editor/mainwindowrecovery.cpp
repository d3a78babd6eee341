// The main window's autosave and recovery: while the assistant has unsaved changes its text is kept in the
// window's recovery file, written every minute and at once after every structural change; a save, New,
// Open, undoing back to the saved state and a normal close remove it. At start the recovery files left by
// an editor that ended without closing are offered back one at a time.
#include "editor/assistantpage.h"
#include "editor/assistanttext.h"
#include "editor/debouncedsaver.h"
#include "editor/itempanel.h"
#include "editor/mainwindow.h"
#include "editor/recoveryfile.h"
#include "model/assistroot.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QStatusBar>
#include <QTimer>
#include <QUndoStack>

namespace {

constexpr const char* kSaveBeforeRecover =
    "Assistant has been changed.\r\rDo you want to save this one before opening a new one?";

// "Recover unsaved changes to NAME from DATE?": NAME is the file the changes belong to ("Untitled" for an
// assistant never saved), DATE the local time they were written, the same in every locale.
std::string RecoveryQuestion(const RecoveryRecord& record) {
    const std::string name = record.OriginalFile.empty() ? std::string("Untitled") : record.OriginalFile;
    const QString date = record.Written.toLocalTime().toString(QStringLiteral("yyyy-MM-dd HH:mm"));
    return "Recover unsaved changes to " + name + " from " + date.toStdString() + "?";
}

} // namespace

void MainWindow::ConnectAutoSave() {
    m_recovery = std::make_unique<RecoveryFile>(RecoveryFolder());
    m_autoSaveTimer = new QTimer(this);
    m_autoSaveTimer->setObjectName(QStringLiteral("AutoSaveTimer"));
    connect(m_autoSaveTimer, &QTimer::timeout, this, [this] { AutoSave(); });
    if (m_services.AutoSaveInterval > 0)
        m_autoSaveTimer->start(m_services.AutoSaveInterval);
    // A stored change that is not structural is kept within a couple of seconds rather than at the
    // next minute, and at once when the user turns to another program. So is typing that is not stored
    // yet, at the end of the writer's interval (never at the first key): the writer stores the focused
    // box first (storing it announces a change, which lands here again while this write is running; that
    // one is left to this write).
    m_recoveryWriter = new DebouncedSaver(
        [this] {
            if (m_writingRecovery || !m_assistant)
                return;
            m_writingRecovery = true;
            StoreTypingForAutoSave();
            m_writingRecovery = false;
            if (m_assistant->Changed)
                WriteRecovery();
        },
        m_services.RecoveryWriteInterval, this);
    if (m_services.RecoveryWriteInterval > 0) {
        for (ItemPanel* panel : m_assistantPage->ItemPanels())
            for (QWidget* box : panel->TextBoxes()) {
                // Only typing counts: a box filled by showing an item has no focus then.
                const auto typed = [this, box] {
                    if (box->hasFocus())
                        m_recoveryWriter->ChangedLater();
                };
                if (auto* line = qobject_cast<QLineEdit*>(box))
                    connect(line, &QLineEdit::textEdited, m_recoveryWriter, typed);
                else if (auto* memo = qobject_cast<QPlainTextEdit*>(box))
                    connect(memo, &QPlainTextEdit::textChanged, m_recoveryWriter, typed);
            }
    }
    connect(qApp, &QGuiApplication::applicationStateChanged, m_recoveryWriter,
            [this](Qt::ApplicationState state) {
                if (state != Qt::ApplicationActive)
                    m_recoveryWriter->Flush();
            });
}

QString MainWindow::RecoveryFolder() const {
    return m_services.RecoveryFolder.empty() ? RecoveryFile::DefaultFolder()
                                             : QString::fromStdString(m_services.RecoveryFolder);
}

QString MainWindow::RecoveryFileName() const {
    return m_recovery->TextPath();
}

void MainWindow::AutoSave() {
    if (!m_assistant)
        return;
    StoreTypingForAutoSave();
    if (m_assistant->Changed)
        WriteRecovery();
    else
        RemoveRecovery();
}

void MainWindow::StoreTypingForAutoSave() {
    // Typing is stored when its box is left; a box that keeps the focus for long would keep its text
    // out of every recovery file until then.
    if (QApplication::activeModalWidget() != nullptr)
        return; // the model stays as the open dialog expects it
    QWidget* box = FocusedTextBox();
    if (box == nullptr || !m_assistantPage->isAncestorOf(box) ||
        qobject_cast<QComboBox*>(box->parentWidget()) != nullptr)
        return;
    // Only typing since the box last showed or stored its value: a box that stores on every exit (the
    // script memo) must not mark the assistant changed each minute.
    auto* line = qobject_cast<QLineEdit*>(box);
    auto* memo = qobject_cast<QPlainTextEdit*>(box);
    const bool typed =
        line != nullptr ? line->isUndoAvailable() : memo != nullptr && memo->document()->isUndoAvailable();
    if (!typed)
        return;
    // Storing may show the item again (an ID rebuilds the views), which puts the caret at the end; the
    // typing goes on where it was, with the same selection.
    const int position = line != nullptr ? line->cursorPosition() : memo->textCursor().position();
    int anchor = memo != nullptr ? memo->textCursor().anchor() : position;
    if (line != nullptr && line->hasSelectedText())
        anchor =
            line->selectionStart() == position ? position + line->selectionLength() : line->selectionStart();
    try {
        CommitFocusedBox();
    } catch (const std::exception& error) {
        statusBar()->showMessage(QString::fromStdString(error.what()));
    }
    if (line != nullptr) {
        line->setCursorPosition(anchor);
        line->cursorForward(true, position - anchor);
    } else {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(anchor);
        cursor.setPosition(position, QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    }
}

void MainWindow::WriteRecovery() {
    try {
        // The text is what a save would write, taken without signing the assistant or touching Changed.
        m_recovery->Write(AssistantTextKeepingState(*m_assistant), m_assistant->FileName);
        if (m_autoSaveFailed)
            statusBar()->clearMessage();
        m_autoSaveFailed = false;
    } catch (const std::exception& error) {
        // Keeping a copy must never get in the way of the editing: no message box, just a note.
        statusBar()->showMessage(QStringLiteral("Unsaved changes cannot be kept for recovery: ") +
                                 QString::fromStdString(error.what()));
        m_autoSaveFailed = true;
    }
}

void MainWindow::RemoveRecovery() {
    if (m_recovery)
        m_recovery->Remove();
}

void MainWindow::OfferRecoveries() {
    const QString folder = RecoveryFolder();
    for (const QString& base : RecoveryFile::Found(folder)) {
        // A file held by a running editor (another window of this one too) is not offered.
        std::unique_ptr<RecoveryFile> claimed = RecoveryFile::Claim(folder, base);
        if (!claimed)
            continue;
        switch (m_prompter->Message(Prompter::MessageKind::RecoverDiscardLater,
                                    RecoveryQuestion(claimed->Record()))) {
        case Prompter::Answer::Recover:
            Recover(std::move(claimed));
            break;
        case Prompter::Answer::Discard:
            claimed->Remove();
            break;
        default:
            break; // Later: the claim goes, the files stay for the next start
        }
    }
}

void MainWindow::Recover(std::unique_ptr<RecoveryFile> claimed) {
    // Cancelled: the file stays for the next start, as Later would keep it.
    if (!AskSaveBeforeReplacing(kSaveBeforeRecover))
        return;
    std::unique_ptr<TAssistRoot> read;
    try {
        // The same reader as Open; a file that cannot be read is kept (and offered again next time).
        read = ReadAssistant(claimed->TextPath().toStdString(), false);
    } catch (const std::exception& error) {
        ShowError(error);
        return;
    }
    if (!read)
        return;
    // Named like the file the changes belong to, so that Save writes there; not saved yet.
    read->FileName = claimed->Record().OriginalFile;
    read->Changed = true;
    ReplaceAssistant(std::move(read)); // removes this window's own recovery file
    // Undo never reaches a state equal to the file: every state here differs from it.
    m_undoStack->resetClean();
    // The recovered file is kept under its name as this window's own, so that a second crash keeps it.
    m_recovery = std::move(claimed);
    try {
        m_recovery->TakeOver();
    } catch (const std::exception& error) {
        statusBar()->showMessage(QString::fromStdString(error.what()));
    }
    AfterOpen();
    if (m_assistant->FileName.empty())
        SetDocumentCaption(QStringLiteral("[New Assistant]"));
}
