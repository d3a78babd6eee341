#include "editor/renamescreendialog.h"

#include "model/assistedits.h"
#include "model/assistroot.h"
#include "model/assistscreen.h"
#include "support/textroutines.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {
QString ReferenceCount(int n) {
    return n == 1 ? QStringLiteral("1 reference") : QStringLiteral("%1 references").arg(n);
}
} // namespace

RenameScreenDialog::RenameScreenDialog(TAssistRoot& root, TAssistScreen& screen, QWidget* parent)
    : QDialog(parent), root_(root), screen_(screen) {
    setObjectName(QStringLiteral("RenameScreenDialog"));
    setWindowTitle(QStringLiteral("Rename screen"));
    auto* current = new QLabel(QString::fromStdString(screen.ID), this);
    current->setObjectName(QStringLiteral("lCurrentID"));
    current->setTextFormat(Qt::PlainText);
    current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    eNewID_ = new QLineEdit(QString::fromStdString(screen.ID), this);
    eNewID_->setObjectName(QStringLiteral("eNewID"));
    eNewID_->selectAll();
    lMessage_ = new QLabel(this);
    lMessage_->setObjectName(QStringLiteral("lMessage"));
    lMessage_->setTextFormat(Qt::PlainText);
    lMessage_->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    bOk_ = buttons->button(QDialogButtonBox::Ok);
    bOk_->setObjectName(QStringLiteral("bOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Current ID:"), current);
    form->addRow(QStringLiteral("&New ID:"), eNewID_);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(lMessage_);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(eNewID_, &QLineEdit::textChanged, this, &RenameScreenDialog::Check);
    Check();
}

std::string RenameScreenDialog::NewID() const {
    return eNewID_->text().toStdString();
}

QString RenameScreenDialog::Problem() const {
    const std::string id = NewID();
    if (id.empty())
        return QStringLiteral("The new ID must not be empty.");
    if (id == screen_.ID)
        return QStringLiteral("The new ID is the same as the current one.");
    for (const TAssistScreen& other : root_.Screens)
        if (&other != &screen_ && SameText(other.ID, id))
            return QStringLiteral("Another screen already has the ID %1.")
                .arg(QString::fromStdString(other.ID));
    return {};
}

int RenameScreenDialog::References() const {
    return PlanScreenRename(root_, screen_, NewID()).References();
}

QString RenameScreenDialog::Message() const {
    return lMessage_->text();
}

void RenameScreenDialog::Check() {
    const QString problem = Problem();
    bOk_->setEnabled(problem.isEmpty());
    if (!problem.isEmpty()) {
        lMessage_->setText(problem);
        lMessage_->setStyleSheet(QStringLiteral("color: #b00020;"));
    } else {
        lMessage_->setText(QStringLiteral("%1 (go-to commands and the first screen) will change.")
                               .arg(ReferenceCount(References())));
        lMessage_->setStyleSheet(QString());
    }
}

std::optional<std::string> AskScreenRename(QWidget* parent, TAssistRoot& root, TAssistScreen& screen) {
    RenameScreenDialog dialog(root, screen, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.NewID();
}

QString ScreenRenameReport(const std::string& oldID, const std::string& newID, int references) {
    return QStringLiteral("Renamed screen %1 to %2; %3 changed.")
        .arg(QString::fromStdString(oldID), QString::fromStdString(newID), ReferenceCount(references));
}
