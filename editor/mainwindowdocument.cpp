// The main window's document handling: start-up (user ID, first assistant, file finder), first display
// (placement, recent list, views, command-line files), New, Open, opening a named file, Save, Save As,
// Exit and closing, the report and the About box.
#include "editor/assistantcommands.h"
#include "editor/assistantpage.h"
#include "editor/backupfiles.h"
#include "editor/dialogfolders.h"
#include "editor/documentprompter.h"
#include "editor/filelistmenu.h"
#include "editor/findpanel.h"
#include "editor/itemtreemodel.h"
#include "editor/mainwindow.h"
#include "editor/publishcommand.h"
#include "editor/qtprompter.h"
#include "editor/recoveryfile.h"
#include "editor/userid.h"
#include "model/assistroot.h"
#include "model/authorship.h"
#include "model/fileformat.h"
#include "support/busy.h"
#include "support/components.h"
#include "support/qt/placement.h"
#include "support/qt/regwrap.h"
#include "support/reportchain.h"

#include <QAction>
#include <QApplication>
#include <QScreen>
#include <QSignalBlocker>
#include <QTabWidget>
#include <QTimer>
#include <QUndoStack>

#include <charconv>
#include <functional>

namespace {

// The settings value the window's placement was stored under before the window class got its current
// name; read when there is no value of the current name, and removed at the next save.
const std::string FormerPlacementName = "Window.TPathovaMainForm";
// The widths of the tree and the edit panel on the Assistant page, stored beside the placement.
const std::string kSplitterValue = "Window.MainWindow.Splitter";

constexpr const char* kSaveBeforeNew =
    "Assistant has been changed.\r\rDo you want to save this one before creating a new one?";
constexpr const char* kSaveBeforeOpen =
    "Assistant has been changed.\r\rDo you want to save this one before opening a new one?";
constexpr const char* kSaveBeforeClose =
    "Assistant has been changed.\r\rDo you want to save this one before closing the program?";

// A command-line argument that names a file: not empty and not a switch. Only "-" starts a switch
// here; "/" starts an absolute path on this platform.
bool NamesAFile(const std::string& argument) {
    return !argument.empty() && argument.front() != '-';
}

// The number of earlier versions a save keeps ("Backups" in the settings; 3 when absent or not a
// number, 0 turns backups off).
int BackupCount(TRegWrap& settings) {
    std::string text;
    try {
        text = settings.ReadValue("Backups", "3");
    } catch (const std::exception&) {
        return 3; // a settings store that cannot be read does not stop a save
    }
    int count = 3;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), count);
    if (error != std::errc() || end != text.data() + text.size())
        return 3;
    return count;
}

// Passes every file question on to another set of prompts; the decorators below change one answer.
class ForwardingPrompts : public IDocumentPrompts {
public:
    explicit ForwardingPrompts(IDocumentPrompts& target) : m_target(target) {}
    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        return m_target.AskFileName(request);
    }
    TSaveFirstAnswer AskSaveFirst(const std::string& text) override { return m_target.AskSaveFirst(text); }
    bool AskReplace(const std::string& text) override { return m_target.AskReplace(text); }
    std::string ProgramFolder() const override { return m_target.ProgramFolder(); }

protected:
    IDocumentPrompts& m_target;
};

// Passes the save's questions on and keeps the backups of the file the user names in the save dialog,
// once it is named and before it is written.
class BackupBeforeSave final : public ForwardingPrompts {
public:
    BackupBeforeSave(IDocumentPrompts& target, int keep) : ForwardingPrompts(target), m_keep(keep) {}
    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        std::optional<std::string> chosen = m_target.AskFileName(request);
        if (chosen && request.ForSave)
            KeepBackups(WithAmfExtension(*chosen), m_keep);
        return chosen;
    }

private:
    int m_keep;
};

// Passes the file questions of an open or a save on, starting the dialog in the window's folder for
// dialogs and suggesting a name for a save of an assistant never saved; the folder of the file chosen
// becomes the last folder used.
class InDialogFolder final : public ForwardingPrompts {
public:
    using Chosen = std::function<void(const std::string&)>;
    InDialogFolder(IDocumentPrompts& target, std::string folder, std::string suggestedSave, Chosen chosen)
        : ForwardingPrompts(target), m_folder(std::move(folder)), m_suggestedSave(std::move(suggestedSave)),
          m_chosen(std::move(chosen)) {}
    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override {
        TFileDialogRequest shown = request;
        shown.InitialFolder = m_folder;
        if (request.ForSave && request.ProposedName.empty())
            shown.ProposedName = m_suggestedSave;
        std::optional<std::string> chosen = m_target.AskFileName(shown);
        if (chosen && !chosen->empty())
            m_chosen(*chosen);
        return chosen;
    }

private:
    std::string m_folder;
    std::string m_suggestedSave;
    Chosen m_chosen;
};

} // namespace

MainWindow::MainWindow(Prompter* prompter, QWidget* parent)
    : MainWindow(TEditorServices::ForProgram(), prompter, parent) {}

MainWindow::~MainWindow() {
    // QWidget's destructor still moves the focus; by then this window's members are gone.
    disconnect(m_focusConnection);
    // A window destroyed without closing keeps its recovery file, as a crash would; only the lock goes.
    if (m_autoSaveTimer)
        m_autoSaveTimer->stop();
    m_recovery.reset();
    // Nothing may point into the assistant once it is gone.
    try {
        SetCurrentItem(nullptr);
    } catch (...) {
    }
    m_treeModel->Clear();
    m_structureModel->Clear();
    // The history holds detached items that refer to the assistant: it goes first.
    m_undoStack->blockSignals(true); // clearing it is no move through the history
    delete m_undoStack;
    m_undoStack = nullptr;
    m_edits.reset();
    m_assistant.reset();
    m_recentFiles.reset();
}

void MainWindow::FormCreate() {
    m_recentFiles = std::make_unique<TFileListMenu>(m_mReOpen, [this](const std::string& name) {
        // Chosen from a menu: the focus stays in the box, so store a pending edit first.
        try {
            CommitFocusedBox();
            OpenFile(name);
        } catch (const std::exception& error) {
            ShowError(error);
        }
    });
    m_currentItem = nullptr;
    // A user ID that cannot be stored is used all the same; the window says so once it is shown.
    std::string storeFailure;
    m_userID = ObtainUserID(*m_services.Settings, *m_prompter, m_services.LoginName, &storeFailure);
    if (!storeFailure.empty())
        m_settingsFailures.Note(storeFailure);
    m_assistant = std::make_unique<TAssistRoot>(m_userID);
    m_edits = std::make_unique<TDocumentEdits>(*m_assistant);
    connect(m_edits.get(), &TDocumentEdits::DocumentChanged, this,
            [this](const DocumentChange& change) { OnDocumentChanged(change); });
    m_fileFinder = m_services.Components->CreateFindFile();
}

TDocumentPrompter& MainWindow::DocumentPrompts() {
    // Made on demand: the prompter can be replaced at any time (SetPrompter).
    if (!m_documentPrompts || &m_documentPrompts->Target() != m_prompter)
        m_documentPrompts = std::make_unique<TDocumentPrompter>(*m_prompter);
    return *m_documentPrompts;
}

// ---- First display

void MainWindow::FormShow() {
    // Settings that cannot be read leave the default placement and an empty recent list. With no
    // placement stored (the first start) the window takes a good share of the screen.
    m_settingsFailures.Try([this] {
        if (!HasStoredPlacement())
            SizeForFirstStart();
        RestorePlacement(*m_services.Settings, this, true, FormerPlacementName);
    });
    m_settingsFailures.Try([this] {
        const std::string sizes = m_services.Settings->ReadValue(kSplitterValue, "");
        m_services.Settings->CloseKey();
        m_assistantPage->ApplySplitterSizes(sizes);
    });
    m_settingsFailures.Try([this] { m_recentFiles->SetText(m_services.Settings->ReadValue("Files", "")); });
    m_pages->setCurrentWidget(m_tsAssistant);
    ShowPanel(QStringLiteral("Option"));
    ShowPanel(QStringLiteral("Screen"));
    ShowPanel(QStringLiteral("General"));
    RebuildTree();
    RebuildStructure();
    RebuildMap();
    m_settingsFailures.ReportOnce(*m_prompter);
    // A file that cannot be read is reported in OpenCommandLineFiles; the offer below still comes.
    OpenCommandLineFiles();
    // After the command-line files: a recovered assistant then replaces the file just opened (asking
    // to save it only if it was changed), rather than the file asking to save the recovered one.
    if (m_services.OfferRecovery)
        OfferRecoveries();
}

bool MainWindow::HasStoredPlacement() const {
    TRegWrap& settings = *m_services.Settings;
    const bool stored = !settings.ReadValue(PlacementValueName(this), "").empty() ||
                        !settings.ReadValue(FormerPlacementName, "").empty();
    settings.CloseKey();
    return stored;
}

void MainWindow::SizeForFirstStart() {
    const QScreen* shown = screen();
    if (shown == nullptr)
        return;
    const QRect area = shown->availableGeometry();
    const TWindowBounds bounds =
        FirstStartBounds({area.x(), area.y(), area.width(), area.height()}, minimumWidth(), minimumHeight());
    resize(bounds.Width, bounds.Height);
}

void MainWindow::OpenCommandLineFiles() {
    bool openedHere = false;
    for (const std::string& argument : m_services.Arguments) {
        if (!NamesAFile(argument))
            continue;
        std::string path;
        try {
            Check(m_fileFinder->LocateFile(argument, kFindDefault, path));
        } catch (const std::exception& error) {
            ShowError(error);
            continue;
        }
        if (path.empty())
            continue; // a name the finder cannot resolve is ignored without a message
        if (!openedHere) {
            // A file that cannot be read is reported and the start-up goes on: the next file opens
            // here instead, and the unsaved work of a crash is still offered.
            try {
                OpenStartFile(path);
                openedHere = true;
            } catch (const std::exception& error) {
                ShowError(error);
            }
            continue;
        }
        // Each further file gets a window of its own rather than being merged into this assistant. The
        // name is resolved already, so the new window is given no command line of its own.
        TEditorServices services = m_services;
        services.Arguments.clear();
        services.OfferRecovery = false; // this window offers them
        Prompter* shared = m_prompter == m_qtPrompter.get() ? nullptr : m_prompter;
        auto* window = new MainWindow(std::move(services), shared);
        window->setAttribute(Qt::WA_DeleteOnClose);
        window->show();
        try {
            window->OpenStartFile(path);
        } catch (const std::exception& error) {
            window->ShowError(error);
        }
    }
}

void MainWindow::OpenStartFile(const std::string& path) {
    std::unique_ptr<TAssistRoot> read = ReadAssistant(path, false);
    if (!read)
        return;
    ReplaceAssistant(std::move(read));
    AfterOpen();
}

// ---- Reading and writing

std::unique_ptr<TAssistRoot> MainWindow::ReadAssistant(const std::string& fileName, bool askForName) {
    auto read = std::make_unique<TAssistRoot>(m_userID);
    read->FileName = fileName;
    InDialogFolder prompts(DocumentPrompts(), DialogFolder().toStdString(), std::string(),
                           [this](const std::string& chosen) { RememberDialogFile(chosen); });
    if (!read->LoadFromFile(askForName, prompts))
        return nullptr;
    return read;
}

bool MainWindow::SaveAssistant(bool askForName) {
    // The version on disk is kept as a backup before it is saved over.
    const int keep = BackupCount(*m_services.Settings);
    const QString folder = DialogFolder();
    InDialogFolder inFolder(DocumentPrompts(), folder.toStdString(),
                            SuggestedSavePath(folder, QString::fromStdString(m_assistant->ID)).toStdString(),
                            [this](const std::string& chosen) { RememberDialogFile(chosen); });
    BackupBeforeSave prompts(inFolder, keep);
    if (!askForName && !m_assistant->FileName.empty())
        KeepBackups(WithAmfExtension(m_assistant->FileName), keep);
    if (!m_assistant->SaveToFile(askForName, prompts))
        return false;
    MarkSaved();
    RemoveRecovery();
    // The caption and the recent list name the file just written: the assistant's name with the .amf
    // extension, which is not the name chosen or opened when that had another extension. Reopening the
    // entry then gives back what was saved. A save made from the question before New, Open or closing
    // counts as well: the assistant may stay in the window when the next step is cancelled or fails.
    const std::string written = WithAmfExtension(m_assistant->FileName);
    SetDocumentCaption(QString::fromStdString(written));
    m_recentFiles->AddFile(written);
    return true;
}

bool MainWindow::AskSaveBeforeReplacing(const char* question) {
    if (!m_assistant->Changed)
        return true;
    switch (m_prompter->Message(Prompter::MessageKind::WarningYesNoCancel, question)) {
    case Prompter::Answer::Yes:
        // A save dialog cancelled here cancels the whole command: the changes would be lost otherwise.
        return SaveAssistant(false);
    case Prompter::Answer::No:
        return true;
    default:
        return false;
    }
}

void MainWindow::ReplaceAssistant(std::unique_ptr<TAssistRoot> assistant) {
    m_pages->setCurrentWidget(m_tsAssistant);
    SetCurrentItem(nullptr);
    m_treeModel->Clear();
    m_structureModel->Clear();
    // The old assistant's history (and the items it holds) goes before the assistant does.
    {
        const QSignalBlocker quiet(m_undoStack);
        m_undoStack->clear();
    }
    m_edits->SetRoot(*assistant);
    m_assistant = std::move(assistant);
    ClearHistory();
    ++m_documentGeneration;
    if (m_findPanel != nullptr)
        m_findPanel->SetAssistant(*m_assistant);
    // The changes of the assistant replaced were saved or given up by now.
    RemoveRecovery();
    UpdateUndoActions();
}

void MainWindow::AfterOpen() {
    const std::string notices = AuthorshipNotices(*m_assistant);
    if (!notices.empty())
        m_prompter->Message(Prompter::MessageKind::WarningOk, notices);
    RebuildTree();
    RebuildStructure();
    RebuildMap();
    SetDocumentCaption(QString::fromStdString(m_assistant->FileName));
}

// ---- Document commands

void MainWindow::aNewExecute() {
    if (!AskSaveBeforeReplacing(kSaveBeforeNew))
        return;
    ReplaceAssistant(std::make_unique<TAssistRoot>(m_userID));
    RebuildTree();
    RebuildStructure();
    RebuildMap();
    SetDocumentCaption(QStringLiteral("[New Assistant]"));
}

void MainWindow::aOpenExecute() {
    if (!AskSaveBeforeReplacing(kSaveBeforeOpen))
        return;
    // The file is asked for and read before anything is replaced: a cancelled dialog or a failed read
    // leaves the open assistant, the views and the caption as they were.
    std::unique_ptr<TAssistRoot> read = ReadAssistant(std::string(), true);
    if (!read)
        return;
    ReplaceAssistant(std::move(read));
    m_recentFiles->AddFile(m_assistant->FileName);
    AfterOpen();
}

void MainWindow::OpenFile(const std::string& fileName) {
    if (!AskSaveBeforeReplacing(kSaveBeforeOpen))
        return;
    std::unique_ptr<TAssistRoot> read = ReadAssistant(fileName, false);
    if (!read)
        return;
    ReplaceAssistant(std::move(read));
    m_recentFiles->AddFile(m_assistant->FileName);
    AfterOpen();
}

void MainWindow::aSaveExecute() {
    // The current item stays: the pending box was stored before this command ran. A cancelled save
    // writes nothing and leaves the caption and the recent list as they were.
    SaveAssistant(false);
}

void MainWindow::aSaveAsExecute() {
    SaveAssistant(true);
}

void MainWindow::aExitExecute() {
    // The current item stays when the close is refused.
    close();
}

// ---- Closing

void MainWindow::FormCloseQuery(bool& canClose) {
    canClose = true;
    if (!m_assistant || !m_assistant->Changed)
        return;
    switch (m_prompter->Message(Prompter::MessageKind::WarningYesNoCancel, kSaveBeforeClose)) {
    case Prompter::Answer::Yes:
        // Refusing the close when the save dialog is cancelled keeps the unsaved changes.
        canClose = SaveAssistant(false);
        break;
    case Prompter::Answer::No:
        break;
    default:
        canClose = false;
        break;
    }
}

void MainWindow::FormClose() {
    // The changes were saved, or the user chose not to save them. Settings that cannot be stored no
    // longer keep the window open: the failure is reported (once in the window's life) and it closes.
    RemoveRecovery();
    m_settingsFailures.Try([this] { StoreRecentFiles(); });
    m_settingsFailures.Try([this] { SavePlacement(*m_services.Settings, this, FormerPlacementName); });
    m_settingsFailures.Try([this] {
        m_services.Settings->WriteValue(kSplitterValue, m_assistantPage->SplitterSizesText());
        m_services.Settings->CloseKey();
    });
    m_settingsFailures.ReportOnce(*m_prompter);
}

void MainWindow::StoreRecentFiles() {
    // Other windows, of this program or of another run of it, may have stored their files since this
    // one read the list: this window adds its own to what is stored now, rather than overwriting it.
    TRegWrap& settings = *m_services.Settings;
    settings.CloseKey(); // read the store afresh
    const std::string stored = settings.ReadValue("Files", "");
    settings.WriteValue("Files", m_recentFiles->MergedText(stored));
}

// ---- Report and About

void MainWindow::aReportExecute() {
    const TAssistRoot& assistant = *m_assistant;
    ShowAssistantReport(*m_services.Components, this, assistant.Caption, [&assistant](IHTMLReport& report) {
        const TBusyGuard busy; // only the writing can take long; the viewer is interactive
        assistant.WriteReport(report);
    });
}

void MainWindow::aPublishExecute() {
    const std::optional<std::string> written =
        PublishAsWebPage(*m_assistant, *m_prompter, DialogFolder().toStdString());
    if (written)
        RememberDialogFile(*written);
}

// ---- File dialogs

QString MainWindow::DialogFolder() const {
    return FileDialogFolder(*m_services.Settings, m_assistant ? m_assistant->FileName : std::string());
}

void MainWindow::RememberDialogFile(const std::string& chosen) {
    // A folder that cannot be kept is reported once, like the window's other settings.
    m_settingsFailures.Try([this, &chosen] { RememberDialogFolder(*m_services.Settings, chosen); });
}

void MainWindow::aAboutExecute() {
    const std::unique_ptr<ICDSupport> about = m_services.Components->CreateCDSupport();
    Check(about->ShowAbout(this, std::string(), 0));
}
