#include "spell/dictionaryfinder.h"

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::vector<std::string> DictionaryFolders() {
    std::vector<std::string> folders;
    if (const char* path = std::getenv("AMF_DICTIONARY_PATH")) {
        std::string list(path);
        std::size_t start = 0;
        while (start <= list.size()) {
            std::size_t end = list.find(':', start);
            if (end == std::string::npos)
                end = list.size();
            if (end > start)
                folders.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    // "0" leaves the system's dictionaries out: a test or a sandbox then sees only its own folders.
    const char* system = std::getenv("AMF_SYSTEM_DICTIONARIES");
    if (system == nullptr || std::string(system) != "0") {
        folders.emplace_back("/usr/share/hunspell");
        folders.emplace_back("/usr/share/myspell/dicts");
    }
    return folders;
}

namespace {
bool IsFile(const fs::path& path) {
    std::error_code ec;
    return fs::is_regular_file(path, ec);
}

DictionaryFiles FilesIn(const fs::path& folder, const std::string& language) {
    return {language, (folder / (language + ".aff")).string(), (folder / (language + ".dic")).string()};
}
} // namespace

std::vector<DictionaryFiles> InstalledDictionaries() {
    std::vector<DictionaryFiles> found;
    for (const std::string& folder : DictionaryFolders()) {
        std::error_code ec;
        fs::directory_iterator it(folder, ec);
        if (ec)
            continue;
        for (; it != fs::directory_iterator(); it.increment(ec)) {
            const fs::path& path = it->path();
            if (path.extension() != ".dic" || !IsFile(path))
                continue;
            const std::string language = path.stem().string();
            if (language.empty() || !IsFile(fs::path(folder) / (language + ".aff")))
                continue;
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const DictionaryFiles& d) { return d.Language == language; });
            if (!known)
                found.push_back(FilesIn(folder, language));
        }
    }
    std::sort(found.begin(), found.end(),
              [](const DictionaryFiles& a, const DictionaryFiles& b) { return a.Language < b.Language; });
    return found;
}

std::optional<DictionaryFiles> FindDictionary(const std::string& language) {
    // A language is a file name stem; a path would reach outside the folders.
    if (language.empty() || language.find('/') != std::string::npos || language == "." || language == "..")
        return std::nullopt;
    for (const std::string& folder : DictionaryFolders()) {
        DictionaryFiles files = FilesIn(folder, language);
        if (IsFile(files.AffixFile) && IsFile(files.WordFile))
            return files;
    }
    return std::nullopt;
}

namespace {
bool Contains(const std::vector<std::string>& list, const std::string& item) {
    return std::find(list.begin(), list.end(), item) != list.end();
}
} // namespace

std::string ChooseLanguage(const std::string& wanted, const std::string& localeName,
                           const std::vector<std::string>& installed) {
    if (!wanted.empty() && Contains(installed, wanted))
        return wanted;
    // "de-DE.UTF-8@euro" -> "de_DE"
    std::string locale = localeName.substr(0, localeName.find_first_of(".@"));
    std::replace(locale.begin(), locale.end(), '-', '_');
    if (!locale.empty() && Contains(installed, locale))
        return locale;
    const std::string languagePart = locale.substr(0, locale.find('_'));
    if (!languagePart.empty() && languagePart != "C" && languagePart != "POSIX") {
        for (const std::string& language : installed)
            if (language == languagePart || language.rfind(languagePart + "_", 0) == 0)
                return language;
    }
    if (Contains(installed, "en_US"))
        return "en_US";
    return installed.empty() ? std::string() : installed.front();
}
