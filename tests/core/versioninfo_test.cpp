#include "support/versioninfo.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

TEST(VersionInformation, VersionTextDropsZeroRelease) {
    struct Case {
        TFileVersion v;
        const char* version;
        const char* build;
    };
    const Case cases[] = {
        {{3, 1, 0, 7}, "3.1", "7"},
        {{3, 1, 2, 7}, "3.1.2", "7"},
        {{2, 0, 0, 23}, "2.0", "23"},
        {{0, 0, 0, 0}, "0.0", "0"},
        {{65535, 65535, 65535, 65535}, "65535.65535.65535", "65535"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TVersionInformation::VersionText(c.v), c.version);
        EXPECT_EQ(TVersionInformation::BuildText(c.v), c.build);
    }
}

TEST(VersionInformation, ProgramRecordCarriesTheCompiledInEntries) {
    const TVersionRecord r = TVersionInformation::OfProgram("");
    EXPECT_EQ(r.Description, "Assistant Editor");
    EXPECT_EQ(r.InternalName, "Pathova");
    EXPECT_EQ(r.FileVersion, "2.0.0.23");
    EXPECT_EQ(r.Version, "2.0");
    EXPECT_EQ(r.Build, "23");
    EXPECT_FALSE(r.ProductName.empty());
    EXPECT_FALSE(r.ProductVersion.empty());
    EXPECT_TRUE(r.FileName.empty());
}

TEST(VersionInformation, OtherFileGivesNameBaseAndDateOnly) {
    const auto dir = std::filesystem::temp_directory_path() / "amf-versioninfo-test";
    std::filesystem::create_directories(dir);
    const auto file = dir / "sample.tool.amf";
    std::ofstream(file) << "x";
    const TVersionRecord r = TVersionInformation::OfFile(file.string());
    EXPECT_EQ(r.FileName, file.string());
    EXPECT_EQ(r.BaseName, "sample.tool");
    EXPECT_NE(r.FileDate, 0);
    EXPECT_TRUE(r.Description.empty());
    EXPECT_TRUE(r.Version.empty());
    EXPECT_TRUE(r.ProductName.empty());
    std::filesystem::remove_all(dir);

    const TVersionRecord missing = TVersionInformation::OfFile((dir / "none").string());
    EXPECT_TRUE(missing.FileName.empty());
    EXPECT_EQ(missing.FileDate, 0);
}
