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
// set, then /usr/share/hunspell and /usr/share/myspell/dicts.
std::vector<std::string> DictionaryFolders();

// The languages with both files present, sorted and without repeats (the first folder wins).
std::vector<DictionaryFiles> InstalledDictionaries();

// The dictionary of a language; nothing when none of the folders holds both of its files.
std::optional<DictionaryFiles> FindDictionary(const std::string& language);
