#include "editor/spelloptions.h"

#include "editor/spellservice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>

SpellOptionsWidget::SpellOptionsWidget(SpellService& service, QWidget* parent)
    : QGroupBox(QStringLiteral("Spelling"), parent), m_service(service) {
    setObjectName(QStringLiteral("gbSpelling"));
    m_chSpellCheck = new QCheckBox(QStringLiteral("&Check spelling as you type"), this);
    m_chSpellCheck->setObjectName(QStringLiteral("chSpellCheck"));
    m_chSpellCheck->setChecked(service.Enabled());

    m_cbSpellLanguage = new QComboBox(this);
    m_cbSpellLanguage->setObjectName(QStringLiteral("cbSpellLanguage"));
    for (const std::string& language : service.InstalledLanguages()) {
        const QString name = QString::fromStdString(language);
        m_cbSpellLanguage->addItem(LanguageTitle(name), name);
    }
    m_cbSpellLanguage->setCurrentIndex(
        m_cbSpellLanguage->findData(QString::fromStdString(service.Language())));

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lSpellNote"));
    m_note->setWordWrap(true);
    if (m_cbSpellLanguage->count() == 0) {
        m_cbSpellLanguage->setEnabled(false);
        m_note->setText(
            QStringLiteral("No dictionaries are installed. Install a hunspell dictionary "
                           "(for example the package hunspell-en-us) and start the program again."));
    } else {
        m_note->hide();
    }

    auto* layout = new QFormLayout(this);
    layout->addRow(m_chSpellCheck);
    auto* label = new QLabel(QStringLiteral("&Language:"), this);
    label->setBuddy(m_cbSpellLanguage);
    layout->addRow(label, m_cbSpellLanguage);
    layout->addRow(m_note);
}

QString SpellOptionsWidget::LanguageTitle(const QString& language) {
    const QLocale locale(language);
    // QLocale falls back to "C" for names it does not know.
    if (locale.language() == QLocale::C || locale.language() == QLocale::AnyLanguage)
        return language;
    QString title = QLocale::languageToString(locale.language());
    if (language.contains(QLatin1Char('_')) && locale.territory() != QLocale::AnyTerritory)
        title += QStringLiteral(" (%1)").arg(QLocale::territoryToString(locale.territory()));
    return title + QStringLiteral(" - ") + language;
}

bool SpellOptionsWidget::Apply() {
    m_service.SetEnabled(m_chSpellCheck->isChecked());
    const QString language = m_cbSpellLanguage->currentData().toString();
    if (language.isEmpty())
        return true;
    return m_service.SetLanguage(language.toStdString());
}
