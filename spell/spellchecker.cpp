#include "spell/spellchecker.h"

#include "support/error.h"

#include <cerrno>
#include <fstream>
#include <hunspell.hxx>
#include <iconv.h>
#include <optional>

namespace {
bool IsUtf8Name(std::string name) {
    for (char& c : name)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return name == "UTF-8" || name == "UTF8";
}

// hunspell spells ISO 8859 names without the hyphen iconv expects after "ISO" ("ISO8859-1").
std::string IconvName(const std::string& name) {
    if (name.size() > 3 && (name.compare(0, 3, "ISO") == 0 || name.compare(0, 3, "iso") == 0) &&
        name[3] != '-' && name[3] != '_')
        return "ISO-" + name.substr(3);
    return name;
}

// Converts between encodings; nothing when a character cannot be represented or the pair is unknown.
std::optional<std::string> Convert(const std::string& text, const std::string& from, const std::string& to) {
    iconv_t cd = ::iconv_open(IconvName(to).c_str(), IconvName(from).c_str());
    if (cd == reinterpret_cast<iconv_t>(-1))
        return std::nullopt;
    std::string input = text;
    std::string output(text.size() * 4 + 8, '\0');
    char* in = input.data();
    std::size_t inLeft = input.size();
    char* out = output.data();
    std::size_t outLeft = output.size();
    const std::size_t result = ::iconv(cd, &in, &inLeft, &out, &outLeft);
    ::iconv_close(cd);
    if (result == static_cast<std::size_t>(-1) || inLeft != 0)
        return std::nullopt;
    // iconv may transliterate or count irreversible conversions; only exact conversions are kept.
    if (result != 0)
        return std::nullopt;
    output.resize(output.size() - outLeft);
    return output;
}

bool Readable(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    return file.good();
}
} // namespace

SpellChecker::SpellChecker(const DictionaryFiles& files) : m_language(files.Language) {
    // hunspell reports no error for files it cannot open; it only knows no words then.
    if (!Readable(files.AffixFile) || !Readable(files.WordFile))
        throw AppError("Cannot read the dictionary \"" + files.Language + "\" (" + files.AffixFile + ", " +
                       files.WordFile + ").");
    m_hunspell = std::make_unique<Hunspell>(files.AffixFile.c_str(), files.WordFile.c_str());
    m_encoding = m_hunspell->get_dict_encoding();
    m_utf8 = IsUtf8Name(m_encoding);
}

SpellChecker::~SpellChecker() = default;

std::optional<bool> SpellChecker::Judge(const std::string& word) const {
    if (m_utf8)
        return m_hunspell->spell(word);
    const std::optional<std::string> encoded = Convert(word, "UTF-8", m_encoding);
    if (!encoded)
        return std::nullopt;
    return m_hunspell->spell(*encoded);
}

bool SpellChecker::IsCorrect(const std::string& word) const {
    const std::optional<bool> verdict = Judge(word);
    if (verdict.value_or(false))
        return true;
    // Dictionaries spell "don't" with the ASCII apostrophe; texts often have the typographic one
    // (U+2019), which word processors put in for it.
    static const std::string kTypographic = "\xE2\x80\x99";
    if (word.find(kTypographic) != std::string::npos) {
        std::string plain = word;
        for (std::size_t at = plain.find(kTypographic); at != std::string::npos;
             at = plain.find(kTypographic, at))
            plain.replace(at, kTypographic.size(), "'");
        if (const std::optional<bool> plainVerdict = Judge(plain))
            return *plainVerdict;
    }
    return !verdict.has_value();
}

bool SpellChecker::Add(const std::string& word) {
    if (word.empty())
        return false;
    const std::optional<std::string> encoded =
        m_utf8 ? std::optional<std::string>(word) : Convert(word, "UTF-8", m_encoding);
    if (!encoded)
        return false;
    m_hunspell->add(*encoded);
    return true;
}

std::vector<std::string> SpellChecker::Suggestions(const std::string& word, std::size_t limit) const {
    std::vector<std::string> result;
    std::optional<std::string> encoded =
        m_utf8 ? std::optional<std::string>(word) : Convert(word, "UTF-8", m_encoding);
    if (!encoded)
        return result;
    for (const std::string& suggestion : m_hunspell->suggest(*encoded)) {
        if (result.size() >= limit)
            break;
        if (m_utf8) {
            result.push_back(suggestion);
        } else if (std::optional<std::string> text = Convert(suggestion, m_encoding, "UTF-8")) {
            result.push_back(*text);
        }
    }
    return result;
}
