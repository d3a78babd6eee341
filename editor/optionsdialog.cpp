#include "editor/optionsdialog.h"

#include "editor/prompter.h"
#include "editor/spelloptions.h"
#include "editor/spellservice.h"

#include <QDialogButtonBox>
#include <QPushButton>
#include <QVBoxLayout>

OptionsDialog::OptionsDialog(SpellService& spelling, Prompter& prompter, QWidget* parent)
    : QDialog(parent), m_spelling(spelling), m_prompter(prompter) {
    setObjectName(QStringLiteral("OptionsDialog"));
    setWindowTitle(QStringLiteral("Options"));
    m_gbSpelling = new SpellOptionsWidget(spelling, this);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    m_bOk = buttons->button(QDialogButtonBox::Ok);
    m_bOk->setObjectName(QStringLiteral("bOk"));
    m_bCancel = buttons->button(QDialogButtonBox::Cancel);
    m_bCancel->setObjectName(QStringLiteral("bCancel"));

    // One group box after the other; later groups go between the last one and the stretch.
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_gbSpelling);
    layout->addStretch(1);
    layout->addWidget(buttons);
    setMinimumWidth(420);

    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

void OptionsDialog::accept() {
    if (!m_gbSpelling->Apply()) {
        m_prompter.Message(Prompter::MessageKind::ErrorOk, m_spelling.ErrorText().toStdString());
        return;
    }
    QDialog::accept();
}
