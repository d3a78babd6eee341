#include "support/versioninfo.h"

#include <filesystem>
#include <system_error>

namespace {
// The program's version resource, compiled in.
constexpr TFileVersion kProgramVersion{2, 0, 0, 23};
constexpr const char* kFileDescription = "Assistant Editor";
constexpr const char* kFileVersion = "2.0.0.23";
constexpr const char* kInternalName = "Pathova";
constexpr const char* kOriginalFilename = "Pathova";
constexpr const char* kProductName = "Assistant Tools";
constexpr const char* kProductVersion = "2.0";
constexpr const char* kCompanyName = "Veltrane";
constexpr const char* kLegalCopyright = "Copyright (C) 2026 Veltrane. All rights reserved.";

std::time_t FileTimeToTimeT(std::filesystem::file_time_type t) {
    const auto sys = std::chrono::file_clock::to_sys(t);
    return std::chrono::system_clock::to_time_t(
        std::chrono::time_point_cast<std::chrono::system_clock::duration>(sys));
}
} // namespace

std::string TVersionInformation::VersionText(const TFileVersion& v) {
    std::string text = std::to_string(v.Major) + "." + std::to_string(v.Minor);
    if (v.Release != 0)
        text += "." + std::to_string(v.Release);
    return text;
}

std::string TVersionInformation::BuildText(const TFileVersion& v) {
    return std::to_string(v.Build);
}

TFileVersion TVersionInformation::ProgramFileVersion() {
    return kProgramVersion;
}

TVersionRecord TVersionInformation::OfFile(const std::string& path) {
    TVersionRecord record;
    std::error_code ec;
    const std::filesystem::path p(path);
    if (path.empty() || !std::filesystem::exists(p, ec))
        return record;
    record.FileName = std::filesystem::absolute(p, ec).string();
    if (ec)
        record.FileName = path;
    record.BaseName = p.stem().string();
    const auto t = std::filesystem::last_write_time(p, ec);
    if (!ec)
        record.FileDate = FileTimeToTimeT(t);
    return record;
}

TVersionRecord TVersionInformation::OfProgram(const std::string& programPath) {
    TVersionRecord record = OfFile(programPath);
    record.LegalNotice = kLegalCopyright;
    record.Description = kFileDescription;
    record.InternalName = kInternalName;
    record.Version = VersionText(kProgramVersion);
    record.Build = BuildText(kProgramVersion);
    record.ProductName = kProductName;
    record.ProductVersion = kProductVersion;
    record.CompanyName = kCompanyName;
    record.OriginalFilename = kOriginalFilename;
    record.FileVersion = kFileVersion;
    return record;
}
