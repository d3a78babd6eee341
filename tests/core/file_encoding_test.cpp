// Files in other encodings and texts with bytes that XML does not allow: what is read into the model,
// and what a save of it writes, which must always read again.
#include "filetesthelpers.h"

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
        {"invalid UTF-8 is kept as read and saved as U+FFFD",
         Doc("<CAPTION>a\xFF"
             "b\xC3</CAPTION>"),
         "a\xFF"
         "b\xC3",
         "<CAPTION>a\xEF\xBF\xBD"
         "b\xEF\xBF\xBD</CAPTION>"},
        {"raw control characters are kept as read and dropped on saving",
         Doc("<CAPTION>a\x01"
             "b\x1F</CAPTION>"),
         "a\x01"
         "b\x1F",
         "<CAPTION>ab</CAPTION>"},
        {"a caption of control characters only is saved as an empty element",
         Doc("<CAPTION>\x01\x02</CAPTION>"), "\x01\x02", "<CAPTION></CAPTION>"},
        {"character references to control characters", Doc("<CAPTION>&#1;x&#x1F;</CAPTION>"), "\x01x\x1F",
         "<CAPTION>x</CAPTION>"},
        {"references that only look like U+0000", Doc("<CAPTION>&#10;&#x100;&#0010;&amp;#0;</CAPTION>"),
         " \xC4\x80 &#0;", "<CAPTION> \xC4\x80 &amp;#0;</CAPTION>"},
        {"references to CR, TAB and LF keep CR and TAB", Doc("<CAPTION>a&#13;b&#9;c&#10;d</CAPTION>"),
         "a\rb\tc d", "<CAPTION>a&#13;b\tc d</CAPTION>"},
        {"non-characters U+FFFE and U+FFFF are dropped on saving",
         Doc("<CAPTION>a\xEF\xBF\xBE"
             "b</CAPTION>"),
         "a\xEF\xBF\xBE"
         "b",
         "<CAPTION>ab</CAPTION>"},
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
    const std::string invalid = "[AS021] Assistant stream does not contain valid XML.";
    struct Case {
        std::string name;
        std::string file;
    };
    const std::vector<Case> cases = {
        {"a NUL byte inside a text", Doc(std::string("<CAPTION>a\0b</CAPTION>", 22))},
        {"UTF-16 cut in the middle of a character", Utf16Le("<ASSISTANT/>").substr(0, 9)},
        // The parser would turn these into a NUL that silently cuts the text short.
        {"a reference to U+0000 in a text", Doc("<CAPTION>kept&#0;lost</CAPTION>")},
        {"a hexadecimal reference to U+0000 in an attribute",
         Declaration + "<ASSISTANT NAME=\"a&#x000;b\"/>"},
        {"a reference to U+0000 in UTF-16", Utf16Le("<ASSISTANT><CAPTION>a&#0;b</CAPTION></ASSISTANT>")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(ReadError(c.file), invalid);
    }
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
