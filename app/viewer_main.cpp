// The assistant viewer as a program of its own: assistant-viewer FILE [--screen ID] [--no-exec].
// Without FILE it asks for one. The window is the one the editor's Test action shows.
#include <QApplication>
#include <QCommandLineParser>
#include <cstdio>

#include "support/qt/regwrap.h"
#include "support/versioninfo.h"
#include "viewer/assistantruntime.h"
#include "viewer/viewerdesktop.h"

namespace {
// The "never run programs" setting of the settings store ("Viewer\NeverRunPrograms" = 1).
bool NeverRunProgramsSetting() {
    try {
        const std::string value = TRegWrap::ForProgram()->ReadValue("Viewer\\NeverRunPrograms");
        return value == "1" || value == "true";
    } catch (const std::exception&) {
        return false; // an unreadable store leaves the default
    }
}
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Assistant Viewer"));
    QApplication::setApplicationDisplayName(QStringLiteral("Assistant Viewer"));
    const TVersionRecord version = TVersionInformation::OfProgram(std::string());
    QApplication::setApplicationVersion(QString::fromStdString(version.FileVersion));

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Shows an assistant (.amf file) screen by screen."));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("The assistant file; without it the viewer asks for one."));
    const QCommandLineOption screenOption(QStringLiteral("screen"), QStringLiteral("Start at the screen ID."),
                                          QStringLiteral("ID"));
    const QCommandLineOption noExecOption(QStringLiteral("no-exec"),
                                          QStringLiteral("Never start programs named by the assistant."));
    parser.addOption(screenOption);
    parser.addOption(noExecOption);
    parser.process(app);

    auto desktop = std::make_shared<QtViewerDesktop>();
    ViewerSetup setup;
    setup.Desktop = desktop;
    setup.NeverRunPrograms = parser.isSet(noExecOption) || NeverRunProgramsSetting();
    AssistantRuntime runtime(setup);

    const QStringList files = parser.positionalArguments();
    std::string loadedPath;
    const ComponentStatus loaded =
        runtime.LoadAssistantFile(files.isEmpty() ? std::string() : files.first().toStdString(), loadedPath);
    if (!loaded.Ok) {
        std::fprintf(stderr, "assistant-viewer: %s\n", loaded.Message.c_str());
        if (!files.isEmpty())
            desktop->ShowMessage(nullptr, QStringLiteral("Assistant Viewer"),
                                 QString::fromStdString(loaded.Message));
        return 1;
    }
    if (parser.isSet(screenOption))
        (void)runtime.SetInitialScreen(parser.value(screenOption).toStdString());
    const ComponentStatus ran = runtime.Run(nullptr, kRunShowOwned);
    if (!ran.Ok) {
        std::fprintf(stderr, "assistant-viewer: %s\n", ran.Message.c_str());
        return 1;
    }
    return QApplication::exec();
}
