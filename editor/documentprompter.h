#pragma once
// Answers the questions of the assistant's file operations (file names, whether to save first) with
// the editor's prompter, so every dialog of a save or an open goes through the one seam tests script.
#include "model/documentprompts.h"

class Prompter;

class TDocumentPrompter final : public IDocumentPrompts {
public:
    explicit TDocumentPrompter(Prompter& prompter) : m_prompter(prompter) {}
    Prompter& Target() const { return m_prompter; }

    std::optional<std::string> AskFileName(const TFileDialogRequest& request) override;
    TSaveFirstAnswer AskSaveFirst(const std::string& text) override;
    bool AskReplace(const std::string& text) override;
    std::string ProgramFolder() const override;

private:
    Prompter& m_prompter;
};
