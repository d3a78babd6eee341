#pragma once
// Routines shared by the items when they write and read an assistant file (.amf): text elements, the
// text content of an element, the file-format errors and the resource limits that reading enforces.
#include <cstdint>
#include <string>
#include <string_view>

class TTagDomOut;
class TXMLTagFileIn;

// Writes <name>text</name>, and nothing at all when the text is empty.
void WriteTextElement(TTagDomOut& out, std::string_view name, std::string_view text);

// Reads the content of the element whose start was just read, up to and including its end. Text pieces
// are joined with every LF turned into a blank; each empty P element gives one CR. Any other element,
// and a P that is not empty, raise [AS022]; the end of the document raises [AS023].
std::string ReadText(TXMLTagFileIn& in);

// The name of the file a save writes: `fileName` with its extension replaced by .amf (added when it has
// none).
std::string WithAmfExtension(const std::string& fileName);

// The file-format errors, raised as AppError with their exact messages.
[[noreturn]] void ThrowUnexpectedTag(std::string_view name);     // [AS022]
[[noreturn]] void ThrowUnexpectedElement(std::string_view name); // [AS023]

// What reading accepts before it gives up: files larger than MaxFileBytes are refused before a byte of
// them is read, and reading stops once more than MaxItems screens, options and notes have been read.
// Both guard against input that would otherwise take unbounded memory and time.
struct TAssistFileLimits {
    std::uint64_t MaxFileBytes = 512ull * 1024 * 1024;
    std::uint64_t MaxItems = 10'000'000;
};

// The limits in force (the defaults above unless a test changed them).
TAssistFileLimits AssistFileLimits();
// Replaces the limits and returns the ones in force before, so that a test can restore them.
TAssistFileLimits SetAssistFileLimits(TAssistFileLimits limits);
