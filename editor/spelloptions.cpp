#include "editor/spelloptions.h"

#include "editor/spellservice.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QLabel>
#include <QLocale>

SpellOptionsWidget::SpellOptionsWidget(SpellService& service, QWidget* parent)
    : QGroupBox(QStringLiteral("Spelling"), parent), service_(service) {
    setObjectName(QStringLiteral("gbSpelling"));
    chSpellCheck_ = new QCheckBox(QStringLiteral("&Check spelling as you type"), this);
    chSpellCheck_->setObjectName(QStringLiteral("chSpellCheck"));
    chSpellCheck_->setChecked(service.Enabled());

    cbSpellLanguage_ = new QComboBox(this);
    cbSpellLanguage_->setObjectName(QStringLiteral("cbSpellLanguage"));
    for (const std::string& language : service.InstalledLanguages()) {
        const QString name = QString::fromStdString(language);
        cbSpellLanguage_->addItem(LanguageTitle(name), name);
    }
    cbSpellLanguage_->setCurrentIndex(cbSpellLanguage_->findData(QString::fromStdString(service.Language())));

    note_ = new QLabel(this);
    note_->setObjectName(QStringLiteral("lSpellNote"));
    note_->setWordWrap(true);
    if (cbSpellLanguage_->count() == 0) {
        cbSpellLanguage_->setEnabled(false);
        note_->setText(
            QStringLiteral("No dictionaries are installed. Install a hunspell dictionary "
                           "(for example the package hunspell-en-us) and start the program again."));
    } else {
        note_->hide();
    }

    auto* layout = new QFormLayout(this);
    layout->addRow(chSpellCheck_);
    auto* label = new QLabel(QStringLiteral("&Language:"), this);
    label->setBuddy(cbSpellLanguage_);
    layout->addRow(label, cbSpellLanguage_);
    layout->addRow(note_);
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
    service_.SetEnabled(chSpellCheck_->isChecked());
    const QString language = cbSpellLanguage_->currentData().toString();
    if (language.isEmpty())
        return true;
    return service_.SetLanguage(language.toStdString());
}
