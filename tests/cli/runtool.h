#pragma once
// Runs the amftool binary as a separate process, the way a script or CI job would: given arguments,
// standard input from a text, standard output and standard error captured, exit status returned.
//
// Every run gets a private, empty configuration folder (HOME and XDG_CONFIG_HOME point into a fresh
// temporary folder) unless the test passes its own, so the settings of whoever runs the tests never
// leak into the results.
#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

extern char** environ;

namespace clitest {
namespace fs = std::filesystem;

struct ToolResult {
    int Status = -1; // exit status; -1 when the process did not exit normally
    std::string Out;
    std::string Err;
};

inline std::string ReadFile(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void WriteFile(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    out << text;
}

inline std::string DataFile(const std::string& name) {
    return std::string(AMF_TEST_DATA) + "/" + name;
}

// A temporary folder removed with the object.
class TempDir {
public:
    TempDir() {
        std::string pattern = (fs::temp_directory_path() / "amftool-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr)
            throw std::runtime_error("mkdtemp failed");
        m_path = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        fs::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;
    const fs::path& Path() const { return m_path; }
    fs::path operator/(const std::string& name) const { return m_path / name; }

private:
    fs::path m_path;
};

// Where the child's standard input comes from and its standard output goes, when a test needs
// something other than a text and a captured file (a folder as input, a full device as output).
struct Redirections {
    std::string Input;  // path opened as standard input instead of the input text
    std::string Output; // path opened as standard output; Out is then left empty
};

// Runs amftool with `args`. `env` entries replace or add environment variables of the child; by
// default HOME and XDG_CONFIG_HOME point into a private empty folder.
inline ToolResult RunToolRedirected(const std::vector<std::string>& args, const std::string& input,
                                    const Redirections& redirect, std::map<std::string, std::string> env) {
    TempDir work;
    const fs::path inFile = redirect.Input.empty() ? work / "stdin" : fs::path(redirect.Input);
    const fs::path outFile = redirect.Output.empty() ? work / "stdout" : fs::path(redirect.Output);
    const fs::path errFile = work / "stderr";
    if (redirect.Input.empty())
        WriteFile(inFile, input);
    if (!env.count("HOME"))
        env["HOME"] = (work / "home").string();
    if (!env.count("XDG_CONFIG_HOME"))
        env["XDG_CONFIG_HOME"] = (work / "home" / ".config").string();

    std::vector<std::string> envText;
    for (char** e = environ; *e != nullptr; ++e) {
        const std::string entry = *e;
        if (!env.count(entry.substr(0, entry.find('='))))
            envText.push_back(entry);
    }
    for (const auto& [name, value] : env)
        envText.push_back(name + "=" + value);
    std::vector<char*> envp;
    for (std::string& entry : envText)
        envp.push_back(entry.data());
    envp.push_back(nullptr);

    std::vector<std::string> argText{AMFTOOL_PATH};
    argText.insert(argText.end(), args.begin(), args.end());
    std::vector<char*> argv;
    for (std::string& arg : argText)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, inFile.c_str(), O_RDONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 1, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    posix_spawn_file_actions_addopen(&actions, 2, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    pid_t pid = 0;
    const int spawnError = posix_spawn(&pid, argv[0], &actions, nullptr, argv.data(), envp.data());
    posix_spawn_file_actions_destroy(&actions);
    ToolResult result;
    if (spawnError != 0) {
        ADD_FAILURE() << "cannot start " << AMFTOOL_PATH << ": " << spawnError;
        return result;
    }
    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    if (redirect.Output.empty())
        result.Out = ReadFile(outFile);
    result.Err = ReadFile(errFile);
    return result;
}

inline ToolResult RunTool(const std::vector<std::string>& args, const std::string& input = {},
                          std::map<std::string, std::string> env = {}) {
    return RunToolRedirected(args, input, {}, std::move(env));
}
// One run of the tool in a table of cases: its arguments and standard input, and the exit status and
// exact output expected.
struct OutputCase {
    std::string Name;
    std::vector<std::string> Args;
    std::string Input; // standard input
    int Status;
    std::string Out;
    std::string Err;
};

inline void ExpectRun(const OutputCase& c) {
    SCOPED_TRACE(c.Name);
    const ToolResult r = RunTool(c.Args, c.Input);
    EXPECT_EQ(r.Status, c.Status);
    EXPECT_EQ(r.Out, c.Out);
    EXPECT_EQ(r.Err, c.Err);
}
} // namespace clitest
