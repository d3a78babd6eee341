// Settings store: key path and store files, reading with the machine-wide fallback, writing and
// deleting, value types written by other tools, error messages and the open-key state.
#include "support/error.h"
#include "support/qt/regwrap.h"
#include "support/textroutines.h"
#include "support/versioninfo.h"
#include "tempsettings.h"

#include <QByteArray>
#include <QPoint>
#include <QSettings>
#include <gtest/gtest.h>

namespace {

TEST(SettingsKeyTest, KeyPathIsBuiltFromTheVersionRecord) {
    EXPECT_EQ(ProgramSettingsKeyPath(), "Software\\Veltrane\\Assistant Tools\\2.0\\Pathova");
    TVersionRecord other;
    other.ProductName = "Family";
    other.ProductVersion = "3.1";
    other.InternalName = "Tool";
    EXPECT_EQ(SettingsKeyPath(other), "Software\\Veltrane\\Family\\3.1\\Tool");
}

TEST(SettingsKeyTest, NativeFilesFollowTheKeyPathBelowSoftware) {
    const std::string key = ProgramSettingsKeyPath();
    const QString user = NativeUserSettingsFile(key);
    const QString system = NativeSystemSettingsFile(key);
    EXPECT_TRUE(user.endsWith("/Veltrane/Assistant Tools/2.0/Pathova.ini")) << user.toStdString();
    EXPECT_TRUE(system.endsWith("/Veltrane/Assistant Tools/2.0/Pathova.ini")) << system.toStdString();
    EXPECT_NE(user, system);
    // The test runner points the per-user configuration folder at a temporary one.
    const QString configHome = qEnvironmentVariable("XDG_CONFIG_HOME");
    ASSERT_FALSE(configHome.isEmpty());
    EXPECT_EQ(user, configHome + "/Veltrane/Assistant Tools/2.0/Pathova.ini");

    const auto program = TRegWrap::ForProgram();
    EXPECT_EQ(program->BasePath(), key);
    EXPECT_EQ(program->UserFile(), user);
    EXPECT_EQ(program->SystemFile(), system);
    EXPECT_EQ(program->Root(), TRegRoot::CurrentUser);
    EXPECT_EQ(program->OpenState(), 0);
}

TEST(SettingsValueTextTest, TypesConvertAsStoredByOtherTools) {
    struct Case {
        const char* label;
        QVariant value;
        std::string expected;
    };
    const std::vector<Case> cases = {
        {"string", QVariant(QString("C:\\a b\\x.amf")), "C:\\a b\\x.amf"},
        {"non-ASCII string", QVariant(QString::fromUtf8("Jürgen Ökonom")), "Jürgen Ökonom"},
        {"empty string", QVariant(QString()), ""},
        {"int", QVariant(42), "42"},
        {"negative int", QVariant(-7), "-7"},
        {"unsigned int", QVariant(4294967295u), "4294967295"},
        {"bytes", QVariant(QByteArray("\x0A\xFF", 2)), "0AFF"},
        {"bytes with zero", QVariant(QByteArray("\x00\x01\xab", 3)), "0001AB"},
        {"no bytes", QVariant(QByteArray()), ""},
        {"list of texts", QVariant(QStringList{"a.amf", "b.amf"}), "a.amf,b.amf"},
        {"list with items that need quotes", QVariant(QStringList{"x (1).amf", "it's.amf", " y"}),
         "\"x (1).amf\",\"it's.amf\",\" y\""},
        {"point", QVariant(QPoint(1, 2)), ""},
        {"double", QVariant(1.5), ""},
        {"invalid", QVariant(), ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.label);
        EXPECT_EQ(SettingsValueToText(c.value), c.expected);
    }
}

class RegWrapTest : public ::testing::Test {
protected:
    TempSettings store;
};

TEST_F(RegWrapTest, WrittenValuesComeBackInAnotherWrapper) {
    const std::vector<std::pair<std::string, std::string>> values = {
        {"UserID", "{6F9619FF-8B86-D011-B42D-00C04FC964FF} Anna Berg"},
        {"Files", "a.amf,\"b,c.amf\",\"it's.amf\",'say \"hi\".amf'"},
        {"Window.MainWindow", "-8,-8,1296,1010,96,Max"},
        {"Odd", " leading and trailing ; = # [x] "},
        {"Unicode", "C:/Übersicht/файл.amf"},
    };
    {
        auto reg = store.Make();
        for (const auto& [name, value] : values)
            reg->WriteValue(name, value);
    }
    auto reg = store.Make();
    for (const auto& [name, value] : values) {
        SCOPED_TRACE(name);
        EXPECT_EQ(reg->ReadValue(name, "default"), value);
    }
    EXPECT_TRUE(QFileInfo::exists(store.userFile));
    EXPECT_FALSE(QFileInfo::exists(store.systemFile)) << "writes never go to the machine-wide store";
}

TEST_F(RegWrapTest, AbsentValuesGiveTheDefaultWithoutError) {
    auto reg = store.Make();
    EXPECT_EQ(reg->ReadValue("Files", "none"), "none") << "no store files at all";
    EXPECT_EQ(reg->ReadValue("Files"), "");
    store.WriteRaw(store.userFile, "[General]\nUserID=u\n");
    store.WriteRaw(store.systemFile, "[General]\nUserID=s\n");
    EXPECT_EQ(reg->ReadValue("Files", "none"), "none") << "stores exist, value does not";
    EXPECT_EQ(reg->ReadValue("Missing\\Files", "none"), "none") << "sub-key does not exist";
}

TEST_F(RegWrapTest, ValueOnlyInTheMachineWideStoreIsFound) {
    store.WriteRaw(store.systemFile, "[General]\nFiles=x.amf\n\n[Sub]\nInner=deep\n");
    struct Case {
        const char* label;
        bool userFileExists;
    };
    for (const Case c : {Case{"no per-user store", false}, Case{"per-user store without the value", true}}) {
        SCOPED_TRACE(c.label);
        if (c.userFileExists)
            store.WriteRaw(store.userFile, "[General]\nUserID=u\n");
        auto reg = store.Make();
        EXPECT_EQ(reg->ReadValue("Files", "default"), "x.amf");
        EXPECT_EQ(reg->Root(), TRegRoot::CurrentUser) << "root switches back after the fallback";
        EXPECT_FALSE(reg->IsKeyOpen());
        EXPECT_EQ(reg->ReadValue("Sub\\Inner"), "deep");
        EXPECT_EQ(reg->Root(), TRegRoot::CurrentUser);
        // The next read goes to the per-user store first again.
        if (c.userFileExists) {
            EXPECT_EQ(reg->ReadValue("UserID"), "u");
        }
    }
}

TEST_F(RegWrapTest, PerUserValueWinsEvenWhenEmpty) {
    store.WriteRaw(store.systemFile, "[General]\nFiles=machine.amf\nUserID=machine\n");
    store.WriteRaw(store.userFile, "[General]\nFiles=\nUserID=mine\n");
    auto reg = store.Make();
    EXPECT_EQ(reg->ReadValue("Files", "default"), "");
    EXPECT_EQ(reg->ReadValue("UserID", "default"), "mine");
    EXPECT_TRUE(reg->IsKeyOpen()) << "a per-user read leaves the key open";
    EXPECT_EQ(reg->OpenState(), 1);
}

TEST_F(RegWrapTest, EmptyValueDeletesInsteadOfStoringAnEmptyText) {
    store.WriteRaw(store.systemFile, "[General]\nFiles=machine.amf\n");
    auto reg = store.Make();
    reg->WriteValue("Files", "a.amf,b.amf");
    reg->WriteValue("UserID", "someone");
    ASSERT_NE(TempSettings::ReadRaw(store.userFile).find("Files="), std::string::npos);
    reg->WriteValue("Files", "");
    const std::string onDisk = TempSettings::ReadRaw(store.userFile);
    EXPECT_EQ(onDisk.find("Files"), std::string::npos) << onDisk;
    EXPECT_NE(onDisk.find("UserID=someone"), std::string::npos) << onDisk;
    // With the per-user value gone the machine-wide one shows again.
    EXPECT_EQ(store.Make()->ReadValue("Files", "default"), "machine.amf");
    // Deleting a value that is not there is no error.
    EXPECT_NO_THROW(reg->WriteValue("Never", ""));
}

TEST_F(RegWrapTest, NumbersAndBytesFromOtherToolsReadAsText) {
    // Another tool writes typed values through QSettings into both stores.
    for (const QString& file : {store.userFile, store.systemFile}) {
        QDir().mkpath(QFileInfo(file).absolutePath());
        QSettings other(file, QSettings::IniFormat);
        other.setValue(file == store.userFile ? "Number" : "MachineNumber", 42);
        other.setValue(file == store.userFile ? "Bytes" : "MachineBytes", QByteArray("\x0A\xFF", 2));
        other.setValue(file == store.userFile ? "Point" : "MachinePoint", QPoint(3, 4));
        other.sync();
        ASSERT_EQ(other.status(), QSettings::NoError);
    }
    auto reg = store.Make();
    struct Case {
        const char* name;
        std::string expected;
    };
    for (const Case& c :
         {Case{"Number", "42"}, Case{"Bytes", "0AFF"}, Case{"Point", ""}, Case{"MachineNumber", "42"},
          Case{"MachineBytes", "0AFF"}, Case{"MachinePoint", ""}}) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(reg->ReadValue(c.name, "default"), c.expected);
    }
}

TEST_F(RegWrapTest, HandWrittenCommaListReadsAsTheTextItIs) {
    // QSettings takes an unquoted value with commas for a list; read as text, it gives the same items.
    struct Case {
        const char* line;
        std::vector<std::string> items;
    };
    const Case cases[] = {
        {"Files=a.amf,b.amf", {"a.amf", "b.amf"}},
        {"Files=/home/ann/a.amf, /home/ann/Report (old).amf",
         {"/home/ann/a.amf", "/home/ann/Report (old).amf"}},
        // INI quotes make one text of the value, which is the comma list itself.
        {"Files=\"a,b.amf\"", {"a", "b.amf"}},
        // As the program writes a name with a comma: the list's own quotes inside the INI quotes.
        {"Files=\"\\\"a,b.amf\\\",c.amf\"", {"a,b.amf", "c.amf"}},
        {"Files=one.amf", {"one.amf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.line);
        store.WriteRaw(store.userFile, std::string("[General]\n") + c.line + "\n");
        std::string text = store.Make()->ReadValue("Files", "absent");
        std::vector<std::string> items;
        while (!text.empty())
            items.push_back(NextListItem(text));
        EXPECT_EQ(items, c.items);
    }
}

TEST_F(RegWrapTest, SubKeyNamesMapToGroups) {
    auto reg = store.Make();
    reg->WriteValue("Sub\\Deeper\\Value", "inner");
    reg->WriteValue("Plain", "top");
    EXPECT_EQ(reg->OpenKeyPath(), std::string(TempSettings::KeyPath));
    reg->CloseKey();

    QSettings check(store.userFile, QSettings::IniFormat);
    EXPECT_EQ(check.value("Sub/Deeper/Value").toString(), "inner");
    EXPECT_EQ(check.value("Plain").toString(), "top");

    EXPECT_EQ(reg->ReadValue("Sub\\Deeper\\Value"), "inner");
    EXPECT_EQ(reg->OpenKeyPath(), std::string(TempSettings::KeyPath) + "\\Sub\\Deeper");
    EXPECT_EQ(reg->ReadValue("Sub\\Value", "none"), "none");
    EXPECT_EQ(reg->ReadValue("Value", "none"), "none") << "a sub-key value is not a base-key value";
}

TEST_F(RegWrapTest, NamesMatchWithoutRegardToCase) {
    store.WriteRaw(store.userFile, "[General]\nuserid=lower\n\n[sub]\nvalue=v\n");
    auto reg = store.Make();
    EXPECT_EQ(reg->ReadValue("UserID"), "lower");
    EXPECT_EQ(reg->ReadValue("SUB\\Value"), "v");
    reg->WriteValue("UserID", "replaced");
    reg->CloseKey();
    const std::string onDisk = TempSettings::ReadRaw(store.userFile);
    EXPECT_EQ(onDisk.find("userid="), std::string::npos) << "no twin value in another case: " << onDisk;
    EXPECT_EQ(reg->ReadValue("userID"), "replaced");
}

TEST_F(RegWrapTest, FailuresCarryTheValueName) {
    // A per-user store that cannot be created: its folder would have to be inside a plain file.
    TempSettings::WriteRaw(store.dir.filePath("blocker"), "not a folder");
    TRegWrap unwritable(TRegRoot::CurrentUser, TempSettings::KeyPath,
                        store.dir.filePath("blocker/Pathova.ini"), store.systemFile);
    try {
        unwritable.WriteValue("Files", "a.amf");
        ADD_FAILURE() << "write to an unwritable store did not fail";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Files'");
    }
    try {
        unwritable.WriteValue("Sub\\Window.TNoteForm", "");
        ADD_FAILURE() << "delete in an unwritable store did not fail";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Failed to set data for 'Sub\\Window.TNoteForm'");
    }

    // A per-user store that exists but cannot be read (here: a folder where the file should be).
    QDir().mkpath(store.userFile);
    auto unreadable = store.Make();
    try {
        unreadable->ReadValue("UserID", "default");
        ADD_FAILURE() << "read of an unreadable store did not fail";
    } catch (const AppError& e) {
        EXPECT_STREQ(e.what(), "Failed to get data for 'UserID'");
    }
    EXPECT_EQ(unreadable->Root(), TRegRoot::CurrentUser);
}

TEST_F(RegWrapTest, UnreadableMachineWideStoreCountsAsAbsent) {
    QDir().mkpath(store.systemFile);
    auto reg = store.Make();
    EXPECT_EQ(reg->ReadValue("Files", "default"), "default");
    EXPECT_EQ(reg->Root(), TRegRoot::CurrentUser);
}

TEST_F(RegWrapTest, MachineRootReadsTheFallbackOnly) {
    store.WriteRaw(store.userFile, "[General]\nFiles=user.amf\n");
    store.WriteRaw(store.systemFile, "[General]\nFiles=machine.amf\nOnly=m\n");
    auto reg = store.Make(TRegRoot::LocalMachine);
    EXPECT_EQ(reg->ReadValue("Files"), "machine.amf");
    EXPECT_EQ(reg->ReadValue("UserOnly", "default"), "default");
    EXPECT_EQ(reg->Root(), TRegRoot::LocalMachine);
}

TEST_F(RegWrapTest, OpenStateFollowsReadsWritesAndClose) {
    store.WriteRaw(store.userFile, "[General]\nUserID=u\n\n[Sub]\nX=1\n");
    auto reg = store.Make();
    const std::string base = TempSettings::KeyPath;
    EXPECT_EQ(reg->OpenState(), 0);
    EXPECT_FALSE(reg->IsKeyOpen());

    struct Step {
        const char* label;
        std::function<void()> action;
        int state;
        bool open;
        std::string path;
    };
    const std::vector<Step> steps = {
        {"read opens for reading", [&] { reg->ReadValue("UserID"); }, 1, true, base},
        {"write reopens for writing", [&] { reg->WriteValue("Files", "a.amf"); }, 2, true, base},
        {"second write reuses the key", [&] { reg->WriteValue("UserID", "v"); }, 2, true, base},
        {"read of another sub-key moves", [&] { reg->ReadValue("Sub\\X"); }, 1, true, base + "\\Sub"},
        {"close", [&] { reg->CloseKey(); }, 0, false, ""},
        {"read path of a missing key", [&] { reg->OpenPath("Nowhere", 1); }, 1, false, ""},
        {"write creates the key", [&] { reg->OpenPath("Nowhere\\", 2); }, 2, true, base + "\\Nowhere"},
        {"mode 0 closes", [&] { reg->OpenPath("Nowhere", 0); }, 0, false, ""},
    };
    for (const Step& step : steps) {
        SCOPED_TRACE(step.label);
        step.action();
        EXPECT_EQ(reg->OpenState(), step.state);
        EXPECT_EQ(reg->IsKeyOpen(), step.open);
        EXPECT_EQ(reg->OpenKeyPath(), step.path);
    }
}

} // namespace
