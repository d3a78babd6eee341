#include "tagfile/xmltagfileout.h"

#include "tagfile_events.h"

#include <gtest/gtest.h>

#include <functional>

using Events = std::vector<std::string>;

// What is written through the tag writer reads back through the tag reader as the same steps.
TEST(TagRoundTrip, ReadsBackWhatWasWritten) {
    struct Case {
        const char* what;
        std::function<void(TTagDomOut&)> write;
        Events events;
    };
    const Case cases[] = {
        {"attributes keep their order",
         [](TTagDomOut& o) {
             o.StartElement("ASSISTANT", {{"NAME", "A1"}, {"VERSION", "1"}, {"BACKWARDS", "0"}});
             o.EndElement();
         },
         {"+ASSISTANT @NAME=A1 @VERSION=1 @BACKWARDS=0", "-ASSISTANT"}},
        {"attributes from a list built at run time",
         [](TTagDomOut& o) {
             const std::string id = "n1";
             const std::vector<TTagAttr> attributes = {{"NAME", "x"}, {"TYPE", "t"}, {"ID", id}};
             o.TextElement("NOTES", attributes, "text");
         },
         {"+NOTES @NAME=x @TYPE=t @ID=n1", "'text'", "-NOTES"}},
        {"empty text gives an empty element",
         [](TTagDomOut& o) {
             o.StartElement("R");
             o.StartElement("MODIFIER", {{"NAME", ""}});
             o.Characters("");
             o.EndElement();
             o.TextElement("E", "");
             o.EndElement();
         },
         {"+R", "+MODIFIER @NAME=", "-MODIFIER", "+E", "-E", "-R"}},
        {"script lines separated by empty elements",
         [](TTagDomOut& o) {
             o.StartElement("OPTION", {{"NAME", "o"}});
             o.StartElement("SCRIPT");
             o.Characters("a");
             o.StartElement("P");
             o.EndElement();
             o.Characters("b");
             o.StartElement("P");
             o.EndElement();
             o.Characters("c d");
             o.EndElement();
             o.StartElement("ACTION", {{"TYPE", "GOTO"}, {"COMMAND", ""}});
             o.EndElement();
             o.EndElement();
         },
         {"+OPTION @NAME=o", "+SCRIPT", "'a'", "+P", "-P", "'b'", "+P", "-P", "'c d'", "-SCRIPT",
          "+ACTION @TYPE=GOTO @COMMAND=", "-ACTION", "-OPTION"}},
        {"an element first and last inside text",
         [](TTagDomOut& o) {
             o.StartElement("S");
             o.StartElement("P");
             o.EndElement();
             o.Characters("x");
             o.StartElement("P");
             o.EndElement();
             o.EndElement();
         },
         {"+S", "+P", "-P", "'x'", "+P", "-P", "-S"}},
        {"two pieces of text written in a row read as one",
         [](TTagDomOut& o) {
             o.StartElement("T");
             o.Characters("ab");
             o.Characters("cd");
             o.EndElement();
         },
         {"+T", "'abcd'", "-T"}},
        {"markup characters and quotes",
         [](TTagDomOut& o) {
             o.TextElement("T", {{"V", "\"a\" & 'b' <c> ]]>"}}, "\"a\" & 'b' <c> ]]> &amp;");
         },
         {"+T @V=\"a\" & 'b' <c> ]]>", "'\"a\" & 'b' <c> ]]> &amp;'", "-T"}},
        {"line breaks and tabs, CR LF kept exactly",
         [](TTagDomOut& o) {
             o.TextElement("NOTES", {{"NAME", "l1\r\nl2\tx\ny\rz"}}, "line 1\r\nline 2\n\tline 3\r");
         },
         {"+NOTES @NAME=l1\r\nl2\tx\ny\rz", "'line 1\r\nline 2\n\tline 3\r'", "-NOTES"}},
        {"leading and trailing blanks of text are kept",
         [](TTagDomOut& o) { o.TextElement("T", "  x  "); },
         {"+T", "'  x  '", "-T"}},
        {"text of white space only is not read back",
         [](TTagDomOut& o) { o.TextElement("T", " \t\n "); },
         {"+T", "-T"}},
        {"non-ASCII text and values",
         [](TTagDomOut& o) {
             o.TextElement("T", {{"V", "\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80"}}, "\xE6\x97\xA5\xE6\x9C\xAC");
         },
         {"+T @V=\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80", "'\xE6\x97\xA5\xE6\x9C\xAC'", "-T"}},
        {"elements nested inside text",
         [](TTagDomOut& o) {
             o.StartElement("R");
             o.StartElement("M");
             o.Characters("a ");
             o.StartElement("B", {{"K", "v"}});
             o.StartElement("C");
             o.EndElement();
             o.Characters("b");
             o.EndElement();
             o.Characters(" c");
             o.EndElement();
             o.TextElement("N", "d");
             o.EndElement();
         },
         {"+R", "+M", "'a '", "+B @K=v", "+C", "-C", "'b'", "-B", "' c'", "-M", "+N", "'d'", "-N", "-R"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileOut out;
        c.write(out);
        EXPECT_EQ(out.Depth(), 0u);
        const std::string xml = out.Finish();
        SCOPED_TRACE(xml);
        EXPECT_EQ(ReadEvents(xml), c.events);
    }
}
