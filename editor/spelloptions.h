#pragma once
// The "Spelling" group of the Options dialog: the dictionary language (the dictionaries installed on
// the system) and the switch for checking as you type. The dialog shows it and calls Apply on OK;
// Cancel simply discards the widget.
#include <QGroupBox>

class QCheckBox;
class QComboBox;
class QLabel;
class SpellService;

class SpellOptionsWidget : public QGroupBox {
    Q_OBJECT
public:
    explicit SpellOptionsWidget(SpellService& service, QWidget* parent = nullptr);

    QComboBox* cbSpellLanguage() const { return m_cbSpellLanguage; }
    QCheckBox* chSpellCheck() const { return m_chSpellCheck; }

    // Stores the choices in the service. False when the chosen dictionary could not be opened (the
    // service keeps its language and ErrorText says why); the switch is stored in any case.
    bool Apply();

    // How a dictionary is listed: "English (United States) - en_US", or the bare name when Qt does not
    // know the language.
    static QString LanguageTitle(const QString& language);

private:
    SpellService& m_service;
    QComboBox* m_cbSpellLanguage;
    QCheckBox* m_chSpellCheck;
    QLabel* m_note;
};
