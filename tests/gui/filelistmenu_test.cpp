// Recent-files submenu: entries and captions, the ten-entry limit, duplicates, moving a reopened file
// to the top, the stored comma list with quoting, names with '&' and quotes, the enabled state and
// the click callback.
#include "editor/filelistmenu.h"
#include "support/qt/regwrap.h"
#include "support/textroutines.h"
#include "tempsettings.h"

#include <QAction>
#include <QCoreApplication>
#include <QEvent>
#include <QMenu>
#include <gtest/gtest.h>

#include <memory>

namespace {

using Names = std::vector<std::string>;

class FileListMenuTest : public ::testing::Test {
protected:
    QMenu menu{"Reopen"};
    std::vector<std::string> chosen;
    TFileListMenu list{&menu, [this](const std::string& name) { chosen.push_back(name); }};

    void TearDown() override {
        // Entries removed from the menu are freed when control is back in the event loop.
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::vector<std::string> Captions() const {
        std::vector<std::string> captions;
        for (const QAction* entry : menu.actions())
            captions.push_back(entry->text().toStdString());
        return captions;
    }
    bool Enabled() const { return menu.menuAction()->isEnabled(); }
    static Names Numbered(int from, int to) {
        Names names;
        for (int i = from; i <= to; ++i)
            names.push_back("C:/work/file" + std::to_string(i) + ".amf");
        return names;
    }
};

TEST_F(FileListMenuTest, ItemIsDisabledWhileTheListIsEmpty) {
    EXPECT_FALSE(Enabled()) << "disabled from the start";
    list.AddFile("");
    EXPECT_FALSE(Enabled()) << "an empty name adds nothing";
    EXPECT_TRUE(menu.actions().isEmpty());
    list.AddFile("a.amf");
    EXPECT_TRUE(Enabled());
    list.Clear();
    EXPECT_FALSE(Enabled());
    EXPECT_TRUE(menu.actions().isEmpty());
    list.SetList({"x.amf"});
    EXPECT_TRUE(Enabled());
    list.SetList({"", ""});
    EXPECT_FALSE(Enabled()) << "a list of empty names is an empty list";
    list.SetText("");
    EXPECT_FALSE(Enabled());
    EXPECT_EQ(list.GetText(), "");
}

TEST_F(FileListMenuTest, CaptionsAreNumberSpaceName) {
    list.SetList({"C:/a b/one.amf", "two.amf", "/home/x/three.amf"});
    EXPECT_EQ(Captions(), (Names{"1 C:/a b/one.amf", "2 two.amf", "3 /home/x/three.amf"}));
    EXPECT_EQ(list.GetList(), (Names{"C:/a b/one.amf", "two.amf", "/home/x/three.amf"}));
    EXPECT_EQ(TFileListMenu::FileNameOf(menu.actions().at(0)), "C:/a b/one.amf");
}

TEST_F(FileListMenuTest, TwelveStoredNamesShowTenAndStoreTen) {
    const Names twelve = Numbered(1, 12);
    std::string stored;
    for (const std::string& name : twelve)
        stored += (stored.empty() ? "" : ",") + name;
    list.SetText(stored);
    ASSERT_EQ(menu.actions().size(), 10);
    EXPECT_EQ(Captions().front(), "1 C:/work/file1.amf");
    EXPECT_EQ(Captions().back(), "10 C:/work/file10.amf");
    EXPECT_EQ(list.GetList(), Numbered(1, 10));

    TempSettings store;
    auto reg = store.Make();
    reg->WriteValue("Files", list.GetText());
    reg->CloseKey();
    std::string back = store.Make()->ReadValue("Files");
    Names readBack;
    while (!back.empty())
        readBack.push_back(NextListItem(back));
    EXPECT_EQ(readBack, Numbered(1, 10));
}

TEST_F(FileListMenuTest, EmptyListRemovesTheStoredValue) {
    TempSettings store;
    auto reg = store.Make();
    list.SetList({"a.amf"});
    reg->WriteValue("Files", list.GetText());
    ASSERT_NE(TempSettings::ReadRaw(store.userFile).find("Files="), std::string::npos);
    list.Clear();
    reg->WriteValue("Files", list.GetText());
    EXPECT_EQ(TempSettings::ReadRaw(store.userFile).find("Files"), std::string::npos);
    EXPECT_EQ(store.Make()->ReadValue("Files", "absent"), "absent");
}

TEST_F(FileListMenuTest, NamesAreComparedAsTheFileSystemDoes) {
    // On Linux names that differ in letter case are different files; only the same name counts once.
    struct Case {
        const char* label;
        Names input;
        Names shown;
    };
    const std::vector<Case> cases = {
        {"first occurrence of the same name is shown",
         {"a.amf", "b.amf", "a.amf", "b.amf", "c.amf"},
         {"a.amf", "b.amf", "c.amf"}},
        {"other letter case is another file",
         {"Report.amf", "report.amf", "REPORT.AMF", "report.amf"},
         {"Report.amf", "report.amf", "REPORT.AMF"}},
        {"empty names skipped", {"", "a.amf", "", "b.amf"}, {"a.amf", "b.amf"}},
        {"non-ASCII letters too", {"Ä.amf", "ä.amf"}, {"Ä.amf", "ä.amf"}},
        {"duplicates do not use up places",
         [] {
             Names n = Numbered(1, 9);
             n.insert(n.begin() + 1, "C:/work/file1.amf");
             n.push_back("last.amf");
             n.push_back("dropped.amf");
             return n;
         }(),
         [] {
             Names n = Numbered(1, 9);
             n.push_back("last.amf");
             return n;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        list.SetList(c.input);
        EXPECT_EQ(list.GetList(), c.shown);
    }
}

TEST_F(FileListMenuTest, AddFileMakesTheNameTheNewestEntry) {
    struct Case {
        const char* label;
        Names before;
        std::string added;
        Names captions;
    };
    const std::vector<Case> cases = {
        {"into an empty list", {}, "new.amf", {"1 new.amf"}},
        {"empty name changes nothing", {"a.amf", "b.amf"}, "", {"1 a.amf", "2 b.amf"}},
        {"already first: entry unchanged", {"C:/A.amf", "b.amf"}, "C:/A.amf", {"1 C:/A.amf", "2 b.amf"}},
        {"first entry in other case is another file",
         {"C:/A.amf", "b.amf"},
         "c:/a.AMF",
         {"1 c:/a.AMF", "2 C:/A.amf", "3 b.amf"}},
        {"entry 4 moves to 1, the rest renumbered",
         {"a.amf", "b.amf", "c.amf", "d.amf", "e.amf"},
         "d.amf",
         {"1 d.amf", "2 a.amf", "3 b.amf", "4 c.amf", "5 e.amf"}},
        {"later entry in other case stays beside the new one",
         {"a.amf", "b.amf", "c.amf"},
         "C.AMF",
         {"1 C.AMF", "2 a.amf", "3 b.amf", "4 c.amf"}},
        {"new name on a full list drops the oldest", Numbered(1, 10), "new.amf",
         [] {
             Names captions = {"1 new.amf"};
             for (int i = 1; i <= 9; ++i)
                 captions.push_back(std::to_string(i + 1) + " C:/work/file" + std::to_string(i) + ".amf");
             return captions;
         }()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        list.SetList(c.before);
        list.AddFile(c.added);
        EXPECT_EQ(Captions(), c.captions);
        EXPECT_EQ(Enabled(), !c.captions.empty());
    }
}

TEST_F(FileListMenuTest, MergedTextPutsTheFilesAddedHereOnWhatIsStoredNow) {
    struct Case {
        const char* label;
        std::string stored; // "Files" as stored when the window closes
        Names list;         // the list as it was read when the window opened (SetList)
        Names added;        // files opened or saved in this window, in order (AddFile)
        std::string merged;
    };
    const std::vector<Case> cases = {
        {"nothing stored, nothing added: the window's list", "", {"a.amf", "b.amf"}, {}, "a.amf,b.amf"},
        {"another window stored x since: kept below the files added here",
         "x.amf,old.amf",
         {"old.amf"},
         {"a.amf"},
         "a.amf,x.amf,old.amf"},
        {"the files added here in the order added, newest first",
         "x.amf",
         {},
         {"a.amf", "b.amf", "a.amf"},
         "a.amf,b.amf,x.amf"},
        {"a stored name added here again moves to the top",
         "x.amf,a.amf",
         {"a.amf"},
         {"a.amf"},
         "a.amf,x.amf"},
        {"names of the window's list no longer stored go below", "x.amf", {"gone.amf"}, {}, "x.amf,gone.amf"},
        {"names differing in case are two files", "Report.amf", {}, {"report.amf"}, "report.amf,Report.amf"},
        {"quoted names are read and written back",
         "\"x, y.amf\"",
         {},
         {"(a).amf"},
         "\"(a).amf\",\"x, y.amf\""},
        {"no more than ten", "c1,c2,c3,c4,c5,c6,c7,c8,c9,c10", {}, {"a", "b"}, "b,a,c1,c2,c3,c4,c5,c6,c7,c8"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        QMenu own;
        TFileListMenu fresh{&own};
        fresh.SetList(c.list);
        for (const std::string& name : c.added)
            fresh.AddFile(name);
        EXPECT_EQ(fresh.MergedText(c.stored), c.merged);
    }
}

TEST_F(FileListMenuTest, AmpersandIsShownLiterallyAndReadBackExactly) {
    list.SetList({"C:/R&D/a&&b.amf", "&lead.amf"});
    EXPECT_EQ(Captions(), (Names{"1 C:/R&&D/a&&&&b.amf", "2 &&lead.amf"}));
    EXPECT_EQ(list.GetList(), (Names{"C:/R&D/a&&b.amf", "&lead.amf"}));
    list.SetText(list.GetText());
    EXPECT_EQ(list.GetList(), (Names{"C:/R&D/a&&b.amf", "&lead.amf"}));
    menu.actions().at(0)->trigger();
    EXPECT_EQ(chosen, (Names{"C:/R&D/a&&b.amf"}));
}

TEST_F(FileListMenuTest, EntryMadeElsewhereIsReadFromItsCaption) {
    struct Case {
        const char* caption;
        std::string name;
    };
    for (const Case& c :
         {Case{"3 C:/x y.amf", "C:/x y.amf"}, Case{"&4 R&&D.amf", "R&D.amf"}, Case{"nospace", ""}}) {
        SCOPED_TRACE(c.caption);
        QAction entry(QString::fromUtf8(c.caption));
        EXPECT_EQ(TFileListMenu::FileNameOf(&entry), c.name);
    }
}

TEST_F(FileListMenuTest, StoredTextQuotesWhatNeedsItAndReadsBackIntact) {
    struct Case {
        const char* label;
        std::string name;
        std::string stored;
    };
    const std::vector<Case> cases = {
        {"plain", "C:/a/plain.amf", "C:/a/plain.amf"},
        {"comma", "C:/a,b.amf", "\"C:/a,b.amf\""},
        {"bracket", "C:/a(1).amf", "\"C:/a(1).amf\""},
        {"leading space", " lead.amf", "\" lead.amf\""},
        {"trailing space", "trail.amf ", "\"trail.amf \""},
        {"apostrophe", "it's.amf", "\"it's.amf\""},
        {"double quote", "say \"hi\".amf", "'say \"hi\".amf'"},
        {"apostrophe and double quote", "it's \"x\".amf", "\"it's \"\"x\"\".amf\""},
        {"non-ASCII", "C:/Übersicht/файл.amf", "C:/Übersicht/файл.amf"},
    };
    Names all;
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        list.SetList({c.name});
        EXPECT_EQ(list.GetText(), c.stored);
        list.SetText(list.GetText());
        EXPECT_EQ(list.GetList(), Names{c.name});
        all.push_back(c.name);
    }
    // All of them in one list, also through the settings store.
    list.SetList(all);
    TempSettings store;
    auto reg = store.Make();
    reg->WriteValue("Files", list.GetText());
    TFileListMenu::SelectCallback none;
    QMenu other("Reopen");
    TFileListMenu reloaded(&other, none);
    reloaded.SetText(store.Make()->ReadValue("Files"));
    EXPECT_EQ(reloaded.GetList(), all);
}

TEST_F(FileListMenuTest, UnbalancedStoredTextStillYieldsNames) {
    struct Case {
        const char* label;
        std::string text;
        Names names;
    };
    const std::vector<Case> cases = {
        {"unclosed quote takes the rest", "a.amf,\"b.amf,c.amf", {"a.amf", "b.amf,c.amf"}},
        {"empty items skipped", "a.amf,,  ,b.amf,", {"a.amf", "b.amf"}},
        {"blanks around unquoted names trimmed", "  a.amf , b.amf  ", {"a.amf", "b.amf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        list.SetText(c.text);
        EXPECT_EQ(list.GetList(), c.names);
    }
}

TEST_F(FileListMenuTest, ChoosingAnEntryCallsBackWithItsName) {
    list.SetList({"a.amf", "C:/b b.amf", "c.amf"});
    menu.actions().at(1)->trigger();
    EXPECT_EQ(chosen, (Names{"C:/b b.amf"}));
}

TEST_F(FileListMenuTest, EntryChosenWhileItsListIsRebuiltIsHandledOnce) {
    // The main window opens the chosen file and adds it again, which rebuilds the entries while the
    // chosen one is still being handled.
    QMenu reopen("Reopen");
    Names opened;
    std::unique_ptr<TFileListMenu> recent;
    recent = std::make_unique<TFileListMenu>(&reopen, [&](const std::string& name) {
        opened.push_back(name);
        recent->AddFile(name);
    });
    recent->SetList({"a.amf", "C:/b b.amf", "c.amf"});
    reopen.actions().at(2)->trigger();
    EXPECT_EQ(opened, (Names{"c.amf"}));
    QStringList captions;
    for (const QAction* entry : reopen.actions())
        captions << entry->text();
    EXPECT_EQ(captions, (QStringList{"1 c.amf", "2 a.amf", "3 C:/b b.amf"}));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(reopen.actions().size(), 3);
}

TEST_F(FileListMenuTest, ListWithoutCallbackIgnoresClicks) {
    QMenu reopen("Reopen");
    TFileListMenu recent(&reopen);
    recent.SetList({"a.amf"});
    reopen.actions().at(0)->trigger(); // must not call an empty function
    EXPECT_EQ(recent.GetList(), Names{"a.amf"});
    EXPECT_TRUE(chosen.empty());
}

TEST_F(FileListMenuTest, ListDestroyedBeforeItsMenuNoLongerCallsBack) {
    // A list destroyed before its menu no longer reacts to the menu's clicks.
    QMenu other("Reopen");
    int calls = 0;
    {
        TFileListMenu shortLived(&other, [&](const std::string&) { ++calls; });
        shortLived.SetList({"a.amf"});
    }
    ASSERT_EQ(other.actions().size(), 1);
    other.actions().at(0)->trigger();
    EXPECT_EQ(calls, 0);
}

} // namespace
