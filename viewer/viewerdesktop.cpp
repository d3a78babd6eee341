#include "viewer/viewerdesktop.h"

#include <QDesktopServices>
#include <QFileDialog>
#include <QMessageBox>
#include <QProcess>
#include <QUrl>

QString DescribeLaunch(const ProgramLaunch& launch) {
    QString text = QStringLiteral("Program: ") + launch.Program;
    if (launch.Arguments.isEmpty()) {
        text += QStringLiteral("\nNo arguments.");
    } else {
        for (qsizetype i = 0; i < launch.Arguments.size(); ++i)
            text += QStringLiteral("\nArgument %1: %2").arg(i + 1).arg(launch.Arguments[i]);
    }
    if (!launch.WorkingFolder.isEmpty())
        text += QStringLiteral("\nStarting in: ") + launch.WorkingFolder;
    return text;
}

bool QtViewerDesktop::ConfirmLaunch(QWidget* parent, const ProgramLaunch& launch) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Run a program"),
                    QStringLiteral("This option wants to start a program on your computer:\n\n") +
                        DescribeLaunch(launch) + QStringLiteral("\n\nStart it?"),
                    QMessageBox::Yes | QMessageBox::No, parent);
    // Program names and arguments come from the assistant file: never let them be read as markup.
    box.setTextFormat(Qt::PlainText);
    box.setDefaultButton(QMessageBox::No);
    return box.exec() == QMessageBox::Yes;
}

QString QtViewerDesktop::AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder) {
    return QFileDialog::getOpenFileName(parent, caption, folder,
                                        QStringLiteral("Assistant files (*.amf);;All files (*)"));
}

void QtViewerDesktop::ShowMessage(QWidget* parent, const QString& title, const QString& text) {
    QMessageBox box(QMessageBox::Information, title, text, QMessageBox::Ok, parent);
    box.setTextFormat(Qt::PlainText);
    box.exec();
}

bool QtViewerDesktop::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}

bool QtViewerDesktop::StartProgram(const ProgramLaunch& launch) {
    return QProcess::startDetached(launch.Program, launch.Arguments, launch.WorkingFolder);
}
