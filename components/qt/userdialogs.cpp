#include "components/qt/userdialogs.h"

#include <QDesktopServices>
#include <QDialog>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QUrl>

QString QtUserDialogs::AskSaveFileName(QWidget* parent, const QString& caption, const QString& suggestedPath,
                                       const QString& filter) {
    return QFileDialog::getSaveFileName(parent, caption, suggestedPath, filter);
}

bool QtUserDialogs::AskPrinter(QWidget* parent, QPrinter& printer) {
    QPrintDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

void QtUserDialogs::ShowError(QWidget* parent, const QString& title, const QString& message) {
    QMessageBox::warning(parent, title, message);
}

int QtUserDialogs::RunDialog(QDialog& dialog) {
    return dialog.exec();
}

bool QtUserDialogs::OpenUrl(const QUrl& url) {
    return QDesktopServices::openUrl(url);
}
