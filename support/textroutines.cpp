#include "support/textroutines.h"

#include <charconv>
#include <clocale>
#include <locale>

namespace {
bool IsBlankOrControl(char c) {
    return static_cast<unsigned char>(c) <= 32;
}

template <typename T> T ParseDef(std::string_view text, T fallback) {
    const char* first = text.data();
    const char* last = text.data() + text.size();
    if (first != last && *first == '+')
        ++first; // from_chars refuses an explicit plus sign
    if (first == last || *first == '+')
        return fallback;
    T value{};
    const auto [ptr, ec] = std::from_chars(first, last, value, 10);
    if (ec != std::errc() || ptr != last)
        return fallback;
    return value;
}
} // namespace

std::string QuoteIfNeeded(const std::string& text, std::string_view extra) {
    if (text.empty())
        return text;
    bool hasDouble = false, hasSingle = false, forcing = false;
    for (char c : text) {
        switch (c) {
        case '"':
            hasDouble = true;
            break;
        case '\'':
            hasSingle = true;
            break;
        case '\t':
        case ',':
        case '(':
        case ')':
        case '[':
        case ']':
        case '{':
        case '}':
            forcing = true;
            break;
        default:
            if (extra.find(c) != std::string_view::npos)
                forcing = true;
        }
    }
    if (hasSingle && hasDouble) {
        // The classic form turns every double quote into an apostrophe, which loses the double quotes of
        // names that hold both (legal in file names here). Such a text is written as a double-quoted item
        // in which each double quote is doubled; NextListItem reads a doubled quote back as one. Readers
        // of the classic form still get a readable item.
        std::string out = "\"";
        for (char c : text) {
            out += c;
            if (c == '"')
                out += '"';
        }
        out += '"';
        return out;
    }
    if (hasSingle)
        return "\"" + text + "\"";
    if (hasDouble)
        return "'" + text + "'";
    if (forcing || text.front() == ' ' || text.back() == ' ')
        return "\"" + text + "\"";
    return text;
}

std::string NextListItem(std::string& text) {
    text = Trim(text);
    if (text.empty())
        return {};
    const char quote = text.front();
    if (quote == '"' || quote == '\'') {
        std::string item;
        size_t i = 1;
        bool closed = false;
        while (i < text.size()) {
            if (text[i] == quote) {
                // A doubled double quote inside a double-quoted item stands for one double quote.
                if (quote == '"' && i + 1 < text.size() && text[i + 1] == '"') {
                    item += '"';
                    i += 2;
                    continue;
                }
                closed = true;
                break;
            }
            item += text[i++];
        }
        text = closed ? text.substr(i + 1) : std::string();
        if (!text.empty() && text.front() == ',')
            text.erase(0, 1);
        return item;
    }
    return Trim(SplitAt(text, ','));
}

std::string SplitAt(std::string& text, char c) {
    const size_t pos = c == '\0' ? std::string::npos : text.find(c);
    if (pos == std::string::npos) {
        std::string head = std::move(text);
        text.clear();
        return head;
    }
    std::string head = text.substr(0, pos);
    text.erase(0, pos + 1);
    return head;
}

std::string TextBefore(const std::string& text, char c) {
    const size_t pos = c == '\0' ? std::string::npos : text.find(c);
    return pos == std::string::npos ? text : text.substr(0, pos);
}

std::string ReplaceChar(std::string text, char oldChar, char newChar) {
    for (char& c : text)
        if (c == oldChar)
            c = newChar;
    return text;
}

std::string WithTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path;
    return path + '\\';
}

std::string WithoutTrailingBackslash(const std::string& path) {
    if (!path.empty() && path.back() == '\\')
        return path.substr(0, path.size() - 1);
    return path;
}

std::string KeyPathOf(const std::string& name) {
    const size_t pos = name.rfind('\\');
    if (pos == std::string::npos)
        return {};
    if (pos == 0)
        return "\\";
    if (name[pos - 1] == ':')
        return name.substr(0, pos + 1);
    return name.substr(0, pos);
}

bool StartsWithText(std::string_view text, std::string_view prefix) {
    return text.size() >= prefix.size() && SameText(text.substr(0, prefix.size()), prefix);
}

std::string AsciiLower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = LowerAscii(c);
    return out;
}

std::string TrimLeft(std::string_view text) {
    size_t b = 0;
    while (b < text.size() && IsBlankOrControl(text[b]))
        ++b;
    return std::string(text.substr(b));
}

std::string TrimRight(std::string_view text) {
    size_t e = text.size();
    while (e > 0 && IsBlankOrControl(text[e - 1]))
        --e;
    return std::string(text.substr(0, e));
}

std::string Trim(std::string_view text) {
    size_t b = 0, e = text.size();
    while (b < e && IsBlankOrControl(text[b]))
        ++b;
    while (e > b && IsBlankOrControl(text[e - 1]))
        --e;
    return std::string(text.substr(b, e - b));
}

int DateToNumber(int year, unsigned month, unsigned day) {
    return year * 10000 + static_cast<int>(month) * 100 + static_cast<int>(day);
}

std::int32_t StrToIntDef(std::string_view text, std::int32_t fallback) {
    return ParseDef(text, fallback);
}
std::int64_t StrToInt64Def(std::string_view text, std::int64_t fallback) {
    return ParseDef(text, fallback);
}

std::string IntToStr(std::int64_t value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

std::string UIntToStr(std::uint64_t value) {
    char buf[32];
    const auto res = std::to_chars(buf, buf + sizeof buf, value);
    return std::string(buf, res.ptr);
}

void FixNumberFormat() {
    std::setlocale(LC_NUMERIC, "C");
    std::locale::global(std::locale::classic());
}
