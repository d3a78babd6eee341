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
    : QDialog(parent), m_root(root), m_screen(screen) {
    setObjectName(QStringLiteral("RenameScreenDialog"));
    setWindowTitle(QStringLiteral("Rename screen"));
    auto* current = new QLabel(QString::fromStdString(screen.ID), this);
    current->setObjectName(QStringLiteral("lCurrentID"));
    current->setTextFormat(Qt::PlainText);
    current->setTextInteractionFlags(Qt::TextSelectableByMouse);
    m_eNewID = new QLineEdit(QString::fromStdString(screen.ID), this);
    m_eNewID->setObjectName(QStringLiteral("eNewID"));
    m_eNewID->selectAll();
    m_lMessage = new QLabel(this);
    m_lMessage->setObjectName(QStringLiteral("lMessage"));
    m_lMessage->setTextFormat(Qt::PlainText);
    m_lMessage->setWordWrap(true);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_bOk = buttons->button(QDialogButtonBox::Ok);
    m_bOk->setObjectName(QStringLiteral("bOk"));
    buttons->button(QDialogButtonBox::Cancel)->setObjectName(QStringLiteral("bCancel"));

    auto* form = new QFormLayout;
    form->addRow(QStringLiteral("Current ID:"), current);
    form->addRow(QStringLiteral("&New ID:"), m_eNewID);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_lMessage);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_eNewID, &QLineEdit::textChanged, this, &RenameScreenDialog::Check);
    Check();
}

std::string RenameScreenDialog::NewID() const {
    return m_eNewID->text().toStdString();
}

QString RenameScreenDialog::Problem() const {
    const std::string id = NewID();
    if (id.empty())
        return QStringLiteral("The new ID must not be empty.");
    if (id == m_screen.ID)
        return QStringLiteral("The new ID is the same as the current one.");
    for (const TAssistScreen& other : m_root.Screens)
        if (&other != &m_screen && SameText(other.ID, id))
            return QStringLiteral("Another screen already has the ID %1.")
                .arg(QString::fromStdString(other.ID));
    return {};
}

int RenameScreenDialog::References() const {
    return PlanScreenRename(m_root, m_screen, NewID()).References();
}

QString RenameScreenDialog::Message() const {
    return m_lMessage->text();
}

void RenameScreenDialog::Check() {
    const QString problem = Problem();
    m_bOk->setEnabled(problem.isEmpty());
    if (!problem.isEmpty()) {
        m_lMessage->setText(problem);
        m_lMessage->setStyleSheet(QStringLiteral("color: #b00020;"));
    } else {
        m_lMessage->setText(QStringLiteral("%1 (go-to commands and the first screen) will change.")
                                .arg(ReferenceCount(References())));
        m_lMessage->setStyleSheet(QString());
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
