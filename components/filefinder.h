#pragma once
// The file finder: resolves a name as typed by the user to the absolute path of an existing file.
// A name may start with a folder code, matched without regard to case:
//   {$EXE}   the folder of the running program
//   {$HOME}  the user's home folder
//   {$DATA}  the user's data folder for this program: $XDG_DATA_HOME (or ~/.local/share)/assistant-editor
//   {$DOCS}  the user's documents: $XDG_DOCUMENTS_DIR, or ~/Documents
//   {$TEMP}  $TMPDIR, or /tmp
// The code may be followed by a path separator or directly by the rest of the name. Assistants are
// often written on Windows, so backslashes after a code are read as separators.
#include <functional>
#include <optional>
#include <string>

#include "support/components.h"

class FileFinder final : public IFindFile {
public:
    // Reads an environment variable; an unset variable gives an empty text.
    using Environment = std::function<std::string(const std::string& name)>;

    struct Setup {
        std::string ProgramFolder; // empty: the folder of the running program
        std::string CurrentFolder; // empty: the process's current folder at the time of each call
        Environment Env;           // empty: the process environment
    };

    FileFinder();
    explicit FileFinder(Setup setup);

    // flags: kFindInCurrentFolder and kFindInProgramFolder say where a relative name without a code is
    // looked for, in that order. Names with a code and absolute names ignore them.
    ComponentStatus LocateFile(const std::string& name, int flags, std::string& path) override;

    // The name with its folder code replaced by the folder; the name unchanged when it has no code;
    // nothing for an unknown code or an unclosed "{$". The result need not exist.
    std::optional<std::string> ExpandCodes(const std::string& name) const;

    // The folder that a code stands for (code without "{$" and "}", any case); nothing when unknown or
    // when the environment does not give it.
    std::optional<std::string> CodeFolder(const std::string& code) const;

    // The folder of the running program, from the system.
    static std::string RunningProgramFolder();

private:
    std::string Env(const std::string& name) const;
    std::string Home() const;

    Setup m_setup;
};
