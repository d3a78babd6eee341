#pragma once
// Publishing an assistant as one self-contained web page: the runtime (HTML, CSS, JavaScript) inline,
// the assistant as JSON inside a <script type="application/json"> block, images as data: URIs, and a
// Content-Security-Policy that lets only the inline runtime (by its SHA-256 hash) and data: images in.
#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

class TAssistRoot;

struct TPublishOptions {
    // Images larger than this are not embedded; the page shows their name and a warning is returned.
    std::size_t MaxImageBytes = 2 * 1024 * 1024;
    // Folder against which relative image names are resolved; empty: the assistant file's folder
    // (the current folder for an assistant without a file name).
    std::string ImageFolder;
    std::string Language = "en"; // the page's lang attribute
};

struct TPublishResult {
    std::string Html;                  // the whole page
    std::vector<std::string> Warnings; // images left out, one line each
};

// Builds the page. Never fails for the assistant's contents; all its texts are carried as JSON data
// and become text nodes in the browser.
TPublishResult PublishWebPage(const TAssistRoot& root, const TPublishOptions& options = {});

// Writes `text` as a JSON string literal (with quotes) that is also safe inside an HTML <script>
// element: <, >, & and the line separators U+2028/U+2029 are written as \u escapes.
void AppendScriptSafeJsonString(std::string& out, std::string_view text);

// "sha256-BASE64" of the bytes, as a Content-Security-Policy source expression.
std::string CspHashSource(std::string_view bytes);

// The runtime pieces as embedded at build time.
std::string_view WebRuntimeScript();
std::string_view WebRuntimeStyle();
std::string_view WebRuntimeTemplate();
