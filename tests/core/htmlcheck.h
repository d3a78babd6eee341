#pragma once
// A strict little HTML reader for tests: it reads the markup that the report components write and
// reports every fault that matters for them: tags that are not properly nested or closed, attribute
// values that are not quoted, bad character references, active content (script elements, event
// attributes, javascript: links), and in-document links whose target does not exist.
#include <algorithm>
#include <cctype>
#include <map>
#include <set>
#include <string>
#include <vector>

struct HtmlElement {
    std::string Name;
    std::map<std::string, std::string> Attributes; // values decoded
};

struct HtmlCheck {
    std::vector<std::string> Errors;
    std::vector<HtmlElement> StartTags;   // in document order
    std::multiset<std::string> Ids;       // decoded id values
    std::vector<std::string> LinkTargets; // decoded href values
    std::string Text;                     // decoded character data outside style elements

    int Count(const std::string& name) const {
        return static_cast<int>(std::count_if(StartTags.begin(), StartTags.end(),
                                              [&](const HtmlElement& e) { return e.Name == name; }));
    }
    // In-document links ("#x") whose target id does not exist.
    std::vector<std::string> DanglingLinks() const {
        std::vector<std::string> dangling;
        for (const auto& href : LinkTargets)
            if (!href.empty() && href[0] == '#' && Ids.count(href.substr(1)) == 0)
                dangling.push_back(href);
        return dangling;
    }
};

namespace htmlcheck_detail {
inline std::string Lower(std::string s) {
    for (auto& c : s)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// Decodes the references the components write; anything else is an error.
inline std::string Decode(const std::string& s, std::vector<std::string>& errors) {
    std::string out;
    for (std::size_t i = 0; i < s.size(); ++i) {
        if (s[i] != '&') {
            out += s[i];
            continue;
        }
        const auto semi = s.find(';', i);
        const std::string ref = semi == std::string::npos ? std::string() : s.substr(i + 1, semi - i - 1);
        if (ref == "amp")
            out += '&';
        else if (ref == "lt")
            out += '<';
        else if (ref == "gt")
            out += '>';
        else if (ref == "quot")
            out += '"';
        else if (ref == "#39")
            out += '\'';
        else {
            errors.push_back("bad character reference at: " + s.substr(i, 12));
            continue;
        }
        i = semi;
    }
    return out;
}
} // namespace htmlcheck_detail

inline HtmlCheck CheckHtml(const std::string& html) {
    using namespace htmlcheck_detail;
    static const std::set<std::string> kVoid = {"br", "meta", "link", "hr", "img", "input", "wbr"};
    HtmlCheck result;
    std::vector<std::string> open;
    std::size_t i = 0;
    std::string text;
    const auto flushText = [&] {
        if (text.find('<') != std::string::npos || text.find('>') != std::string::npos)
            result.Errors.push_back("raw angle bracket in text: " + text);
        result.Text += Decode(text, result.Errors);
        text.clear();
    };
    while (i < html.size()) {
        if (html[i] != '<') {
            text += html[i++];
            continue;
        }
        flushText();
        if (html.compare(i, 4, "<!--") == 0) {
            const auto end = html.find("-->", i);
            i = end == std::string::npos ? html.size() : end + 3;
            continue;
        }
        if (html.compare(i, 2, "<!") == 0) {
            if (Lower(html.substr(i, 15)) != "<!doctype html>")
                result.Errors.push_back("unexpected declaration");
            const auto end = html.find('>', i);
            i = end == std::string::npos ? html.size() : end + 1;
            continue;
        }
        const bool closing = i + 1 < html.size() && html[i + 1] == '/';
        std::size_t p = i + (closing ? 2 : 1);
        std::string name;
        while (p < html.size() && std::isalnum(static_cast<unsigned char>(html[p])))
            name += static_cast<char>(std::tolower(static_cast<unsigned char>(html[p++])));
        if (name.empty()) {
            result.Errors.push_back("'<' that starts no tag");
            ++i;
            continue;
        }
        HtmlElement element{name, {}};
        // Attributes: name, or name="value" with double quotes.
        while (p < html.size() && html[p] != '>') {
            if (html[p] == ' ') {
                ++p;
                continue;
            }
            std::string attr;
            while (p < html.size() && (std::isalnum(static_cast<unsigned char>(html[p])) || html[p] == '-'))
                attr += static_cast<char>(std::tolower(static_cast<unsigned char>(html[p++])));
            if (attr.empty()) {
                result.Errors.push_back("malformed attribute in <" + name + ">");
                break;
            }
            std::string value;
            if (p < html.size() && html[p] == '=') {
                if (p + 1 >= html.size() || html[p + 1] != '"') {
                    result.Errors.push_back("unquoted attribute value in <" + name + ">");
                    break;
                }
                const auto end = html.find('"', p + 2);
                if (end == std::string::npos) {
                    result.Errors.push_back("unterminated attribute value");
                    break;
                }
                value = Decode(html.substr(p + 2, end - p - 2), result.Errors);
                p = end + 1;
            }
            if (element.Attributes.count(attr))
                result.Errors.push_back("duplicate attribute " + attr);
            if (attr.rfind("on", 0) == 0)
                result.Errors.push_back("event attribute " + attr);
            element.Attributes[attr] = value;
        }
        const auto end = html.find('>', p);
        i = end == std::string::npos ? html.size() : end + 1;
        if (closing) {
            if (open.empty() || open.back() != name)
                result.Errors.push_back("</" + name + "> does not close " +
                                        (open.empty() ? "anything" : open.back()));
            else
                open.pop_back();
            continue;
        }
        if (name == "script")
            result.Errors.push_back("script element");
        if (auto id = element.Attributes.find("id"); id != element.Attributes.end()) {
            if (result.Ids.count(id->second))
                result.Errors.push_back("duplicate id " + id->second);
            result.Ids.insert(id->second);
        }
        if (auto href = element.Attributes.find("href"); href != element.Attributes.end()) {
            result.LinkTargets.push_back(href->second);
            if (Lower(href->second).rfind("javascript:", 0) == 0)
                result.Errors.push_back("javascript link");
        }
        result.StartTags.push_back(element);
        if (name == "style" || name == "script") {
            const auto close = html.find("</" + name, i);
            i = close == std::string::npos ? html.size() : close;
            open.push_back(name);
            continue;
        }
        if (!kVoid.count(name))
            open.push_back(name);
    }
    flushText();
    for (const auto& name : open)
        result.Errors.push_back("<" + name + "> is never closed");
    return result;
}
