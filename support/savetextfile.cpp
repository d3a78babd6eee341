#include "support/savetextfile.h"

#include "support/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <random>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::function<bool(std::size_t)>& WriteHook() {
    static std::function<bool(std::size_t)> hook;
    return hook;
}

bool& UnnamedAllowed() {
    static bool allowed = true;
    return allowed;
}

[[noreturn]] void Fail(const std::string& fileName, int err) {
    throw AppError("Cannot write file \"" + fileName + "\": " + std::strerror(err) + ".");
}

// Temporary files are named ".NAME." followed by six letters or digits (mkstemp's pattern).
constexpr std::size_t kRandomLength = 6;

bool IsTemporaryName(const std::string& entry, const std::string& prefix) {
    if (entry.size() != prefix.size() + kRandomLength || entry.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < entry.size(); ++i) {
        const char c = entry[i];
        if (!((c >= '0' && c <= '9') || (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z')))
            return false;
    }
    return true;
}

// Whether `path` still names the file open as `fd` (nobody removed or replaced it meanwhile).
bool StillNamed(int fd, const std::string& path) {
    struct stat opened {};
    struct stat named {};
    return ::fstat(fd, &opened) == 0 && ::lstat(path.c_str(), &named) == 0 && opened.st_dev == named.st_dev &&
           opened.st_ino == named.st_ino;
}

// Removes the temporary files of earlier saves of the same target that were killed before they could
// remove them. A save in progress holds its temporary file locked, so only files that no process
// holds go; symbolic links, folders and other names are never touched.
void RemoveLeftovers(const std::filesystem::path& folder, const std::string& prefix) {
    std::error_code ec;
    std::filesystem::directory_iterator it(folder, ec), end;
    for (; !ec && it != end; it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (!IsTemporaryName(name, prefix))
            continue;
        const std::string path = it->path().string();
        const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0 &&
            StillNamed(fd, path))
            ::unlink(path.c_str());
        ::close(fd);
    }
}

// Six random letters and digits for a temporary name.
std::string RandomSuffix() {
    static const char letters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    thread_local std::mt19937 random{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, static_cast<int>(sizeof letters) - 2);
    std::string suffix;
    for (std::size_t i = 0; i < kRandomLength; ++i)
        suffix += letters[pick(random)];
    return suffix;
}

// Closes and removes the temporary file unless it was committed.
struct TempFile {
    std::string path;
    int fd = -1;
    bool committed = false;
    ~TempFile() {
        if (fd >= 0)
            ::close(fd);
        if (!committed && !path.empty())
            ::unlink(path.c_str());
    }
};
// Writes the whole text through one descriptor, retrying short and interrupted writes.
void WriteAll(int fd, const std::string& text, const std::string& fileName) {
    std::size_t written = 0;
    while (written < text.size()) {
        if (WriteHook() && !WriteHook()(written))
            Fail(fileName, ENOSPC);
        const std::size_t chunk = std::min<std::size_t>(text.size() - written, 1 << 20);
        const ssize_t n = ::write(fd, text.data() + written, chunk);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            Fail(fileName, errno);
        }
        written += static_cast<std::size_t>(n);
    }
}

// Creates the named temporary file "<folder>/<prefix>XXXXXX" and locks it, so that no other save takes
// it for a leftover. Returns its descriptor, or -1 with errno set.
int CreateNamedTemporary(const std::filesystem::path& folder, const std::string& prefix, std::string& path) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string pattern = (folder / (prefix + "XXXXXX")).string();
        const int fd = ::mkstemp(pattern.data());
        if (fd < 0)
            return -1;
        // Another save may, in the instant before the lock, have taken the new file for a leftover and
        // removed it: then another name is tried.
        if (::flock(fd, LOCK_EX | LOCK_NB) == 0 && StillNamed(fd, pattern)) {
            path = pattern;
            return fd;
        }
        ::close(fd);
    }
    errno = EEXIST;
    return -1;
}

// Gives the unnamed file `fd` the name "<folder>/<prefix>XXXXXX"; false when the system cannot (no
// /proc and no right to link by descriptor).
bool LinkUnnamed(int fd, const std::filesystem::path& folder, const std::string& prefix, std::string& path) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string name = (folder / (prefix + RandomSuffix())).string();
        if (::linkat(AT_FDCWD, self.c_str(), AT_FDCWD, name.c_str(), AT_SYMLINK_FOLLOW) == 0 ||
            ::linkat(fd, "", AT_FDCWD, name.c_str(), AT_EMPTY_PATH) == 0) {
            path = name;
            return true;
        }
        if (errno != EEXIST)
            return false;
    }
    return false;
}

void WriteToDevice(const std::string& text, const std::string& fileName) {
    const int fd = ::open(fileName.c_str(), O_WRONLY | O_CLOEXEC | O_NOCTTY);
    if (fd < 0)
        Fail(fileName, errno);
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0)
                ::close(fd);
        }
    } closer{fd};
    WriteAll(fd, text, fileName);
    closer.fd = -1;
    if (::close(fd) != 0)
        Fail(fileName, errno);
}
} // namespace

void SetSaveTextWriteHook(std::function<bool(std::size_t)> hook) {
    WriteHook() = std::move(hook);
}

void SetSaveTextUnnamedTemporary(bool allowed) {
    UnnamedAllowed() = allowed;
}

void SaveTextToFile(const std::string& text, const std::string& fileName) {
    namespace fs = std::filesystem;
    std::error_code ec;
    fs::path target(fileName);
    mode_t mode = 0666;
    struct stat st {};
    // stat follows symbolic links, including the system's own (/dev/stdout and the like).
    const bool exists = ::stat(fileName.c_str(), &st) == 0;
    if (exists) {
        if (S_ISDIR(st.st_mode))
            Fail(fileName, EISDIR);
        // A pipe or device (a named pipe, /dev/null, a terminal) is a destination, not a file to
        // replace: renaming over it would swap the device node for a plain file.
        if (!S_ISREG(st.st_mode)) {
            WriteToDevice(text, fileName);
            return;
        }
        // Renaming over the file needs write permission on its folder only; a file that nobody may write
        // to is refused as opening it for writing would be. Its mode bits decide, not access(), which
        // allows root to write to any file.
        if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0)
            Fail(fileName, EACCES);
        mode = st.st_mode & 07777;
        // Replace the file a symbolic link points to, not the link.
        if (fs::is_symlink(target, ec)) {
            const fs::path resolved = fs::canonical(target, ec);
            if (!ec)
                target = resolved;
        }
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode &= ~mask;
        // A link to a file that is not there yet: the file is created where the link points, so the
        // chain of links is followed one link at a time, each relative one from its own folder.
        for (int hops = 0; fs::is_symlink(target, ec); ++hops) {
            if (hops == 40)
                Fail(fileName, ELOOP);
            const fs::path next = fs::read_symlink(target, ec);
            if (ec)
                Fail(fileName, ec.value());
            target = next.is_absolute() ? next : target.parent_path() / next;
        }
    }
    const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");

    const std::string prefix = "." + target.filename().string() + ".";
    RemoveLeftovers(folder, prefix);

    TempFile tmp;
    bool written = false;
    if (UnnamedAllowed()) {
        // The text goes to an unnamed file first: a crash while writing leaves nothing in the folder.
        tmp.fd = ::open(folder.c_str(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
        if (tmp.fd >= 0) {
            WriteAll(tmp.fd, text, fileName);
            if (::fchmod(tmp.fd, mode) != 0 || ::fsync(tmp.fd) != 0 || ::flock(tmp.fd, LOCK_EX) != 0)
                Fail(fileName, errno);
            written = LinkUnnamed(tmp.fd, folder, prefix, tmp.path);
            if (!written) {
                ::close(tmp.fd);
                tmp.fd = -1;
            }
        }
        // Without unnamed files on this file system (or a way to name one), the named way below.
    }
    if (!written) {
        tmp.fd = CreateNamedTemporary(folder, prefix, tmp.path);
        if (tmp.fd < 0)
            Fail(fileName, errno);
        WriteAll(tmp.fd, text, fileName);
        if (::fchmod(tmp.fd, mode) != 0 || ::fsync(tmp.fd) != 0)
            Fail(fileName, errno);
    }
    if (::rename(tmp.path.c_str(), target.c_str()) != 0)
        Fail(fileName, errno);
    tmp.committed = true;
    // Closing releases the lock; the file now has the target's name.
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0)
        Fail(fileName, errno);
    // Make the rename itself durable.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
