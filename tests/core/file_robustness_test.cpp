// Reading arbitrary bytes: every input gives an assistant or a file-format error, never a crash, a
// hang, a stack overflow or another kind of failure.
#include "filetesthelpers.h"

#include <gtest/gtest.h>

#include <random>

using namespace filetest;

namespace {
class FileRobustness : public FileTest {};

// The outcome of reading `text`: "ok" or the message; any exception other than AppError fails the test.
std::string Outcome(const std::string& text) {
    TAssistRoot root(Ann);
    try {
        LoadText(root, text);
        return "ok";
    } catch (const AppError& e) {
        return e.what();
    } catch (const std::exception& e) {
        ADD_FAILURE() << "unexpected exception: " << e.what();
        return "unexpected";
    }
}

std::string Repeat(const std::string& piece, int count) {
    std::string out;
    out.reserve(piece.size() * static_cast<std::size_t>(count));
    for (int i = 0; i < count; ++i)
        out += piece;
    return out;
}

std::string ValidFile() {
    TAssistRoot root(Ann);
    root.Description = {"about", "this"};
    for (int s = 0; s < 3; ++s) {
        TAssistScreen* screen = TAssistScreen::Create(root);
        screen->Image = "x.png";
        for (int o = 0; o < 3; ++o) {
            TAssistOption* option = TAssistOption::Create(*screen);
            option->Caption = "Option & <" + std::to_string(o) + ">";
            option->Script = "a\rb\r\rc";
            option->Action = static_cast<TActionKind>(o * 3);
            TNote* note = option->Notes.Add();
            note->Name = "n";
            note->Text = "t\r\nu \xC3\xA9";
        }
    }
    return root.SaveToText();
}
} // namespace

TEST_F(FileRobustness, MutatedFilesGiveAnAssistantOrAFileFormatError) {
    const std::string valid = ValidFile();
    ASSERT_EQ(Outcome(valid), "ok");
    const std::string alphabet = "<>/=\"'&;#![]?- \r\n\tPASCREENOPTIONSx\xC3\xA9\x00\xFF";
    std::mt19937 random(20050102);
    auto pick = [&](std::size_t n) { return std::uniform_int_distribution<std::size_t>(0, n - 1)(random); };
    int read = 0, refused = 0;
    for (int round = 0; round < 3000; ++round) {
        std::string text = valid;
        const int edits = 1 + static_cast<int>(pick(4));
        for (int e = 0; e < edits && !text.empty(); ++e) {
            const std::size_t at = pick(text.size());
            switch (pick(6)) {
            case 0: // replace a byte by any byte
                text[at] = static_cast<char>(pick(256));
                break;
            case 1: // replace a byte by one that matters to XML
                text[at] = alphabet[pick(alphabet.size())];
                break;
            case 2: // insert a few bytes
                text.insert(at, std::string(1 + pick(3), alphabet[pick(alphabet.size())]));
                break;
            case 3: // delete a range
                text.erase(at, 1 + pick(40));
                break;
            case 4: // duplicate a range
                text.insert(at, text.substr(pick(text.size()), 1 + pick(80)));
                break;
            default: // cut the file short
                text.resize(at);
                break;
            }
        }
        SCOPED_TRACE(Visible(text));
        const std::string outcome = Outcome(text);
        if (outcome == "ok") {
            ++read;
        } else {
            ++refused;
            EXPECT_EQ(outcome.rfind("[AS02", 0), 0u) << outcome;
        }
        if (HasFailure())
            break;
    }
    // The mutations must exercise both outcomes, or the test shows nothing.
    EXPECT_GT(read, 100);
    EXPECT_GT(refused, 100);
}

TEST_F(FileRobustness, DeepNestingIsRefusedWithoutExhaustingTheStack) {
    constexpr int depth = 300000;
    struct Case {
        std::string name;
        std::string text;
        std::string outcome;
    };
    const std::vector<Case> cases = {
        {"screens in screens", Doc(Repeat("<SCREEN>", depth) + Repeat("</SCREEN>", depth)),
         "[AS022] Unexpected tag \"SCREEN\" in assistant stream."},
        {"elements in a caption",
         Doc("<CAPTION>" + Repeat("<B>", depth) + Repeat("</B>", depth) + "</CAPTION>"),
         "[AS022] Unexpected tag \"B\" in assistant stream."},
        {"line breaks in line breaks",
         Doc("<SCREEN><OPTION><SCRIPT>" + Repeat("<P>", depth) + Repeat("</P>", depth) +
             "</SCRIPT></OPTION></SCREEN>"),
         "[AS022] Unexpected tag \"P\" in assistant stream."},
        {"elements in a note",
         Doc("<SCREEN><OPTION><NOTES>" + Repeat("<N>", depth) + Repeat("</N>", depth) +
             "</NOTES></OPTION></SCREEN>"),
         "[AS022] Unexpected tag \"N\" in assistant stream."},
        {"unclosed elements", Doc(Repeat("<SCREEN>", depth)),
         "[AS021] Assistant stream does not contain valid XML."},
        {"a deep document of another kind", Repeat("<X>", depth) + Repeat("</X>", depth),
         "[AS022] Unexpected tag \"X\" in assistant stream."},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Outcome(c.text), c.outcome);
    }
}

TEST_F(FileRobustness, OddButHarmlessInput) {
    struct Case {
        std::string name;
        std::string text;
        std::string outcome;
    };
    std::mt19937 random(7);
    std::string noise(1 << 20, '\0');
    for (char& c : noise)
        c = static_cast<char>(random());
    noise[0] = '\xFF'; // no byte-order mark: read as UTF-8, whose first byte this cannot be
    noise[1] = 'x';
    const std::string invalid = "[AS021] Assistant stream does not contain valid XML.";
    const std::vector<Case> cases = {
        {"UTF-8 byte-order mark", "\xEF\xBB\xBF" + Doc("<CAPTION>bom</CAPTION>"), "ok"},
        {"a megabyte of noise", noise, invalid + " At byte offset 0 (line 1) the bytes are not valid UTF-8."},
        {"zero bytes", std::string(4096, '\0'),
         invalid + " At byte offset 0 (line 1) stands the character U+0000, which XML 1.0 does not allow."},
        {"two roots", Doc("") + "<ASSISTANT/>", invalid},
        {"text after the root", Doc("") + "tail", invalid},
        {"a comment after the root", Doc("") + "<!-- end -->", "ok"},
        {"an undeclared entity", Doc("<CAPTION>&nope;</CAPTION>"), "ok"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Outcome(c.text), c.outcome);
    }
}

TEST_F(FileRobustness, NoDocumentTypeOrExternalEntityIsLoaded) {
    const std::vector<std::string> documents = {
        "<!DOCTYPE ASSISTANT [<!ENTITY e \"EXPANDED\">]>\n<ASSISTANT><CAPTION>&e;</CAPTION></ASSISTANT>",
        "<!DOCTYPE ASSISTANT [<!ENTITY e SYSTEM \"file:///etc/hostname\">]>\n"
        "<ASSISTANT><CAPTION>&e;</CAPTION></ASSISTANT>",
        "<!DOCTYPE ASSISTANT [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;&a;&a;\">"
        "<!ENTITY c \"&b;&b;&b;&b;&b;&b;&b;&b;&b;&b;\">]>\n<ASSISTANT><CAPTION>&c;</CAPTION></ASSISTANT>",
    };
    for (const std::string& document : documents) {
        SCOPED_TRACE(document);
        TAssistRoot root(Ann);
        try {
            LoadText(root, document);
            // The reference is kept as it stands: nothing was expanded or fetched.
            EXPECT_TRUE(root.Caption == "&e;" || root.Caption == "&c;") << root.Caption.substr(0, 40);
        } catch (const AppError& e) {
            EXPECT_EQ(std::string(e.what()).rfind("[AS02", 0), 0u) << e.what();
        }
    }
}
