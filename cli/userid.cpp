#include "cli/userid.h"

#include "cli/inivalue.h"
#include "support/versioninfo.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace {
bool IsHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
}
} // namespace

bool IsUserID(std::string_view text) {
    // "{" 8 "-" 4 "-" 4 "-" 4 "-" 12 "}" is 38 characters; then the one blank and the name, which
    // starts with a visible character (a second blank or a tab would make the name start blank).
    constexpr std::string_view pattern = "{hhhhhhhh-hhhh-hhhh-hhhh-hhhhhhhhhhhh} ";
    if (text.size() <= pattern.size() || static_cast<unsigned char>(text[pattern.size()]) <= ' ')
        return false;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
        if (pattern[i] == 'h' ? !IsHex(text[i]) : text[i] != pattern[i])
            return false;
    }
    return true;
}

namespace {
// The settings file's name below a configuration folder.
std::string SettingsFileIn(const std::string& base) {
    const TVersionRecord record = TVersionInformation::OfProgram("");
    return base + "/Veltrane/" + record.ProductName + "/" + record.ProductVersion + "/" +
           record.InternalName + ".ini";
}
} // namespace

std::string UserSettingsFile() {
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg != nullptr && *xdg != '\0')
        return SettingsFileIn(xdg);
    if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0')
        return SettingsFileIn(std::string(home) + "/.config");
    return {};
}

std::string SystemSettingsFile() {
    const char* dirs = std::getenv("XDG_CONFIG_DIRS");
    const std::string list = dirs != nullptr ? dirs : "";
    const std::string first = list.substr(0, list.find(':'));
    return SettingsFileIn(first.empty() ? std::string("/etc/xdg") : first);
}

std::string StoredUserID(const std::string& settingsFile) {
    if (settingsFile.empty())
        return {};
    std::ifstream file(settingsFile, std::ios::binary);
    if (!file)
        return {};
    std::ostringstream text;
    text << file.rdbuf();
    return ReadIniText(text.str(), "General", "UserID").value_or(std::string());
}
