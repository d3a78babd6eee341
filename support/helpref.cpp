#include "support/helpref.h"

#include "support/textroutines.h"

#include <filesystem>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

void THelpRef::Parse(const std::string& reference) {
    m_reference = reference;
    std::string rest = reference;
    m_file = SplitAt(rest, '|');
    m_topic = SplitAt(rest, '|');
    m_caption = SplitAt(rest, '|');
    m_valid = !m_topic.empty() && !m_file.empty() && HelpFileExists(m_file);
}

bool THelpRef::IsTopic(std::string_view topic) const {
    return SameText(m_topic, topic);
}

HelpFormat THelpRef::Format() const {
    return HelpFormatOf(m_file);
}

HelpFormat HelpFormatOf(const std::string& fileName) {
    const std::string extension = fs::path(fileName).extension().string();
    if (SameText(extension, ".hlp"))
        return HelpFormat::WinHelp;
    if (SameText(extension, ".chm"))
        return HelpFormat::HtmlHelp;
    return HelpFormat::Unknown;
}

bool HelpFileExists(const std::string& fileName) {
    std::error_code ec;
    return !fileName.empty() && fs::is_regular_file(fs::path(fileName), ec);
}

std::string RunningProgramFile() {
    std::error_code ec;
    const fs::path exe = fs::read_symlink("/proc/self/exe", ec);
    return ec ? std::string() : exe.string();
}

std::string DefaultHelpFile(const std::string& programFile) {
    // replace_extension only looks at the file name, so a dot in a folder name is left alone, and a
    // program without an extension (the usual case here) gets one added.
    fs::path name(programFile);
    name.replace_extension(".hlp");
    if (HelpFileExists(name.string()))
        return name.string();
    name.replace_extension(".chm");
    return name.string();
}

std::string DefaultHelpFile() {
    return DefaultHelpFile(RunningProgramFile());
}

std::string ContentsReference(const std::string& helpFile) {
    return helpFile.empty() ? std::string() : helpFile + "|CONTENTS|Help contents";
}

std::string IndexReference(const std::string& helpFile) {
    return helpFile.empty() ? std::string() : helpFile + "|INDEX|Help index";
}

std::string HelpOnHelpReference() {
    return "|HELP|Help on Help";
}

std::string FindManualFolder(const std::string& programFile, const std::string& fallbackFolder) {
    std::vector<fs::path> candidates;
    if (!programFile.empty()) {
        const fs::path folder = fs::path(programFile).parent_path();
        candidates.push_back(folder / ".." / "share" / "assistant-editor" / "manual");
        candidates.push_back(folder / "manual");
    }
    if (!fallbackFolder.empty())
        candidates.emplace_back(fallbackFolder);
    // Folders are compared by name ("bin/.." is the prefix even if the program's folder were gone),
    // which is also what a user expects when the program's folder is a symbolic link.
    for (const fs::path& candidate : candidates) {
        const fs::path folder = candidate.lexically_normal();
        if (HelpFileExists((folder / kManualContentsPage).string()))
            return folder.string();
    }
    return {};
}

std::string FindManualFolder() {
#ifdef AMF_SOURCE_DIR
    const std::string fallback = std::string(AMF_SOURCE_DIR) + "/docs/manual";
#else
    const std::string fallback;
#endif
    return FindManualFolder(RunningProgramFile(), fallback);
}
