#pragma once
// A screen of an assistant (caption, text, image, options) and the assistant's ordered list of screens.
#include "model/assistbase.h"
#include "model/assistoption.h"
#include "model/owninglist.h"

#include <memory>
#include <string>
#include <string_view>

class TAssistScreen : public TAssistBase {
public:
    TAssistOptions Options;
    TAssistRoot* Owner = nullptr; // the assistant whose Screens list holds the screen
    std::string Image;            // file name of an image shown below the screen's text

    // Appends a new screen to the assistant's Screens with the caption "Screen <count>" and the ID
    // S<max + 1>, max being the largest number after an initial S or s among the existing screen IDs,
    // and marks the assistant changed. While the assistant is being read from a file nothing is
    // marked and the ID is left empty (the reader sets it at once), so reading costs no scan per screen.
    static TAssistScreen* Create(TAssistRoot& root);

    ~TAssistScreen() override;

    // Destroys one of this screen's options with its notes; does not mark the assistant changed.
    bool DeleteOption(TAssistOption* option) { return Options.Delete(option); }

    void WriteTags(TTagDomOut& out) override;
    void ReadTags(const std::string& id, TXMLTagFileIn& in) override;
    void WriteReport(IHTMLReport& report) const override;
    // The same, its options finding their target screens in `screens` (an index of this assistant).
    void WriteReport(IHTMLReport& report, const TScreenIndex& screens) const;

private:
    explicit TAssistScreen(TAssistRoot& root);
};

// The screens of an assistant, in display and file order. Destroying a screen, taking one out and
// putting one back mark the assistant changed (like creating one); moving does not.
class TAssistScreens : public TOwningList<TAssistScreen> {
public:
    explicit TAssistScreens(TAssistRoot& owner) : m_owner(&owner) {}
    ~TAssistScreens();

    // The first screen whose ID equals `id`, ASCII letter case ignored; an empty `id` finds the first
    // screen with an empty ID. nullptr when there is none.
    TAssistScreen* FindScreen(std::string_view id);
    const TAssistScreen* FindScreen(std::string_view id) const;

    // Destroys the screen with its options and their notes, after marking the assistant changed.
    // False, marking nothing, when the position or screen is not in the list.
    bool Delete(int index);
    bool Delete(TAssistScreen* screen);
    // Destroys every screen; marks the assistant changed when there was at least one.
    void Clear();

    // Takes the screen out without destroying it (for undo); it keeps its ID, options, notes, Root and
    // Owner. Marks the assistant changed. nullptr outside the list.
    std::unique_ptr<TAssistScreen> Detach(int index);
    // Puts a screen back at a position from 0 to Count() and marks the assistant changed; the screen's
    // Root and Owner, and its options' Root, become this assistant. Any other position throws
    // std::out_of_range and leaves the screen with the caller.
    TAssistScreen* Insert(int index, std::unique_ptr<TAssistScreen>&& screen);

private:
    friend class TAssistScreen; // Create appends through AppendOwned
    TAssistRoot* m_owner;
};
