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
    : QObject(parent), settings_(std::move(settings)), wordsFile_(PersonalWordsFileFor(*settings_)) {
    enabled_ = settings_->ReadValue(kCheckValue, "1") != "0";
    ReadPersonalWords();
    if (localeName.isEmpty())
        localeName = QLocale::system().name();
    const std::string language = ChooseLanguage(settings_->ReadValue(kLanguageValue, ""),
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
        error_ = QStringLiteral("No dictionary \"%1\" is installed.").arg(QString::fromStdString(language));
        return false;
    }
    std::unique_ptr<SpellChecker> checker;
    try {
        checker = std::make_unique<SpellChecker>(*files);
    } catch (const AppError& e) {
        error_ = QString::fromStdString(e.what());
        return false;
    }
    for (const std::string& word : personal_)
        checker->Add(word);
    for (const std::string& word : ignored_)
        checker->Add(word);
    checker_ = std::move(checker);
    language_ = language;
    verdicts_.clear();
    error_.clear();
    return true;
}

bool SpellService::SetLanguage(const std::string& language) {
    if (language == language_ && checker_) {
        // Chosen now, even if it was only the locale's default before: keep it.
        settings_->WriteValue(kLanguageValue, language);
        return true;
    }
    if (!Open(language))
        return false;
    settings_->WriteValue(kLanguageValue, language);
    Q_EMIT Changed();
    return true;
}

void SpellService::SetEnabled(bool enabled) {
    if (enabled == enabled_)
        return;
    enabled_ = enabled;
    settings_->WriteValue(kCheckValue, enabled ? "1" : "0");
    Q_EMIT Changed();
}

bool SpellService::IsCorrect(const std::string& word) const {
    if (!IsActive())
        return true;
    const auto known = verdicts_.find(word);
    if (known != verdicts_.end())
        return known->second;
    const bool correct = checker_->IsCorrect(word);
    verdicts_.emplace(word, correct);
    return correct;
}

std::vector<std::string> SpellService::Suggestions(const std::string& word) const {
    if (!IsActive())
        return {};
    return checker_->Suggestions(word, 5);
}

void SpellService::Accept(const std::string& word) {
    if (checker_)
        checker_->Add(word);
    verdicts_.clear();
}

bool SpellService::AddToDictionary(const std::string& word) {
    if (!IsListWord(word))
        return false;
    // Another window or program may have added words since we read the file: keep them too.
    ReadPersonalWords();
    personal_.insert(word);
    Accept(word);
    const bool written = WritePersonalWords();
    Q_EMIT Changed();
    return written;
}

void SpellService::Ignore(const std::string& word) {
    if (word.empty() || !ignored_.insert(word).second)
        return;
    Accept(word);
    Q_EMIT Changed();
}

void SpellService::ReadPersonalWords() {
    QFile file(wordsFile_);
    if (!file.open(QIODevice::ReadOnly))
        return; // no list yet
    const QByteArray bytes = file.readAll();
    for (const QByteArray& rawLine : bytes.split('\n')) {
        const std::string word = rawLine.trimmed().toStdString();
        if (!IsListWord(word) || !personal_.insert(word).second)
            continue;
        if (checker_)
            checker_->Add(word);
    }
    verdicts_.clear();
}

bool SpellService::WritePersonalWords() {
    QDir().mkpath(QFileInfo(wordsFile_).absolutePath());
    QSaveFile file(wordsFile_);
    if (file.open(QIODevice::WriteOnly)) {
        QByteArray bytes;
        for (const std::string& word : personal_) {
            bytes.append(word.data(), static_cast<qsizetype>(word.size()));
            bytes.append('\n');
        }
        if (file.write(bytes) == bytes.size() && file.commit()) {
            error_.clear();
            return true;
        }
    }
    error_ = QStringLiteral("Cannot write the personal word list %1: %2").arg(wordsFile_, file.errorString());
    return false;
}
