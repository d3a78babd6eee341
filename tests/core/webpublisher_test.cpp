// The published web page: the assistant's texts travel as JSON that nothing in them can break out of,
// the content policy names the hashes of exactly the inline runtime, and images are embedded or
// reported.
#include "model/webpublisher.h"

#include "../cli/minijson.h"
#include "assistantbuilder.h"

#include <filesystem>
#include <fstream>

#include <gtest/gtest.h>

namespace {
namespace fs = std::filesystem;

std::string Json(std::string_view text) {
    std::string out;
    AppendScriptSafeJsonString(out, text);
    return out;
}

// The text between the first `open` after `from` and the next `close`.
std::string Between(const std::string& page, const std::string& open, const std::string& close,
                    std::size_t from = 0) {
    const std::size_t start = page.find(open, from);
    if (start == std::string::npos)
        return "<missing " + open + ">";
    const std::size_t end = page.find(close, start + open.size());
    return page.substr(start + open.size(), end - start - open.size());
}

const std::string kDataOpen = "<script type=\"application/json\" id=\"assistant-data\">";

std::string DataBlock(const std::string& page) {
    return Between(page, kDataOpen, "</script>");
}

std::string RuntimeBlock(const std::string& page) {
    return Between(page, "<script>", "</script>", page.find(kDataOpen) + kDataOpen.size());
}

TEST(WebPublisherJson, EscapesEverythingThatCouldEndTheScriptBlockOrTheString) {
    const struct {
        std::string In;
        std::string Out;
    } cases[] = {
        {"plain", "\"plain\""},
        {"say \"hi\" \\ there", "\"say \\\"hi\\\" \\\\ there\""},
        {"</script><script>alert(1)</script>",
         "\"\\u003c/script\\u003e\\u003cscript\\u003ealert(1)\\u003c/script\\u003e\""},
        {"<!-- a & b", "\"\\u003c!-- a \\u0026 b\""},
        {"line\r\nnext\ttab\x01", "\"line\\r\\nnext\\ttab\\u0001\""},
        {"caf\xC3\xA9", "\"caf\xC3\xA9\""},
        {"a\xE2\x80\xA8"
         "b\xE2\x80\xA9",
         "\"a\\u2028b\\u2029\""},
        {"\xE2\x80\xA0", "\"\xE2\x80\xA0\""}, // a dagger shares the lead bytes and stays as it is
        {"", "\"\""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Json(c.In), c.Out) << c.In;
}

TEST(WebPublisherPolicy, HashesAreSha256InBase64) {
    EXPECT_EQ(CspHashSource("abc"), "sha256-ungWv48Bz+pBQUDeXa4iI7ADYaOWF3qctBD/YfIAFa0=");
    EXPECT_EQ(CspHashSource(""), "sha256-47DEQpj8HBSa+/TImW+5JCeuQeRkm5NMpJWZG3hSuFU=");
}

TEST(WebPublisherPolicy, AllowsExactlyTheInlineRuntimeAndDataImages) {
    TAssistRoot root(testbuild::User);
    const std::string page = PublishWebPage(root).Html;
    const std::string policy = Between(page, "http-equiv=\"Content-Security-Policy\" content=\"", "\"");
    const std::string style = Between(page, "<style>", "</style>");
    const std::string script = RuntimeBlock(page);
    EXPECT_EQ(style, WebRuntimeStyle());
    EXPECT_EQ(script, WebRuntimeScript());
    EXPECT_NE(policy.find("default-src 'none'"), std::string::npos) << policy;
    EXPECT_NE(policy.find("script-src '" + CspHashSource(script) + "';"), std::string::npos) << policy;
    EXPECT_NE(policy.find("style-src '" + CspHashSource(style) + "';"), std::string::npos) << policy;
    EXPECT_NE(policy.find("img-src data:;"), std::string::npos) << policy;
    EXPECT_EQ(policy.find("unsafe"), std::string::npos) << policy;
    EXPECT_EQ(policy.find("http"), std::string::npos) << policy;
    // Nothing is loaded from elsewhere: no src or href attributes in the page's own markup.
    EXPECT_EQ(page.find("src="), std::string::npos);
    EXPECT_EQ(page.find("href="), std::string::npos);
}

TEST(WebPublisherPolicy, RuntimeStaysSmall) {
    EXPECT_LT(WebRuntimeScript().size() + WebRuntimeStyle().size() + WebRuntimeTemplate().size(), 40u * 1024);
    // The runtime is placed in raw script and style elements: it must not close them itself.
    EXPECT_EQ(WebRuntimeScript().find("</"), std::string_view::npos);
    EXPECT_EQ(WebRuntimeStyle().find("</"), std::string_view::npos);
}

class HostileAssistant : public ::testing::Test {
protected:
    HostileAssistant() : root(testbuild::User) {
        root.Caption = "<b>@SCRIPT@</b> & \"co\"";
        root.FirstScreen = "s2";
        TAssistScreen& s1 = testbuild::Screen(root, "S1", "</script><script>alert('caption')</script>");
        s1.Description = {"<img src=x onerror=alert(1)>", "<!--", "@DATA@"};
        TAssistOption& link = testbuild::Option(s1, "O1", akInternet, "javascript:alert(2)", "<a href=x>");
        TNote* note = link.Notes.Add();
        note->Name = "</style>";
        note->Text = "first\r\nsecond </script>";
        testbuild::Option(s1, "O2", akScript, "", "Script").Script = "Sub Main\r</script>\rEnd Sub";
        testbuild::Screen(root, "S2", "Second \xE2\x80\xA8 line");
    }
    TAssistRoot root;
};

TEST_F(HostileAssistant, DataBlockHoldsEveryTextUnchangedAndNoMarkup) {
    const std::string page = PublishWebPage(root).Html;
    const std::string data = DataBlock(page);
    EXPECT_EQ(data.find('<'), std::string::npos) << data;
    EXPECT_EQ(data.find('>'), std::string::npos) << data;
    const minijson::Value json = minijson::Parser(data).ParseDocument();
    EXPECT_EQ(json["caption"].Text, root.Caption);
    EXPECT_EQ(json["first"].Text, "s2");
    ASSERT_EQ(json["screens"].Items.size(), 2u);
    const minijson::Value& s1 = json["screens"].Items[0];
    EXPECT_EQ(s1["id"].Text, "S1");
    EXPECT_EQ(s1["caption"].Text, "</script><script>alert('caption')</script>");
    ASSERT_EQ(s1["text"].Items.size(), 3u);
    EXPECT_EQ(s1["text"].Items[2].Text, "@DATA@");
    const minijson::Value& link = s1["options"].Items[0];
    EXPECT_EQ(link["kind"].Text, "INTERNET");
    EXPECT_EQ(link["command"].Text, "javascript:alert(2)");
    EXPECT_EQ(link["notes"].Items[0]["name"].Text, "</style>");
    EXPECT_EQ(link["notes"].Items[0]["text"].Text, "first\r\nsecond </script>");
    EXPECT_EQ(s1["options"].Items[1]["script"].Text, "Sub Main\r</script>\rEnd Sub");
    EXPECT_EQ(json["screens"].Items[1]["caption"].Text, "Second \xE2\x80\xA8 line");
}

TEST_F(HostileAssistant, TitleIsEscapedAndTemplateFieldsInTextsStayText) {
    const std::string page = PublishWebPage(root).Html;
    EXPECT_EQ(Between(page, "<title>", "</title>"), "&lt;b&gt;@SCRIPT@&lt;/b&gt; &amp; &quot;co&quot;");
    // The runtime appears once; "@SCRIPT@" and "@DATA@" inside texts were not filled in.
    const std::string_view script = WebRuntimeScript();
    const std::size_t first = page.find(script);
    ASSERT_NE(first, std::string::npos);
    EXPECT_EQ(page.find(script, first + 1), std::string::npos);
    EXPECT_NE(DataBlock(page).find("@DATA@"), std::string::npos);
}

class PageImages : public ::testing::Test {
protected:
    PageImages() : root(testbuild::User) {
        folder = fs::temp_directory_path() / ("amf-webimages-" + std::to_string(::getpid()));
        fs::create_directories(folder);
        root.FileName = (folder / "tour.amf").string();
        Write("small.png", std::string("\x89PNG\r\n\x1a\n", 8) + "abc");
        Write("big.jpg", std::string(101, 'x'));
        Write("picture.tiff", "tiff");
    }
    ~PageImages() override { fs::remove_all(folder); }
    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(folder / name, std::ios::binary) << bytes;
    }
    fs::path folder;
    TAssistRoot root;
};

TEST_F(PageImages, SmallImagesAreEmbeddedOthersNamedWithAWarning) {
    const struct {
        std::string Image;
        std::string Data;    // expected data: URI; empty when not embedded
        std::string Warning; // a part of the expected warning; empty when none
    } cases[] = {
        {"small.png", "data:image/png;base64,iVBORw0KGgphYmM=", ""},
        {"big.jpg", "", "is larger than 100 bytes"},
        {"gone.gif", "", "was not found"},
        {"picture.tiff", "", "is not a PNG"},
    };
    for (const auto& c : cases) {
        TAssistRoot one(testbuild::User);
        one.FileName = root.FileName;
        testbuild::Screen(one, "S1").Image = c.Image;
        const TPublishResult result =
            PublishWebPage(one, {.MaxImageBytes = 100, .ImageFolder = {}, .Language = "en"});
        const minijson::Value json = minijson::Parser(DataBlock(result.Html)).ParseDocument();
        const minijson::Value& image = json["screens"].Items[0]["image"];
        EXPECT_EQ(image["name"].Text, c.Image);
        if (c.Data.empty()) {
            EXPECT_EQ(image.Members.count("data"), 0u) << c.Image;
            ASSERT_EQ(result.Warnings.size(), 1u) << c.Image;
            EXPECT_NE(result.Warnings[0].find("Screen S1: image \"" + c.Image + "\" " + c.Warning),
                      std::string::npos)
                << result.Warnings[0];
        } else {
            EXPECT_EQ(image["data"].Text, c.Data);
            EXPECT_TRUE(result.Warnings.empty()) << result.Warnings.front();
        }
    }
}

TEST_F(PageImages, ImageFolderOptionOverridesTheAssistantsFolder) {
    testbuild::Screen(root, "S1").Image = "small.png";
    root.FileName = "/nonexistent/elsewhere/tour.amf";
    EXPECT_EQ(PublishWebPage(root).Warnings.size(), 1u);
    const TPublishResult result =
        PublishWebPage(root, {.MaxImageBytes = 1024, .ImageFolder = folder.string(), .Language = "en"});
    EXPECT_TRUE(result.Warnings.empty());
    EXPECT_NE(result.Html.find("data:image/png;base64,"), std::string::npos);
}

} // namespace
