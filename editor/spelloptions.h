#pragma once
// The "Spelling" group of the Options dialog: the dictionary language (the dictionaries installed on
// the system) and the switch for checking as you type. The dialog shows it and calls Apply on OK;
// Cancel simply discards the widget. With no dictionary installed the group says so, and the switch is
// shown off and cannot be changed.
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

    // Stores the choices in the service. False when the chosen dictionary could not be opened: then
    // nothing is stored (the service keeps its language and switch, and ErrorText says why). With no
    // dictionary to choose it stores nothing.
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
