#include "editor/qtprompter.h"

#include "editor/uitext.h"

#include <QFileDialog>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>

Prompter::Answer QtPrompter::Message(MessageKind kind, const std::string& text) {
    if (kind == MessageKind::RecoverDiscardLater)
        return RecoverDiscardLater(text);
    QMessageBox box(m_parent);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(ToDisplayText(text));
    switch (kind) {
    case MessageKind::WarningYesNoCancel:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::Cancel);
        break;
    case MessageKind::ConfirmYesNo:
        box.setIcon(QMessageBox::Question);
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        box.setDefaultButton(QMessageBox::Yes);
        box.setEscapeButton(QMessageBox::No);
        break;
    case MessageKind::WarningOk:
        box.setIcon(QMessageBox::Warning);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::ErrorOk:
        box.setIcon(QMessageBox::Critical);
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageKind::RecoverDiscardLater:
        break; // a box of its own, shown above
    }
    const int result = box.exec();
    switch (result) {
    case QMessageBox::Yes:
        return Answer::Yes;
    case QMessageBox::No:
        return Answer::No;
    case QMessageBox::Ok:
        return Answer::Ok;
    default:
        // Closed without a button: the safe answer of each kind.
        if (kind == MessageKind::WarningYesNoCancel)
            return Answer::Cancel;
        if (kind == MessageKind::ConfirmYesNo)
            return Answer::No;
        return Answer::Ok;
    }
}

Prompter::Answer QtPrompter::RecoverDiscardLater(const std::string& text) {
    QMessageBox box(m_parent);
    box.setWindowTitle(QGuiApplication::applicationDisplayName());
    box.setTextFormat(Qt::PlainText);
    box.setText(ToDisplayText(text));
    box.setIcon(QMessageBox::Question);
    QPushButton* recover = box.addButton(QStringLiteral("&Recover"), QMessageBox::AcceptRole);
    QPushButton* discard = box.addButton(QStringLiteral("&Discard"), QMessageBox::DestructiveRole);
    QPushButton* later = box.addButton(QStringLiteral("&Later"), QMessageBox::RejectRole);
    box.setDefaultButton(recover);
    box.setEscapeButton(later);
    box.exec();
    if (box.clickedButton() == recover)
        return Answer::Recover;
    if (box.clickedButton() == discard)
        return Answer::Discard;
    return Answer::Later; // also a box closed without a button: the files stay for the next start
}

std::optional<std::string> QtPrompter::RunFileDialog(const FileRequest& request, bool save) {
    QFileDialog dialog(m_parent, QString::fromStdString(request.title),
                       QString::fromStdString(request.initialFolder));
    dialog.setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    QStringList filters;
    for (const std::string& filter : request.filters)
        filters << QString::fromStdString(filter);
    dialog.setNameFilters(filters);
    if (request.selectedFilter >= 0 && request.selectedFilter < filters.size())
        dialog.selectNameFilter(filters.at(request.selectedFilter));
    if (!request.defaultExtension.empty())
        dialog.setDefaultSuffix(QString::fromStdString(request.defaultExtension));
    if (!request.overwritePrompt)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.proposedName.empty())
        dialog.selectFile(QString::fromStdString(request.proposedName));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QStringList chosen = dialog.selectedFiles();
    if (chosen.isEmpty())
        return std::nullopt;
    return chosen.first().toStdString();
}

std::optional<std::string> QtPrompter::OpenFileName(const FileRequest& request) {
    return RunFileDialog(request, false);
}

std::optional<std::string> QtPrompter::SaveFileName(const FileRequest& request) {
    return RunFileDialog(request, true);
}

std::optional<std::string> QtPrompter::InputText(const std::string& caption, const std::string& prompt,
                                                 const std::string& defaultText) {
    bool ok = false;
    const QString text =
        QInputDialog::getText(m_parent, QString::fromStdString(caption), ToDisplayText(prompt),
                              QLineEdit::Normal, QString::fromStdString(defaultText), &ok);
    if (!ok)
        return std::nullopt;
    return text.toStdString();
}
