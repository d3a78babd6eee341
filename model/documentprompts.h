#pragma once
// What saving and opening an assistant file may need to ask the person using the program: a file name
// (the dialog may be cancelled), whether to save unsaved changes first, and whether to replace a file
// that nobody has chosen to replace. The editor answers with its
// dialogs; tests and command-line tools answer without a person.
#include <optional>
#include <string>

enum class TSaveFirstAnswer { Yes, No, Cancel };

struct TFileDialogRequest {
    bool ForSave = false;         // a save dialog (else an open dialog)
    std::string Title;            // "Save assistant definition" / "Load assistant definition"
    std::string InitialFolder;    // folder shown first
    std::string ProposedName;     // name proposed in the dialog
    std::string DefaultExtension; // extension added to a typed name without one ("amf" when opening)
};

class IDocumentPrompts {
public:
    virtual ~IDocumentPrompts() = default;
    // The chosen file name, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> AskFileName(const TFileDialogRequest& request) = 0;
    // Asks the Yes/No/Cancel question `text` (lines separated by CR).
    virtual TSaveFirstAnswer AskSaveFirst(const std::string& text) = 0;
    // Asks the Yes/No question `text` (lines separated by CR) before an existing file is replaced;
    // true for Yes.
    virtual bool AskReplace(const std::string& text) = 0;
    // The program's own folder, the initial folder of a dialog when the assistant has no file name yet.
    virtual std::string ProgramFolder() const = 0;
};
