// amftool spell run as a separate process against the small fixture dictionaries.
#include "minijson.h"
#include "runtool.h"

#include <gtest/gtest.h>

using clitest::DataFile;
using clitest::RunTool;
using clitest::ToolResult;

namespace {
const std::map<std::string, std::string> kFixtureDictionaries = {{"AMF_DICTIONARY_PATH", DataFile("dict")}};
} // namespace

TEST(AmfToolSpell, ListsMisspeltWordsOfProseFieldsOnly) {
    const ToolResult r =
        RunTool({"spell", DataFile("spell_sample.amf"), "--lang", "xx_TEST"}, {}, kFixtureDictionaries);
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "");
    // Not listed: the IDs "Helo" and "Nme", the command, the address, the e-mail and the number.
    EXPECT_EQ(r.Out, "Helo\tcaption\twrld\tworld\n"
                     "Start.1\tcaption\toptoin\toption\n"
                     "Start.1\tnote\tnotte\tnote\n");
}

TEST(AmfToolSpell, JsonCarriesFileItemFieldWordAndSuggestions) {
    const std::string file = DataFile("spell_sample.amf");
    const ToolResult r = RunTool({"spell", "--json", "--lang=xx_TEST", file}, {}, kFixtureDictionaries);
    EXPECT_EQ(r.Status, 1);
    const minijson::Value json = minijson::Parse(r.Out);
    ASSERT_EQ(json.Type, minijson::Value::Kind::Array);
    ASSERT_EQ(json.Items.size(), 3u) << r.Out;
    const minijson::Value& first = json.Items[0];
    EXPECT_EQ(first["file"].Text, file);
    EXPECT_EQ(first["itemId"].Text, "Helo");
    EXPECT_EQ(first["field"].Text, "caption");
    EXPECT_EQ(first["word"].Text, "wrld");
    ASSERT_EQ(first["suggestions"].Type, minijson::Value::Kind::Array);
    ASSERT_EQ(first["suggestions"].Items.size(), 1u);
    EXPECT_EQ(first["suggestions"].Items[0].Text, "world");
}

TEST(AmfToolSpell, NoMisspeltWordGivesStatus0) {
    // Read from standard input and checked with the Latin-1 dictionary, which knows every word
    // (the UTF-8 "caf\xC3\xA9" is converted before the look-up).
    const ToolResult clean = RunTool({"spell", "-", "--lang", "yy_LATIN"},
                                     "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                     "<ASSISTANT NAME=\"X1\" VERSION=\"1\" BACKWARDS=\"0\">\n"
                                     "  <CAPTION>Hello caf\xC3\xA9 world</CAPTION>\n"
                                     "</ASSISTANT>\n",
                                     kFixtureDictionaries);
    EXPECT_EQ(clean.Status, 0) << clean.Err;
    EXPECT_EQ(clean.Out, "");
    const ToolResult json = RunTool({"spell", "--json", "-", "--lang", "yy_LATIN"},
                                    "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
                                    "<ASSISTANT NAME=\"X1\" VERSION=\"1\" BACKWARDS=\"0\">\n"
                                    "  <CAPTION>Hello</CAPTION>\n"
                                    "</ASSISTANT>\n",
                                    kFixtureDictionaries);
    EXPECT_EQ(json.Status, 0) << json.Err;
    EXPECT_EQ(json.Out, "[]\n");
}

TEST(AmfToolSpell, UnreadableFileOrDictionaryGivesStatus2) {
    const ToolResult noDictionary =
        RunTool({"spell", DataFile("spell_sample.amf"), "--lang", "qq_NONE"}, {}, kFixtureDictionaries);
    EXPECT_EQ(noDictionary.Status, 2);
    EXPECT_EQ(noDictionary.Out, "");
    // The message names the language asked for and the dictionaries that exist.
    EXPECT_NE(noDictionary.Err.find("\"qq_NONE\""), std::string::npos) << noDictionary.Err;
    EXPECT_NE(noDictionary.Err.find("xx_TEST"), std::string::npos) << noDictionary.Err;
    EXPECT_NE(noDictionary.Err.find("yy_LATIN"), std::string::npos) << noDictionary.Err;

    const ToolResult noFile =
        RunTool({"spell", DataFile("no-such-file.amf"), "--lang", "xx_TEST"}, {}, kFixtureDictionaries);
    EXPECT_EQ(noFile.Status, 2);
    EXPECT_NE(noFile.Err.find("no-such-file.amf"), std::string::npos) << noFile.Err;

    const ToolResult emptyLanguage =
        RunTool({"spell", DataFile("spell_sample.amf"), "--lang="}, {}, kFixtureDictionaries);
    EXPECT_EQ(emptyLanguage.Status, 2);
    EXPECT_NE(emptyLanguage.Err.find("--lang"), std::string::npos) << emptyLanguage.Err;
}

TEST(AmfToolSpell, HelpDescribesTheCommand) {
    const ToolResult r = RunTool({"spell", "--help"});
    EXPECT_EQ(r.Status, 0);
    EXPECT_EQ(r.Out.rfind("Usage: amftool spell FILE [--lang LANG] [--json]\n", 0), 0u) << r.Out;
    EXPECT_NE(r.Out.find("AMF_DICTIONARY_PATH"), std::string::npos);
    EXPECT_NE(r.Out.find("--lang LANG"), std::string::npos);
    const ToolResult general = RunTool({"--help"});
    EXPECT_NE(general.Out.find("  spell "), std::string::npos) << general.Out;
}
