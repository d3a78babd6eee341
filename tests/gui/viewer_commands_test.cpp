// How the viewer reads option commands: assistant targets, file names with folder codes, the program and
// arguments of "execute", accepted and refused web addresses, and the texts of notes and scripts.
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "tests/gui/viewertesthelpers.h"
#include "viewer/optioncommands.h"

namespace {
const QString kBase = QStringLiteral("/data/assist");

TEST(ViewerCommands, AssistantCommandSplitsAtTheFirstCommaAndTrims) {
    struct Case {
        std::string command;
        QString file, screen;
    };
    const std::vector<Case> cases = {
        {"other.amf", "other.amf", ""},
        {"other.amf,S2", "other.amf", "S2"},
        {"  dir/other.amf ,  S2 ", "dir/other.amf", "S2"},
        {"a.amf,S2,more", "a.amf", "S2,more"},
        {",S2", "", "S2"},
        {"", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const AssistantTarget target = SplitAssistantCommand(c.command);
        EXPECT_EQ(target.File, c.file);
        EXPECT_EQ(target.Screen, c.screen);
    }
}

TEST(ViewerCommands, FileNamesResolveAgainstTheBaseFolderOrAFolderCode) {
    auto finder = FixedFinder("/x/tmp");
    struct Case {
        QString name;
        QString path;
    };
    const std::vector<Case> cases = {
        {"other.amf", "/data/assist/other.amf"},
        {" other.amf ", "/data/assist/other.amf"},
        {"sub\\other.amf", "/data/assist/sub/other.amf"},
        {"../up.amf", "/data/up.amf"},
        {"/abs/x.amf", "/abs/x.amf"},
        {"{$DOCS}\\guides\\x.amf", "/home/ann/Documents/guides/x.amf"},
        {"{$docs}/x.amf", "/home/ann/Documents/x.amf"},
        {"{$TEMP}pic.png", "/x/tmp/pic.png"},
        {"{$EXE}/help/a.amf", "/opt/viewer/help/a.amf"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name.toStdString());
        const ResolvedName resolved = ResolveFileName(c.name, kBase, *finder);
        EXPECT_EQ(resolved.Error, QString());
        EXPECT_EQ(resolved.Path, c.path);
    }
}

TEST(ViewerCommands, UnusableFileNamesGiveAnErrorAndNoPath) {
    auto finder = FixedFinder();
    for (const QString& name : {QString(), QStringLiteral("   "), QStringLiteral("{$NOPE}/x.amf"),
                                QStringLiteral("{$DOCS/x.amf")}) {
        SCOPED_TRACE(name.toStdString());
        const ResolvedName resolved = ResolveFileName(name, kBase, *finder);
        EXPECT_FALSE(resolved.Error.isEmpty());
        EXPECT_TRUE(resolved.Path.isEmpty());
    }
    EXPECT_TRUE(
        ResolveFileName(QStringLiteral("{$NOPE}/x.amf"), kBase, *finder).Error.contains("{$NOPE}/x.amf"));
}

TEST(ViewerCommands, WithoutABaseFolderTheFinderLooksInTheProgramFolder) {
    QTemporaryDir programFolder;
    ASSERT_TRUE(programFolder.isValid());
    QFile file(programFolder.filePath(QStringLiteral("shipped.amf")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    FileFinder::Setup setup;
    setup.ProgramFolder = programFolder.path().toStdString();
    setup.CurrentFolder = "/nonexistent-current";
    FileFinder finder(setup);
    const ResolvedName resolved = ResolveFileName(QStringLiteral("shipped.amf"), QString(), finder);
    EXPECT_EQ(resolved.Path, QFileInfo(file).absoluteFilePath());
}

TEST(ViewerCommands, ExecuteCommandsSplitLikeACommandLineWithCodesExpanded) {
    auto finder = FixedFinder("/x/tmp");
    struct Case {
        std::string command;
        QString program;
        QStringList arguments;
    };
    const std::vector<Case> cases = {
        {"notepad", "notepad", {}},
        {"\"{$TEMP}/my tool.sh\" --name \"Ann Lee\" plain",
         "/x/tmp/my tool.sh",
         {"--name", "Ann Lee", "plain"}},
        {"tools\\run.sh -v", "/data/assist/tools/run.sh", {"-v"}},
        {"/usr/bin/env a  b", "/usr/bin/env", {"a", "b"}},
        {"viewer {$DOCS}\\manual.pdf", "viewer", {"/home/ann/Documents/manual.pdf"}},
        // No shell: separators and redirections are plain argument text.
        {"echo hi; rm -rf ~ > out", "echo", {"hi;", "rm", "-rf", "~", ">", "out"}},
        {"say \"\"\"quoted\"\"\"", "say", {"\"quoted\""}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const LaunchPlan plan = PlanLaunch(c.command, kBase, *finder);
        EXPECT_EQ(plan.Error, QString());
        EXPECT_EQ(plan.Launch.Program, c.program);
        EXPECT_EQ(plan.Launch.Arguments, c.arguments);
        EXPECT_EQ(plan.Launch.WorkingFolder, kBase);
        EXPECT_FALSE(plan.OpenAsDocument);
    }
}

TEST(ViewerCommands, ExecuteCommandsWithNothingToRunGiveAnError) {
    auto finder = FixedFinder();
    for (const std::string command : {"", "   ", "{$NOPE}/tool", "tool {$NOPE}/file"}) {
        SCOPED_TRACE(command);
        const LaunchPlan plan = PlanLaunch(command, kBase, *finder);
        EXPECT_FALSE(plan.Error.isEmpty());
        EXPECT_TRUE(plan.Launch.Program.isEmpty());
    }
}

TEST(ViewerCommands, BareNamesInTheAssistantFolderAndDocumentsAreRecognised) {
    QTemporaryDir folder;
    ASSERT_TRUE(folder.isValid());
    QFile document(folder.filePath(QStringLiteral("manual.txt")));
    ASSERT_TRUE(document.open(QIODevice::WriteOnly));
    document.close();
    QFile script(folder.filePath(QStringLiteral("setup.sh")));
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.close();
    ASSERT_TRUE(script.setPermissions(script.permissions() | QFileDevice::ExeOwner));
    auto finder = FixedFinder();

    const LaunchPlan doc = PlanLaunch("manual.txt", folder.path(), *finder);
    EXPECT_EQ(doc.Launch.Program, QFileInfo(document).absoluteFilePath());
    EXPECT_TRUE(doc.OpenAsDocument);

    const LaunchPlan program = PlanLaunch("setup.sh --quiet", folder.path(), *finder);
    EXPECT_EQ(program.Launch.Program, QFileInfo(script).absoluteFilePath());
    EXPECT_FALSE(program.OpenAsDocument);

    // A name not in the folder is left for the system's program search.
    EXPECT_EQ(PlanLaunch("ls -l", folder.path(), *finder).Launch.Program, QStringLiteral("ls"));
}

TEST(ViewerCommands, OnlyWebAndMailAddressesAreAccepted) {
    struct Case {
        std::string command;
        QString url; // empty: refused
    };
    const std::vector<Case> cases = {
        {"http://example.com/a?b=1", "http://example.com/a?b=1"},
        {"https://example.com", "https://example.com"},
        {"  HTTPS://example.com/x  ", "https://example.com/x"},
        {"mailto:ann@example.com", "mailto:ann@example.com"},
        {"mailto:ann@example.com?subject=Hi&Attach=/etc/passwd", "mailto:ann@example.com?subject=Hi"},
        {"www.example.com/help", "http://www.example.com/help"},
        {"javascript:alert(1)", ""},
        {"JavaScript:alert(1)", ""},
        {"file:///etc/passwd", ""},
        {"data:text/html,<script>alert(1)</script>", ""},
        {"ftp://example.com/file", ""},
        {"http://", ""},
        {"mailto:", ""},
        {"example.com", ""},
        {"/etc/passwd", ""},
        {"", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        const WebAddress address = CheckWebAddress(c.command);
        if (c.url.isEmpty()) {
            EXPECT_FALSE(address.Error.isEmpty());
            EXPECT_TRUE(address.Url.isEmpty());
        } else {
            EXPECT_EQ(address.Error, QString());
            EXPECT_EQ(address.Url.toString(), c.url);
        }
    }
}

TEST(ViewerCommands, NotesAndScriptsBecomeReadableText) {
    auto root = NewAssistant("A", "S1");
    TAssistOption& option = AddOption(AddScreen(*root, "S1", "One"), "Read", akNote, "");
    EXPECT_EQ(NotesText(option.Notes), QString());
    TNote& first = *option.Notes.Add();
    first.Name = "Gloves";
    first.Type = "Safety";
    first.Text = "Wear them.\r\nAlways.";
    TNote& second = *option.Notes.Add();
    second.Text = "Untitled note";
    EXPECT_EQ(NotesText(option.Notes),
              QStringLiteral("Gloves (Safety)\nWear them.\nAlways.\n\nUntitled note"));
    EXPECT_EQ(ScriptText("line 1\rline 2\r\rline 4"), QStringLiteral("line 1\nline 2\n\nline 4"));
}
} // namespace
