#pragma once
// The program's one spell checker: the dictionary of the chosen language, whether checking is on, the
// user's personal word list and the words ignored in this session. The highlighters and context menus
// of the text boxes ask it about words and rehighlight when it says Changed.
//
// Settings: "Spelling\Language" (a dictionary name such as "en_US"; absent: chosen from the locale) and
// "Spelling\Check" ("0" off, anything else on; absent: on). The personal word list is "words.txt" in
// the folder of the per-user settings file, one UTF-8 word a line.
#include <QObject>
#include <QString>
#include <memory>
#include <set>
#include <string>
#include <unordered_map>
#include <vector>

class SpellChecker;
class TRegWrap;

class SpellService : public QObject {
    Q_OBJECT
public:
    // Reads the settings and the personal word list and opens the dictionary. `localeName` ("de_DE")
    // picks the language when the settings name none or one that is not installed; empty: the system
    // locale's name.
    explicit SpellService(std::shared_ptr<TRegWrap> settings, QString localeName = {},
                          QObject* parent = nullptr);
    ~SpellService() override;

    // Where the personal word list of these settings lives.
    static QString PersonalWordsFileFor(const TRegWrap& settings);

    // The installed dictionaries, sorted (looked up again on each call).
    std::vector<std::string> InstalledLanguages() const;
    // The language being checked in; empty when no dictionary is installed or it could not be opened.
    const std::string& Language() const { return m_language; }
    // Stores the language and opens its dictionary. False, with nothing changed, when it is not
    // installed or cannot be read.
    bool SetLanguage(const std::string& language);

    bool Enabled() const { return m_enabled; }
    void SetEnabled(bool enabled);
    // Checking is on and a dictionary is open: only then are words marked.
    bool IsActive() const { return m_enabled && m_checker != nullptr; }

    // True for a correctly spelt UTF-8 word, and for every word while checking is not active.
    bool IsCorrect(const std::string& word) const;
    // Up to five suggestions, best first; none while checking is not active.
    std::vector<std::string> Suggestions(const std::string& word) const;

    // Adds the word to the personal word list (kept in its file) and accepts it from now on. False when
    // the file could not be written: the word is then accepted for this session only (ErrorText says
    // why).
    bool AddToDictionary(const std::string& word);
    // Accepts the word until the program ends.
    void Ignore(const std::string& word);

    const std::set<std::string>& PersonalWords() const { return m_personal; }
    const QString& PersonalWordsFile() const { return m_wordsFile; }
    // Why the last dictionary open or word list write failed; empty after a success.
    const QString& ErrorText() const { return m_error; }

Q_SIGNALS:
    // The language, the switch or the accepted words changed: marks must be worked out again.
    void Changed();

private:
    bool Open(const std::string& language);
    void ReadPersonalWords();
    bool WritePersonalWords();
    void Accept(const std::string& word);

    std::shared_ptr<TRegWrap> m_settings;
    QString m_wordsFile;
    std::unique_ptr<SpellChecker> m_checker;
    std::string m_language;
    bool m_enabled = true;
    std::set<std::string> m_personal;
    std::set<std::string> m_ignored;
    QString m_error;
    // Texts repeat words: each distinct word is asked of hunspell once until something changes.
    mutable std::unordered_map<std::string, bool> m_verdicts;
};
