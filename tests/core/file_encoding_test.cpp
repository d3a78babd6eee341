// Files in other encodings and texts with bytes that XML does not allow: what is read into the model,
// and what a save of it writes, which must always read again.
#include "encodings.h"
#include "filetesthelpers.h"
#include "model/fileformat.h"

#include <gtest/gtest.h>

#include <chrono>

using namespace filetest;

namespace {
class FileEncoding : public FileTest {};

std::string Utf16Le(const std::string& ascii) {
    std::string out = "\xFF\xFE";
    for (char c : ascii) {
        out += c;
        out += '\0';
    }
    return out;
}

std::string Repeat(const std::string& piece, int count) {
    std::string out;
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}
} // namespace

TEST_F(FileEncoding, OtherEncodingsAndOddCharactersReadAndSaveReadably) {
    struct Case {
        std::string name;
        std::string file;
        std::string caption;      // as read into the model
        std::string savedCaption; // the CAPTION element of a save; empty: none is written
    };
    const std::vector<Case> cases = {
        {"UTF-16 with a byte-order mark",
         Utf16Le("<ASSISTANT NAME=\"W\"><CAPTION>wide</CAPTION></ASSISTANT>"), "wide",
         "<CAPTION>wide</CAPTION>"},
        {"ISO-8859-1 named in the declaration",
         "<?xml version=\"1.0\" encoding=\"ISO-8859-1\"?><ASSISTANT><CAPTION>caf\xE9</CAPTION></ASSISTANT>",
         "caf\xC3\xA9", "<CAPTION>caf\xC3\xA9</CAPTION>"},
        {"references that only look like U+0000", Doc("<CAPTION>&#10;&#x100;&#0010;&amp;#0;</CAPTION>"),
         " \xC4\x80 &#0;", "<CAPTION> \xC4\x80 &amp;#0;</CAPTION>"},
        {"references to CR, TAB and LF keep CR and TAB", Doc("<CAPTION>a&#13;b&#9;c&#10;d</CAPTION>"),
         "a\rb\tc d", "<CAPTION>a&#13;b\tc d</CAPTION>"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TAssistRoot root(Ann);
        ASSERT_NO_THROW(LoadText(root, c.file));
        EXPECT_EQ(root.Caption, c.caption);
        const std::string saved = root.SaveToText();
        const std::size_t at = saved.find("<CAPTION");
        const std::string element =
            at == std::string::npos ? std::string() : saved.substr(at, saved.find('\n', at) - at);
        EXPECT_EQ(Visible(element), Visible(c.savedCaption));
        TAssistRoot again(Ann);
        EXPECT_NO_THROW(LoadText(again, saved)) << saved;
    }
}

TEST_F(FileEncoding, BytesTheParserCannotTakeAreRefused) {
    // Bytes that are no text in their encoding, and characters XML 1.0 does not allow (as they stand or
    // as a reference), are refused as not XML, saying where they stand. Read, they would be changed
    // without a word: a save writes invalid UTF-8 as U+FFFD and drops the control characters, so two
    // IDs could become one or a link break.
    const std::string invalid = "[AS021] Assistant stream does not contain valid XML. At byte offset ";
    const std::string notAllowed = ", which XML 1.0 does not allow.";
    // Where the content of Doc() starts: after the declaration, a line break and the root's start.
    const std::size_t start = Doc("").size() - std::string("</ASSISTANT>").size();
    const auto at = [&](std::size_t offset, int line) {
        return invalid + std::to_string(offset) + " (line " + std::to_string(line) + ") ";
    };
    struct Case {
        std::string name;
        std::string file;
        std::string message;
    };
    const std::vector<Case> cases = {
        {"a NUL byte inside a text", Doc(std::string("<CAPTION>a\0b</CAPTION>", 22)),
         at(start + 10, 2) + "stands the character U+0000" + notAllowed},
        {"UTF-16 cut in the middle of a character", Utf16Le("<ASSISTANT/>").substr(0, 9),
         at(8, 1) + "the bytes are not valid UTF-16LE."},
        // The parser would turn these into a NUL that silently cuts the text short.
        {"a reference to U+0000 in a text", Doc("<CAPTION>kept&#0;lost</CAPTION>"),
         at(start + 13, 2) + "the character reference &#0; stands for U+0000" + notAllowed},
        {"a hexadecimal reference to U+0000 in an attribute", Declaration + "<ASSISTANT NAME=\"a&#x000;b\"/>",
         at(Declaration.size() + 18, 1) + "the character reference &#x000; stands for U+0000" + notAllowed},
        {"a reference to U+0000 in UTF-16", Utf16Le("<ASSISTANT><CAPTION>a&#0;b</CAPTION></ASSISTANT>"),
         at(44, 1) + "the character reference &#0; stands for U+0000" + notAllowed},
        // The IDs S\xFF and S\xFE would both be saved as S U+FFFD: two screens of one ID, and the
        // go-to option would lead to the first of them.
        {"IDs that are not UTF-8",
         Doc("\n<SCREEN NAME=\"S\xFF\"><OPTION NAME=\"o\"><ACTION TYPE=\"GOTO\" COMMAND=\"S\xFE\"/></OPTION>"
             "</SCREEN>\n<SCREEN NAME=\"S\xFE\"/>"),
         at(start + 16, 3) + "the bytes are not valid UTF-8."},
        {"references to control characters in IDs",
         Doc("\n<SCREEN NAME=\"S&#1;\"/>\n<SCREEN NAME=\"S&#27;\"/>"),
         at(start + 16, 3) + "the character reference &#1; stands for U+0001" + notAllowed},
        {"a raw control character in a caption", Doc("<CAPTION>a\x01</CAPTION>"),
         at(start + 10, 2) + "stands the character U+0001" + notAllowed},
        {"a reference to a control character in a note",
         Doc("<SCREEN><OPTION><NOTES>&#x1F;</NOTES></OPTION></SCREEN>"),
         at(start + 23, 2) + "the character reference &#x1F; stands for U+001F" + notAllowed},
        {"U+FFFE as a reference", Doc("<CAPTION>&#xFFFE;</CAPTION>"),
         at(start + 9, 2) + "the character reference &#xFFFE; stands for U+FFFE" + notAllowed},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadError(c.file), c.message);
    }
}

TEST_F(FileEncoding, EveryRuleAndMessageIsTheSameInEveryEncoding) {
    // Each fixture (UTF-8, without a declaration) is read in every encoding: the outcome is the same,
    // and a refusal for a character names its byte offset in that encoding's bytes. `at` is the byte
    // index of that character in the fixture; {at} in the outcome stands for its offset.
    const std::string notXml = "[AS021] Assistant stream does not contain valid XML.";
    const std::string root = "<ASSISTANT NAME=\"A1\" VERSION=\"1\" BACKWARDS=\"0\">";
    const std::size_t none = std::string::npos;
    struct Case {
        const char* what;
        std::string xml;
        std::string outcome; // the message, or "caption: " and the caption read
        std::size_t at = std::string::npos;
    };
    const std::vector<Case> cases = {
        {"a valid file", root + "<CAPTION>caf\xC3\xA9 &amp; &#x263A;</CAPTION></ASSISTANT>",
         "caption: caf\xC3\xA9 & \xE2\x98\xBA"},
        {"cut short", root + "<SCREEN NAME=\"s\">", notXml},
        {"two roots", root + "</ASSISTANT><ASSISTANT/>", notXml},
        {"another root", "<\xC3\x89TAPE/>", "[AS022] Unexpected tag \"\xC3\x89TAPE\" in assistant stream."},
        {"an unknown element in a screen", root + "<SCREEN><FOO/></SCREEN></ASSISTANT>",
         "[AS022] Unexpected tag \"FOO\" in assistant stream."},
        {"text in an option", root + "<SCREEN><OPTION>loose</OPTION></SCREEN></ASSISTANT>",
         "[AS023] Unexpected element \"loose\" in assistant stream."},
        {"VERSION below 0", "<ASSISTANT VERSION=\"-1\"/>",
         "[AS025] Incompatible file version; file is \"-1\", program is \"1\", only backward compatible to "
         "\"0\"."},
        {"BACKWARDS above 1", "<ASSISTANT BACKWARDS=\"2\"/>",
         "[AS026] Incompatible file version; file is backward compatible with \"2\", but program is only "
         "version \"1\"."},
        {"a reference to U+0000", root + "<CAPTION>a&#0;b</CAPTION></ASSISTANT>",
         notXml + " At byte offset {at} (line 1) the character reference &#0; stands for U+0000, which XML "
                  "1.0 does "
                  "not allow.",
         root.size() + 10},
        {"a reference to ESC in an ID", root + "\n<SCREEN NAME=\"S&#27;\"/></ASSISTANT>",
         notXml +
             " At byte offset {at} (line 2) the character reference &#27; stands for U+001B, which XML 1.0 "
             "does not allow.",
         root.size() + 16},
        {"a raw control character", root + "<CAPTION>\x07</CAPTION></ASSISTANT>",
         notXml + " At byte offset {at} (line 1) stands the character U+0007, which XML 1.0 does not allow.",
         root.size() + 9},
        {"no external entity is loaded",
         "<!DOCTYPE ASSISTANT [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>" + root +
             "<CAPTION>&e;</CAPTION></ASSISTANT>",
         "caption: &e;"},
        {"a deep document",
         [] {
             std::string s;
             for (int i = 0; i < 100000; ++i)
                 s += "<X>";
             for (int i = 0; i < 100000; ++i)
                 s += "</X>";
             return s;
         }(),
         "[AS022] Unexpected tag \"X\" in assistant stream."},
        {"more items than the limit", root + "<SCREEN/><SCREEN/><SCREEN/></ASSISTANT>",
         "Reading stopped: the assistant has more than 2 screens, options and notes."},
    };
    const TAssistFileLimits before = SetAssistFileLimits({.MaxFileBytes = 4 << 20, .MaxItems = 2});
    for (const Case& c : cases) {
        for (const encodings::Variant& v : encodings::Variants()) {
            SCOPED_TRACE(std::string(c.what) + " in " + v.Name);
            const std::optional<std::string> bytes = encodings::Encode(v, c.xml);
            if (!bytes)
                continue;
            std::string expected = c.outcome;
            if (c.at != none)
                expected.replace(expected.find("{at}"), 4,
                                 std::to_string(encodings::Encode(v, c.xml.substr(0, c.at))->size()));
            TAssistRoot root(Ann);
            try {
                LoadText(root, *bytes);
                EXPECT_EQ("caption: " + root.Caption, expected);
            } catch (const AppError& e) {
                EXPECT_EQ(e.what(), expected);
            }
        }
    }
    SetAssistFileLimits(before);
}

TEST_F(FileEncoding, BillionLaughsIsNotExpanded) {
    // Ten levels of ten references each: a parser that expanded them would need gigabytes.
    std::string dtd = "<!DOCTYPE ASSISTANT [<!ENTITY l0 \"lol\">";
    for (int level = 1; level <= 9; ++level)
        dtd += "<!ENTITY l" + std::to_string(level) + " \"" +
               Repeat("&l" + std::to_string(level - 1) + ";", 10) + "\">";
    dtd += "]>";
    const auto start = std::chrono::steady_clock::now();
    TAssistRoot root(Ann);
    LoadText(root, Declaration + dtd + "<ASSISTANT NAME=\"B\"><CAPTION>&l9;</CAPTION></ASSISTANT>");
    const auto elapsed = std::chrono::steady_clock::now() - start;
    EXPECT_EQ(root.Caption, "&l9;") << "the reference is kept as it stands";
    EXPECT_LT(elapsed, std::chrono::seconds(5));
}
