#include "support/error.h"
#include "tagfile/xmltagfileout.h"

#include "tagfile_events.h"

#include <gtest/gtest.h>

#include <functional>
#include <pugixml.hpp>

namespace {

constexpr std::string_view kDeclaration = R"(<?xml version="1.0" encoding="UTF-8" standalone="yes"?>)";

// Writes one element holding `text` and returns what the writer made of the text.
std::string WrittenText(std::string_view text) {
    TXMLTagFileOut out;
    out.TextElement("T", text);
    const std::string xml = out.Finish();
    const std::string prefix = std::string(kDeclaration) + "\n<T>";
    EXPECT_EQ(xml.substr(0, prefix.size()), prefix);
    EXPECT_EQ(xml.substr(xml.size() - 5), "</T>\n");
    return xml.substr(prefix.size(), xml.size() - prefix.size() - 5);
}

std::string WrittenAttribute(std::string_view value) {
    TXMLTagFileOut out;
    out.StartElement("T", {{"V", value}});
    out.EndElement();
    const std::string xml = out.Finish();
    const std::string prefix = std::string(kDeclaration) + "\n<T V=\"";
    EXPECT_EQ(xml.substr(0, prefix.size()), prefix);
    EXPECT_EQ(xml.substr(xml.size() - 4), "\"/>\n");
    return xml.substr(prefix.size(), xml.size() - prefix.size() - 4);
}

bool ParsesStrictly(const std::string& xml) {
    pugi::xml_document doc;
    return static_cast<bool>(doc.load_buffer(xml.data(), xml.size()));
}

} // namespace

TEST(TagWriter, WritesDeclarationAndOneIndentedElementPerLine) {
    TXMLTagFileOut out;
    out.StartElement("ASSISTANT", {{"NAME", "A1"}, {"VERSION", "1"}, {"BACKWARDS", "0"}});
    out.TextElement("AUTHOR", {{"NAME", "{G} Ann"}, {"CODE", "42"}}, "Ann");
    out.TextElement("MODIFIER", {{"NAME", ""}, {"CODE", "0"}}, "");
    out.StartElement("SCREEN");
    out.StartElement("OPTION", {{"NAME", "o1"}});
    out.TextElement("CAPTION", "Go on");
    out.StartElement("SCRIPT");
    out.Characters("a");
    out.StartElement("P");
    out.EndElement();
    out.Characters("b");
    out.EndElement();
    out.EndElement();
    out.EndElement();
    out.StartElement("SCREEN");
    out.EndElement();
    out.EndElement();
    EXPECT_EQ(out.Depth(), 0u);
    EXPECT_EQ(out.Finish(), std::string(kDeclaration) +
                                "\n"
                                "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">\n"
                                "\t<AUTHOR NAME=\"{G} Ann\" CODE=\"42\">Ann</AUTHOR>\n"
                                "\t<MODIFIER NAME=\"\" CODE=\"0\"/>\n"
                                "\t<SCREEN>\n"
                                "\t\t<OPTION NAME=\"o1\">\n"
                                "\t\t\t<CAPTION>Go on</CAPTION>\n"
                                "\t\t\t<SCRIPT>a<P/>b</SCRIPT>\n"
                                "\t\t</OPTION>\n"
                                "\t</SCREEN>\n"
                                "\t<SCREEN/>\n"
                                "</ASSISTANT>\n");
}

TEST(TagWriter, ElementsInsideTextAreWrittenInline) {
    // Once an element holds text, nothing it contains is indented: added white space would change
    // its text. Elements started before the first text are still indented (that white space is
    // dropped by the reader).
    TXMLTagFileOut out;
    out.StartElement("R");
    out.StartElement("M");
    out.StartElement("P");
    out.EndElement();
    out.Characters("x");
    out.StartElement("B");
    out.StartElement("C");
    out.EndElement();
    out.EndElement();
    out.Characters("y");
    out.EndElement();
    out.EndElement();
    EXPECT_EQ(out.Finish(), std::string(kDeclaration) + "\n<R>\n\t<M>\n\t\t<P/>x<B><C/></B>y</M>\n</R>\n");
}

TEST(TagWriter, EscapesTextAndAttributeValues) {
    struct Case {
        std::string_view input;
        std::string_view text;      // as written inside an element
        std::string_view attribute; // as written inside a double-quoted attribute value
    };
    const Case cases[] = {
        {"plain", "plain", "plain"},
        {"a&b<c>d", "a&amp;b&lt;c&gt;d", "a&amp;b&lt;c&gt;d"},
        {"]]>", "]]&gt;", "]]&gt;"},
        {"say \"hi\" 'x'", "say \"hi\" 'x'", "say &quot;hi&quot; 'x'"},
        {"a\tb\nc", "a\tb\nc", "a&#9;b&#10;c"},
        {"a\r\nb\rc", "a&#13;\nb&#13;c", "a&#13;&#10;b&#13;c"},
        {"&amp;", "&amp;amp;", "&amp;amp;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.input));
        EXPECT_EQ(WrittenText(c.input), c.text);
        EXPECT_EQ(WrittenAttribute(c.input), c.attribute);
    }
}

// Characters XML 1.0 cannot carry are dropped (control characters other than TAB, LF and CR, and
// U+FFFE/U+FFFF); ill-formed UTF-8 is replaced by U+FFFD, one per longest valid start of a sequence.
TEST(TagWriter, RepairsCharactersXmlCannotCarry) {
    struct Case {
        std::string input;
        std::string output;
    };
    const std::string fffd = "\xEF\xBF\xBD";
    const Case cases[] = {
        {std::string("a\0b", 3), "ab"},
        {"a\x01\x08\x0B\x0C\x0E\x1F"
         "b",
         "ab"},
        {"\x7F", "\x7F"},
        {"\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80",
         "\xC3\xA9t\xC3\xA9 \xE2\x82\xAC \xF0\x9F\x98\x80"},
        {"a\xEF\xBF\xBE"
         "b\xEF\xBF\xBF"
         "c",
         "abc"}, // U+FFFE, U+FFFF
        {"a\xFF"
         "b",
         "a" + fffd + "b"}, // never a UTF-8 byte
        {"a\x80"
         "b",
         "a" + fffd + "b"},    // lone continuation byte
        {"a\xC3", "a" + fffd}, // truncated at the end
        {"a\xE2\x82"
         "b",
         "a" + fffd + "b"},                              // truncated three-byte sequence
        {"\xC0\xAF", fffd + fffd},                       // overlong '/'
        {"\xE0\x80\xAF", fffd + fffd + fffd},            // overlong, three bytes
        {"\xED\xA0\x80", fffd + fffd + fffd},            // a surrogate
        {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd}, // above U+10FFFF
        {"\xF0\x9F\x98"
         "x",
         fffd + "x"}, // truncated four-byte sequence
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.input));
        EXPECT_EQ(WrittenText(c.input), c.output);
        EXPECT_EQ(WrittenAttribute(c.input), c.output);

        TXMLTagFileOut out;
        out.StartElement("T", {{"V", c.input}});
        out.Characters(c.input);
        out.EndElement();
        const std::string xml = out.Finish();
        EXPECT_TRUE(ParsesStrictly(xml));
        std::vector<std::string> expected = {"+T @V=" + c.output};
        if (!c.output.empty())
            expected.push_back("'" + c.output + "'");
        expected.push_back("-T");
        EXPECT_EQ(ReadEvents(xml), expected);
    }
}

TEST(TagWriter, RefusesWhatWouldMakeTheDocumentIllFormed) {
    struct Case {
        const char* what;
        std::function<void(TXMLTagFileOut&)> write;
    };
    const Case cases[] = {
        {"end without an open element", [](TXMLTagFileOut& o) { o.EndElement(); }},
        {"end once too often",
         [](TXMLTagFileOut& o) {
             o.StartElement("A");
             o.EndElement();
             o.EndElement();
         }},
        {"second root element",
         [](TXMLTagFileOut& o) {
             o.TextElement("A", "x");
             o.StartElement("B");
         }},
        {"text before the root", [](TXMLTagFileOut& o) { o.Characters("x"); }},
        {"text after the root",
         [](TXMLTagFileOut& o) {
             o.StartElement("A");
             o.EndElement();
             o.Characters("x");
         }},
        {"empty element name", [](TXMLTagFileOut& o) { o.StartElement(""); }},
        {"name starting with a digit", [](TXMLTagFileOut& o) { o.StartElement("1A"); }},
        {"name with a blank", [](TXMLTagFileOut& o) { o.StartElement("A B"); }},
        {"name with markup", [](TXMLTagFileOut& o) { o.StartElement("A><B"); }},
        {"name with ill-formed UTF-8", [](TXMLTagFileOut& o) { o.StartElement("A\xC3"); }},
        {"attribute name with '='",
         [](TXMLTagFileOut& o) {
             o.StartElement("A", {{"N=", "v"}});
         }},
        {"empty attribute name",
         [](TXMLTagFileOut& o) {
             o.StartElement("A", {{"", "v"}});
         }},
        {"attribute given twice",
         [](TXMLTagFileOut& o) {
             o.StartElement("A", {{"N", "1"}, {"N", "2"}});
         }},
        {"writing after Finish",
         [](TXMLTagFileOut& o) {
             o.TextElement("A", "x");
             o.Finish();
             o.StartElement("A");
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileOut out;
        EXPECT_THROW(c.write(out), AppError);
    }
}

TEST(TagWriter, AcceptsValidNames) {
    TXMLTagFileOut out;
    out.StartElement("_a-b.c:d9", {{"x.y-z_1", "v"}, {"\xC3\xA9t\xC3\xA9", "w"}});
    out.TextElement("\xE6\x97\xA5", "t");
    out.EndElement();
    const std::string xml = out.Finish();
    EXPECT_TRUE(ParsesStrictly(xml));
    EXPECT_EQ(ReadEvents(xml),
              (std::vector<std::string>{"+_a-b.c:d9 @x.y-z_1=v @\xC3\xA9t\xC3\xA9=w", "+\xE6\x97\xA5", "'t'",
                                        "-\xE6\x97\xA5", "-_a-b.c:d9"}));
}

TEST(TagWriter, FinishClosesOpenElementsAndEndsTheDocumentOnce) {
    TXMLTagFileOut out;
    out.StartElement("A");
    out.StartElement("B");
    out.Characters("x");
    EXPECT_EQ(out.Depth(), 2u);
    EXPECT_EQ(out.Finish(), std::string(kDeclaration) + "\n<A>\n\t<B>x</B>\n</A>\n");
    EXPECT_EQ(out.Depth(), 0u);
    EXPECT_EQ(out.Finish(), "");
}

TEST(TagWriter, WriterOnATargetDeliversTheTextWhenDestroyed) {
    std::string target;
    {
        TXMLTagFileOut out(target);
        out.TextElement("A", {{"N", "1"}}, "x");
        EXPECT_TRUE(target.empty());
    }
    EXPECT_EQ(target, std::string(kDeclaration) + "\n<A N=\"1\">x</A>\n");

    std::string early;
    TXMLTagFileOut out(early);
    out.StartElement("A");
    EXPECT_EQ(out.Finish(), "");
    EXPECT_EQ(early, std::string(kDeclaration) + "\n<A/>\n");
}

TEST(TagWriter, DeepDocumentStaysLinearInSizeAndReadsBack) {
    // Indentation stops growing at some depth, so the text does not grow with the square of the depth.
    constexpr int depth = 100000;
    TXMLTagFileOut out;
    for (int i = 0; i < depth; ++i)
        out.StartElement("a");
    for (int i = 0; i < depth; ++i)
        out.EndElement();
    const std::string xml = out.Finish();
    EXPECT_LT(xml.size(), static_cast<std::size_t>(depth) * 150);

    TXMLTagFileIn in(xml);
    std::string name;
    int starts = 0, ends = 0;
    for (TTagKind k; (k = in.Next(name)) != tkEndOfDocument && starts + ends <= 2 * depth;) {
        starts += k == tkStart;
        ends += k == tkEnd;
    }
    EXPECT_EQ(starts, depth);
    EXPECT_EQ(ends, depth);
}
