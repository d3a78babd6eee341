#include "editor/publishcommand.h"

#include "editor/prompter.h"
#include "model/assistroot.h"
#include "model/webpublisher.h"
#include "support/savetextfile.h"

#include <exception>
#include <filesystem>

std::optional<std::string> PublishAsWebPage(const TAssistRoot& root, Prompter& prompter,
                                            const std::string& startFolder) {
    namespace fs = std::filesystem;
    Prompter::FileRequest request;
    request.title = "Publish as web page";
    request.filters = {"Web pages (*.html)", "All files (*.*)"};
    request.defaultExtension = "html";
    if (!root.FileName.empty()) {
        // Beside the assistant and named after it, so pages of assistants that call each other meet.
        const fs::path file(root.FileName);
        request.initialFolder = file.parent_path().string();
        request.proposedName = file.stem().string() + ".html";
    } else {
        request.initialFolder = startFolder;
        if (!root.ID.empty())
            request.proposedName = root.ID + ".html";
    }
    std::optional<std::string> target = prompter.SaveFileName(request);
    if (!target || target->empty())
        return std::nullopt;
    if (!fs::path(*target).has_extension())
        *target += ".html";

    TPublishResult page;
    try {
        page = PublishWebPage(root);
        SaveTextToFile(page.Html, *target);
    } catch (const std::exception& e) {
        prompter.Message(Prompter::MessageKind::ErrorOk, e.what());
        return std::nullopt;
    }
    if (!page.Warnings.empty()) {
        std::string text =
            "The page " + *target + " was written, but it shows the names of these images instead:";
        for (const std::string& warning : page.Warnings)
            text += "\r" + warning;
        prompter.Message(Prompter::MessageKind::WarningOk, text);
    }
    return target;
}
