#pragma once
// A small strict JSON parser for checking amftool's --json output: it accepts only what RFC 8259
// allows (no trailing commas, no control characters inside strings, valid escapes) and turns
// \uXXXX escapes (surrogate pairs included) back into UTF-8, so a test can compare the decoded
// texts with the expected ones.
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace minijson {
struct Value {
    enum class Kind { Null, Bool, Number, String, Array, Object } Type = Kind::Null;
    bool Boolean = false;
    std::string Text; // strings, and numbers as written
    std::vector<Value> Items;
    std::map<std::string, Value> Members;

    const Value& operator[](const std::string& name) const {
        const auto it = Members.find(name);
        if (it == Members.end())
            throw std::runtime_error("no member " + name);
        return it->second;
    }
};

class Parser {
public:
    explicit Parser(std::string_view text) : m_text(text) {}

    Value ParseDocument() {
        Value value = ParseValue();
        SkipBlanks();
        if (m_pos != m_text.size())
            Fail("text after the value");
        return value;
    }

private:
    [[noreturn]] void Fail(const std::string& what) const {
        throw std::runtime_error("JSON: " + what + " at offset " + std::to_string(m_pos));
    }
    void SkipBlanks() {
        while (m_pos < m_text.size() && (m_text[m_pos] == ' ' || m_text[m_pos] == '\n' ||
                                         m_text[m_pos] == '\r' || m_text[m_pos] == '\t'))
            ++m_pos;
    }
    bool Take(char c) {
        SkipBlanks();
        if (m_pos < m_text.size() && m_text[m_pos] == c) {
            ++m_pos;
            return true;
        }
        return false;
    }
    void Expect(char c) {
        if (!Take(c))
            Fail(std::string("expected '") + c + "'");
    }
    bool TakeWord(std::string_view word) {
        if (m_text.substr(m_pos, word.size()) != word)
            return false;
        m_pos += word.size();
        return true;
    }

    Value ParseValue() {
        SkipBlanks();
        if (m_pos >= m_text.size())
            Fail("unexpected end");
        Value value;
        const char c = m_text[m_pos];
        if (c == '{') {
            ++m_pos;
            value.Type = Value::Kind::Object;
            if (Take('}'))
                return value;
            do {
                SkipBlanks();
                if (m_pos >= m_text.size() || m_text[m_pos] != '"')
                    Fail("expected a member name");
                std::string name = ParseString();
                Expect(':');
                value.Members[name] = ParseValue();
            } while (Take(','));
            Expect('}');
        } else if (c == '[') {
            ++m_pos;
            value.Type = Value::Kind::Array;
            if (Take(']'))
                return value;
            do
                value.Items.push_back(ParseValue());
            while (Take(','));
            Expect(']');
        } else if (c == '"') {
            value.Type = Value::Kind::String;
            value.Text = ParseString();
        } else if (TakeWord("null")) {
            value.Type = Value::Kind::Null;
        } else if (TakeWord("true")) {
            value.Type = Value::Kind::Bool;
            value.Boolean = true;
        } else if (TakeWord("false")) {
            value.Type = Value::Kind::Bool;
        } else if (c == '-' || (c >= '0' && c <= '9')) {
            value.Type = Value::Kind::Number;
            const std::size_t start = m_pos;
            while (m_pos < m_text.size() &&
                   std::string_view("+-0123456789.eE").find(m_text[m_pos]) != std::string_view::npos)
                ++m_pos;
            value.Text = std::string(m_text.substr(start, m_pos - start));
        } else {
            Fail("unexpected character");
        }
        return value;
    }

    unsigned Hex4() {
        if (m_pos + 4 > m_text.size())
            Fail("short \\u escape");
        unsigned value = 0;
        for (int k = 0; k < 4; ++k) {
            const char h = m_text[m_pos++];
            value *= 16;
            if (h >= '0' && h <= '9')
                value += static_cast<unsigned>(h - '0');
            else if (h >= 'a' && h <= 'f')
                value += static_cast<unsigned>(h - 'a' + 10);
            else if (h >= 'A' && h <= 'F')
                value += static_cast<unsigned>(h - 'A' + 10);
            else
                Fail("bad hex digit");
        }
        return value;
    }

    static void AppendUtf8(std::string& out, unsigned code) {
        if (code < 0x80) {
            out += static_cast<char>(code);
        } else if (code < 0x800) {
            out += static_cast<char>(0xC0 | (code >> 6));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else if (code < 0x10000) {
            out += static_cast<char>(0xE0 | (code >> 12));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (code >> 18));
            out += static_cast<char>(0x80 | ((code >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((code >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (code & 0x3F));
        }
    }

    std::string ParseString() {
        ++m_pos; // opening quote
        std::string out;
        for (;;) {
            if (m_pos >= m_text.size())
                Fail("unterminated string");
            const char c = m_text[m_pos++];
            if (c == '"')
                return out;
            if (static_cast<unsigned char>(c) < 0x20)
                Fail("raw control character in a string");
            if (c != '\\') {
                out += c;
                continue;
            }
            if (m_pos >= m_text.size())
                Fail("unterminated escape");
            const char e = m_text[m_pos++];
            switch (e) {
            case '"':
                out += '"';
                break;
            case '\\':
                out += '\\';
                break;
            case '/':
                out += '/';
                break;
            case 'b':
                out += '\b';
                break;
            case 'f':
                out += '\f';
                break;
            case 'n':
                out += '\n';
                break;
            case 'r':
                out += '\r';
                break;
            case 't':
                out += '\t';
                break;
            case 'u': {
                unsigned code = Hex4();
                if (code >= 0xD800 && code <= 0xDBFF) {
                    if (!TakeWord("\\u"))
                        Fail("lone high surrogate");
                    const unsigned low = Hex4();
                    if (low < 0xDC00 || low > 0xDFFF)
                        Fail("bad low surrogate");
                    code = 0x10000 + ((code - 0xD800) << 10) + (low - 0xDC00);
                } else if (code >= 0xDC00 && code <= 0xDFFF) {
                    Fail("lone low surrogate");
                }
                AppendUtf8(out, code);
                break;
            }
            default:
                Fail("bad escape");
            }
        }
    }

    std::string_view m_text;
    std::size_t m_pos = 0;
};

inline Value Parse(std::string_view text) {
    return Parser(text).ParseDocument();
}
} // namespace minijson
