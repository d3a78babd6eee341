// The Options command of the main window: the Options dialog over the window's spell checker.
#include "editor/mainwindow.h"
#include "editor/optionsdialog.h"

void MainWindow::aOptionsExecute() {
    if (m_spelling == nullptr) {
        m_prompter->Message(Prompter::MessageKind::ErrorOk,
                            "Spell checking is not available: the settings could not be read.");
        return;
    }
    OptionsDialog dialog(*m_spelling, *m_prompter, this);
    dialog.exec();
}
