#include "cli/inivalue.h"

#include "support/textroutines.h"

#include <cstdint>

namespace {
bool IsHexDigit(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}

int HexValue(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    return c - 'A' + 10;
}

void AppendUtf8(std::string& text, std::uint32_t code) {
    if (code < 0x80) {
        text += static_cast<char>(code);
    } else if (code < 0x800) {
        text += static_cast<char>(0xC0 | (code >> 6));
        text += static_cast<char>(0x80 | (code & 0x3F));
    } else {
        text += static_cast<char>(0xE0 | (code >> 12));
        text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
        text += static_cast<char>(0x80 | (code & 0x3F));
    }
}

// A \x escape gives one UTF-16 code unit; a high surrogate followed by a \x low surrogate is one
// character. A lone surrogate cannot be UTF-8 and becomes U+FFFD.
class CodeUnitSink {
public:
    explicit CodeUnitSink(std::string& text) : m_text(text) {}
    void Add(std::uint32_t unit) {
        if (m_pendingHigh != 0) {
            const std::uint32_t high = m_pendingHigh;
            m_pendingHigh = 0;
            if (unit >= 0xDC00 && unit <= 0xDFFF) {
                const std::uint32_t code = 0x10000 + ((high - 0xD800) << 10) + (unit - 0xDC00);
                m_text += static_cast<char>(0xF0 | (code >> 18));
                m_text += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
                m_text += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
                m_text += static_cast<char>(0x80 | (code & 0x3F));
                return;
            }
            AppendUtf8(m_text, 0xFFFD);
        }
        if (unit >= 0xD800 && unit <= 0xDBFF)
            m_pendingHigh = unit;
        else if (unit >= 0xDC00 && unit <= 0xDFFF)
            AppendUtf8(m_text, 0xFFFD);
        else
            AppendUtf8(m_text, unit);
    }
    // Any ordinary character ends a pending surrogate pair.
    void Flush() {
        if (m_pendingHigh != 0)
            AppendUtf8(m_text, 0xFFFD);
        m_pendingHigh = 0;
    }

private:
    std::string& m_text;
    std::uint32_t m_pendingHigh = 0;
};

// Reads up to `most` digits of `base` (8 or 16) from raw[i], advancing i past them, onto `value`.
std::uint32_t ReadDigits(std::string_view raw, std::size_t& i, std::uint32_t base, int most,
                         std::uint32_t value) {
    for (int digits = 0; digits < most && i < raw.size(); ++digits, ++i) {
        const char c = raw[i];
        if (base == 16 ? !IsHexDigit(c) : (c < '0' || c > '7'))
            break;
        value = value * base + static_cast<std::uint32_t>(base == 16 ? HexValue(c) : c - '0');
    }
    return value;
}

std::string_view TrimBlanks(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t'))
        text.remove_prefix(1);
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t' || text.back() == '\r'))
        text.remove_suffix(1);
    return text;
}
} // namespace

std::optional<std::string> DecodeIniText(std::string_view raw) {
    std::string result;
    CodeUnitSink units(result);
    bool quoted = false;
    // Unquoted blanks are kept only once something follows them: blanks at either end of the value
    // are dropped, blanks between words stay.
    std::string pendingBlanks;
    bool started = false;
    auto append = [&](char c) {
        units.Flush();
        if (!quoted && (c == ' ' || c == '\t')) {
            if (started)
                pendingBlanks += c;
            return;
        }
        result += pendingBlanks;
        pendingBlanks.clear();
        result += c;
        started = true;
    };
    auto startEscaped = [&] {
        units.Flush();
        result += pendingBlanks;
        pendingBlanks.clear();
        started = true;
    };
    // A code unit joins the ones before it (the two halves of a surrogate pair make one character).
    auto addUnit = [&](std::uint32_t unit) {
        result += pendingBlanks;
        pendingBlanks.clear();
        started = true;
        units.Add(unit);
    };

    std::size_t i = 0;
    while (i < raw.size()) {
        const char c = raw[i++];
        if (c == '"') {
            units.Flush();
            if (!quoted) {
                result += pendingBlanks;
                pendingBlanks.clear();
                started = true;
            }
            quoted = !quoted;
            continue;
        }
        if (!quoted && c == ',')
            return std::nullopt; // QSettings reads this as a list of texts
        if (!quoted && c == ';')
            break; // a comment follows
        if (c != '\\' || i >= raw.size()) {
            append(c);
            continue;
        }
        const char e = raw[i++];
        // \a \b \f \n \r \t \v are the control characters; \xHHHH (up to four hexadecimal digits) and
        // \ooo (up to three octal digits) are UTF-16 code units; any other escaped character, \" \\ \'
        // \? among them, stands for itself.
        constexpr std::string_view kControlLetters = "abfnrtv";
        constexpr std::string_view kControls = "\a\b\f\n\r\t\v";
        if (const std::size_t at = kControlLetters.find(e); at != std::string_view::npos) {
            startEscaped();
            result += kControls[at];
        } else if (e == 'x') {
            addUnit(ReadDigits(raw, i, 16, 4, 0));
        } else if (e >= '0' && e <= '7') {
            addUnit(ReadDigits(raw, i, 8, 2, static_cast<std::uint32_t>(e - '0')));
        } else {
            startEscaped();
            result += e;
        }
    }
    units.Flush();

    // QSettings marks texts that start with '@' by doubling it; any other "@..." value is a typed value.
    if (!result.empty() && result.front() == '@') {
        if (result.size() > 1 && result[1] == '@')
            return result.substr(1);
        if (result == "@Invalid()")
            return std::string();
        return std::nullopt;
    }
    return result;
}

std::optional<std::string> ReadIniText(std::string_view fileText, std::string_view section,
                                       std::string_view key) {
    std::optional<std::string> found;
    // Keys before the first section line are top-level values, which QSettings files under "General".
    std::string_view current = "General";
    while (!fileText.empty()) {
        const std::size_t end = fileText.find('\n');
        std::string_view line = fileText.substr(0, end);
        fileText = end == std::string_view::npos ? std::string_view() : fileText.substr(end + 1);
        line = TrimBlanks(line);
        if (line.empty() || line.front() == ';' || line.front() == '#')
            continue;
        if (line.front() == '[') {
            const std::size_t close = line.find(']');
            current = close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            continue;
        }
        const std::size_t equals = line.find('=');
        if (equals == std::string_view::npos || current != section)
            continue;
        if (!SameText(TrimBlanks(line.substr(0, equals)), key))
            continue;
        found = DecodeIniText(line.substr(equals + 1));
    }
    return found;
}
