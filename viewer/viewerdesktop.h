#pragma once
// Everything the assistant viewer asks of the person or does outside itself: the question before a
// program is started, the open-file dialog, message boxes, opening an address in the browser and
// starting a program. The viewer calls only this interface, so tests answer and record every call
// without a person and without anything really being opened or started.
#include <QString>
#include <QStringList>

class QUrl;
class QWidget;

// A program the viewer is about to start: exactly what goes to the system, no shell in between.
struct ProgramLaunch {
    QString Program;       // the program file (a bare name is looked up on the PATH by the system)
    QStringList Arguments; // one entry per argument, quotes already removed
    QString WorkingFolder; // folder the program starts in; empty: the viewer's own
};

// The text that tells the user what will run: the program and each argument on a line of its own.
QString DescribeLaunch(const ProgramLaunch& launch);

class ViewerDesktop {
public:
    virtual ~ViewerDesktop() = default;
    // Asks whether the program may be started; `launch` is shown exactly as it will run.
    virtual bool ConfirmLaunch(QWidget* parent, const ProgramLaunch& launch) = 0;
    // Asks for an assistant file to open; empty when the user cancels.
    virtual QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder) = 0;
    // A message box with an OK button; the text is shown as plain text.
    virtual void ShowMessage(QWidget* parent, const QString& title, const QString& text) = 0;
    // Opens the address in the desktop's program for it; false when that failed.
    virtual bool OpenUrl(const QUrl& url) = 0;
    // Starts the program detached from the viewer; false when it could not be started.
    virtual bool StartProgram(const ProgramLaunch& launch) = 0;
};

// The real desktop: Qt's dialogs and message boxes, QDesktopServices and QProcess::startDetached.
class QtViewerDesktop final : public ViewerDesktop {
public:
    bool ConfirmLaunch(QWidget* parent, const ProgramLaunch& launch) override;
    QString AskOpenFileName(QWidget* parent, const QString& caption, const QString& folder) override;
    void ShowMessage(QWidget* parent, const QString& title, const QString& text) override;
    bool OpenUrl(const QUrl& url) override;
    bool StartProgram(const ProgramLaunch& launch) override;
};
