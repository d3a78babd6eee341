#pragma once
// The questions and messages that the component windows put to the user, behind one small interface:
// the real one shows Qt's dialogs, tests answer without a person, and the editor may put its own in.
#include <QString>

class QDialog;
class QPrinter;
class QUrl;
class QWidget;

class UserDialogs {
public:
    virtual ~UserDialogs() = default;
    // Asks for the name of a file to write; empty when the user cancels.
    virtual QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                                    const QString& filter) = 0;
    // Lets the user choose and set up the printer; false when the user cancels.
    virtual bool AskPrinter(QWidget* parent, QPrinter& printer) = 0;
    virtual void ShowError(QWidget* parent, const QString& title, const QString& message) = 0;
    // Runs a modal dialog until it closes and gives its result code.
    virtual int RunDialog(QDialog& dialog) = 0;
    // Opens the URL with the desktop's program for it (a web browser for .html files); false on failure.
    virtual bool OpenUrl(const QUrl& url) = 0;
};

// The dialogs of the desktop: file dialog, print dialog, message box and the desktop services.
class QtUserDialogs final : public UserDialogs {
public:
    QString AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                            const QString& filter) override;
    bool AskPrinter(QWidget* parent, QPrinter& printer) override;
    void ShowError(QWidget* parent, const QString& title, const QString& message) override;
    int RunDialog(QDialog& dialog) override;
    bool OpenUrl(const QUrl& url) override;
};
