#pragma once
// An option on a screen (caption, action, command, script, notes) and a screen's ordered list of options.
#include "model/actionkind.h"
#include "model/assistbase.h"
#include "model/note.h"
#include "model/owninglist.h"

#include <memory>
#include <string>

class TAssistScreen;

class TScreenIndex;

class TAssistOption : public TAssistBase {
public:
    TActionKind Action = akGoto;
    std::string Command;            // the action's argument (target screen ID, file, address...)
    TAssistScreen* Owner = nullptr; // the screen whose Options list holds the option
    std::string Script;             // script lines separated by a single CR, no trailing CR or blank
    TNotes Notes;

    // Appends a new option to the screen's Options and gives it the ID <screen ID>.<max + 1>, max being
    // the largest number after that prefix among the screen's options. The assistant is not marked
    // changed. While the assistant is being read from a file the ID is left empty (the reader sets it
    // at once), so that reading costs no scan per option.
    static TAssistOption* Create(TAssistScreen& screen);

    ~TAssistOption() override;

    void WriteTags(TTagDomOut& out) override;
    void ReadTags(const std::string& id, TXMLTagFileIn& in) override;
    void WriteReport(IHTMLReport& report) const override;
    // The same, finding a go-to option's screen in `screens` (an index of the option's assistant), so
    // that a report of many options looks each target up in constant time.
    void WriteReport(IHTMLReport& report, const TScreenIndex& screens) const;

private:
    explicit TAssistOption(TAssistScreen& screen);
    // The report with `screens` possibly null: then no target screen is found.
    void WriteReport(IHTMLReport& report, const TScreenIndex* screens) const;
};

// The options of one screen, in display and file order. Nothing done to this list marks the
// assistant changed.
class TAssistOptions : public TOwningList<TAssistOption> {
public:
    explicit TAssistOptions(TAssistScreen& owner) : m_owner(&owner) {}
    ~TAssistOptions();

    // Destroys the option (and its notes); false when the position or option is not in the list.
    bool Delete(int index);
    bool Delete(TAssistOption* option);
    void Clear();

    // Takes the option out without destroying it; it keeps its ID, notes and Owner. nullptr outside
    // the list.
    std::unique_ptr<TAssistOption> Detach(int index);
    // Puts an option back at a position from 0 to Count(); its Owner becomes this list's
    // screen and its Root that screen's assistant. Any other position throws std::out_of_range and
    // leaves the option with the caller.
    TAssistOption* Insert(int index, std::unique_ptr<TAssistOption>&& option);

private:
    friend class TAssistOption; // Create appends through AppendOwned
    TAssistScreen* m_owner;
};
