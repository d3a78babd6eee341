#include "components/filefinder.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <pwd.h>
#include <system_error>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {
constexpr const char* kProgramDataFolder = "assistant-editor";

std::string ProcessEnvironment(const std::string& name) {
    const char* value = std::getenv(name.c_str());
    if (value && *value)
        return value;
    if (name == "HOME") {
        // A process started without HOME still has a home folder in the password database.
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found && found->pw_dir)
            return found->pw_dir;
    }
    return {};
}

std::string Upper(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(),
                   [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
    return s;
}

bool IsExistingFile(const fs::path& p) {
    std::error_code ec;
    return fs::is_regular_file(p, ec);
}

std::string Normalised(const fs::path& p) {
    std::error_code ec;
    fs::path absolute = fs::absolute(p, ec);
    if (ec)
        absolute = p;
    return absolute.lexically_normal().string();
}
} // namespace

FileFinder::FileFinder() : FileFinder(Setup{}) {}

FileFinder::FileFinder(Setup setup) : m_setup(std::move(setup)) {
    if (m_setup.ProgramFolder.empty())
        m_setup.ProgramFolder = RunningProgramFolder();
    if (!m_setup.Env)
        m_setup.Env = ProcessEnvironment;
}

std::string FileFinder::RunningProgramFolder() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    if (ec)
        return {};
    return exe.parent_path().string();
}

std::string FileFinder::Env(const std::string& name) const {
    return m_setup.Env(name);
}

std::string FileFinder::Home() const {
    return Env("HOME");
}

std::optional<std::string> FileFinder::CodeFolder(const std::string& code) const {
    const std::string key = Upper(code);
    std::string folder;
    if (key == "EXE") {
        folder = m_setup.ProgramFolder;
    } else if (key == "HOME") {
        folder = Home();
    } else if (key == "DATA") {
        std::string base = Env("XDG_DATA_HOME");
        // Relative values are invalid by the XDG rules and are ignored.
        if (base.empty() || base.front() != '/')
            base = Home().empty() ? std::string() : (fs::path(Home()) / ".local" / "share").string();
        if (!base.empty())
            folder = (fs::path(base) / kProgramDataFolder).string();
    } else if (key == "DOCS") {
        folder = Env("XDG_DOCUMENTS_DIR");
        // user-dirs.dirs writes the folder as "$HOME/..."
        if (folder.rfind("$HOME", 0) == 0 && !Home().empty())
            folder = Home() + folder.substr(5);
        if (folder.empty() && !Home().empty())
            folder = (fs::path(Home()) / "Documents").string();
    } else if (key == "TEMP") {
        folder = Env("TMPDIR");
        if (folder.empty())
            folder = "/tmp";
    } else {
        return std::nullopt;
    }
    if (folder.empty())
        return std::nullopt;
    return folder;
}

std::optional<std::string> FileFinder::ExpandCodes(const std::string& name) const {
    if (name.rfind("{$", 0) != 0)
        return name;
    const auto close = name.find('}');
    if (close == std::string::npos)
        return std::nullopt;
    const auto folder = CodeFolder(name.substr(2, close - 2));
    if (!folder)
        return std::nullopt;
    std::string rest = name.substr(close + 1);
    std::replace(rest.begin(), rest.end(), '\\', '/');
    const auto start = rest.find_first_not_of('/');
    rest = start == std::string::npos ? std::string() : rest.substr(start);
    if (rest.empty())
        return *folder;
    return (fs::path(*folder) / rest).string();
}

ComponentStatus FileFinder::LocateFile(const std::string& name, int flags, std::string& path) {
    path.clear();
    if (name.empty())
        return ComponentStatus::Success();
    if (name.rfind("{$", 0) == 0) {
        const auto expanded = ExpandCodes(name);
        if (expanded && IsExistingFile(*expanded))
            path = Normalised(*expanded);
        return ComponentStatus::Success();
    }
    const fs::path given(name);
    if (given.is_absolute()) {
        if (IsExistingFile(given))
            path = Normalised(given);
        return ComponentStatus::Success();
    }
    std::vector<fs::path> folders;
    if (flags & kFindInCurrentFolder) {
        std::error_code ec;
        folders.push_back(m_setup.CurrentFolder.empty() ? fs::current_path(ec)
                                                        : fs::path(m_setup.CurrentFolder));
    }
    if ((flags & kFindInProgramFolder) && !m_setup.ProgramFolder.empty())
        folders.emplace_back(m_setup.ProgramFolder);
    for (const auto& folder : folders) {
        if (!folder.empty() && IsExistingFile(folder / given)) {
            path = Normalised(folder / given);
            break;
        }
    }
    return ComponentStatus::Success();
}
