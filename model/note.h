#pragma once
// A note attached to an option (a named, typed piece of text), and the option's ordered list of notes.
#include "model/owninglist.h"

#include <memory>
#include <string>

class TTagDomOut;
class TXMLTagFileIn;
class IHTMLReport;

class TNote {
public:
    std::string Name;
    std::string Type; // free text; the notes editor offers a fixed set of kinds
    std::string Text; // may hold line breaks
    std::string ID;

    // One NOTES element in an assistant file.
    void WriteTags(TTagDomOut& out) const;
    // Reads the attributes and text of the NOTES element whose start the caller has just read.
    void ReadTags(TXMLTagFileIn& in);
    // The note's part of the assistant report.
    void WriteReport(IHTMLReport& report) const;
};

// The notes of one option, in display and file order. Notes carry no back reference, so adding,
// taking out and reinserting need no bookkeeping; nothing here touches the assistant's changed flag.
class TNotes : public TOwningList<TNote> {
public:
    // Appends a new empty note and returns it.
    TNote* Add();
    // Inserts a note at a position from 0 to Count(); other positions throw std::out_of_range and
    // leave the note with the caller.
    TNote* Insert(int index, std::unique_ptr<TNote>&& note);
    // Takes the note out without destroying it; nullptr outside the list.
    std::unique_ptr<TNote> Detach(int index);
    // Destroys the note at the position; false outside the list.
    bool Delete(int index);
    void Clear();

    // The notes' part of the assistant report, in list order.
    void WriteReport(IHTMLReport& report) const;
};
