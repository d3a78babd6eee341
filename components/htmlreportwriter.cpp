#include "components/htmlreportwriter.h"

#include <algorithm>
#include <cctype>
#include <optional>

#include "support/htmltext.h"

namespace {
std::string_view Trimmed(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

bool SameText(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) ==
                      std::tolower(static_cast<unsigned char>(y));
           });
}

// A tag as given to AddTag, split into its name and its one optional attribute.
struct ParsedTag {
    bool Valid = false;
    std::string_view Name;
    std::string_view Attribute; // empty when the tag has none
    std::string_view Value;
};

// The tag text is a name, optionally followed by blanks and one attribute written as name="value".
// The value is everything between the first `="` and the final `"`, so a value that itself holds
// quotes (an ID typed by the user) stays whole.
ParsedTag ParseTag(std::string_view text) {
    ParsedTag tag;
    text = Trimmed(text);
    const auto blank = text.find_first_of(" \t");
    tag.Name = text.substr(0, blank);
    if (tag.Name.empty())
        return tag;
    if (blank == std::string_view::npos) {
        tag.Valid = true;
        return tag;
    }
    const std::string_view rest = Trimmed(text.substr(blank));
    const auto eq = rest.find("=\"");
    if (eq == std::string_view::npos || rest.back() != '"' || rest.size() < eq + 3)
        return tag;
    tag.Attribute = Trimmed(rest.substr(0, eq));
    if (tag.Attribute.empty() || !std::all_of(tag.Attribute.begin(), tag.Attribute.end(), [](char c) {
            return std::isalpha(static_cast<unsigned char>(c)) != 0;
        }))
        return tag;
    tag.Value = rest.substr(eq + 2, rest.size() - eq - 3);
    tag.Valid = true;
    return tag;
}
} // namespace

const char* HtmlReportWriter::ClosingTag(Element e) {
    switch (e) {
    case Element::Section:
        return "</section>\n";
    case Element::Table:
        return "</table>\n";
    case Element::Row:
        return "</tr>\n";
    case Element::Cell:
        return "</td>";
    case Element::Paragraph:
        return "</p>";
    case Element::Italic:
        return "</i>";
    case Element::Link:
        return "</a>";
    }
    return "";
}

bool HtmlReportWriter::AcceptsText() const {
    return m_open.empty() || (m_open.back() != Element::Table && m_open.back() != Element::Row);
}

std::optional<HtmlReportWriter::Element> HtmlReportWriter::NearestBlock() const {
    auto it = std::find_if(m_open.rbegin(), m_open.rend(), [](Element e) { return !IsInline(e); });
    if (it == m_open.rend())
        return std::nullopt;
    return *it;
}

bool HtmlReportWriter::AcceptsFlow() const {
    const auto block = NearestBlock();
    return !block || *block == Element::Section || *block == Element::Cell;
}

void HtmlReportWriter::CloseInline() {
    while (!m_open.empty() && IsInline(m_open.back()))
        Close();
}

bool HtmlReportWriter::CloseInlineThrough(Element e) {
    auto it = m_open.rbegin();
    while (it != m_open.rend() && IsInline(*it) && *it != e)
        ++it;
    if (it == m_open.rend() || *it != e)
        return false;
    const auto keep = static_cast<std::size_t>(std::distance(it, m_open.rend())) - 1;
    while (m_open.size() > keep)
        Close();
    return true;
}

void HtmlReportWriter::Open(Element e, std::string_view markup) {
    m_out += markup;
    m_open.push_back(e);
}

void HtmlReportWriter::Close() {
    m_out += ClosingTag(m_open.back());
    m_open.pop_back();
}

int HtmlReportWriter::SectionDepth() const {
    return static_cast<int>(std::count(m_open.begin(), m_open.end(), Element::Section));
}

ComponentStatus HtmlReportWriter::Refuse(const std::string& what) const {
    return ComponentStatus::Failure("The report writer cannot " + what + ".");
}

ComponentStatus HtmlReportWriter::WriteText(std::string_view text) {
    if (!AcceptsText())
        return Refuse("write text directly in a table or row: it belongs in a cell");
    AppendHtmlEscaped(m_out, text);
    return ComponentStatus::Success();
}

// Anchor names are compared without regard to case, so two anchors may ask for one id. Ids stay unique
// in the document, and a link to the name lands where a reader expects:
// - an anchor in a section nested inside the section of the earlier one is the more specific target
//   (a screen named like its assistant): it takes the name and the earlier anchor gets a spare id;
// - otherwise the earlier anchor keeps the name (two screens with one ID: links reach the first, as the
//   look-up by ID does) and the later one gets a spare id.
std::string HtmlReportWriter::PlaceAnchor(const std::string& name) {
    const int section = m_openSections.empty() ? -1 : m_openSections.back();
    const auto [known, fresh] = m_anchors.try_emplace(name, section);
    if (fresh)
        return name;
    const int earlier = known->second;
    const bool enclosing =
        earlier != -1 && earlier != section &&
        std::find(m_openSections.begin(), m_openSections.end(), earlier) != m_openSections.end();
    if (!enclosing)
        return SpareAnchorId(name);
    const std::string written = "<a id=\"" + name + "\" name=\"" + name + "\"></a>";
    const std::string spare = SpareAnchorId(name);
    const auto at = m_out.find(written);
    if (at != std::string::npos)
        m_out.replace(at, written.size(), "<a id=\"" + spare + "\" name=\"" + spare + "\"></a>");
    known->second = section;
    return name;
}

// An id no anchor name can produce: anchor ids use "_" only before two upper-case hex digits.
std::string HtmlReportWriter::SpareAnchorId(const std::string& name) {
    return name + "_y" + std::to_string(++m_spareAnchors);
}

ComponentStatus HtmlReportWriter::GetReportText(std::string& text) {
    text = m_out;
    for (auto it = m_open.rbegin(); it != m_open.rend(); ++it)
        text += ClosingTag(*it);
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::AddCell(const std::string& text) {
    if (m_open.empty() || m_open.back() != Element::Row)
        return Refuse("add a cell outside a row");
    m_out += "<td>";
    AppendHtmlEscaped(m_out, text);
    m_out += "</td>";
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::BeginCell() {
    if (m_open.empty() || m_open.back() != Element::Row)
        return Refuse("begin a cell outside a row");
    Open(Element::Cell, "<td>");
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::EndCell() {
    if (NearestBlock() != Element::Cell)
        return Refuse("end a cell: no cell is open");
    CloseInline();
    Close();
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::AddLabelCell(const std::string& text, int /*n*/) {
    if (m_open.empty() || m_open.back() != Element::Row)
        return Refuse("add a label cell outside a row");
    m_out += "<th scope=\"row\">";
    AppendHtmlEscaped(m_out, text);
    m_out += "</th>";
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::EndRow() {
    if (m_open.empty() || m_open.back() != Element::Row)
        return Refuse("end a row: no row is open or a cell is still open");
    Close();
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::BeginRow() {
    if (m_open.empty() || m_open.back() != Element::Table)
        return Refuse("begin a row outside a table");
    Open(Element::Row, "<tr>");
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::EndTable() {
    if (m_open.empty() || m_open.back() != Element::Table)
        return Refuse("end a table: no table is open or a row is still open");
    Close();
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::BeginTable(int /*a*/, int /*b*/) {
    // The table's look comes from the style sheet of the prepared document; the layout hints are not
    // needed for it.
    if (!AcceptsFlow())
        return Refuse("begin a table inside a table row");
    CloseInline();
    Open(Element::Table, "<table>\n");
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::AddTag(const std::string& tagText) {
    const ParsedTag tag = ParseTag(tagText);
    const auto asText = [&] { return WriteText("<" + tagText + ">"); };
    if (!tag.Valid)
        return asText();
    const bool bare = tag.Attribute.empty();
    if (!AcceptsText())
        return Refuse("write the tag <" + tagText + "> directly in a table or row: it belongs in a cell");

    if (bare && SameText(tag.Name, "BR")) {
        m_out += "<br>\n";
    } else if (bare && SameText(tag.Name, "P")) {
        // A paragraph break: italics and links end with the paragraph before it.
        CloseInline();
        Open(Element::Paragraph, "<p>");
    } else if (bare && SameText(tag.Name, "i")) {
        Open(Element::Italic, "<i>");
    } else if (bare && SameText(tag.Name, "/i")) {
        CloseInlineThrough(Element::Italic); // an italic end without a start writes nothing
    } else if (bare && SameText(tag.Name, "/a")) {
        CloseInlineThrough(Element::Link); // a link end without a start writes nothing
    } else if (SameText(tag.Name, "a")) {
        if (bare) {
            CloseInlineThrough(Element::Link); // links do not nest
            Open(Element::Link, "<a>");
        } else if (SameText(tag.Attribute, "name")) {
            // The target of links to this ID: complete at once, nothing is expected to close it.
            CloseInlineThrough(Element::Link); // links do not nest
            const std::string id = PlaceAnchor(HtmlAnchorId(tag.Value));
            m_out += "<a id=\"" + id + "\" name=\"" + id + "\"></a>";
        } else if (SameText(tag.Attribute, "href")) {
            CloseInlineThrough(Element::Link);
            // Only links inside the document are written; another target keeps the link text but
            // drops the address.
            if (!tag.Value.empty() && tag.Value.front() == '#')
                Open(Element::Link, "<a href=\"#" + HtmlAnchorId(tag.Value.substr(1)) + "\">");
            else
                Open(Element::Link, "<a>");
        } else {
            return asText();
        }
    } else {
        return asText();
    }
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::AddText(const std::string& text) {
    return WriteText(text);
}

ComponentStatus HtmlReportWriter::BeginSection(const std::string& title) {
    const auto block = NearestBlock();
    if (block && *block != Element::Section)
        return Refuse("begin a section inside a table");
    CloseInline();
    const int level = std::min(SectionDepth() + 1, 6);
    const char digit = static_cast<char>('0' + level);
    m_out += "<section>\n<h";
    m_out += digit;
    m_out += '>';
    AppendHtmlEscaped(m_out, title);
    m_out += "</h";
    m_out += digit;
    m_out += ">\n";
    m_open.push_back(Element::Section);
    m_openSections.push_back(m_nextSection++);
    return ComponentStatus::Success();
}

ComponentStatus HtmlReportWriter::EndSection() {
    if (NearestBlock() != Element::Section)
        return Refuse("end a section: no section is open or a table is still open");
    CloseInline();
    Close();
    m_openSections.pop_back();
    return ComponentStatus::Success();
}
