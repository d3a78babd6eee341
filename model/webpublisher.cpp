#include "model/webpublisher.h"

#include "model/assistroot.h"
#include "model/webruntime.h" // generated at build time from model/web/
#include "support/htmltext.h"

#include <openssl/evp.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace {

std::string Base64(const unsigned char* bytes, std::size_t size) {
    std::string out(4 * ((size + 2) / 3), '\0');
    // EVP_EncodeBlock takes an int length; encode in chunks that are a multiple of 3 bytes.
    constexpr std::size_t kChunk = 3 * 1024 * 1024;
    std::size_t written = 0;
    for (std::size_t at = 0; at < size; at += kChunk) {
        const std::size_t n = std::min(kChunk, size - at);
        written += static_cast<std::size_t>(EVP_EncodeBlock(
            reinterpret_cast<unsigned char*>(out.data() + written), bytes + at, static_cast<int>(n)));
    }
    out.resize(written);
    return out;
}

std::string_view ImageMimeType(const std::filesystem::path& file) {
    std::string ext = file.extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    if (ext == ".png")
        return "image/png";
    if (ext == ".jpg" || ext == ".jpeg")
        return "image/jpeg";
    if (ext == ".gif")
        return "image/gif";
    if (ext == ".bmp")
        return "image/bmp";
    if (ext == ".webp")
        return "image/webp";
    if (ext == ".svg")
        return "image/svg+xml";
    return {};
}

void AppendLines(std::string& out, const std::vector<std::string>& lines) {
    out += '[';
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (i)
            out += ',';
        AppendScriptSafeJsonString(out, lines[i]);
    }
    out += ']';
}

void AppendField(std::string& out, std::string_view name, std::string_view value) {
    out += '"';
    out += name;
    out += "\":";
    AppendScriptSafeJsonString(out, value);
}

class ImageEmbedder {
public:
    ImageEmbedder(const TAssistRoot& root, const TPublishOptions& options, std::vector<std::string>& warnings)
        : m_options(options), m_warnings(warnings) {
        if (!options.ImageFolder.empty())
            m_folder = options.ImageFolder;
        else if (!root.FileName.empty())
            m_folder = std::filesystem::path(root.FileName).parent_path();
    }

    // The image as a data: URI, or empty (with a warning) when it cannot be embedded.
    std::string DataUri(const TAssistScreen& screen) {
        const std::filesystem::path name(screen.Image);
        const std::filesystem::path file = name.is_absolute() || m_folder.empty() ? name : m_folder / name;
        const std::string_view mime = ImageMimeType(file);
        const std::string where = "Screen " + screen.ID + ": image \"" + screen.Image + "\" ";
        if (mime.empty()) {
            m_warnings.push_back(where +
                                 "is not a PNG, JPEG, GIF, BMP, WebP or SVG file; its name is shown instead");
            return {};
        }
        std::error_code ec;
        const auto size = std::filesystem::file_size(file, ec);
        if (ec || !std::filesystem::is_regular_file(file, ec)) {
            m_warnings.push_back(where + "was not found; its name is shown instead");
            return {};
        }
        if (size > m_options.MaxImageBytes) {
            m_warnings.push_back(where + "is larger than " + std::to_string(m_options.MaxImageBytes) +
                                 " bytes; its name is shown instead");
            return {};
        }
        std::ifstream in(file, std::ios::binary);
        std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
        if (!in.good() && !in.eof()) {
            m_warnings.push_back(where + "could not be read; its name is shown instead");
            return {};
        }
        return "data:" + std::string(mime) + ";base64," +
               Base64(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size());
    }

private:
    const TPublishOptions& m_options;
    std::vector<std::string>& m_warnings;
    std::filesystem::path m_folder;
};

void AppendAssistantJson(std::string& out, const TAssistRoot& root, ImageEmbedder& images) {
    out += '{';
    AppendField(out, "caption", root.Caption);
    out += ',';
    AppendField(out, "first", root.FirstScreen);
    out += ",\"screens\":[";
    bool firstScreen = true;
    for (const TAssistScreen& screen : root.Screens) {
        if (!firstScreen)
            out += ',';
        firstScreen = false;
        out += '{';
        AppendField(out, "id", screen.ID);
        out += ',';
        AppendField(out, "caption", screen.Caption);
        out += ",\"text\":";
        AppendLines(out, screen.Description);
        if (!screen.Image.empty()) {
            out += ",\"image\":{";
            AppendField(out, "name", screen.Image);
            const std::string uri = images.DataUri(screen);
            if (!uri.empty()) {
                out += ',';
                AppendField(out, "data", uri);
            }
            out += '}';
        }
        out += ",\"options\":[";
        bool firstOption = true;
        for (const TAssistOption& option : screen.Options) {
            if (!firstOption)
                out += ',';
            firstOption = false;
            out += '{';
            AppendField(out, "caption", option.Caption);
            out += ",\"text\":";
            AppendLines(out, option.Description);
            out += ',';
            AppendField(out, "kind", ActionKeyword(option.Action));
            out += ',';
            AppendField(out, "command", option.Command);
            if (!option.Script.empty()) {
                out += ',';
                AppendField(out, "script", option.Script);
            }
            if (option.Notes.Count() > 0) {
                out += ",\"notes\":[";
                bool firstNote = true;
                for (const TNote& note : option.Notes) {
                    if (!firstNote)
                        out += ',';
                    firstNote = false;
                    out += '{';
                    AppendField(out, "name", note.Name);
                    out += ',';
                    AppendField(out, "type", note.Type);
                    out += ',';
                    AppendField(out, "text", note.Text);
                    out += '}';
                }
                out += ']';
            }
            out += '}';
        }
        out += "]}";
    }
    out += "]}";
}

} // namespace

void AppendScriptSafeJsonString(std::string& out, std::string_view text) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += '"';
    for (std::size_t i = 0; i < text.size(); ++i) {
        const unsigned char c = static_cast<unsigned char>(text[i]);
        switch (c) {
        case '"':
            out += "\\\"";
            break;
        case '\\':
            out += "\\\\";
            break;
        case '\n':
            out += "\\n";
            break;
        case '\r':
            out += "\\r";
            break;
        case '\t':
            out += "\\t";
            break;
        case '<':
        case '>':
        case '&':
            out += "\\u00";
            out += kHex[c >> 4];
            out += kHex[c & 15];
            break;
        default:
            if (c < 0x20) {
                out += "\\u00";
                out += kHex[c >> 4];
                out += kHex[c & 15];
            } else if (c == 0xE2 && i + 2 < text.size() && static_cast<unsigned char>(text[i + 1]) == 0x80 &&
                       (static_cast<unsigned char>(text[i + 2]) == 0xA8 ||
                        static_cast<unsigned char>(text[i + 2]) == 0xA9)) {
                // U+2028 and U+2029 end a line in older JavaScript; escaped, they are plain characters.
                out += static_cast<unsigned char>(text[i + 2]) == 0xA8 ? "\\u2028" : "\\u2029";
                i += 2;
            } else {
                out += static_cast<char>(c);
            }
        }
    }
    out += '"';
}

std::string CspHashSource(std::string_view bytes) {
    std::array<unsigned char, EVP_MAX_MD_SIZE> digest{};
    unsigned int length = 0;
    EVP_Digest(bytes.data(), bytes.size(), digest.data(), &length, EVP_sha256(), nullptr);
    return "sha256-" + Base64(digest.data(), length);
}

std::string_view WebRuntimeScript() {
    return kWebRuntimeScript;
}
std::string_view WebRuntimeStyle() {
    return kWebRuntimeStyle;
}
std::string_view WebRuntimeTemplate() {
    return kWebRuntimeTemplate;
}

TPublishResult PublishWebPage(const TAssistRoot& root, const TPublishOptions& options) {
    TPublishResult result;
    static const std::string policy = "default-src 'none'; script-src '" + CspHashSource(kWebRuntimeScript) +
                                      "'; style-src '" + CspHashSource(kWebRuntimeStyle) +
                                      "'; img-src data:; base-uri 'none'; form-action 'none'";
    ImageEmbedder images(root, options, result.Warnings);
    std::string json;
    AppendAssistantJson(json, root, images);

    // Fill the template's @NAME@ fields in one pass over the template, so that text placed into one
    // field is never searched for another.
    const std::string_view page = kWebRuntimeTemplate;
    std::string& out = result.Html;
    out.reserve(page.size() + json.size() + kWebRuntimeScript.size() + kWebRuntimeStyle.size() + 256);
    std::size_t at = 0;
    while (at < page.size()) {
        const std::size_t open = page.find('@', at);
        const std::size_t close = open == std::string_view::npos ? open : page.find('@', open + 1);
        if (close == std::string_view::npos) {
            out.append(page.substr(at));
            break;
        }
        out.append(page.substr(at, open - at));
        const std::string_view field = page.substr(open + 1, close - open - 1);
        if (field == "LANG")
            AppendHtmlEscaped(out, options.Language);
        else if (field == "CSP")
            out += policy;
        else if (field == "TITLE")
            AppendHtmlEscaped(out, root.Caption.empty() ? std::string("Assistant") : root.Caption);
        else if (field == "STYLE")
            out += kWebRuntimeStyle;
        else if (field == "DATA")
            out += json;
        else if (field == "SCRIPT")
            out += kWebRuntimeScript;
        else {
            out.append(page.substr(open, close - open));
            at = close;
            continue;
        }
        at = close + 1;
    }
    return result;
}
