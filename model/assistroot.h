#pragma once
// The assistant held in memory: its top-level fields, authorship and signature codes, and its screens.
// Including this header gives the whole item tree (screens, options, notes).
//
// Ownership and life of the items
// -------------------------------
// The assistant owns Screens; a screen owns Options; an option owns Notes. Every list holds its
// elements by std::unique_ptr, so an element keeps its address for as long as it exists and the views
// keep plain pointers to it. Root and Owner are plain back references kept by the lists.
//
// - Creating: TAssistScreen::Create(root) and TAssistOption::Create(screen) make an item, append it to
//   its list, give it its generated ID and caption, and return it. Items are never made any other way.
//   Creating a screen marks the assistant changed; creating an option does not.
// - Destroying: root.DeleteScreen(screen) or root.Screens.Delete(index) marks the assistant changed and
//   destroys the screen with its options and their notes; screen.DeleteOption(option) or
//   screen.Options.Delete(index) destroys an option with its notes without marking.
// - Taking out and putting back (undo): Screens.Detach(index) / Options.Detach(index) hand the item,
//   with everything it owns and its IDs, to the caller as a std::unique_ptr; Insert(index, item) puts it
//   back at a position and re-points its back references at the new owner. Detaching and reinserting
//   a screen mark the assistant changed, as destroying and creating do; options never mark. A detached
//   item still refers to its assistant and must not be used after that assistant is destroyed.
// - Moving: Screens.Move(from, to) and Options.Move(from, to) reorder by position and mark nothing.
// - Reading a file: the file reader holds a TAssistRoot::LoadingScope while it creates items. Inside
//   it nothing marks the assistant changed or stamps the build date, and new items get no generated
//   ID (the reader assigns the file's ID at once), so each creation costs constant time.
// - Destroying the assistant destroys everything below it.
#include "model/assistbase.h"
#include "model/assistscreen.h"

#include <cstdint>
#include <iosfwd>
#include <string>

class IDocumentPrompts;

class TAssistRoot : public TAssistBase {
public:
    TAssistScreens Screens;
    std::string FileName;    // the file last opened or saved; empty for a new assistant
    std::string FirstScreen; // ID of the screen at which the assistant starts
    bool Changed = false;    // there are changes that are not saved
    std::string AuthorName;  // author's name for display
    std::string Copyright;
    std::string BuildDate;          // date of the last change, YYYYMMDD
    std::string Version;            // the assistant's own version text
    std::string AuthorID;           // user ID of the author
    std::uint32_t AuthorCode = 0;   // signature recorded when the author last saved
    std::string ModifierID;         // user ID of whoever saved last
    std::uint32_t ModifierCode = 0; // signature recorded at the last save
    std::string UserID;             // user ID of the person running the editor; never stored in files

    // A new assistant for the user `userID` (a braced GUID, a blank and the user's name): ID "A1",
    // caption "Assistant A1", author and modifier the user, both signature codes computed, not changed.
    explicit TAssistRoot(std::string userID);
    ~TAssistRoot() override;

    // While an object of this class lives, the assistant counts as being read from a file (see the
    // ownership notes above). Scopes may nest.
    class LoadingScope {
    public:
        explicit LoadingScope(TAssistRoot& root) : m_root(root) { ++m_root.m_loading; }
        ~LoadingScope() { --m_root.m_loading; }
        LoadingScope(const LoadingScope&) = delete;
        LoadingScope& operator=(const LoadingScope&) = delete;

    private:
        TAssistRoot& m_root;
    };
    bool IsLoading() const { return m_loading > 0; }

    // Destroys one of the assistant's screens (see TAssistScreens::Delete).
    bool DeleteScreen(TAssistScreen* screen) { return Screens.Delete(screen); }

    // ---- Files (.amf). All failures are raised as AppError carrying the message for the user.
    // The complete document text; clears Changed (the assistant's signatures are updated first).
    std::string SaveToText();
    // Saves to FileName, asking for a name when `askForName` or FileName is empty. The file written is
    // FileName with the extension .amf; when that is another file than FileName, already exists and was
    // not written by this assistant before, the person is asked first whether to replace it. Returns
    // false when the dialog was cancelled or the replacing refused (nothing written, Changed and
    // FileName untouched). A failed write leaves the old file intact and Changed and FileName as they
    // were before the save.
    bool SaveToFile(bool askForName, IDocumentPrompts& prompts);
    // Reads a file into this assistant, asking for a name when `askForName` or FileName is empty.
    // Returns false when cancelled (nothing read).
    bool LoadFromFile(bool askForName, IDocumentPrompts& prompts);
    // Reads a whole document from the stream into this assistant.
    void LoadFromStream(std::istream& in);
    // Checks the root element and versions, then reads the assistant. Fails with [AS023] when the
    // reader still has steps after the assistant's element: nothing in a file is passed over silently.
    void ReadDocument(TXMLTagFileIn& in);
    // Counts one screen, option or note taken from a file; throws AppError once more items than the
    // reading limit allows have been read (see model/fileformat.h). The root's ReadTags restarts the count.
    void CountItemRead();

    void WriteTags(TTagDomOut& out) override;
    void ReadTags(const std::string& id, TXMLTagFileIn& in) override;
    // The base texts, then FirstScreen, AuthorName, AuthorID, ModifierID, BuildDate, Version, Copyright.
    // Screens are not included.
    void AddToSignature(std::uint32_t& value) const override;
    void WriteReport(IHTMLReport& report) const override;

    // The assistant signature: AddToSignature started from 0.
    std::uint32_t Signature() const;
    // Records the current user as modifier and stores the signature as ModifierCode, and also as
    // AuthorCode when the current user is the author (user IDs compared ignoring letter case).
    void UpdateSignatures();
    // The texts no longer match the code the author recorded (false without an author).
    bool AuthorSignatureChanged() const;
    // The texts no longer match the code the modifier recorded (false without a modifier, or when the
    // modifier is the author: the author's check covers that case).
    bool ModifierSignatureChanged() const;

private:
    int m_loading = 0;
    std::string m_writtenFile;     // the .amf file this assistant last saved to; none after a read
    std::uint64_t m_itemsRead = 0; // screens, options and notes read by the current ReadTags
};
