#include "editor/backupfiles.h"

#include "support/error.h"

#include <filesystem>
#include <system_error>

namespace fs = std::filesystem;

std::string BackupName(const std::string& fileName, int generation) {
    return generation <= 1 ? fileName + "~" : fileName + "~" + std::to_string(generation);
}

void KeepBackups(const std::string& fileName, int keep) {
    std::error_code error;
    if (keep <= 0 || !fs::is_regular_file(fileName, error))
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
