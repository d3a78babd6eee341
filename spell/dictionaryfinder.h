#pragma once
// Finds the hunspell dictionaries installed on the machine: a language such as "en_US" is a pair of
// files LANG.aff and LANG.dic in one of the dictionary folders.
#include <optional>
#include <string>
#include <vector>

struct DictionaryFiles {
    std::string Language;
    std::string AffixFile; // LANG.aff
    std::string WordFile;  // LANG.dic
};

// The folders looked in, in order: the entries of AMF_DICTIONARY_PATH (separated by ':') when it is
// set, then /usr/share/hunspell and /usr/share/myspell/dicts (left out when AMF_SYSTEM_DICTIONARIES is
// "0").
std::vector<std::string> DictionaryFolders();

// The languages with both files present, sorted and without repeats (the first folder wins).
std::vector<DictionaryFiles> InstalledDictionaries();

// The dictionary of a language; nothing when none of the folders holds both of its files.
std::optional<DictionaryFiles> FindDictionary(const std::string& language);

// The language to check in, from the installed ones (sorted, as InstalledDictionaries gives them):
// `wanted` when it is installed; else the locale's ("de_DE"; "de-DE" and "de_DE.UTF-8" name it too);
// else another dictionary of the locale's language ("de_AT" for "de_DE"); else en_US; else the first
// installed. Empty when nothing is installed.
std::string ChooseLanguage(const std::string& wanted, const std::string& localeName,
                           const std::vector<std::string>& installed);
