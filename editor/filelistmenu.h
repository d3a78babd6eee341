#pragma once
// The "Reopen" submenu of the File menu: the assistant files used most recently, newest first, at
// most ten. The entries of the submenu are the list; there is no other copy. Each entry is captioned
// "<n> <file name>" and keeps the exact file name in its data, so that '&' (a mnemonic marker to Qt)
// and any other character survive. The list is stored in the settings as one comma list ("Files").
#include <QObject>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QMenu;

class TFileListMenu {
public:
    using SelectCallback = std::function<void(const std::string& fileName)>;
    static constexpr int MaxCount = 10;

    // Takes over the (empty) submenu `parentMenu`, which stays owned by its owner, and disables its
    // item. `onSelect` is called with the file name when an entry is chosen.
    explicit TFileListMenu(QMenu* parentMenu, SelectCallback onSelect = {});
    ~TFileListMenu();
    TFileListMenu(const TFileListMenu&) = delete;
    TFileListMenu& operator=(const TFileListMenu&) = delete;

    // Disables the submenu's item and removes every entry.
    void Clear();
    // Enables or disables the submenu's item.
    void SetEnabled(bool enabled);
    // The file name of an entry.
    static std::string FileNameOf(const QAction* entry);

    // The list as one line: each name through QuoteIfNeeded, joined by commas; empty for no entries.
    std::string GetText() const;
    // Loads the list from such a line (names taken with NextListItem).
    void SetText(const std::string& text);
    // The file names in menu order.
    std::vector<std::string> GetList() const;
    // Rebuilds the entries: empty names and later duplicates are skipped, and no more than MaxCount
    // are shown. Names are compared as the file system compares them (exactly on Linux).
    void SetList(const std::vector<std::string>& names);
    // Makes `fileName` the newest entry; an empty name changes nothing.
    void AddFile(const std::string& fileName);
    // The list to store when the window closes, given the "Files" text stored at that moment (which
    // other windows may have written since this list was read): the stored names, then this list's
    // names that are not among them, with the files added here (AddFile) put on top in the order
    // they were added; duplicates go and no more than MaxCount stay.
    std::string MergedText(const std::string& storedText) const;

    // The entries in menu order.
    QList<QAction*> Entries() const;

private:
    // The names that SetList shows for a list: no empty names, no later duplicates, at most MaxCount.
    static std::vector<std::string> ShownNames(const std::vector<std::string>& names);
    void AddEntry(int number, const std::string& fileName);
    void EntryClicked(QAction* entry);

    QMenu* m_menu;
    SelectCallback m_onSelect;
    QMetaObject::Connection m_triggered;
    // The files added by AddFile, oldest first, each once, at most MaxCount.
    std::vector<std::string> m_added;
};
