#pragma once
// The identity of the person using the editor: a braced upper-case GUID, one blank and the user's
// name. It is made once per user, stored in the settings as "UserID" and read back on every later
// start; every assistant the editor creates is given it (author and modifier of a new assistant, and
// the comparison with the IDs recorded in files that are opened).
#include <functional>
#include <string>

class Prompter;
class TRegWrap;

// The name of the logged-in user: $USER, else $LOGNAME, else the password database entry of the
// process's user; empty when none of them gives a name.
std::string SystemLoginName();

// A new user ID for `name`: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX} " + name, the GUID in upper case.
std::string NewUserID(const std::string& name);

// The stored "UserID", or, when there is none, a new one that is written back. Its name is the login
// name from `loginName`; when that is empty the user is asked with an input box, and an empty or
// cancelled answer gives "Anonymous". When the settings cannot be read or written, the failure is
// raised; with `storeFailure` given, its message is put there instead and the user ID is returned all
// the same (a new one when the stored one could not be read), so that the editor can work on.
std::string ObtainUserID(TRegWrap& settings, Prompter& prompter,
                         const std::function<std::string()>& loginName, std::string* storeFailure = nullptr);
