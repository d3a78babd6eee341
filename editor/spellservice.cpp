#include "editor/spellservice.h"

#include "spell/dictionaryfinder.h"
#include "spell/spellchecker.h"
#include "support/error.h"
#include "support/qt/regwrap.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QSaveFile>

namespace {
constexpr const char* kLanguageValue = "Spelling\\Language";
constexpr const char* kCheckValue = "Spelling\\Check";

// A word the list can hold: not empty, no line breaks (a word from the tokenizer never has them).
bool IsListWord(const std::string& word) {
    return !word.empty() && word.find_first_of("\r\n") == std::string::npos;
}
} // namespace

SpellService::SpellService(std::shared_ptr<TRegWrap> settings, QString localeName, QObject* parent)
    : QObject(parent), m_settings(std::move(settings)), m_wordsFile(PersonalWordsFileFor(*m_settings)) {
    m_enabled = m_settings->ReadValue(kCheckValue, "1") != "0";
    ReadPersonalWords();
    if (localeName.isEmpty())
        localeName = QLocale::system().name();
    const std::string language = ChooseLanguage(m_settings->ReadValue(kLanguageValue, ""),
                                                localeName.toStdString(), InstalledLanguages());
    if (!language.empty())
        Open(language);
}

SpellService::~SpellService() = default;

QString SpellService::PersonalWordsFileFor(const TRegWrap& settings) {
    return QFileInfo(settings.UserFile()).absolutePath() + QStringLiteral("/words.txt");
}

std::vector<std::string> SpellService::InstalledLanguages() const {
    std::vector<std::string> languages;
    for (const DictionaryFiles& files : InstalledDictionaries())
        languages.push_back(files.Language);
    return languages;
}

bool SpellService::Open(const std::string& language) {
    const std::optional<DictionaryFiles> files = FindDictionary(language);
    if (!files) {
        m_error = QStringLiteral("No dictionary \"%1\" is installed.").arg(QString::fromStdString(language));
        return false;
    }
    std::unique_ptr<SpellChecker> checker;
    try {
        checker = std::make_unique<SpellChecker>(*files);
    } catch (const AppError& e) {
        m_error = QString::fromStdString(e.what());
        return false;
    }
    for (const std::string& word : m_personal)
        checker->Add(word);
    for (const std::string& word : m_ignored)
        checker->Add(word);
    m_checker = std::move(checker);
    m_language = language;
    m_verdicts.clear();
    m_error.clear();
    return true;
}

bool SpellService::SetLanguage(const std::string& language) {
    if (language == m_language && m_checker) {
        // Chosen now, even if it was only the locale's default before: keep it.
        m_settings->WriteValue(kLanguageValue, language);
        return true;
    }
    if (!Open(language))
        return false;
    m_settings->WriteValue(kLanguageValue, language);
    Q_EMIT Changed();
    return true;
}

void SpellService::SetEnabled(bool enabled) {
    if (enabled == m_enabled)
        return;
    m_enabled = enabled;
    m_settings->WriteValue(kCheckValue, enabled ? "1" : "0");
    Q_EMIT Changed();
}

bool SpellService::IsCorrect(const std::string& word) const {
    if (!IsActive())
        return true;
    const auto known = m_verdicts.find(word);
    if (known != m_verdicts.end())
        return known->second;
    const bool correct = m_checker->IsCorrect(word);
    m_verdicts.emplace(word, correct);
    return correct;
}

std::vector<std::string> SpellService::Suggestions(const std::string& word) const {
    if (!IsActive())
        return {};
    return m_checker->Suggestions(word, 5);
}

void SpellService::Accept(const std::string& word) {
    if (m_checker)
        m_checker->Add(word);
    m_verdicts.clear();
}

bool SpellService::AddToDictionary(const std::string& word) {
    if (!IsListWord(word))
        return false;
    // Another window or program may have added words since we read the file: keep them too.
    ReadPersonalWords();
    m_personal.insert(word);
    Accept(word);
    const bool written = WritePersonalWords();
    Q_EMIT Changed();
    return written;
}

void SpellService::Ignore(const std::string& word) {
    if (word.empty() || !m_ignored.insert(word).second)
        return;
    Accept(word);
    Q_EMIT Changed();
}

void SpellService::ReadPersonalWords() {
    QFile file(m_wordsFile);
    if (!file.open(QIODevice::ReadOnly))
        return; // no list yet
    const QByteArray bytes = file.readAll();
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const std::string word = rawLine.trimmed().toStdString();
        if (!IsListWord(word) || !m_personal.insert(word).second)
            continue;
        if (m_checker)
            m_checker->Add(word);
    }
    m_verdicts.clear();
}

bool SpellService::WritePersonalWords() {
    QDir().mkpath(QFileInfo(m_wordsFile).absolutePath());
    QSaveFile file(m_wordsFile);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray bytes;
        for (const std::string& word : m_personal) {
            bytes.append(word.data(), static_cast<qsizetype>(word.size()));
            bytes.append('\n');
        }
        if (file.write(bytes) == bytes.size() && file.commit()) {
            m_error.clear();
            return true;
        }
    }
    m_error =
        QStringLiteral("Cannot write the personal word list %1: %2").arg(m_wordsFile, file.errorString());
    return false;
}
