#include "editor/backupfiles.h"

#include "support/error.h"

#include <algorithm>
#include <cstdint>
#include <filesystem>
#include <fstream>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {
// Whether the two files hold the same bytes. A file that cannot be read counts as different, so
// that the backups are made as usual.
bool SameContent(const std::string& first, const std::string& second) {
    std::error_code error;
    const std::uintmax_t size = fs::file_size(first, error);
    if (error || fs::file_size(second, error) != size || error)
        return false;
    std::ifstream a(first, std::ios::binary);
    std::ifstream b(second, std::ios::binary);
    if (!a || !b)
        return false;
    std::vector<char> blockA(1 << 16);
    std::vector<char> blockB(blockA.size());
    for (;;) {
        a.read(blockA.data(), static_cast<std::streamsize>(blockA.size()));
        b.read(blockB.data(), static_cast<std::streamsize>(blockB.size()));
        const std::streamsize read = a.gcount();
        if (a.bad() || b.bad() || read != b.gcount() ||
            !std::equal(blockA.begin(), blockA.begin() + read, blockB.begin()))
            return false;
        if (a.eof() || b.eof())
            return a.eof() && b.eof();
    }
}
} // namespace

std::string BackupName(const std::string& fileName, int generation) {
    return generation <= 1 ? fileName + "~" : fileName + "~" + std::to_string(generation);
}

void KeepBackups(const std::string& fileName, int keep) {
    std::error_code error;
    if (keep <= 0 || !fs::is_regular_file(fileName, error))
        return;
    // The newest backup already holds this version, for instance after a save that failed: another
    // copy of it would only push an older, different version out.
    if (SameContent(fileName, BackupName(fileName, 1)))
        return;
    const auto fail = [&](const std::string& name) {
        throw AppError("Cannot keep a backup of " + fileName + " as " + name + ": " + error.message());
    };
    fs::remove(BackupName(fileName, keep), error);
    if (error)
        fail(BackupName(fileName, keep));
    for (int generation = keep - 1; generation >= 1; --generation) {
        const std::string from = BackupName(fileName, generation);
        if (!fs::exists(from, error))
            continue;
        fs::rename(from, BackupName(fileName, generation + 1), error);
        if (error)
            fail(BackupName(fileName, generation + 1));
    }
    fs::copy_file(fileName, BackupName(fileName, 1), fs::copy_options::overwrite_existing, error);
    if (error)
        fail(BackupName(fileName, 1));
}
