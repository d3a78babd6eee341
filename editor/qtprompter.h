#pragma once
// The program's real prompter: Qt message boxes, file dialogs and input box, parented to a window.
// Message boxes carry the application's display name as their title; the offer of a recovery file
// shown at start-up carries the editor's name ("Assistant Editor").
#include "editor/prompter.h"

#include <QPointer>
#include <QWidget>

class QtPrompter : public Prompter {
public:
    explicit QtPrompter(QWidget* parent = nullptr) : m_parent(parent) {}

    Answer Message(MessageKind kind, const std::string& text) override;
    std::optional<std::string> OpenFileName(const FileRequest& request) override;
    std::optional<std::string> SaveFileName(const FileRequest& request) override;
    std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                         const std::string& defaultText) override;

private:
    // The offer of a recovery file: a question box with Recover, Discard and Later.
    Answer RecoverDiscardLater(const std::string& text);
    std::optional<std::string> RunFileDialog(const FileRequest& request, bool save);

    QPointer<QWidget> m_parent;
};
