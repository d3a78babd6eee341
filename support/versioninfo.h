#pragma once
// Version information: the compiled-in version record of this program, and the reduced record
// (name, base name, date) of any other file. The settings key and the About box are built from it.
#include <cstdint>
#include <ctime>
#include <string>

struct TVersionRecord {
    std::string FileName;     // full path of the file
    std::string BaseName;     // file name without folder and extension
    std::string LegalNotice;  // LegalCopyright
    std::time_t FileDate = 0; // modification time of the file; 0 when unknown
    std::string Description;  // FileDescription
    std::string InternalName; // InternalName
    std::string Version;      // "major.minor" or "major.minor.release"
    std::string Build;        // build number in decimal
    std::string Comments;     // Comments
    int SelfRegister = 0;     // OleSelfRegister as a number; 0 when absent
    std::string ProductName;  // ProductName
    std::string ProductVersion;
    // Entries of the string table that the record does not keep in a field of its own.
    std::string CompanyName;
    std::string OriginalFilename;
    std::string FileVersion; // "2.0.0.23"
};

// The four numbers of a fixed file version.
struct TFileVersion {
    std::uint16_t Major = 0, Minor = 0, Release = 0, Build = 0;
};

class TVersionInformation {
public:
    // Version text: major "." minor, then "." release when the release is not 0.
    static std::string VersionText(const TFileVersion& v);
    // Build text: the build number in decimal.
    static std::string BuildText(const TFileVersion& v);

    // The fixed file version of this program and its string table.
    static TFileVersion ProgramFileVersion();
    // The record of this program. `programPath` is the running executable (may be empty when
    // unknown); the string entries and the version come from the compiled-in record.
    static TVersionRecord OfProgram(const std::string& programPath);
    // The record of any other file: file name, base name and date only (no version resource on
    // this platform). A missing file gives an empty record.
    static TVersionRecord OfFile(const std::string& path);
};
