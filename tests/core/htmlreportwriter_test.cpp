#include "components/htmlreportwriter.h"

#include <gtest/gtest.h>

#include <functional>

#include "support/htmltext.h"
#include "tests/core/htmlcheck.h"

namespace {
std::string TextOf(IHTMLReport& report) {
    std::string text;
    EXPECT_TRUE(report.GetReportText(text).Ok);
    return text;
}

void ExpectClean(const HtmlCheck& check) {
    for (const auto& e : check.Errors)
        ADD_FAILURE() << e;
    for (const auto& d : check.DanglingLinks())
        ADD_FAILURE() << "dangling link " << d;
}

// Writes the calls that an assistant with two screens makes: anchors, rows, a link to a screen, notes
// with italics and paragraph breaks, a description with line breaks.
void WriteSampleAssistant(IHTMLReport& r) {
    const auto row = [&](const std::string& label, const std::string& value) {
        Check(r.BeginRow());
        Check(r.AddLabelCell(label, 0));
        Check(r.AddCell(value));
        Check(r.EndRow());
    };
    Check(r.BeginSection("Report on Assistant: A1: Printer help"));
    Check(r.AddTag("A name=\"A1\""));
    Check(r.BeginTable(0, -1));
    row("Author", "Ann");
    row("Build date", "2026-01-02");
    Check(r.BeginRow());
    Check(r.AddLabelCell("First screen", 0));
    Check(r.BeginCell());
    Check(r.AddTag("a href=\"#S1\""));
    Check(r.AddText("S1: Start"));
    Check(r.AddTag("/a"));
    Check(r.EndCell());
    Check(r.EndRow());
    Check(r.EndTable());
    for (const std::string id : {"S1", "S2"}) {
        Check(r.BeginSection("Screen: " + id + ": Caption"));
        Check(r.AddTag("A name=\"" + id + "\""));
        Check(r.BeginTable(0, -1));
        Check(r.BeginRow());
        Check(r.AddLabelCell("Explanation", 0));
        Check(r.BeginCell());
        for (const char c : std::string("Line one"))
            Check(r.AddText(std::string(1, c)));
        Check(r.AddTag("BR"));
        Check(r.AddText("L"));
        Check(r.AddTag("BR"));
        Check(r.EndCell());
        Check(r.EndRow());
        Check(r.EndTable());
        // An option's table, with a link written with the other letter case and two notes.
        Check(r.BeginTable(0, -1));
        row("Option", "O1: Next");
        Check(r.BeginRow());
        Check(r.AddLabelCell("Action", 0));
        Check(r.BeginCell());
        Check(r.AddText("Goto "));
        Check(r.AddTag("A href=\"#s2\""));
        Check(r.AddText("s2: Second"));
        Check(r.AddTag("/A"));
        Check(r.EndCell());
        Check(r.EndRow());
        Check(r.BeginRow());
        Check(r.AddLabelCell("Notes", 0));
        Check(r.BeginCell());
        for (int note = 0; note < 2; ++note) {
            if (note > 0)
                Check(r.AddTag("P"));
            Check(r.AddText("Name"));
            Check(r.AddTag("i"));
            Check(r.AddText("  (Type, N1)"));
            Check(r.AddTag("/i"));
            Check(r.AddText(": text"));
        }
        Check(r.EndCell());
        Check(r.EndRow());
        Check(r.EndTable());
        Check(r.EndSection());
    }
    Check(r.EndSection());
}
} // namespace

TEST(HtmlReportWriter, SmallReportGivesExactMarkup) {
    HtmlReportWriter r;
    Check(r.BeginSection("Screen: S1: A & B"));
    Check(r.AddTag("A name=\"S1\""));
    Check(r.BeginTable(0, -1));
    Check(r.BeginRow());
    Check(r.AddLabelCell("Image file", 0));
    Check(r.AddCell("pic.png"));
    Check(r.EndRow());
    Check(r.EndTable());
    Check(r.EndSection());
    EXPECT_EQ(TextOf(r), "<section>\n<h1>Screen: S1: A &amp; B</h1>\n"
                         "<a id=\"s1\" name=\"s1\"></a><table>\n"
                         "<tr><th scope=\"row\">Image file</th><td>pic.png</td></tr>\n"
                         "</table>\n</section>\n");
}

TEST(HtmlReportWriter, WholeAssistantReportIsWellFormedWithWorkingLinks) {
    HtmlReportWriter r;
    WriteSampleAssistant(r);
    const std::string text = TextOf(r);
    const HtmlCheck check = CheckHtml(text);
    ExpectClean(check);
    EXPECT_EQ(check.Count("section"), 3);
    EXPECT_EQ(check.Count("h1"), 1);
    EXPECT_EQ(check.Count("h2"), 2);
    EXPECT_EQ(check.Count("table"), 5);
    EXPECT_EQ(check.Count("th"), 3 + 2 * 4);
    EXPECT_EQ(check.Count("br"), 4);
    EXPECT_EQ(check.Count("p"), 2); // one paragraph break per option with two notes
    EXPECT_EQ(check.Count("i"), 4);
    EXPECT_EQ(check.Ids, (std::multiset<std::string>{"a1", "s1", "s2"}));
    // "#s2" was written with the other letter case than the screen's anchor "S2" and still resolves.
    EXPECT_EQ(check.LinkTargets, (std::vector<std::string>{"#s1", "#s2", "#s2"}));
    EXPECT_NE(check.Text.find("Line one"), std::string::npos);
    EXPECT_NE(check.Text.find("Name  (Type, N1): text"), std::string::npos);
}

TEST(HtmlReportWriter, TextIsEscapedAndCleaned) {
    struct Case {
        std::string text;
        std::string written;
    };
    const std::vector<Case> cases = {
        {"a & b < c > d \"e\" 'f'", "a &amp; b &lt; c &gt; d &quot;e&quot; &#39;f&#39;"},
        {"<script>alert(1)</script>", "&lt;script&gt;alert(1)&lt;/script&gt;"},
        {"&amp;", "&amp;amp;"},
        {"Grüße €", "Grüße €"},                   // valid UTF-8 stays
        {"\xF0\x9F\x98\x80", "\xF0\x9F\x98\x80"}, // 4-byte sequence stays
        {"a\xFF"
         "b",
         "a\xEF\xBF\xBD"
         "b"},                                                    // invalid byte
        {"\xC3", "\xEF\xBF\xBD"},                                 // cut-off sequence
        {"\xC0\xAF", "\xEF\xBF\xBD\xEF\xBF\xBD"},                 // overlong form
        {"\xED\xA0\x80", "\xEF\xBF\xBD\xEF\xBF\xBD\xEF\xBF\xBD"}, // surrogate
        {std::string("a\0b\x01\x7F", 5), "a\xEF\xBF\xBD"
                                         "b\xEF\xBF\xBD\xEF\xBF\xBD"},
        {"\xC2\x85", "\xEF\xBF\xBD"}, // C1 control
        {"tab\tand\r\nline", "tab\tand\r\nline"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        HtmlReportWriter r;
        ASSERT_TRUE(r.AddText(c.text).Ok);
        EXPECT_EQ(TextOf(r), c.written);
        // Cells and titles use the same escaping.
        HtmlReportWriter cells;
        Check(cells.BeginTable(0, -1));
        Check(cells.BeginRow());
        Check(cells.AddLabelCell(c.text, 0));
        Check(cells.AddCell(c.text));
        Check(cells.EndRow());
        Check(cells.EndTable());
        EXPECT_EQ(TextOf(cells), "<table>\n<tr><th scope=\"row\">" + c.written + "</th><td>" + c.written +
                                     "</td></tr>\n</table>\n");
    }
}

TEST(HtmlReportWriter, TagsAreWrittenOnlyFromTheKnownSet) {
    struct Case {
        std::string tag;
        std::string written; // inside a cell, with every open element closed
    };
    const std::vector<Case> cases = {
        {"BR", "<br>\n"},
        {"br", "<br>\n"},
        {"P", "<p></p>"},
        {"i", "<i></i>"},
        {"I", "<i></i>"},
        {"/i", ""}, // nothing open: nothing written
        {"/a", ""},
        {"/A", ""},
        {"a", "<a></a>"},
        {"A name=\"S1\"", "<a id=\"s1\" name=\"s1\"></a>"},
        {"a NAME=\"S1\"", "<a id=\"s1\" name=\"s1\"></a>"},
        {"A name=\"\"", "<a id=\"_\" name=\"_\"></a>"},
        {"  a   href=\"#S 2\"  ", "<a href=\"#s_202\"></a>"},
        {"a href=\"http://example.com/\"", "<a></a>"}, // only links inside the document keep their target
        {"a href=\"javascript:alert(1)\"", "<a></a>"},
        {"a href=\"\"", "<a></a>"},
        {"a onclick=\"alert(1)\"", "&lt;a onclick=&quot;alert(1)&quot;&gt;"},
        {"a href=#S1", "&lt;a href=#S1&gt;"},
        {"a href=\"#S1", "&lt;a href=&quot;#S1&gt;"},
        {"A name=\"", "&lt;A name=&quot;&gt;"},
        {"a on-x=\"1\"", "&lt;a on-x=&quot;1&quot;&gt;"},
        {"BR clear=\"all\"", "&lt;BR clear=&quot;all&quot;&gt;"},
        {"script", "&lt;script&gt;"},
        {"img src=\"x\" onerror=\"alert(1)\"", "&lt;img src=&quot;x&quot; onerror=&quot;alert(1)&quot;&gt;"},
        {"/td", "&lt;/td&gt;"},
        {"b", "&lt;b&gt;"},
        {"", "&lt;&gt;"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.tag);
        HtmlReportWriter r;
        Check(r.BeginTable(0, -1));
        Check(r.BeginRow());
        Check(r.BeginCell());
        ASSERT_TRUE(r.AddTag(c.tag).Ok);
        const std::string text = TextOf(r);
        EXPECT_EQ(text, "<table>\n<tr><td>" + c.written + "</td></tr>\n</table>\n");
        EXPECT_EQ(CheckHtml(text).Errors, std::vector<std::string>{});
    }
}

TEST(HtmlReportWriter, UserTextInTagsAndTextAddsNoActiveContent) {
    const std::string id = "x\" onmouseover=\"alert(1)";
    const std::string caption = "<script>alert('c')</script>";
    HtmlReportWriter r;
    Check(r.BeginSection("Screen: " + id + ": " + caption));
    Check(r.AddTag("A name=\"" + id + "\""));
    Check(r.BeginTable(0, -1));
    Check(r.BeginRow());
    Check(r.AddLabelCell("Action", 0));
    Check(r.BeginCell());
    Check(r.AddTag("a href=\"#" + id + "\""));
    Check(r.AddText(id + ": " + caption));
    Check(r.AddTag("/a"));
    Check(r.EndCell());
    Check(r.EndRow());
    Check(r.EndTable());
    Check(r.EndSection());
    const std::string text = TextOf(r);
    const HtmlCheck check = CheckHtml(text);
    ExpectClean(check);
    EXPECT_EQ(text.find("<script"), std::string::npos);
    EXPECT_EQ(text.find("onmouseover=\""), std::string::npos); // only as escaped text
    ASSERT_EQ(check.Ids.size(), 1u);
    ASSERT_EQ(check.LinkTargets.size(), 1u);
    EXPECT_EQ(check.LinkTargets[0], "#" + *check.Ids.begin());
    // The user's text is still there, shown as text.
    EXPECT_NE(check.Text.find(id + ": " + caption), std::string::npos);
}

TEST(HtmlReportWriter, AnchorIdsMatchTheirLinksAndKeepDistinctIdsApart) {
    const std::vector<std::string> ids = {"S1", "s1x", "",    "a b",   "a_20b", "Grüße", "x%22",    "x\"",
                                          "_",  "_5F", "<b>", "a.b-c", "#",     "A:B",   "x' y='z", "\t"};
    std::set<std::string> anchors;
    for (const auto& id : ids) {
        SCOPED_TRACE(id);
        const std::string anchor = HtmlAnchorId(id);
        EXPECT_FALSE(anchor.empty());
        EXPECT_EQ(anchor.find_first_not_of("abcdefghijklmnopqrstuvwxyz0123456789-._ABCDEF"),
                  std::string::npos);
        EXPECT_TRUE(anchors.insert(anchor).second) << "two IDs share the anchor " << anchor;
        HtmlReportWriter r;
        Check(r.AddTag("A name=\"" + id + "\""));
        Check(r.AddTag("a href=\"#" + id + "\""));
        Check(r.AddText("link"));
        Check(r.AddTag("/a"));
        const HtmlCheck check = CheckHtml(TextOf(r));
        ExpectClean(check);
        EXPECT_EQ(check.Count("a"), 2);
    }
    // IDs are compared without regard to case, so are their anchors.
    EXPECT_EQ(HtmlAnchorId("Screen1"), HtmlAnchorId("sCREEN1"));
}

TEST(HtmlReportWriter, AnchorsSharingANameKeepUniqueIds) {
    // Each step: "+" opens a section, "-" ends one, anything else is an anchor name. `ids` are the ids of
    // the anchors in document order; a link to the shared name reaches the one holding it.
    struct Case {
        const char* name;
        std::vector<std::string> steps;
        std::vector<std::string> ids;
    };
    const std::vector<Case> cases = {
        {"nested section takes the name", {"+", "M", "+", "m", "-", "-"}, {"m_y1", "m"}},
        {"deeper nesting takes it again",
         {"+", "M", "+", "m", "+", "M", "-", "-", "-"},
         {"m_y1", "m_y2", "m"}},
        {"siblings: the first keeps it", {"+", "+", "s", "-", "+", "S", "-", "-"}, {"s", "s_y1"}},
        {"same section: the first keeps it", {"+", "a", "A", "-"}, {"a", "a_y1"}},
        {"outside any section: the first keeps it", {"x", "+", "X", "-"}, {"x", "x_y1"}},
        {"a closed section no longer encloses", {"+", "a", "-", "+", "A", "-"}, {"a", "a_y1"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HtmlReportWriter r;
        for (const auto& step : c.steps) {
            if (step == "+")
                Check(r.BeginSection("t"));
            else if (step == "-")
                Check(r.EndSection());
            else
                Check(r.AddTag("A name=\"" + step + "\""));
        }
        const std::string text = TextOf(r);
        ExpectClean(CheckHtml(text)); // no id twice
        std::vector<std::string> ids;
        for (auto at = text.find("<a id=\""); at != std::string::npos; at = text.find("<a id=\"", at + 1)) {
            const auto start = at + 7;
            ids.push_back(text.substr(start, text.find('"', start) - start));
        }
        EXPECT_EQ(ids, c.ids);
    }
}

TEST(HtmlReportWriter, SectionsNestWithHeadingsByDepth) {
    HtmlReportWriter r;
    for (int depth = 1; depth <= 7; ++depth)
        Check(r.BeginSection("level " + std::to_string(depth)));
    for (int depth = 1; depth <= 7; ++depth)
        Check(r.EndSection());
    const std::string text = TextOf(r);
    ExpectClean(CheckHtml(text));
    for (int level = 1; level <= 5; ++level)
        EXPECT_NE(text.find("<h" + std::to_string(level) + ">level " + std::to_string(level) + "</h"),
                  std::string::npos);
    EXPECT_NE(text.find("<h6>level 6</h6>"), std::string::npos);
    EXPECT_NE(text.find("<h6>level 7</h6>"), std::string::npos);
}

TEST(HtmlReportWriter, InlineElementsAreClosedWithTheirContainer) {
    struct Case {
        std::vector<std::string> tags; // written inside one cell, then the cell ends
        std::string cell;
    };
    const std::vector<Case> cases = {
        {{"i", "a href=\"#x\""}, "<i><a href=\"#x\"></a></i>"},
        {{"i", "P", "i"}, "<i></i><p><i></i></p>"}, // a paragraph ends the italics before it
        {{"a href=\"#x\"", "a href=\"#y\""}, "<a href=\"#x\"></a><a href=\"#y\"></a>"}, // links do not nest
        {{"a href=\"#x\"", "A name=\"y\""}, "<a href=\"#x\"></a><a id=\"y\" name=\"y\"></a>"},
        {{"i", "a href=\"#x\"", "/i"}, "<i><a href=\"#x\"></a></i>"},
        {{"a href=\"#x\"", "/i", "/a"}, "<a href=\"#x\"></a>"}, // an unopened italic end is ignored
        {{"P", "P"}, "<p></p><p></p>"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.cell);
        HtmlReportWriter r;
        Check(r.BeginTable(0, -1));
        Check(r.BeginRow());
        Check(r.BeginCell());
        for (const auto& tag : c.tags)
            Check(r.AddTag(tag));
        Check(r.EndCell());
        Check(r.EndRow());
        Check(r.EndTable());
        EXPECT_EQ(TextOf(r), "<table>\n<tr><td>" + c.cell + "</td></tr>\n</table>\n");
    }
}

TEST(HtmlReportWriter, MisplacedCallsFailAndLeaveTheTextWellFormed) {
    using Step = std::function<ComponentStatus(IHTMLReport&)>;
    struct Case {
        const char* name;
        std::vector<Step> before;
        Step bad;
        const char* message;
    };
    const Step section = [](IHTMLReport& r) { return r.BeginSection("s"); };
    const Step table = [](IHTMLReport& r) { return r.BeginTable(0, -1); };
    const Step row = [](IHTMLReport& r) { return r.BeginRow(); };
    const Step cell = [](IHTMLReport& r) { return r.BeginCell(); };
    const Step italic = [](IHTMLReport& r) { return r.AddTag("i"); };
    const std::vector<Case> cases = {
        {"row outside table", {section}, row, "The report writer cannot begin a row outside a table."},
        {"cell outside row", {table}, [](IHTMLReport& r) { return r.AddCell("x"); }, "outside a row"},
        {"label outside row", {}, [](IHTMLReport& r) { return r.AddLabelCell("x", 0); }, "outside a row"},
        {"begin cell in table", {table}, cell, "outside a row"},
        {"text in row", {table, row}, [](IHTMLReport& r) { return r.AddText("x"); }, "belongs in a cell"},
        {"text in table", {table}, [](IHTMLReport& r) { return r.AddText("x"); }, "belongs in a cell"},
        {"tag in row", {table, row}, [](IHTMLReport& r) { return r.AddTag("BR"); }, "belongs in a cell"},
        {"unknown tag in row",
         {table, row},
         [](IHTMLReport& r) { return r.AddTag("script"); },
         "belongs in a cell"},
        {"section in cell", {table, row, cell}, section, "begin a section inside a table"},
        {"table in row", {table, row}, table, "inside a table row"},
        {"end cell without cell",
         {table, row},
         [](IHTMLReport& r) { return r.EndCell(); },
         "no cell is open"},
        {"end cell in section",
         {section, italic},
         [](IHTMLReport& r) { return r.EndCell(); },
         "no cell is open"},
        {"end row with open cell",
         {table, row, cell},
         [](IHTMLReport& r) { return r.EndRow(); },
         "a cell is still"},
        {"end table with open row",
         {table, row},
         [](IHTMLReport& r) { return r.EndTable(); },
         "a row is still"},
        {"end section with open table",
         {section, table},
         [](IHTMLReport& r) { return r.EndSection(); },
         "a table is still"},
        {"end section without section",
         {},
         [](IHTMLReport& r) { return r.EndSection(); },
         "no section is open"},
        {"end row without row", {}, [](IHTMLReport& r) { return r.EndRow(); }, "no row is open"},
        {"end table without table", {}, [](IHTMLReport& r) { return r.EndTable(); }, "no table is open"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HtmlReportWriter r;
        for (const auto& step : c.before)
            ASSERT_TRUE(step(r).Ok);
        std::string before;
        Check(r.GetReportText(before));
        const ComponentStatus status = c.bad(r);
        EXPECT_FALSE(status.Ok);
        EXPECT_NE(status.Message.find(c.message), std::string::npos) << status.Message;
        std::string after;
        Check(r.GetReportText(after));
        EXPECT_EQ(after, before); // a refused call writes nothing
        ExpectClean(CheckHtml(after));
    }
}

TEST(HtmlReportWriter, ReportTextClosesOpenElementsWithoutEndingThem) {
    HtmlReportWriter r;
    Check(r.BeginSection("A"));
    Check(r.BeginTable(0, -1));
    Check(r.BeginRow());
    Check(r.BeginCell());
    Check(r.AddTag("i"));
    Check(r.AddText("x"));
    const std::string partial = TextOf(r);
    ExpectClean(CheckHtml(partial));
    EXPECT_EQ(partial, "<section>\n<h1>A</h1>\n<table>\n<tr><td><i>x</i></td></tr>\n</table>\n</section>\n");
    // Writing goes on inside the still open italics.
    Check(r.AddText("y"));
    Check(r.AddTag("/i"));
    Check(r.EndCell());
    Check(r.EndRow());
    Check(r.EndTable());
    Check(r.EndSection());
    EXPECT_EQ(TextOf(r),
              "<section>\n<h1>A</h1>\n<table>\n<tr><td><i>xy</i></td></tr>\n</table>\n</section>\n");
}

TEST(HtmlReportWriter, TablesMayNestInCellsAndSectionsFollowTables) {
    HtmlReportWriter r;
    Check(r.BeginSection("outer"));
    Check(r.AddTag("P"));
    Check(r.AddText("intro"));
    Check(r.BeginTable(0, -1)); // ends the paragraph
    Check(r.BeginRow());
    Check(r.BeginCell());
    Check(r.BeginTable(0, -1));
    Check(r.BeginRow());
    Check(r.AddCell("inner"));
    Check(r.EndRow());
    Check(r.EndTable());
    Check(r.EndCell());
    Check(r.EndRow());
    Check(r.EndTable());
    Check(r.BeginSection("inner"));
    Check(r.EndSection());
    Check(r.EndSection());
    const HtmlCheck check = CheckHtml(TextOf(r));
    ExpectClean(check);
    EXPECT_EQ(check.Count("table"), 2);
    EXPECT_EQ(check.Count("p"), 1);
    EXPECT_EQ(check.Count("h2"), 1);
}
