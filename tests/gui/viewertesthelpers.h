#pragma once
// Shared pieces of the viewer tests: a desktop seam that answers and records every prompt and outside
// effect, a file finder with a fixed environment, and short ways to build assistants in code.
#include <QApplication>
#include <QUrl>
#include <memory>
#include <string>
#include <vector>

#include "components/filefinder.h"
#include "model/assistroot.h"
#include "viewer/viewerdesktop.h"
#include "viewer/viewersetup.h"

class RecordingDesktop final : public ViewerDesktop {
public:
    bool ConfirmAnswer = false; // answer to "start this program?"
    QString OpenFileAnswer;     // answer to the open dialog; empty = cancel
    bool OpenUrlSucceeds = true;
    bool StartSucceeds = true;
    std::vector<ProgramLaunch> Confirmations;
    std::vector<ProgramLaunch> Started;
    std::vector<QUrl> OpenedUrls;
    std::vector<QString> OpenFileCaptions;
    std::vector<QString> Messages;

    bool ConfirmLaunch(QWidget*, const ProgramLaunch& launch) override {
        Confirmations.push_back(launch);
        return ConfirmAnswer;
    }
    QString AskOpenFileName(QWidget*, const QString& caption, const QString&) override {
        OpenFileCaptions.push_back(caption);
        return OpenFileAnswer;
    }
    void ShowMessage(QWidget*, const QString&, const QString& text) override { Messages.push_back(text); }
    bool OpenUrl(const QUrl& url) override {
        OpenedUrls.push_back(url);
        return OpenUrlSucceeds;
    }
    bool StartProgram(const ProgramLaunch& launch) override {
        Started.push_back(launch);
        return StartSucceeds;
    }
};

// A finder whose codes point at fixed folders: {$HOME} /home/ann, {$DOCS} /home/ann/Documents,
// {$TEMP} the given folder, {$EXE} /opt/viewer.
inline std::shared_ptr<FileFinder> FixedFinder(const std::string& temp = "/tmp/viewer-test-temp") {
    FileFinder::Setup setup;
    setup.ProgramFolder = "/opt/viewer";
    setup.CurrentFolder = "/nonexistent-current";
    setup.Env = [temp](const std::string& name) -> std::string {
        if (name == "HOME")
            return "/home/ann";
        if (name == "TMPDIR")
            return temp;
        return {};
    };
    return std::make_shared<FileFinder>(setup);
}

inline TAssistScreen& AddScreen(TAssistRoot& root, const std::string& id, const std::string& caption,
                                std::vector<std::string> text = {}) {
    TAssistScreen& screen = *TAssistScreen::Create(root);
    screen.ID = id;
    screen.Caption = caption;
    screen.Description = std::move(text);
    return screen;
}

inline TAssistOption& AddOption(TAssistScreen& screen, const std::string& caption, TActionKind action,
                                const std::string& command, std::vector<std::string> description = {}) {
    TAssistOption& option = *TAssistOption::Create(screen);
    option.Caption = caption;
    option.Action = action;
    option.Command = command;
    option.Description = std::move(description);
    return option;
}

inline std::unique_ptr<TAssistRoot> NewAssistant(const std::string& caption, const std::string& firstScreen) {
    auto root = std::make_unique<TAssistRoot>("{00000000-0000-0000-0000-000000000000} Test User");
    root->Caption = caption;
    root->FirstScreen = firstScreen;
    return root;
}

// Destroys widgets whose deletion was deferred, so that tests end with nothing left over.
inline void FlushDeletes() {
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}
