#include "tagfile/xmltagfilein.h"

#include "encodings.h"
#include "tagfile_events.h"
#include "tagreader_walk.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

using Events = std::vector<std::string>;

namespace {
std::string Wide(const std::string& ascii, bool bigEndian, int width) {
    std::string out;
    for (char c : ascii) {
        if (bigEndian)
            out.append(static_cast<std::size_t>(width - 1), '\0');
        out += c;
        if (!bigEndian)
            out.append(static_cast<std::size_t>(width - 1), '\0');
    }
    return out;
}
} // namespace

TEST(TagReader, WalksTheDocumentDepthFirst) {
    struct Case {
        const char* what;
        std::string xml;
        Events events;
    };
    const Case cases[] = {
        {"empty root", "<A/>", {"+A", "-A"}},
        {"empty element written with an end tag", "<A></A>", {"+A", "-A"}},
        {"nested elements and text",
         "<A><B>x</B><C/><D><E>y</E></D></A>",
         {"+A", "+B", "'x'", "-B", "+C", "-C", "+D", "+E", "'y'", "-E", "-D", "-A"}},
        {"declaration, indentation and trailing newline",
         "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"yes\"?>\n<A>\n\t<B/>\n\t<C>t</C>\n</A>\n",
         {"+A", "+B", "-B", "+C", "'t'", "-C", "-A"}},
        {"whitespace-only text is not reported, but blanks around other text are kept",
         "<A> \t\r\n <B>  </B><C> x </C></A>",
         {"+A", "+B", "-B", "+C", "' x '", "-C", "-A"}},
        {"CDATA is text", "<A><![CDATA[<b>&amp;]]></A>", {"+A", "'<b>&amp;'", "-A"}},
        {"comments and processing instructions are skipped",
         "<!--c--><?pi x?><A><!--c--><?pi y?><B/><!----><?p?></A><!--end-->",
         {"+A", "+B", "-B", "-A"}},
        {"a comment separates two texts", "<A>one<!-- c -->two</A>", {"+A", "'one'", "'two'", "-A"}},
        {"text, element, text",
         "<S>a<P/>b<P/><P/>c</S>",
         {"+S", "'a'", "+P", "-P", "'b'", "+P", "-P", "+P", "-P", "'c'", "-S"}},
        {"references are decoded",
         "<A V=\"&lt;&amp;&gt;&quot;&apos;&#65;&#x263A;\">&lt;&amp;&gt;&quot;&apos;&#65;&#x263A;</A>",
         {"+A @V=<&>\"'A\xE2\x98\xBA", "'<&>\"'A\xE2\x98\xBA'", "-A"}},
        {"CR LF and lone CR become LF, a CR reference stays",
         "<A>a\r\nb\rc&#13;&#10;d</A>",
         {"+A", "'a\nb\nc\r\nd'", "-A"}},
        {"white space in attribute values becomes blanks, references stay",
         "<A V=\"a\tb\nc\r\nd&#9;&#10;&#13;\"/>",
         {"+A @V=a b c d\t\n\r", "-A"}},
        {"attributes in document order, single quotes, empty value",
         "<A Z='1' B=\"2\" M=\"\" EQ=\"x=y=z\"/>",
         {"+A @Z=1 @B=2 @M= @EQ=x=y=z", "-A"}},
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF<A>\xC3\xA9</A>", {"+A", "'\xC3\xA9'", "-A"}},
        {"document type without loading anything",
         "<!DOCTYPE A [<!ELEMENT A ANY>]><A>x</A>",
         {"+A", "'x'", "-A"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadEvents(c.xml), c.events);
    }
}

TEST(TagReader, IllFormedInputIsAtTheEndAtOnce) {
    struct Case {
        const char* what;
        std::string xml;
    };
    const Case cases[] = {
        {"empty", ""},
        {"blanks only", " \n\t "},
        {"plain text", "plain text"},
        {"declaration only", "<?xml version=\"1.0\"?>"},
        {"comment only", "<!-- nothing -->"},
        {"unclosed root", "<A><B/>"},
        {"document cut short", "<ASSISTANT NAME=\"A1\"><SCREEN NAME=\"s\"></SCREEN><SCREEN"},
        {"mismatched end", "<A></B>"},
        {"end tag differs in case", "<A></a>"},
        {"two root elements", "<A/><B/>"},
        {"text before the root", "x<A/>"},
        {"text after the root", "<A/>x"},
        {"CDATA after the root", "<A/><![CDATA[x]]>"},
        {"unquoted attribute", "<A B=c/>"},
        {"name starting with a digit", "<1A/>"},
        {"stray end tag", "</A>"},
        {"binary bytes", std::string("\x01\x02\x00\xFF", 4)},
        {"unclosed comment", "<A><!-- </A>"},
        {"deep and unclosed",
         [] {
             std::string s;
             for (int i = 0; i < 500000; ++i)
                 s += "<a>";
             return s;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileIn in(c.xml);
        EXPECT_TRUE(in.AtEnd());
        std::string name = "stale";
        EXPECT_EQ(in.Next(name), tkEndOfDocument);
        EXPECT_EQ(name, "");
        EXPECT_EQ(in.Next(name), tkEndOfDocument);
        EXPECT_TRUE(in.Attributes().empty());
    }
}

TEST(TagReader, IsAtTheEndAfterTheRootEnds) {
    TXMLTagFileIn in("<A><B/></A>");
    std::string name;
    const TTagKind expected[] = {tkStart, tkStart, tkEnd, tkEnd};
    for (TTagKind kind : expected) {
        EXPECT_FALSE(in.AtEnd());
        EXPECT_EQ(in.Next(name), kind);
    }
    EXPECT_EQ(name, "A");
    EXPECT_TRUE(in.AtEnd());
    EXPECT_EQ(in.Next(name), tkEndOfDocument);
    EXPECT_EQ(name, "");
    EXPECT_EQ(in.Next(name), tkEndOfDocument);
}

TEST(TagReader, AttributesBelongToTheLastStart) {
    TXMLTagFileIn in("<A NAME=\"a\" X=\"1\"><B/><C Y=\"2\">t</C></A>");
    std::string name;
    ASSERT_EQ(in.Next(name), tkStart); // A
    EXPECT_EQ(in.Attributes(), (Events{"NAME=a", "X=1"}));
    ASSERT_EQ(in.Next(name), tkStart); // B: no attributes
    EXPECT_TRUE(in.Attributes().empty());
    EXPECT_EQ(in.Attribute("NAME"), "");
    ASSERT_EQ(in.Next(name), tkEnd);   // B
    ASSERT_EQ(in.Next(name), tkStart); // C
    EXPECT_EQ(in.Attributes(), (Events{"Y=2"}));
    ASSERT_EQ(in.Next(name), tkText);
    EXPECT_EQ(in.Attributes(), (Events{"Y=2"}));
    ASSERT_EQ(in.Next(name), tkEnd); // C
    ASSERT_EQ(in.Next(name), tkEnd); // A: the ends leave the attributes alone
    EXPECT_EQ(name, "A");
    EXPECT_EQ(in.Attributes(), (Events{"Y=2"}));
}

TEST(TagReader, AttributeLookupIgnoresCaseOfTheName) {
    TXMLTagFileIn in(
        "<A NAME=\"first\" name=\"second\" TYPE=\"GOTO\" CMD=\"a=b=c\" EMPTY=\"\" \xC3\x89T=\"e\"/>");
    std::string name;
    ASSERT_EQ(in.Next(name), tkStart);
    struct Case {
        std::string_view name;
        std::string_view value;
    };
    const Case cases[] = {
        {"NAME", "first"}, {"nAmE", "first"}, {"type", "GOTO"},   {"Cmd", "a=b=c"},
        {"EMPTY", ""},     {"MISSING", ""},   {"NAM", ""},        {"NAMES", ""},
        {"", ""},          {"CMD=a", ""},     {"\xC3\x89T", "e"}, {"\xC3\xA9t", ""}, // only A-Z fold
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.name));
        EXPECT_EQ(in.Attribute(c.name), c.value);
    }
}

TEST(TagReader, NeverLoadsExternalEntities) {
    const auto dir = std::filesystem::temp_directory_path() / "amf-tagreader-test";
    std::filesystem::create_directories(dir);
    const auto secret = dir / "secret.txt";
    const auto dtd = dir / "outside.dtd";
    std::ofstream(secret) << "SECRET";
    std::ofstream(dtd) << "<!ENTITY inner SYSTEM \"file://" << secret.string() << "\">";
    const std::string docs[] = {
        "<!DOCTYPE A [<!ENTITY e SYSTEM \"file://" + secret.string() + "\">]><A V=\"&e;\">&e;</A>",
        "<!DOCTYPE A [<!ENTITY e SYSTEM \"" + secret.string() + "\">]><A>&e;</A>",
        "<!DOCTYPE A SYSTEM \"file://" + dtd.string() + "\"><A>&inner;</A>",
        "<!DOCTYPE A [<!ENTITY % p SYSTEM \"file://" + dtd.string() + "\"> %p;]><A>&inner;</A>",
    };
    for (const std::string& xml : docs) {
        SCOPED_TRACE(xml);
        TXMLTagFileIn in(xml);
        std::string name;
        ASSERT_EQ(in.Next(name), tkStart);
        for (const std::string& line : in.Attributes())
            EXPECT_EQ(line.find("SECRET"), std::string::npos);
        for (int step = 0; step < 100 && !in.AtEnd(); ++step) {
            in.Next(name);
            EXPECT_EQ(name.find("SECRET"), std::string::npos);
        }
        EXPECT_TRUE(in.AtEnd());
    }
    std::filesystem::remove_all(dir);
}

TEST(TagReader, DeepNestingNeitherOverflowsNorLosesEvents) {
    constexpr int depth = 500000;
    std::string xml;
    xml.reserve(depth * 7 + 16);
    for (int i = 0; i < depth; ++i)
        xml += "<a>";
    xml += "deep";
    for (int i = 0; i < depth; ++i)
        xml += "</a>";

    TXMLTagFileIn in(xml);
    std::string name;
    int starts = 0, ends = 0, level = 0, maxLevel = 0;
    std::string text;
    int steps = 0;
    for (TTagKind k; (k = in.Next(name)) != tkEndOfDocument;) {
        if (++steps > 3 * depth) {
            ADD_FAILURE() << "the walk does not end";
            break;
        }
        if (k == tkStart) {
            ++starts;
            maxLevel = std::max(maxLevel, ++level);
        } else if (k == tkEnd) {
            ++ends;
            --level;
        } else if (k == tkText) {
            text = name;
            EXPECT_EQ(level, depth);
        }
    }
    EXPECT_EQ(starts, depth);
    EXPECT_EQ(ends, depth);
    EXPECT_EQ(maxLevel, depth);
    EXPECT_EQ(text, "deep");
}

TEST(TagReader, ReadsFromAStreamFromItsPosition) {
    std::istringstream stream("junk<A N=\"1\">x</A>");
    stream.seekg(4);
    TXMLTagFileIn in(stream);
    EXPECT_EQ(ReadEvents(in), (Events{"+A @N=1", "'x'", "-A"}));
}

TEST(TagReader, ViewsStayValidWhileTheReaderLives) {
    TXMLTagFileIn in("<A N=\"first\"><B N=\"second\">one</B>two<C/></A>");
    std::vector<std::string_view> steps;
    std::vector<std::string_view> names;
    std::string_view step;
    while (!in.AtEnd()) {
        if (in.Next(step) == tkStart)
            names.push_back(in.AttributeView("n"));
        steps.push_back(step);
    }
    EXPECT_EQ(steps, (std::vector<std::string_view>{"A", "B", "one", "B", "two", "C", "C", "A"}));
    EXPECT_EQ(names, (std::vector<std::string_view>{"first", "second", ""}));
    EXPECT_EQ(in.Next(step), tkEndOfDocument);
    EXPECT_TRUE(step.empty());
}

TEST(TagReader, RefusesWhatIsNotWellFormed) {
    // More input that is not well-formed, beyond that of IllFormedInputIsAtTheEndAtOnce: it is never
    // accepted, whichever way the bytes are handed over.
    struct Case {
        const char* what;
        std::string xml;
    };
    const Case cases[] = {
        {"unclosed CDATA", "<A><![CDATA[x</A>"},
        {"CDATA cut before its last '>'", "<A><![CDATA[x]]"},
        {"misspelt CDATA opener", "<A><![CDAT[x]]></A>"},
        {"unclosed processing instruction", "<A><?pi </A>"},
        {"comment opener with one dash", "<A><!- x --></A>"},
        {"unknown markup after '<!'", "<A><!X></A>"},
        {"document type inside the root", "<A><!DOCTYPE B></A>"},
        {"unclosed internal subset", "<!DOCTYPE A [ <A/>"},
        {"attribute without a value", "<A B/>"},
        {"attribute value without its closing quote", "<A B=\"x/>"},
        {"attribute without a name", "<A =\"1\"/>"},
        {"no blank between attributes", "<A B=\"1\"C=\"2\"/>"},
        {"'<' inside a start tag", "<A<B/>"},
        {"blank after '<'", "<A>< B/></A>"},
        {"blank after '</'", "<A></ A>"},
        {"blank between '/' and '>'", "<A B=\"1\"/ >"},
        {"control character in a start tag", "<A\x01/>"},
        {"name starting with '-'", "<-A/>"},
        {"an end tag too many", "<A><B></B></A></A>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileIn viewed(c.xml);
        EXPECT_TRUE(viewed.AtEnd());
        EXPECT_EQ(ReadEvents(viewed), Events{});
        TXMLTagFileIn taken{std::string(c.xml)};
        EXPECT_TRUE(taken.AtEnd());
        EXPECT_EQ(ReadEvents(taken), Events{});
    }
}

TEST(TagReader, RefusesWhatXmlDoesNotAllowEvenWhereTheParserReadsOn) {
    // The reader is stricter than the XML library in these cases: each is not well-formed XML, and the
    // library would read it with a part lost or with bytes that are no text.
    struct Case {
        const char* what;
        std::string xml;
    };
    const Case cases[] = {
        {"NUL byte after the root", std::string("<A/>\0<B>", 8)},
        {"NUL byte inside a comment", std::string("<A><!--\0--></A>", 15)},
        {"NUL byte inside CDATA", std::string("<A><![CDATA[\0]]></A>", 20)},
        {"reference to a surrogate", "<A>&#xD800;</A>"},
        {"reference beyond U+10FFFF", "<A>&#x110000;</A>"},
        {"decimal reference that wraps to zero in 32 bits", "<A>&#4294967296;</A>"},
        {"hexadecimal reference that wraps to zero in 32 bits", "<A V=\"&#x100000000;\"/>"},
        {"XML declaration inside the root", "<A><?xml version=\"1.0\"?></A>"},
        {"document type after the root", "<A/><!DOCTYPE A>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileIn in(c.xml);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_EQ(ReadEvents(in), Events{});
    }
}

TEST(TagReader, TellsWhichTextsHoldALineFeed) {
    struct Case {
        const char* what;
        std::string xml;
        std::vector<bool> lineFeeds; // per text step, in order
    };
    const Case cases[] = {
        {"plain texts", "<A>x<B/>y z</A>", {false, false}},
        {"raw LF, CR LF and lone CR", "<A>x\ny<B/>x\r\ny<B/>x\ry</A>", {true, true, true}},
        {"reference to LF, and to CR (which stays a CR)",
         "<A>x&#10;y<B/>x&#13;y<B/>&#xA;</A>",
         {true, false, true}},
        {"a line feed in one text does not carry over", "<A>a\nb<B/>c</A>", {true, false}},
        {"CDATA", "<A><![CDATA[x\ny]]><![CDATA[xy]]></A>", {true, false}},
        {"UTF-16", "\xFF\xFE" + Wide("<A>x\ny<B/>xy</A>", false, 2), {true, false}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileIn in(c.xml);
        std::vector<bool> seen;
        std::string_view step;
        while (!in.AtEnd()) {
            if (in.Next(step) == tkText) {
                seen.push_back(in.LastTextHasLineFeed());
                EXPECT_EQ(in.LastTextHasLineFeed(), step.find('\n') != std::string_view::npos) << step;
            }
        }
        EXPECT_EQ(seen, c.lineFeeds);
    }
}

TEST(TagReader, ReadsEveryEncodingAlike) {
    // The same document in every encoding gives the same steps as in UTF-8.
    struct Case {
        const char* what;
        std::string xml;
        Events events;
    };
    const Case cases[] = {
        {"nested elements, attributes and indentation",
         "<A N=\"1\" m='two'>\r\n\t<B/>\n\t<C X=\"a b\">t</C>\n</A>\n",
         {"+A @N=1 @m=two", "+B", "-B", "+C @X=a b", "'t'", "-C", "-A"}},
        {"references, CDATA, comments and line ends",
         "<A V=\"&lt;&#65;\">a&amp;b<!-- c -->&#xE9;\r\nc<![CDATA[<&>]]></A>",
         {"+A @V=<A", "'a&b'", "'\xC3\xA9\nc'", "'<&>'", "-A"}},
        {"characters beyond ASCII",
         "<\xC3\x89 \xC3\xA9=\"\xC3\xBF\">\xC3\xA0</\xC3\x89>",
         {"+\xC3\x89 @\xC3\xA9=\xC3\xBF", "'\xC3\xA0'", "-\xC3\x89"}},
        {"characters beyond Latin-1 (not in ISO-8859-1)",
         "<A>\xE2\x82\xAC\xF0\x9F\x98\x80</A>",
         {"+A", "'\xE2\x82\xAC\xF0\x9F\x98\x80'", "-A"}},
        {"a document type that loads nothing",
         "<!DOCTYPE A [<!ENTITY e \"x\">]><A>&e;</A>",
         {"+A", "'&e;'", "-A"}},
    };
    for (const Case& c : cases) {
        for (const encodings::Variant& v : encodings::Variants()) {
            SCOPED_TRACE(std::string(c.what) + " in " + v.Name);
            const std::optional<std::string> bytes = encodings::Encode(v, c.xml);
            if (!bytes)
                continue; // not to be written in this encoding
            EXPECT_EQ(DetectXmlEncoding(*bytes), v.Encoding);
            TXMLTagFileIn in(*bytes);
            EXPECT_EQ(ReadEvents(in), c.events);
            EXPECT_EQ(in.Problem(), "");
        }
    }
}

TEST(TagReader, RefusesCharactersXmlDoesNotAllowInEveryEncoding) {
    // Each fixture holds one fault at `at` (a byte index into the UTF-8 fixture) on line `line`; the
    // refusal names the byte offset in the encoded document and the line, in every encoding.
    struct Case {
        const char* what;
        std::string xml;
        std::size_t at;
        int line;
        std::string problem; // after "At byte offset N (line L) "
    };
    const std::string notAllowed = ", which XML 1.0 does not allow.";
    const Case cases[] = {
        {"a control character in a text", "<A>ab\x01</A>", 5, 1, "stands the character U+0001" + notAllowed},
        {"ESC in an attribute value", "<A V=\"\x1B\"/>", 6, 1, "stands the character U+001B" + notAllowed},
        {"a NUL character after the root", std::string("<A/>\0", 5), 4, 1,
         "stands the character U+0000" + notAllowed},
        {"U+FFFF", "<A>\xEF\xBF\xBF</A>", 3, 1, "stands the character U+FFFF" + notAllowed},
        {"a reference to U+0001", "<A>x&#1;</A>", 4, 1,
         "the character reference &#1; stands for U+0001" + notAllowed},
        {"a reference to ESC in an attribute", "<A\n V=\"&#27;\"/>", 7, 2,
         "the character reference &#27; stands for U+001B" + notAllowed},
        {"a hexadecimal reference, after CR LF and a lone CR", "<A>\r\n<B>\r</B>&#x1b;</A>", 13, 3,
         "the character reference &#x1b; stands for U+001B" + notAllowed},
        {"a reference to U+0000", "<A>&#0000;</A>", 3, 1,
         "the character reference &#0000; stands for U+0000" + notAllowed},
        {"a reference that wraps to zero in 32 bits", "<A>&#4294967296;</A>", 3, 1,
         "the character reference &#4294967296; stands for U+0000" + notAllowed},
        {"a reference to a surrogate", "<A>&#xD800;</A>", 3, 1,
         "the character reference &#xD800; stands for U+D800" + notAllowed},
        {"a reference beyond U+10FFFF", "<A V='&#x110000;'/>", 6, 1,
         "the character reference &#x110000; stands for U+110000" + notAllowed},
        {"a reference to U+FFFE", "<A>&#65534;</A>", 3, 1,
         "the character reference &#65534; stands for U+FFFE" + notAllowed},
        {"a reference in a document type", "<!DOCTYPE A [<!ENTITY e \"&#2;\">]><A/>", 25, 1,
         "the character reference &#2; stands for U+0002" + notAllowed},
        {"a reference after a comment and a quoted '>' in a document type",
         "<!DOCTYPE A [<!-- > --><!ENTITY e \">\">]><A>&#3;</A>", 43, 1,
         "the character reference &#3; stands for U+0003" + notAllowed},
    };
    for (const Case& c : cases) {
        for (const encodings::Variant& v : encodings::Variants()) {
            SCOPED_TRACE(std::string(c.what) + " in " + v.Name);
            const std::optional<std::string> bytes = encodings::Encode(v, c.xml);
            if (!bytes)
                continue;
            const std::size_t offset = encodings::Encode(v, c.xml.substr(0, c.at))->size();
            TXMLTagFileIn in(*bytes);
            EXPECT_TRUE(in.AtEnd());
            EXPECT_EQ(ReadEvents(in), Events{});
            EXPECT_EQ(in.Problem(), "At byte offset " + std::to_string(offset) + " (line " +
                                        std::to_string(c.line) + ") " + c.problem);
        }
    }
}

TEST(TagReader, ReferencesAreCheckedOnlyWhereTheyAreReferences) {
    // Comments, CDATA sections and processing instructions hold text, not references; "&#X1;" (capital
    // X) and "&#;" are no references and stay as they stand.
    struct Case {
        const char* what;
        std::string xml;
        Events events;
    };
    const Case cases[] = {
        {"in a CDATA section", "<A><![CDATA[&#1;]]></A>", {"+A", "'&#1;'", "-A"}},
        {"in a comment", "<A><!-- &#1; --></A>", {"+A", "-A"}},
        {"in a processing instruction", "<A><?pi &#1;?></A>", {"+A", "-A"}},
        {"in a comment inside a document type", "<!DOCTYPE A [<!-- &#1; -->]><A/>", {"+A", "-A"}},
        {"not a reference", "<A>&#X1;&#;&#x;</A>", {"+A", "'&#X1;&#;&#x;'", "-A"}},
        {"allowed characters",
         "<A>&#9;&#10;&#13;&#x20;&#xD7FF;&#xE000;&#xFFFD;&#x10000;&#x10FFFF;</A>",
         {"+A", "'\t\n\r \xED\x9F\xBF\xEE\x80\x80\xEF\xBF\xBD\xF0\x90\x80\x80\xF4\x8F\xBF\xBF'", "-A"}},
    };
    for (const Case& c : cases) {
        for (const encodings::Variant& v : encodings::Variants()) {
            SCOPED_TRACE(std::string(c.what) + " in " + v.Name);
            TXMLTagFileIn in(*encodings::Encode(v, c.xml));
            EXPECT_EQ(ReadEvents(in), c.events);
        }
    }
}

TEST(TagReader, RefusesBytesThatAreNotTextInTheirEncoding) {
    struct Case {
        const char* what;
        std::string bytes;
        std::string problem;
    };
    const auto le16 = [](std::string_view ascii) {
        return *encodings::Body({"", TXmlEncoding::Utf16Le, false}, ascii);
    };
    const auto be32 = [](std::string_view ascii) {
        return *encodings::Body({"", TXmlEncoding::Utf32Be, false}, ascii);
    };
    const Case cases[] = {
        {"a byte that starts no UTF-8 character", "<A>\n\n S\xFF</A>",
         "At byte offset 7 (line 3) the bytes are not valid UTF-8."},
        {"UTF-8 cut short at the end", "<A>x</A>\xC3",
         "At byte offset 8 (line 1) the bytes are not valid UTF-8."},
        {"an overlong UTF-8 form", "<A>\xC0\xAF</A>",
         "At byte offset 3 (line 1) the bytes are not valid UTF-8."},
        {"a surrogate in UTF-8", "<A>\xED\xA0\x80</A>",
         "At byte offset 3 (line 1) the bytes are not valid UTF-8."},
        {"beyond U+10FFFF in UTF-8", "<A>\xF4\x90\x80\x80</A>",
         "At byte offset 3 (line 1) the bytes are not valid UTF-8."},
        {"an unpaired high surrogate in UTF-16", le16("<A>") + std::string("\x00\xD8", 2) + le16("x</A>"),
         "At byte offset 6 (line 1) the bytes are not valid UTF-16LE."},
        {"an unpaired low surrogate in UTF-16", le16("<A>\n") + std::string("\x00\xDC", 2) + le16("</A>"),
         "At byte offset 8 (line 2) the bytes are not valid UTF-16LE."},
        {"UTF-16 with an odd number of bytes", le16("<A/>") + "x",
         "At byte offset 8 (line 1) the bytes are not valid UTF-16LE."},
        {"beyond U+10FFFF in UTF-32", be32("<A>") + std::string("\x00\x11\x00\x00", 4) + be32("</A>"),
         "At byte offset 12 (line 1) the bytes are not valid UTF-32BE."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TXMLTagFileIn in(c.bytes);
        EXPECT_TRUE(in.AtEnd());
        EXPECT_EQ(in.Problem(), c.problem);
    }
}
