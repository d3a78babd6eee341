#pragma once
// The one seam through which the editor asks the user anything: message boxes, the open and save file
// dialogs and the input box. The main window and the dialogs call only this interface, so tests can answer
// every question from a script and the real program shows Qt dialogs (QtPrompter).
// Texts are UTF-8; message texts may use CR or CR LF for line breaks.
#include <optional>
#include <string>
#include <vector>

class Prompter {
public:
    // The kinds of message box the editor shows; each has a fixed set of buttons.
    enum class MessageKind {
        WarningYesNoCancel,  // prompt to save a changed assistant
        ConfirmYesNo,        // deletions, offer to create a missing screen
        WarningOk,           // notices
        ErrorOk,             // failures shown to the user
        RecoverDiscardLater, // offer of a recovery file left by an editor that did not close normally
    };
    enum class Answer { Yes, No, Cancel, Ok, Recover, Discard, Later };

    // What an open or save file dialog shows. Filters are "Description (*.ext)" texts; selectedFilter is an
    // index into filters (or -1 for none). defaultExtension is without the point ("amf").
    struct FileRequest {
        std::string title;
        std::string initialFolder;
        std::string proposedName;
        std::vector<std::string> filters;
        int selectedFilter = 0;
        std::string defaultExtension;
        bool overwritePrompt = true;
    };

    virtual ~Prompter() = default;

    // Shows a message box of the given kind and returns the button chosen. Closing a Yes/No/Cancel box
    // answers Cancel, closing a Yes/No box answers No, closing a Recover/Discard/Later box answers Later
    // (nothing is lost), an OK box always answers Ok.
    virtual Answer Message(MessageKind kind, const std::string& text) = 0;
    // Returns the chosen file name, or nothing when the dialog was cancelled.
    virtual std::optional<std::string> OpenFileName(const FileRequest& request) = 0;
    virtual std::optional<std::string> SaveFileName(const FileRequest& request) = 0;
    // Returns the entered text, or nothing when the box was cancelled.
    virtual std::optional<std::string> InputText(const std::string& caption, const std::string& prompt,
                                                 const std::string& defaultText) = 0;
};

// The filters every assistant file dialog offers, "Assistant files" selected.
inline Prompter::FileRequest AssistantFileRequest(std::string title) {
    Prompter::FileRequest request;
    request.title = std::move(title);
    request.filters = {"Assistant files (*.amf)", "All files (*.*)"};
    request.selectedFilter = 0;
    request.defaultExtension = "amf";
    return request;
}
