#include "editor/documentprompter.h"

#include "editor/prompter.h"

#include <QCoreApplication>

std::optional<std::string> TDocumentPrompter::AskFileName(const TFileDialogRequest& request) {
    Prompter::FileRequest dialog = AssistantFileRequest(request.Title);
    dialog.initialFolder = request.InitialFolder;
    dialog.proposedName = request.ProposedName;
    if (!request.DefaultExtension.empty())
        dialog.defaultExtension = request.DefaultExtension;
    dialog.overwritePrompt = request.ForSave;
    return request.ForSave ? m_prompter.SaveFileName(dialog) : m_prompter.OpenFileName(dialog);
}

TSaveFirstAnswer TDocumentPrompter::AskSaveFirst(const std::string& text) {
    switch (m_prompter.Message(Prompter::MessageKind::WarningYesNoCancel, text)) {
    case Prompter::Answer::Yes:
        return TSaveFirstAnswer::Yes;
    case Prompter::Answer::No:
        return TSaveFirstAnswer::No;
    default:
        return TSaveFirstAnswer::Cancel;
    }
}

bool TDocumentPrompter::AskReplace(const std::string& text) {
    return m_prompter.Message(Prompter::MessageKind::ConfirmYesNo, text) == Prompter::Answer::Yes;
}

std::string TDocumentPrompter::ProgramFolder() const {
    return QCoreApplication::instance() ? QCoreApplication::applicationDirPath().toStdString()
                                        : std::string();
}
