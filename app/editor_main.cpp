// The editor program: fixes the number format, sets the application title, answers --help and
// --version, and runs the main window (with the assistant files named on the command line) until the
// last window closes.
#include "editor/editorservices.h"
#include "editor/mainwindow.h"
#include "support/busy.h"
#include "support/textroutines.h"
#include "support/versioninfo.h"

#include <QApplication>

#include <cstdio>
#include <string>
#include <vector>

namespace {

const char* const kUsage = "Usage: assistant-editor [options] [file.amf...]\n"
                           "Edits assistant definition files. The first file opens in the main window,\n"
                           "each further file in a window of its own.\n"
                           "\n"
                           "Options:\n"
                           "  --help     show this text and exit\n"
                           "  --version  show the program's version and exit\n";

// --help and --version are answered without starting the window; true when one was.
bool AnswerInformationSwitch(const std::vector<std::string>& arguments) {
    for (const std::string& argument : arguments) {
        if (argument == "--help") {
            std::fputs(kUsage, stdout);
            return true;
        }
        if (argument == "--version") {
            const TFileVersion v = TVersionInformation::ProgramFileVersion();
            std::printf("Assistant Editor %s (build %s)\n", TVersionInformation::VersionText(v).c_str(),
                        TVersionInformation::BuildText(v).c_str());
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char** argv) {
    const std::vector<std::string> rawArguments(argv + 1, argv + argc);
    if (AnswerInformationSwitch(rawArguments))
        return 0;

    QApplication app(argc, argv);
    FixNumberFormat();
    QApplication::setApplicationName(QStringLiteral("Assistant Editor and Tester"));
    // No display name of its own: on X11 Qt would append it to every window title, and the title bar is
    // to read exactly the caption. Message boxes take the application name, which is the same text.
    SetBusyHook([](bool busy) {
        if (busy)
            QApplication::setOverrideCursor(Qt::WaitCursor);
        else
            QApplication::restoreOverrideCursor();
    });

    // Qt has taken its own switches (-style, -platform...) out of the list by now.
    std::vector<std::string> arguments;
    const QStringList list = QApplication::arguments();
    for (qsizetype i = 1; i < list.size(); ++i)
        arguments.push_back(list[i].toStdString());

    MainWindow window(TEditorServices::ForProgram(std::move(arguments)));
    window.show();
    return QApplication::exec();
}
