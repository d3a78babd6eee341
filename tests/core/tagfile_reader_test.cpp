#include "tagfile/xmltagfilein.h"

#include "tagfile_events.h"
#include "tagreader_reference.h"

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

TEST(TagReader, ReadsWhatTheParserReadsFromACopy) {
    // The reader parses the bytes where they are. Whatever stands at the very end of the input must
    // count as it does when the parser works on a copy, in every encoding.
    struct Case {
        const char* what;
        std::string bytes;
    };
    const Case cases[] = {
        {"document ending with its root", "<A V=\"1\">x<B/></A>"},
        {"text after the root ends the input", "<A/>x"},
        {"one blank after the root", "<A/> "},
        {"CDATA after the root", "<A/><![CDATA[x]]>"},
        {"comment after the root", "<A/><!--c-->"},
        {"unclosed root", "<A>x"},
        {"end tag cut short", "<A>x</A"},
        {"lone open bracket at the end", "<A/><"},
        {"start of a multi-byte character at the end", "<A>x</A>\xC3"},
        {"three bytes", "<A>"},
        {"byte-order mark only", "\xEF\xBB\xBF"},
        {"Latin-1 declared, a non-ASCII byte at the end",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><A/>\xE9"},
        {"UTF-16 LE", "\xFF\xFE" + Wide("<A>t</A>", false, 2)},
        {"UTF-16 LE with a stray byte", "\xFF\xFE" + Wide("<A>t</A>", false, 2) + "x"},
        {"UTF-16 BE without a mark, with a stray byte", Wide("<A>t</A>", true, 2) + "x"},
        {"UTF-16 LE text after the root", Wide("<A/>x", false, 2)},
        {"UTF-32 LE with three stray bytes", Wide("<A>t</A>", false, 4) + "xyz"},
        {"UTF-32 BE", Wide("<A>t</A>", true, 4)},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_EQ(ReadEvents(c.bytes), ParsedCopyEvents(c.bytes));
        TXMLTagFileIn taken{std::string(c.bytes)};
        EXPECT_EQ(ReadEvents(taken), ParsedCopyEvents(c.bytes));
    }
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

TEST(TagReader, ReadsWellFormedDocumentsAsTheParserDoes) {
    // Valid documents whose corners a reader of its own is easy to get wrong: the steps must be those
    // of the parser's tree of the same bytes, through both ways of handing the bytes over.
    struct Case {
        const char* what;
        std::string xml;
    };
    const Case cases[] = {
        {"empty CDATA", "<A><![CDATA[]]></A>"},
        {"empty CDATA between texts", "<A>a<![CDATA[]]>b</A>"},
        {"CDATA of blanks only", "<A><![CDATA[ \t\n ]]><B/><![CDATA[ ]]></A>"},
        {"CDATA holding ]] and >", "<A><![CDATA[a]]b]>c>d]]]></A>"},
        {"CR LF and lone CR inside CDATA", "<A><![CDATA[a\r\nb\rc\n\r\nd\r]]></A>"},
        {"blanks around '=' in attributes", "<A B = \"1\"\n  C\t=\t'2' D\r\n=\r\n\"3\"/>"},
        {"single quotes holding double quotes and the other way", "<A B='say \"hi\"' C=\"it's\">'\"</A>"},
        {"'>' in text and attribute values", "<A B=\"x>y\" C='>'>a>b>>c</A>"},
        {"references at the very start and end of text", "<A>&amp;middle&lt;</A>"},
        {"texts that are one reference each", "<A><B>&gt;</B><C>&#65;</C><D>&#x263a;</D></A>"},
        {"references at the start and end of attribute values",
         "<A B=\"&quot;x&apos;\" C='&#x41;' D=\"&#66;\"/>"},
        {"references at the ends and starts of lines",
         "<A V=\"&amp;\n&lt;\">one &amp;\n&lt; two\r\n&#65;\r&#x42;</A>"},
        {"character references with lower and upper case hex digits, and decimal ones",
         "<A "
         "V=\"&#xe9;&#xE9;&#x4a;&#x4A;&#x1F600;\">&#xe9;&#xE9;&#x00041;&#x1f600;&#x10FFFF;&#233;&#0065;</A>"},
        {"multi-byte UTF-8 in names and values",
         "<\xC3\x89t\xC3\xA9 cl\xC3\xA9=\"\xE2\x82\xAC \xF0\x9F\x98\x80\">\xE6\x97\xA5\xE6\x9C\xAC"
         "</\xC3\x89t\xC3\xA9>"},
        {"names with '-', '.', '_', ':' and digits",
         "<a-b.c_d:e1 x-1.y_2:z='v' _u=\"w\"><_9.-/><p:q></p:q></a-b.c_d:e1>"},
        {"a comment or a processing instruction between texts",
         "<A>one<?pi x?>two<!-- c -->three<?q?><!---->four</A>"},
        {"end tags with blanks before '>'", "<A><B>x</B  ></A \n\t>"},
        {"empty-element tags with blanks before '/>'", "<A ><B /><C\n/><D x='1'  /></A>"},
        {"document type with an internal subset holding quoted '>' and ']' and comments",
         "<!DOCTYPE A [\n<!ENTITY e \"a>b]c\">\n<!-- ] > ]]> -->\n<!ATTLIST A v CDATA 'x]>'>\n<?pi ]>?>\n]>\n"
         "<A>x</A>"},
        {"declaration with standalone",
         "<?xml version='1.0' encoding='UTF-8' standalone='no' ?>\r\n<A>x</A>\r\n"},
        {"processing instructions and a comment after the root",
         "<A>x</A>\n<?pi after?>\n<!-- c -->\n<?another ?>\n"},
        {"deep nesting with attributes and texts on every level",
         [] {
             constexpr int depth = 10000;
             std::string s;
             for (int i = 0; i < depth; ++i)
                 s += "<e n=\"" + std::to_string(i) + "\">";
             s += "deep";
             for (int i = 0; i < depth; ++i)
                 s += i + 1 < depth ? "</e>t" : "</e>";
             return s;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<TagReadSteps> reference = ParsedCopySteps(c.xml);
        if (!reference) {
            ADD_FAILURE() << "the parser refuses the document";
            continue;
        }
        const Events expected = DescribeSteps(*reference);
        EXPECT_EQ(ReadEvents(c.xml), expected);
        TXMLTagFileIn taken{std::string(c.xml)};
        EXPECT_EQ(ReadEvents(taken), expected);
    }
}

TEST(TagReader, RefusesWhatIsNotWellFormed) {
    // Input the parser itself refuses, beyond that of IllFormedInputIsAtTheEndAtOnce: a reader must
    // never accept it, whichever way the bytes are handed over.
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
        EXPECT_FALSE(ParsedCopySteps(c.xml).has_value()) << "the parser accepts the input";
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

TEST(TagReader, ReadsLongTextsWithReferencesAnywhere) {
    // Plain text is scanned in blocks; a reference shortens the text and the bytes after it are moved
    // down. References at every position of texts longer than a block, and end tags whose names differ
    // at every position, must read as the parser reads them.
    const std::string plain = "abcdefghijklmnopqrstuvwxyz0123456789ABCDEFGHIJ";
    for (std::size_t at = 0; at <= plain.size(); ++at) {
        for (const char* reference : {"&lt;", "&#x263A;", "\r\n", "&bogus;"}) {
            const std::string text = plain.substr(0, at) + reference + plain.substr(at);
            for (const std::string& xml : {"<A>" + text + "</A>", "<A V=\"" + text + "\">" + text + "</A>",
                                           "<A>" + text + "<B/>" + text + text + "</A>"}) {
                SCOPED_TRACE(xml);
                EXPECT_EQ(ReadEvents(xml), ParsedCopyEvents(xml));
            }
        }
    }
    const std::string name = "N" + plain.substr(0, 20);
    for (std::size_t length = 1; length <= name.size(); ++length) {
        const std::string open = name.substr(0, length);
        std::string wrong = open;
        for (std::size_t at = 0; at < length; ++at) {
            wrong[at] = '_';
            const std::string xml = "<" + open + ">t</" + wrong + ">";
            SCOPED_TRACE(xml);
            EXPECT_TRUE(TXMLTagFileIn(xml).AtEnd());
            wrong[at] = open[at];
        }
        for (const std::string& xml : {"<" + open + ">t</" + open + ">", "<" + open + "/>",
                                       "<" + open + "></" + open + " >", "<" + open + "></" + open + "X>"}) {
            SCOPED_TRACE(xml);
            EXPECT_EQ(ReadEvents(xml), ParsedCopyEvents(xml));
        }
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
