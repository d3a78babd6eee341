#pragma once
// The HTML report writer: turns the report calls (sections, tables, rows, cells, text runs and a
// small set of tags) into an HTML5 fragment. Text is always escaped. Tags are parsed and only a known
// set is written as markup (line break, paragraph, italics, links inside the document and anchors);
// anything else is shown as text, so user text inside a tag cannot add active content.
//
// Misplaced calls (a row outside a table, text directly in a row, closing what is not open) are
// refused with a failure status, so the fragment is always well nested.
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "support/components.h"

class HtmlReportWriter final : public IHTMLReport {
public:
    ComponentStatus GetReportText(std::string& text) override;
    ComponentStatus AddCell(const std::string& text) override;
    ComponentStatus BeginCell() override;
    ComponentStatus EndCell() override;
    ComponentStatus AddLabelCell(const std::string& text, int n) override;
    ComponentStatus EndRow() override;
    ComponentStatus BeginRow() override;
    ComponentStatus EndTable() override;
    ComponentStatus BeginTable(int a, int b) override;
    ComponentStatus AddTag(const std::string& tag) override;
    ComponentStatus AddText(const std::string& text) override;
    ComponentStatus BeginSection(const std::string& title) override;
    ComponentStatus EndSection() override;

private:
    enum class Element { Section, Table, Row, Cell, Paragraph, Italic, Link };

    static bool IsInline(Element e) {
        return e == Element::Paragraph || e == Element::Italic || e == Element::Link;
    }
    static const char* ClosingTag(Element e);

    std::optional<Element> NearestBlock() const; // innermost open element that is not inline
    bool AcceptsText() const;
    bool AcceptsFlow() const; // a paragraph or table may start here (after closing inline elements)
    void CloseInline();
    // Closes inline elements down to and including the innermost open `e` among them; false when `e` is
    // not open in the current run of inline elements.
    bool CloseInlineThrough(Element e);
    void Open(Element e, std::string_view markup);
    void Close();
    int SectionDepth() const;
    ComponentStatus Refuse(const std::string& what) const;
    ComponentStatus WriteText(std::string_view text);
    // The id an anchor named `name` (already made an anchor id) is written with; see the .cpp.
    std::string PlaceAnchor(const std::string& name);
    std::string SpareAnchorId(const std::string& name);

    std::string m_out;
    std::vector<Element> m_open;
    std::vector<int> m_openSections; // serial numbers of the open sections, outermost first
    int m_nextSection = 0;
    int m_spareAnchors = 0;
    // Every anchor id written so far, with the serial of the section it was written in (-1: none).
    std::unordered_map<std::string, int> m_anchors;
};
