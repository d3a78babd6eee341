// The editor program: the application with its title and the main window, until the window closes.
#include "editor/pathovamainform.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Assistant Editor and Tester"));
    QApplication::setApplicationDisplayName(QStringLiteral("Assistant Editor and Tester"));
    TPathovaMainForm window;
    window.show();
    return QApplication::exec();
}
