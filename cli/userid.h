#pragma once
// The user ID amftool works as: the one given with --user, else the one the editor stored for this
// user in its settings file, else an anonymous one. A user ID is a GUID in braces, one blank and the
// user's name, as the editor makes it.
#include <string>
#include <string_view>

// Used when neither --user nor a stored user ID is available.
inline constexpr std::string_view kAnonymousUserID = "{00000000-0000-0000-0000-000000000000} Anonymous";

// True for "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} Name": 32 hexadecimal digits (either letter case) in
// groups of 8, 4, 4, 4 and 12, one blank and a name that does not start with a blank or a control
// character.
bool IsUserID(std::string_view text);

// The editor's per-user settings file: $XDG_CONFIG_HOME (when set and not empty) or ~/.config, then
// "Veltrane/<product>/<version>/<internal name>.ini" from this program's version record. Empty when
// neither XDG_CONFIG_HOME nor HOME is set.
std::string UserSettingsFile();
// The machine-wide settings file, which the editor reads for values missing in the per-user one: the
// first folder of $XDG_CONFIG_DIRS (when set and not empty), else /etc/xdg, then the same names.
std::string SystemSettingsFile();

// The "UserID" value of the settings file; empty when the file cannot be read or holds no such text.
std::string StoredUserID(const std::string& settingsFile);
