// Unsaved changes are kept in a recovery file while the editor runs and offered back after an editor
// ended without closing: what is written and when, what removes the file, the offer at start with
// Recover, Discard and Later, several editors side by side, and files that cannot be read or written.
#include "editor/assistanttext.h"
#include "editor/recoveryfile.h"
#include "editorfixture.h"

#include <QAction>
#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLockFile>
#include <QStatusBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <cstdlib>
#include <ctime>
#include <fstream>
#include <functional>
#include <sstream>

namespace {

using Kind = Prompter::MessageKind;
using Answer = Prompter::Answer;

std::string ReadFile(const QString& name) {
    std::ifstream in(name.toStdString(), std::ios::binary);
    if (!in)
        return "<missing>";
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void WriteFile(const QString& name, const std::string& text) {
    std::ofstream out(name.toStdString(), std::ios::binary | std::ios::trunc);
    out << text;
}

// "YYYY-MM-DD HH:MM" of a UTC moment in the machine's local time, worked out with the C library.
std::string LocalMinute(int year, int month, int day, int hour, int minute) {
    std::tm utc{};
    utc.tm_year = year - 1900;
    utc.tm_mon = month - 1;
    utc.tm_mday = day;
    utc.tm_hour = hour;
    utc.tm_min = minute;
    const std::time_t moment = timegm(&utc);
    std::tm local{};
    localtime_r(&moment, &local);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%d %H:%M", &local);
    return text;
}

// Sets the time zone (a POSIX TZ text) while it lives; the previous one comes back after.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) : m_had(qEnvironmentVariableIsSet("TZ")), m_old(qgetenv("TZ")) {
        qputenv("TZ", zone);
        tzset();
    }
    ~ScopedTimeZone() {
        if (m_had)
            qputenv("TZ", m_old);
        else
            qunsetenv("TZ");
        tzset();
    }
    ScopedTimeZone(const ScopedTimeZone&) = delete;
    ScopedTimeZone& operator=(const ScopedTimeZone&) = delete;

private:
    bool m_had;
    QByteArray m_old;
};

// Processes events until `done` holds or two seconds have passed.
bool WaitFor(const std::function<bool()>& done) {
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 2000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    return done();
}

} // namespace

class RecoveryTest : public EditorFixture {
protected:
    QTemporaryDir files;
    std::string original = files.filePath("original.amf").toStdString();

    QString Folder() const { return QString::fromStdString(recoveryFolder); }
    // The files in the recovery folder (the crash-safe writer's hidden temporaries left out).
    QStringList FolderFiles() const { return QDir(Folder()).entryList(QDir::Files, QDir::Name); }
    bool HasRecovery() const { return QFileInfo::exists(form->RecoveryFileName()); }
    QString RecordOf(const QString& textPath) const {
        return textPath.left(textPath.size() - 4) + QStringLiteral(".json");
    }
    RecoveryRecord Record(const QString& textPath) const {
        return RecoveryFile::ParseRecord(QByteArray::fromStdString(ReadFile(RecordOf(textPath))));
    }
    // Gives a recovery file's record another time, so that the offer's text is known, and another
    // writer when `pid` is given.
    void Redate(const QString& textPath, const char* isoUtc, qint64 pid = 0) {
        RecoveryRecord record = Record(textPath);
        if (pid != 0)
            record.Pid = pid;
        record.Written = QDateTime::fromString(QString::fromLatin1(isoUtc), Qt::ISODate);
        ASSERT_TRUE(record.Written.isValid());
        WriteFile(RecordOf(textPath), RecoveryFile::RecordText(record).toStdString());
    }

    // A window whose assistant of two screens is saved as `original`: nothing unsaved.
    void StartWithSavedFile() {
        Start();
        Fill({ScreenEntry("S1", {OptionEntry("a")}), ScreenEntry("S2")}, "S1");
        Root().FileName = original;
        form->Actions().aSave->trigger();
        ASSERT_FALSE(Root().Changed);
    }
    // Lets the event loop run once, as it does after every command: a structural change is copied for
    // recovery as soon as the window has shown it.
    static void Settle() { QCoreApplication::processEvents(); }
    void NewScreen() {
        form->Actions().aNewScreen->trigger();
        Settle();
    }
    void SetCaption(TAssistBase& item, const std::string& caption) {
        ASSERT_TRUE(form->Edits().SetField(item, TextField::Caption, caption));
    }
    // The editor ends without closing its window: no prompt, no clean-up.
    void Crash() { form.reset(); }
    // The text the recovery file holds, read back as an assistant and written again.
    std::string ReadBack(const QString& textPath) const {
        TAssistRoot read(form->UserID());
        std::istringstream in(ReadFile(textPath));
        read.LoadFromStream(in);
        return AssistantTextKeepingState(read);
    }
    // Two editors running side by side, each with an unsaved assistant of the given caption, end
    // without closing; returns their recovery files, the first one's dated before the second's.
    std::vector<QString> CrashTwoEditors() {
        std::vector<QString> paths;
        Start();
        SetCaption(Root(), "Older work");
        NewScreen();
        paths.push_back(form->RecoveryFileName());
        ScriptedPrompter quiet;
        auto second = std::make_unique<MainWindow>(Services(), &quiet);
        EXPECT_TRUE(ShowActive(second.get()));
        EXPECT_TRUE(second->Edits().SetField(second->Assistant(), TextField::Caption, "Newer work"));
        second->Actions().aNewScreen->trigger();
        Settle();
        paths.push_back(second->RecoveryFileName());
        second.reset();
        Crash();
        Redate(paths[0], "2026-12-10T13:00:00Z");
        Redate(paths[1], "2026-12-10T13:05:00Z");
        return paths;
    }
    std::string LastQuestion() const {
        return prompter.AskedPrompts().empty() ? std::string() : prompter.AskedPrompts().back().text;
    }
};

// ---- Writing

TEST_F(RecoveryTest, StructuralChangeIsKeptAtOnceAndReadsBackAsTheSameAssistant) {
    StartWithSavedFile();
    const std::string onDisk = ReadFile(QString::fromStdString(original));
    form->AutoSave();
    EXPECT_FALSE(HasRecovery()) << "nothing unsaved, nothing kept";
    EXPECT_TRUE(FolderFiles().isEmpty());

    form->Actions().aNewScreen->trigger();
    EXPECT_GE(form->TreeModel()->FirstNodeOf(ScreenAt(2)), 0);
    EXPECT_FALSE(HasRecovery()) << "the window shows the new screen before it is copied";
    Settle();
    ASSERT_TRUE(HasRecovery()) << "a new screen is kept without waiting for the timer";
    const QString path = form->RecoveryFileName();
    EXPECT_EQ(ReadFile(path), AssistantTextKeepingState(Root()));
    EXPECT_EQ(ReadBack(path), AssistantTextKeepingState(Root()));
    EXPECT_NE(ReadFile(path), onDisk) << "the new screen is in it";
    EXPECT_TRUE(Root().Changed) << "keeping a copy is not a save";
    EXPECT_EQ(ReadFile(QString::fromStdString(original)), onDisk)
        << "the assistant's own file is not touched";

    const QString pid = QString::number(QCoreApplication::applicationPid());
    EXPECT_TRUE(QFileInfo(path).fileName().startsWith(pid + u'-')) << path.toStdString();
    const RecoveryRecord record = Record(path);
    EXPECT_EQ(record.OriginalFile, original);
    EXPECT_EQ(record.Pid, QCoreApplication::applicationPid());
    ASSERT_TRUE(record.Written.isValid());
    EXPECT_LE(std::abs(record.Written.secsTo(QDateTime::currentDateTimeUtc())), 60);
    EXPECT_TRUE(ReadFile(RecordOf(path)).find("Z\"") != std::string::npos) << "the time is written as UTC";
    EXPECT_TRUE(QFileInfo::exists(path.left(path.size() - 4) + ".lock")) << "held while the editor runs";
}

TEST_F(RecoveryTest, EveryStructuralChangeAndItsUndoIsKeptAtOnce) {
    struct Case {
        const char* name;
        std::function<void()> change;
    };
    const Case cases[] = {
        {"new screen", [this] { NewScreen(); }},
        {"new option",
         [this] {
             ClickTreeNode(ScreenAt(1));
             form->Actions().aNewOption->trigger();
         }},
        {"delete screen",
         [this] {
             ClickTreeNode(ScreenAt(1));
             prompter.ExpectMessage(Kind::ConfirmYesNo, Answer::Yes);
             form->Actions().aDelScreen->trigger();
         }},
        {"delete option",
         [this] {
             ClickTreeNode(ScreenAt(0)->Options.Item(0));
             prompter.ExpectMessage(Kind::ConfirmYesNo, Answer::Yes);
             form->Actions().aDelOption->trigger();
         }},
        {"move screen",
         [this] {
             ClickTreeNode(ScreenAt(1));
             form->Actions().aUp->trigger();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSavedFile();
        SetCaption(Root(), "An unsaved caption"); // the first stored change is kept at once
        ASSERT_TRUE(HasRecovery());
        const std::string before = AssistantTextKeepingState(Root());
        c.change();
        Settle();
        ASSERT_TRUE(HasRecovery());
        EXPECT_NE(ReadFile(form->RecoveryFileName()), before) << "the change is in the file";
        EXPECT_EQ(ReadFile(form->RecoveryFileName()), AssistantTextKeepingState(Root()));
        form->Actions().aUndo->trigger();
        Settle();
        ASSERT_TRUE(Root().Changed) << "the caption is still unsaved";
        EXPECT_EQ(ReadFile(form->RecoveryFileName()), before) << "the undo is in the file";
        form->Actions().aRedo->trigger();
        Settle();
        EXPECT_EQ(ReadFile(form->RecoveryFileName()), AssistantTextKeepingState(Root()))
            << "and so is the redo";
        Root().Changed = false;
        form.reset();
        QDir(Folder()).removeRecursively();
    }
}

TEST_F(RecoveryTest, OtherChangesAreKeptWithinTwoSecondsAndWithTheTimersTick) {
    EXPECT_EQ(TEditorServices().RecoveryWriteInterval, 2000) << "two seconds in the program";
    recoveryWriteInterval = 300; // shorter here, so that waiting for it stays inside WaitFor's time
    StartWithSavedFile();
    ASSERT_NE(form->AutoSaveTimer(), nullptr);
    EXPECT_TRUE(form->AutoSaveTimer()->isActive());
    EXPECT_EQ(form->AutoSaveTimer()->interval(), 60000) << "every minute";
    const auto kept = [this](const char* text) {
        return HasRecovery() && ReadFile(form->RecoveryFileName()).find(text) != std::string::npos;
    };

    SetCaption(*ScreenAt(0), "A caption stored a moment ago");
    EXPECT_TRUE(kept("A caption stored a moment ago")) << "the first stored change is kept at once";
    SetCaption(*ScreenAt(0), "A second caption right after");
    EXPECT_FALSE(kept("A second caption right after")) << "at most one write per interval";
    ASSERT_TRUE(WaitFor([&] { return kept("A second caption right after"); }))
        << "the change waiting is written when the interval is over";

    // The autosave tick still keeps changes too (here with the recovery file removed behind its back).
    SetCaption(*ScreenAt(0), "A caption for the tick");
    form->AutoSaveTimer()->setInterval(10);
    ASSERT_TRUE(WaitFor([&] { return kept("A caption for the tick"); }));
}

TEST_F(RecoveryTest, TextStillBeingTypedIsKeptWithTheTimersTick) {
    // Typing that never leaves its box would otherwise reach no recovery file, however long it goes on.
    struct Case {
        const char* box;
        std::function<void(MainWindow&, const QString&)> type;
    };
    const Case cases[] = {
        {"caption",
         [](MainWindow& window, const QString& text) {
             QLineEdit* box = window.General()->eProjectCaption();
             FocusByMouse(box);
             box->end(false);
             box->insert(text);
         }},
        {"id",
         [](MainWindow& window, const QString& text) {
             QLineEdit* box = window.General()->eProjectID();
             FocusByMouse(box);
             box->setCursorPosition(1);
             box->insert(text);
         }},
        {"description",
         [](MainWindow& window, const QString& text) {
             QPlainTextEdit* memo = window.General()->mProjectExp();
             FocusByMouse(memo);
             memo->moveCursor(QTextCursor::End);
             memo->insertPlainText(text);
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        StartWithSavedFile();
        ClickTreeNode(&Root());
        c.type(*form, QStringLiteral("still typing"));
        QWidget* typing = QApplication::focusWidget();
        const auto caret = [typing] {
            if (auto* line = qobject_cast<QLineEdit*>(typing))
                return line->cursorPosition();
            return qobject_cast<QPlainTextEdit*>(typing)->textCursor().position();
        };
        const int typedTo = caret();
        form->AutoSave();
        EXPECT_EQ(QApplication::focusWidget(), typing) << "the typing goes on where it was";
        EXPECT_EQ(caret(), typedTo);
        ASSERT_TRUE(HasRecovery());
        EXPECT_NE(ReadFile(form->RecoveryFileName()).find("still typing"), std::string::npos);
        const std::string kept = ReadFile(form->RecoveryFileName());
        Crash();
        prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
        Start();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(AssistantTextKeepingState(Root()), ReadBack(form->RecoveryFileName()));
        EXPECT_NE(AssistantTextKeepingState(Root()).find("still typing"), std::string::npos);
        Root().Changed = false;
        form->AutoSave();
    }
}

TEST_F(RecoveryTest, TypingIsKeptWithinTheWritersIntervalWithoutLeavingTheBox) {
    // A crash a couple of seconds after typing loses at most that much: typing in a box that keeps the
    // focus reaches the recovery file when the writer's interval ends, not only at the minute's tick.
    recoveryWriteInterval = 300; // shorter here, so that waiting for it stays inside WaitFor's time
    struct Case {
        const char* box;
        std::function<QWidget*(MainWindow&)> focus;
        std::function<std::string(const TAssistScreen&)> stored; // the box's value in the model
    };
    const Case cases[] = {
        {"screen caption", [](MainWindow& window) -> QWidget* { return window.Screen()->eScreenCaption(); },
         [](const TAssistScreen& screen) { return screen.Caption; }},
        {"screen description", [](MainWindow& window) -> QWidget* { return window.Screen()->mScreenExp(); },
         [](const TAssistScreen& screen) {
             return screen.Description.empty() ? std::string() : screen.Description.back();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.box);
        StartWithSavedFile();
        ClickTreeNode(ScreenAt(1));
        const std::string before = c.stored(*ScreenAt(1));
        QWidget* box = c.focus(*form);
        FocusByMouse(box);
        ASSERT_EQ(QApplication::focusWidget(), box);
        QTest::keyClick(box, Qt::Key_End, Qt::ControlModifier);
        QTest::keyClicks(box, QStringLiteral("typed before the crash"));
        EXPECT_FALSE(Root().Changed) << "the first key stores nothing at once";
        ASSERT_TRUE(WaitFor([&] {
            return HasRecovery() &&
                   ReadFile(form->RecoveryFileName()).find("typed before the crash") != std::string::npos;
        }));
        EXPECT_EQ(QApplication::focusWidget(), box) << "the typing goes on in its box";
        Crash();
        prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
        Start();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(c.stored(*ScreenAt(1)), before + "typed before the crash");
        Root().Changed = false;
        form->AutoSave();
    }
}

TEST_F(RecoveryTest, AFocusedBoxWithNothingTypedChangesNothingAtTheTick) {
    // The script memo stores itself every time it is left, changed or not; the tick must not.
    Start();
    Fill({ScreenEntry("S1", {OptionEntry("a", akScript)})}, "S1");
    Root().FileName = original;
    form->Actions().aSave->trigger();
    ASSERT_FALSE(Root().Changed);
    ClickTreeNode(ScreenAt(0)->Options.Item(0));
    FocusByMouse(form->Option()->mOptionScript());
    ASSERT_EQ(QApplication::focusWidget(), form->Option()->mOptionScript());
    form->AutoSave();
    EXPECT_FALSE(Root().Changed);
    EXPECT_FALSE(HasRecovery());
}

TEST_F(RecoveryTest, IntervalsComeFromTheServicesAndZeroStopsTheTimers) {
    autoSaveInterval = 0;
    recoveryWriteInterval = 0;
    StartWithSavedFile();
    EXPECT_FALSE(form->AutoSaveTimer()->isActive());
    SetCaption(*ScreenAt(0), "Kept at once only when structural");
    EXPECT_FALSE(HasRecovery());
    NewScreen();
    EXPECT_TRUE(HasRecovery()) << "structural changes are still kept";
}

TEST_F(RecoveryTest, SameTextIsNotWrittenAgain) {
    StartWithSavedFile();
    NewScreen();
    const QString path = form->RecoveryFileName();
    // Were the file written again, the marker would be gone.
    WriteFile(path, "marker");
    form->AutoSave();
    EXPECT_EQ(ReadFile(path), "marker");
    SetCaption(*ScreenAt(0), "Something new");
    form->AutoSave();
    EXPECT_EQ(ReadFile(path), AssistantTextKeepingState(Root()));
}

TEST_F(RecoveryTest, AFailedWriteOnlyShowsInTheStatusBar) {
    // The recovery folder cannot be made: a file stands where its parent folder should be.
    const QString blocker = files.filePath("blocker");
    WriteFile(blocker, "a file, not a folder");
    recoveryFolder = (blocker + "/recovery").toStdString();
    StartWithSavedFile();
    NewScreen(); // the scripted prompter fails the test on any message box
    EXPECT_EQ(Root().Screens.Count(), 3) << "the change itself is made";
    EXPECT_TRUE(Root().Changed);
    EXPECT_TRUE(form->statusBar()->currentMessage().startsWith("Unsaved changes cannot be kept for recovery"))
        << form->statusBar()->currentMessage().toStdString();
    form->Actions().aSave->trigger();
    EXPECT_FALSE(Root().Changed) << "saving still works";
}

// ---- Removing

TEST_F(RecoveryTest, SavingOrGivingUpTheChangesRemovesTheFile) {
    const QString other = files.filePath("other.amf");
    struct Case {
        const char* name;
        std::function<void()> act;
        bool removed;
    };
    const Case cases[] = {
        {"Save", [this] { form->Actions().aSave->trigger(); }, true},
        {"Save As",
         [this, &other] {
             prompter.ExpectSaveFile(other.toStdString());
             form->Actions().aSaveAs->trigger();
         },
         true},
        {"New without saving",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No);
             form->Actions().aNew->trigger();
         },
         true},
        {"New, saving first",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::Yes);
             form->Actions().aNew->trigger();
         },
         true},
        {"New cancelled",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::Cancel);
             form->Actions().aNew->trigger();
         },
         false},
        {"Open a file",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No);
             prompter.ExpectOpenFile(original);
             form->Actions().aOpen->trigger();
         },
         true},
        {"Open cancelled in the dialog",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No);
             prompter.ExpectOpenFile(std::nullopt);
             form->Actions().aOpen->trigger();
         },
         false},
        {"Close without saving",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No);
             form->close();
         },
         true},
        {"Close, saving",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::Yes);
             form->close();
         },
         true},
        {"Close cancelled",
         [this] {
             prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::Cancel);
             form->close();
         },
         false},
        {"Undo back to the saved state", [this] { form->Actions().aUndo->trigger(); }, true},
        {"Undo of one change of two",
         [this] {
             NewScreen();
             form->Actions().aUndo->trigger();
         },
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        StartWithSavedFile();
        NewScreen();
        ASSERT_TRUE(HasRecovery());
        c.act();
        Settle(); // nothing still pending may bring a removed file back
        EXPECT_EQ(prompter.Pending(), 0u);
        if (c.removed) {
            EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(' ').toStdString();
        } else {
            EXPECT_TRUE(HasRecovery());
            EXPECT_EQ(ReadFile(form->RecoveryFileName()), AssistantTextKeepingState(Root()));
        }
        Root().Changed = false;
        form.reset();
        QDir(Folder()).removeRecursively();
    }
}

// ---- Offering the files at start

TEST_F(RecoveryTest, AfterACrashTheNextStartRecoversExactlyTheUnsavedAssistant) {
    // Five and a half hours east of UTC, so that a time shown in UTC would not pass.
    const ScopedTimeZone zone("IST-5:30");
    StartWithSavedFile();
    const std::string onDisk = ReadFile(QString::fromStdString(original));
    NewScreen();
    SetCaption(*ScreenAt(0), "Unsaved caption");
    form->AutoSave();
    const std::string unsaved = AssistantTextKeepingState(Root());
    const QString path = form->RecoveryFileName();
    ASSERT_EQ(ReadFile(path), unsaved);
    Crash();
    Redate(path, "2026-12-10T13:03:00Z", 4242); // as if written by an editor that is gone

    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    Start();
    EXPECT_EQ(prompter.Pending(), 0u);
    EXPECT_EQ(LastQuestion(),
              "Recover unsaved changes to " + original + " from " + LocalMinute(2026, 12, 10, 13, 3) + "?");
    EXPECT_EQ(AssistantTextKeepingState(Root()), unsaved);
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(Root().FileName, original);
    EXPECT_EQ(form->Caption(), QString::fromStdString("Assistant Editor - " + original));
    EXPECT_EQ(ReadFile(QString::fromStdString(original)), onDisk) << "recovering writes nothing there";
    // The file is this window's own now: it names this process and is held by it.
    EXPECT_EQ(form->RecoveryFileName(), path);
    EXPECT_EQ(Record(path).Pid, QCoreApplication::applicationPid());
    EXPECT_EQ(Record(path).OriginalFile, original);
    EXPECT_EQ(Record(path).Written, QDateTime::fromString("2026-12-10T13:03:00Z", Qt::ISODate))
        << "still the time of the change";

    form->Actions().aSave->trigger();
    EXPECT_FALSE(Root().Changed);
    EXPECT_EQ(ReadFile(QString::fromStdString(original)), unsaved) << "Save writes to the original file";
    EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(' ').toStdString();
}

TEST_F(RecoveryTest, RecoveredAssistantStaysChangedAndSurvivesASecondCrash) {
    StartWithSavedFile();
    NewScreen();
    Crash();
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    Start();
    ASSERT_TRUE(Root().Changed);
    // Undo cannot reach a state that equals the file: the recovered one already differs from it.
    NewScreen();
    form->Actions().aUndo->trigger();
    EXPECT_TRUE(Root().Changed);
    EXPECT_TRUE(HasRecovery());

    SetCaption(*ScreenAt(1), "Changed after recovering");
    form->AutoSave();
    const std::string latest = AssistantTextKeepingState(Root());
    Crash();
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    Start();
    EXPECT_EQ(AssistantTextKeepingState(Root()), latest);
    EXPECT_EQ(FolderFiles().size(), 3) << "one text, its record and its lock";
}

TEST_F(RecoveryTest, NeverSavedAssistantIsOfferedAsUntitledAndSaveAsksForAName) {
    Start();
    NewScreen();
    const std::string unsaved = AssistantTextKeepingState(Root());
    EXPECT_EQ(Record(form->RecoveryFileName()).OriginalFile, "");
    Crash();

    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    Start();
    EXPECT_EQ(LastQuestion().rfind("Recover unsaved changes to Untitled from ", 0), 0u) << LastQuestion();
    EXPECT_EQ(AssistantTextKeepingState(Root()), unsaved);
    EXPECT_TRUE(Root().Changed);
    EXPECT_EQ(Root().FileName, "");
    EXPECT_EQ(form->Caption(), QStringLiteral("Assistant Editor - [New Assistant]"));

    prompter.ExpectSaveFile(original);
    form->Actions().aSave->trigger();
    EXPECT_EQ(ReadFile(QString::fromStdString(original)), unsaved);
    EXPECT_TRUE(FolderFiles().isEmpty());
}

TEST_F(RecoveryTest, DiscardDeletesTheFileAndLaterKeepsItForTheNextStart) {
    struct Case {
        Answer answer;
        bool kept;
    };
    for (const Case& c : {Case{Answer::Discard, false}, Case{Answer::Later, true}}) {
        SCOPED_TRACE(static_cast<int>(c.answer));
        StartWithSavedFile();
        NewScreen();
        const QString path = form->RecoveryFileName();
        Crash();
        prompter.ExpectMessage(Kind::RecoverDiscardLater, c.answer);
        Start();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_FALSE(Root().Changed) << "the window keeps its new assistant";
        EXPECT_TRUE(Root().Screens.Count() == 0);
        EXPECT_EQ(QFileInfo::exists(path), c.kept);
        EXPECT_EQ(QFileInfo::exists(RecordOf(path)), c.kept);
        EXPECT_FALSE(QFileInfo::exists(path.left(path.size() - 4) + ".lock")) << "not held any more";
        // The next start offers what was kept, and only that.
        Crash();
        if (c.kept)
            prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Discard);
        Start();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(' ').toStdString();
        Crash();
    }
}

TEST_F(RecoveryTest, SeveralFilesAreOfferedOldestFirstAndRecoveringTheSecondAsksToSaveTheFirst) {
    const ScopedTimeZone zone("IST-5:30");
    const std::vector<QString> paths = CrashTwoEditors();

    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::No); // the first is given up
    Start();
    ASSERT_EQ(prompter.Pending(), 0u);
    const auto& asked = prompter.AskedPrompts();
    ASSERT_EQ(asked.size(), 3u);
    EXPECT_EQ(asked[0].text,
              "Recover unsaved changes to Untitled from " + LocalMinute(2026, 12, 10, 13, 0) + "?");
    EXPECT_EQ(asked[1].text,
              "Recover unsaved changes to Untitled from " + LocalMinute(2026, 12, 10, 13, 5) + "?");
    EXPECT_EQ(Root().Caption, "Newer work");
    EXPECT_FALSE(QFileInfo::exists(paths[0])) << "its changes were given up";
    EXPECT_TRUE(QFileInfo::exists(paths[1]));
    EXPECT_EQ(form->RecoveryFileName(), paths[1]);
}

TEST_F(RecoveryTest, CancellingTheSavePromptKeepsTheSecondFileForLater) {
    const std::vector<QString> paths = CrashTwoEditors();
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    prompter.ExpectMessage(Kind::WarningYesNoCancel, Answer::Cancel);
    Start();
    EXPECT_EQ(Root().Caption, "Older work");
    EXPECT_TRUE(QFileInfo::exists(paths[0]));
    EXPECT_TRUE(QFileInfo::exists(paths[1]));
    EXPECT_FALSE(QFileInfo::exists(paths[1].left(paths[1].size() - 4) + ".lock"));
}

TEST_F(RecoveryTest, FilesOfARunningEditorAreNeverOffered) {
    StartWithSavedFile();
    NewScreen();
    const QString first = form->RecoveryFileName();
    ASSERT_TRUE(QFileInfo::exists(first));

    // A second editor starting meanwhile (another window of this process holds the lock as another
    // process would).
    ScriptedPrompter quiet; // fails the test on any prompt
    MainWindow second(Services(), &quiet);
    ASSERT_TRUE(ShowActive(&second));
    EXPECT_TRUE(quiet.AskedPrompts().empty());
    second.Actions().aNewScreen->trigger();
    Settle();
    EXPECT_NE(second.RecoveryFileName(), first) << "each editor writes files of its own";
    EXPECT_TRUE(QFileInfo::exists(second.RecoveryFileName()));
    EXPECT_TRUE(QFileInfo::exists(first));
    EXPECT_EQ(ReadFile(first), AssistantTextKeepingState(Root()));

    // A lock file held by someone else keeps its file from being offered as well.
    const QString held = Folder() + "/999-held";
    WriteFile(held + ".amf", ReadFile(first));
    QLockFile lock(held + ".lock");
    ASSERT_TRUE(lock.tryLock(0));
    ScriptedPrompter quietToo;
    MainWindow third(Services(), &quietToo);
    ASSERT_TRUE(ShowActive(&third));
    EXPECT_TRUE(quietToo.AskedPrompts().empty());
}

TEST_F(RecoveryTest, ALockLeftByAnEditorThatDiedIsNoHindrance) {
    // An editor killed outright leaves its lock file behind, naming its process. In a sandbox or a
    // container every start may get the same process id, so the id can be this process's own.
    struct Case {
        const char* what;
        qint64 pid;
    };
    const Case cases[] = {
        {"a process that is gone", 2147483000},
        {"this process's own id", QCoreApplication::applicationPid()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        StartWithSavedFile();
        NewScreen();
        const std::string unsaved = AssistantTextKeepingState(Root());
        const QString path = form->RecoveryFileName();
        const QString lockPath = path.left(path.size() - 4) + ".lock";
        // What the lock file held while the editor ran, with the process id of the case.
        QByteArray content = QByteArray::fromStdString(ReadFile(lockPath));
        ASSERT_FALSE(content.isEmpty());
        content = QByteArray::number(c.pid) + content.mid(content.indexOf('\n'));
        Crash();
        ASSERT_FALSE(QFileInfo::exists(lockPath));
        WriteFile(lockPath, content.toStdString());

        prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
        Start();
        EXPECT_EQ(prompter.Pending(), 0u);
        EXPECT_EQ(AssistantTextKeepingState(Root()), unsaved);
        EXPECT_TRUE(Root().Changed);
        Root().Changed = false;
        form->AutoSave();
        EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(' ').toStdString();
    }
}

TEST_F(RecoveryTest, AClaimLeavesAFileHeldByAnotherWindowOfThisProcessAlone) {
    StartWithSavedFile();
    NewScreen();
    const QString path = form->RecoveryFileName();
    const QString base = QFileInfo(path).completeBaseName();
    EXPECT_EQ(RecoveryFile::Claim(Folder(), base), nullptr);
    EXPECT_TRUE(QFileInfo::exists(path));
    EXPECT_TRUE(QFileInfo::exists(path.left(path.size() - 4) + ".lock")) << "still held by its window";
    // The window still owns its file: the next change is kept there.
    SetCaption(Root(), "After the claim");
    form->AutoSave();
    EXPECT_EQ(ReadFile(path), AssistantTextKeepingState(Root()));
}

TEST_F(RecoveryTest, OnlyTheFirstWindowOffersTheFiles) {
    // Files named on the command line open first (the second in a window of its own); then the first
    // window offers the recovery file once.
    Start();
    NewScreen();
    const std::string user = form->UserID(); // kept in the settings for the next start
    Crash();
    std::vector<std::string> paths;
    for (const char* name : {"one", "two"}) {
        const std::string path = files.filePath(QString::fromLatin1(name) + ".amf").toStdString();
        // Written by this very user, so opening them shows no authorship notice.
        TAssistRoot source(user);
        TAssistScreen::Create(source)->ID = name;
        std::ofstream(path, std::ios::binary) << AssistantTextKeepingState(source);
        paths.push_back(path);
    }
    arguments = {"one", "two"};
    components->FinderPaths = {{"one", paths[0]}, {"two", paths[1]}};
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Later);
    Start();
    EXPECT_EQ(prompter.Pending(), 0u);
    std::size_t offers = 0;
    for (const auto& asked : prompter.AskedPrompts())
        offers += asked.messageKind == Kind::RecoverDiscardLater ? 1 : 0;
    EXPECT_EQ(offers, 1u);
    ASSERT_EQ(Root().Screens.Count(), 1);
    EXPECT_EQ(ScreenAt(0)->ID, "one") << "the command-line file opened before the offer";
    for (QWidget* widget : QApplication::topLevelWidgets())
        if (auto* window = qobject_cast<MainWindow*>(widget); window && window != form.get())
            window->close();
    QApplication::processEvents();
}

TEST_F(RecoveryTest, ACommandLineFileThatCannotBeReadDoesNotStopTheOffer) {
    // The unsaved work of a crash is offered even when the file named on the command line cannot be
    // read: the read error is shown, then the offer comes.
    Start();
    SetCaption(Root(), "Unsaved work");
    NewScreen();
    const std::string unsaved = AssistantTextKeepingState(Root());
    Crash();
    const std::string broken = files.filePath("broken.amf").toStdString();
    std::ofstream(broken, std::ios::binary) << "this is not an assistant";
    arguments = {"broken"};
    components->FinderPaths = {{"broken", broken}};
    prompter.ExpectMessage(Kind::ErrorOk, Answer::Ok);
    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    Start();
    ASSERT_EQ(prompter.Pending(), 0u);
    ASSERT_EQ(prompter.AskedPrompts().size(), 2u);
    EXPECT_NE(prompter.AskedPrompts()[0].text.find("[AS021]"), std::string::npos)
        << prompter.AskedPrompts()[0].text;
    EXPECT_EQ(AssistantTextKeepingState(Root()), unsaved);
    EXPECT_TRUE(Root().Changed);
}

TEST_F(RecoveryTest, AFileThatCannotBeReadShowsTheErrorAndIsKept) {
    QDir().mkpath(Folder());
    const QString broken = Folder() + "/4242-broken.amf";
    WriteFile(broken, "this is not an assistant");
    RecoveryRecord record;
    record.OriginalFile = original;
    record.Written = QDateTime::currentDateTimeUtc();
    record.Pid = 4242;
    WriteFile(Folder() + "/4242-broken.json", RecoveryFile::RecordText(record).toStdString());

    prompter.ExpectMessage(Kind::RecoverDiscardLater, Answer::Recover);
    prompter.ExpectMessage(Kind::ErrorOk, Answer::Ok);
    Start();
    ASSERT_EQ(prompter.Pending(), 0u);
    EXPECT_NE(LastQuestion().find("[AS021]"), std::string::npos) << LastQuestion();
    EXPECT_FALSE(Root().Changed) << "the window keeps its new assistant";
    EXPECT_EQ(Root().FileName, "");
    EXPECT_EQ(ReadFile(broken), "this is not an assistant");
    EXPECT_TRUE(QFileInfo::exists(Folder() + "/4242-broken.json"));
    EXPECT_FALSE(QFileInfo::exists(Folder() + "/4242-broken.lock")) << "offered again next time";
}

TEST_F(RecoveryTest, ARecordLeftWithoutItsTextIsClearedAway) {
    QDir().mkpath(Folder());
    WriteFile(Folder() + "/77-orphan.json", "{}");
    Start(); // the scripted prompter fails the test on an offer
    EXPECT_TRUE(FolderFiles().isEmpty()) << FolderFiles().join(' ').toStdString();
}

// ---- The record

TEST(RecoveryRecord, ReadsWhatItWritesAndToleratesDamage) {
    RecoveryRecord record;
    record.OriginalFile = "/home/ann/Crystals \"new\".amf";
    record.Written = QDateTime::fromString(QStringLiteral("2026-12-10T13:03:07Z"), Qt::ISODate);
    record.Pid = 123456;
    const RecoveryRecord read = RecoveryFile::ParseRecord(RecoveryFile::RecordText(record));
    EXPECT_EQ(read.OriginalFile, record.OriginalFile);
    EXPECT_EQ(read.Written, record.Written);
    EXPECT_EQ(read.Pid, record.Pid);

    for (const char* damaged : {"", "not json", "[1, 2]", "{\"written\": \"yesterday\"}"}) {
        SCOPED_TRACE(damaged);
        const RecoveryRecord empty = RecoveryFile::ParseRecord(QByteArray(damaged));
        EXPECT_EQ(empty.OriginalFile, "");
        EXPECT_FALSE(empty.Written.isValid());
        EXPECT_EQ(empty.Pid, 0);
    }
}
