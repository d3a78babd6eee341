// The assistant report as a browser gets it: the model written by the real HTML writer, completed
// and prepared by the real report support through the whole report chain, then read back with the
// strict HTML checker.
#include <gtest/gtest.h>

#include <sstream>
#include <string>
#include <vector>

#include "support/htmltext.h"
#include "model/assistroot.h"
#include "support/error.h"
#include "support/reportchain.h"
#include "tests/core/documentfactory.h"
#include "tests/core/htmlcheck.h"
#include "tests/core/reportfixture.h"

using namespace reportfixture;

namespace {
std::string ReportDocument(const TAssistRoot& root) {
    DocumentFactory factory;
    ShowAssistantReport(factory, nullptr, root.Caption, [&](IHTMLReport& r) { root.WriteReport(r); });
    EXPECT_FALSE(factory.Shown.empty());
    return factory.Shown;
}

void ExpectCleanDocument(const HtmlCheck& check) {
    for (const auto& e : check.Errors)
        ADD_FAILURE() << e;
    for (const auto& d : check.DanglingLinks())
        ADD_FAILURE() << "link to nothing: " << d;
}

// The heading of the section in which a browser lands for the link target "#id": the first element
// carrying that id in document order, and the last heading before it. Empty when there is no such id.
std::string LandingHeading(const std::string& html, const std::string& id) {
    const auto at = html.find("id=\"" + id + "\"");
    if (at == std::string::npos)
        return {};
    const auto open = html.rfind("<h", at);
    const auto textStart = html.find('>', open) + 1;
    return html.substr(textStart, html.find("</h", textStart) - textStart);
}

// Every in-document link of the body, in document order.
std::vector<std::string> Links(const HtmlCheck& check) {
    std::vector<std::string> links;
    for (const auto& href : check.LinkTargets)
        if (!href.empty() && href[0] == '#')
            links.push_back(href);
    return links;
}
} // namespace

TEST(ReportDocument, GotoLinksReachTheScreenTheirCommandFinds) {
    struct Case {
        const char* name;
        std::string screenId;
        std::string command;
        TActionKind action;
    };
    const std::vector<Case> cases = {
        {"same spelling", "S2", "S2", akGoto},
        {"command in lower case", "S2", "s2", akGoto},
        {"button, mixed case", "Step2", "sTEP2", akGotoButton},
        {"blanks, punctuation and non-ASCII letters", "Paper jam / \xC3\x84rger", "PAPER JAM / \xC3\x84RGER",
         akGoto},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant();
        TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
        AddScreen(*root, c.screenId, "Target");
        AddOption(*s1, "S1.1", "Go", c.action, c.command);

        const std::string html = ReportDocument(*root);
        const HtmlCheck check = CheckHtml(html);
        ExpectCleanDocument(check);
        const auto links = Links(check);
        ASSERT_EQ(links.size(), 1u);
        EXPECT_EQ(LandingHeading(html, links[0].substr(1)),
                  HtmlEscaped("Screen: " + c.screenId + ": Target"));
        // The link text keeps the command as the option stores it.
        EXPECT_NE(check.Text.find(c.command + ": Target"), std::string::npos);
    }
}

TEST(ReportDocument, FirstScreenLinkReachesTheScreenWhateverItsCase) {
    auto root = MakeAssistant();
    root->FirstScreen = "s2";
    AddScreen(*root, "S1", "Start");
    AddScreen(*root, "S2", "Second");

    const std::string html = ReportDocument(*root);
    const HtmlCheck check = CheckHtml(html);
    ExpectCleanDocument(check);
    const auto links = Links(check);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(LandingHeading(html, links[0].substr(1)), "Screen: S2: Second");
    EXPECT_NE(check.Text.find("s2: Second"), std::string::npos);
}

TEST(ReportDocument, ScreensDifferingOnlyInCaseLinkToTheOneTheLookUpFinds) {
    // The look-up gives the first screen in list order; the browser lands on the first anchor.
    auto root = MakeAssistant();
    TAssistScreen* s1 = AddScreen(*root, "S1", "Start");
    AddScreen(*root, "S2", "Upper");
    AddScreen(*root, "s2", "Lower");
    AddOption(*s1, "S1.1", "Go", akGoto, "s2");

    const std::string html = ReportDocument(*root);
    const HtmlCheck check = CheckHtml(html);
    ExpectCleanDocument(check); // the two anchors still get ids of their own
    const auto links = Links(check);
    ASSERT_EQ(links.size(), 1u);
    EXPECT_EQ(LandingHeading(html, links[0].substr(1)), "Screen: S2: Upper");
}

TEST(ReportDocument, ScreenNamedLikeItsAssistantIsWhereLinksLand) {
    struct Case {
        const char* name;
        std::string assistantId;
        std::string screenId;
        std::string command;
    };
    const std::vector<Case> cases = {
        {"same spelling", "Main", "Main", "Main"},
        {"screen in upper case", "Main", "MAIN", "main"},
        {"assistant in lower case", "help", "Help", "HELP"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        auto root = MakeAssistant(c.assistantId, "Printer help");
        root->FirstScreen = c.command;
        TAssistScreen* start = AddScreen(*root, "S1", "Start");
        AddScreen(*root, c.screenId, "Target");
        AddOption(*start, "S1.1", "Go", akGoto, c.command);

        const std::string html = ReportDocument(*root);
        const HtmlCheck check = CheckHtml(html);
        ExpectCleanDocument(check);
        const auto links = Links(check);
        ASSERT_EQ(links.size(), 2u); // the first screen row and the option
        for (const auto& link : links)
            EXPECT_EQ(LandingHeading(html, link.substr(1)), "Screen: " + c.screenId + ": Target");
        // The assistant's section keeps an anchor of its own.
        EXPECT_EQ(LandingHeading(html, HtmlAnchorId(c.assistantId) + "_y1"),
                  "Report on Assistant: " + c.assistantId + ": Printer help");
    }
}

TEST(ReportDocument, UserTextCannotAddActiveContentAndAnchorsStillWork) {
    const std::string evilId = "x\" onmouseover=\"alert(1)";
    const std::string evilScreen = "S\" onclick=\"alert(2)";
    const std::string script = "<script>alert(3)</script>";
    auto root = MakeAssistant(evilId, script);
    root->FirstScreen = evilScreen;
    root->AuthorName = "<img src=x onerror=alert(4)>";
    root->Description = {"</td></tr></table>" + script};
    TAssistScreen* s1 = AddScreen(*root, evilScreen, "<a href=\"javascript:alert(5)\">x</a>");
    s1->Image = "\"><script>alert(6)</script>";
    TAssistOption* go = AddOption(*s1, "S1.1\"><script>", script, akGoto, "s\" ONCLICK=\"alert(2)");
    go->Description = {"<b onmouseover=alert(7)>"};
    AddNote(go->Notes, script, "<i>", "\"'", "<style>body{}</style>");
    AddNote(go->Notes, "n", "t", "i", "javascript:alert(8)");
    TAssistOption* run = AddOption(*s1, "S1.2", "Run", akScript);
    run->Script = "<script>\ralert(9)\r</script>";
    AddOption(*s1, "S1.3", "Web", akInternet, "javascript:alert(10)");

    const std::string html = ReportDocument(*root);
    const HtmlCheck check = CheckHtml(html);
    ExpectCleanDocument(check);
    EXPECT_EQ(check.Count("script"), 0);
    EXPECT_EQ(check.Count("img"), 0);
    EXPECT_EQ(check.Count("b"), 0);
    EXPECT_EQ(check.Count("style"), 1); // the report's own style sheet only
    // The user's texts are shown as text.
    EXPECT_NE(check.Text.find("Report on Assistant: " + evilId + ": " + script), std::string::npos);
    EXPECT_NE(check.Text.find("<script>alert(3)</script>  (<i>, \"')"), std::string::npos);
    // Both links, the first screen's and the option's, land on the screen's section.
    const auto links = Links(check);
    ASSERT_EQ(links.size(), 2u);
    for (const auto& link : links)
        EXPECT_EQ(LandingHeading(html, link.substr(1)),
                  HtmlEscaped("Screen: " + evilScreen + ": <a href=\"javascript:alert(5)\">x</a>"));
    // The assistant's own anchor is there too.
    EXPECT_EQ(check.Ids.count(HtmlAnchorId(evilId)), 1u);
}

TEST(ReportDocument, HostileFileGivesNoActiveContent) {
    // What an attacker can put in a file: markup hidden in entities, character references and CDATA
    // (including a "]]>" split over two sections), quotes that try to end attribute values, event
    // attributes and javascript: commands.
    const std::string file = R"amf(<?xml version="1.0" encoding="UTF-8"?>
<ASSISTANT NAME="x&quot; onerror=&quot;alert(1)" VERSION="1" BACKWARDS="0">
  <AUTHOR NAME="a" CODE="1">&lt;img src=x onerror=alert(2)&gt;</AUTHOR>
  <FIRST>s" onclick="alert(3)</FIRST>
  <CAPTION>&#60;script&#62;alert(4)&#60;/script&#62;</CAPTION>
  <DESCRIPTION><![CDATA[</td></table><script>alert(5)</script>]]]]><![CDATA[>]]></DESCRIPTION>
  <SCREEN NAME='s" onclick="alert(3)'>
    <CAPTION><![CDATA[<a href="javascript:alert(6)">x</a>]]></CAPTION>
    <IMAGE>javascript:alert(7)</IMAGE>
    <OPTION NAME="o'>&lt;script&gt;">
      <CAPTION>&lt;svg onload=alert(8)&gt;</CAPTION>
      <ACTION TYPE="GOTO" COMMAND='s" onclick="alert(3)'/>
      <NOTES NAME="&lt;script&gt;" TYPE="]]&gt;" ID="&quot;&apos;"><![CDATA[<iframe src="javascript:alert(9)">]]></NOTES>
    </OPTION>
    <OPTION NAME="w"><ACTION TYPE="INTERNET" COMMAND="javascript:alert(10)"/></OPTION>
    <OPTION NAME="e"><ACTION TYPE="EXEC" COMMAND="&quot;&gt;&lt;script&gt;alert(11)&lt;/script&gt;"/></OPTION>
    <OPTION NAME="r"><SCRIPT>&lt;/pre&gt;&lt;script&gt;alert(12)<P/>&lt;/script&gt;</SCRIPT><ACTION TYPE="SCRIPT" COMMAND=""/></OPTION>
  </SCREEN>
</ASSISTANT>
)amf";
    TAssistRoot root(kAnn);
    std::istringstream in(file);
    root.LoadFromStream(in);
    ASSERT_EQ(root.Screens.Count(), 1);

    const std::string html = ReportDocument(root);
    const HtmlCheck check = CheckHtml(html);
    ExpectCleanDocument(check);
    for (const char* element : {"script", "img", "svg", "iframe"})
        EXPECT_EQ(check.Count(element), 0) << element;
    // The only links are the report's own, inside the document.
    for (const std::string& target : check.LinkTargets)
        EXPECT_EQ(target.rfind('#', 0), 0u) << target;
    for (const HtmlElement& element : check.StartTags)
        for (const auto& [name, value] : element.Attributes)
            EXPECT_NE(name.rfind("on", 0), 0u) << "<" << element.Name << " " << name << ">";
    // Every hostile text is there, shown as text.
    for (const std::string& text :
         {std::string("<script>alert(4)</script>"), std::string("</td></table><script>alert(5)</script>]]>"),
          std::string("<img src=x onerror=alert(2)>"), std::string("<a href=\"javascript:alert(6)\">x</a>"),
          std::string("javascript:alert(10)"), std::string("<iframe src=\"javascript:alert(9)\">"),
          std::string("\"><script>alert(11)</script>")})
        EXPECT_NE(check.Text.find(text), std::string::npos) << text;
}

TEST(ReportDocument, LargeAssistantIsReportedCompletely) {
    constexpr int kScreens = 1000;
    constexpr int kOptionsPerScreen = 10;
    auto root = MakeAssistant();
    root->FirstScreen = "s1";
    for (int s = 1; s <= kScreens; ++s) {
        TAssistScreen* screen =
            AddScreen(*root, "S" + std::to_string(s), "Screen number " + std::to_string(s));
        screen->Description = {"A screen that explains a step of the task.", "", "Second paragraph."};
        for (int o = 1; o <= kOptionsPerScreen; ++o) {
            const std::string target = "s" + std::to_string(s % kScreens + 1);
            TAssistOption* option =
                AddOption(*screen, screen->ID + "." + std::to_string(o), "Choice", akGoto, target);
            option->Description = {"What this choice does."};
            AddNote(option->Notes, "Tip", "Hint", "N", "Short note.");
        }
    }

    const std::string html = ReportDocument(*root);
    const HtmlCheck check = CheckHtml(html);
    ExpectCleanDocument(check);
    EXPECT_EQ(check.Count("section"), 1 + kScreens);
    EXPECT_EQ(check.Count("table"), 1 + kScreens + kScreens * kOptionsPerScreen);
    EXPECT_EQ(Links(check).size(), 1u + kScreens * kOptionsPerScreen);
    EXPECT_NE(html.find("Screen: S1000: Screen number 1000"), std::string::npos);
}
