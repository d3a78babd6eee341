#include "support/savetextfile.h"

#include "support/error.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>

namespace {
std::function<bool(std::size_t)>& WriteHook() {
    static std::function<bool(std::size_t)> hook;
    return hook;
}

[[noreturn]] void Fail(const std::string& fileName, int err) {
    throw AppError("Cannot write file \"" + fileName + "\": " + std::strerror(err) + ".");
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

    TempFile tmp;
    std::string pattern = (folder / ("." + target.filename().string() + ".XXXXXX")).string();
    tmp.fd = ::mkstemp(pattern.data());
    if (tmp.fd < 0)
        Fail(fileName, errno);
    tmp.path = pattern;

    WriteAll(tmp.fd, text, fileName);
    if (::fchmod(tmp.fd, mode) != 0 || ::fsync(tmp.fd) != 0)
        Fail(fileName, errno);
    const int fd = tmp.fd;
    tmp.fd = -1;
    if (::close(fd) != 0)
        Fail(fileName, errno);
    if (::rename(tmp.path.c_str(), target.c_str()) != 0)
        Fail(fileName, errno);
    tmp.committed = true;
    // Make the rename itself durable.
    const int dirFd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY);
    if (dirFd >= 0) {
        ::fsync(dirFd);
        ::close(dirFd);
    }
}
