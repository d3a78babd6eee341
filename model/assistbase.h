#pragma once
// Common base of the assistant, its screens and their options: caption, description, ID, the back
// reference to the assistant, and the four operations every item implements (file writing, file
// reading, signature, report).
#include <cstdint>
#include <string>
#include <vector>

class TAssistRoot;
class TTagDomOut;
class TXMLTagFileIn;
class IHTMLReport;

class TAssistBase {
public:
    std::string Caption;
    std::vector<std::string> Description; // one entry per line
    TAssistRoot* Root = nullptr;          // the assistant the item belongs to (itself for the assistant)
    bool Expanded = true;                 // tree node state in the editor; never stored in files
    std::string ID;

    TAssistBase() = default;
    TAssistBase(const TAssistBase&) = delete;
    TAssistBase& operator=(const TAssistBase&) = delete;
    virtual ~TAssistBase() = default;

    // Writes the item and everything it owns as XML elements.
    virtual void WriteTags(TTagDomOut& out) = 0;
    // Resets the item to `id` and reads the content of the element whose start the caller has just
    // read, up to and including its end.
    virtual void ReadTags(const std::string& id, TXMLTagFileIn& in) = 0;
    // Folds the item's texts into a signature value: description lines, Caption, ID.
    virtual void AddToSignature(std::uint32_t& value) const;
    // Writes the item's section of the assistant report.
    virtual void WriteReport(IHTMLReport& report) const = 0;

    // Records an edit: the assistant becomes changed and its build date becomes today (YYYYMMDD).
    // Does nothing for an item without an assistant or while the assistant is being read from a file.
    void MarkChanged();

    // One DESCRIPTION element per description line that is not empty after trimming.
    void WriteDescription(TTagDomOut& out) const;
};
