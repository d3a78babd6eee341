#include "editor/spelloptions.h"

#include "editor/spellservice.h"
#include "spell/dictionaryfinder.h"

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
    // The language being checked in; when none is open yet (no dictionary was installed at start), the
    // one the program would take: the locale's, else en_US, else the first.
    std::string current = service.Language();
    if (current.empty())
        current = ChooseLanguage({}, QLocale::system().name().toStdString(), service.InstalledLanguages());
    m_cbSpellLanguage->setCurrentIndex(m_cbSpellLanguage->findData(QString::fromStdString(current)));

    m_note = new QLabel(this);
    m_note->setObjectName(QStringLiteral("lSpellNote"));
    m_note->setWordWrap(true);
    if (m_cbSpellLanguage->count() == 0) {
        // Nothing can be checked: the switch shows that and is left as stored (Apply keeps it).
        m_cbSpellLanguage->setEnabled(false);
        m_chSpellCheck->setChecked(false);
        m_chSpellCheck->setEnabled(false);
        m_note->setText(QStringLiteral("No dictionaries are installed. Install a hunspell dictionary "
                                       "(for example the package hunspell-en-us) and open Options again."));
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
    const QString language = m_cbSpellLanguage->currentData().toString();
    if (language.isEmpty())
        return true; // no dictionary to choose: nothing to store
    // The language first: when its dictionary cannot be opened nothing is stored, so that the dialog can
    // stay open and Cancel still leaves everything as it was.
    if (!m_service.SetLanguage(language.toStdString()))
        return false;
    m_service.SetEnabled(m_chSpellCheck->isChecked());
    return true;
}
