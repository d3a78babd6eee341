#pragma once
// Which keys each command of the window gets: the keys its row names (the ones the manual and the tool
// tips give) and the platform's other bindings of its standard key, without letting a platform binding
// take a key another command owns. (The X11 key scheme binds Ctrl+D to Delete as well as Del; here
// Ctrl+D is Duplicate, and a key bound twice triggers neither command.)
#include <QKeySequence>
#include <QList>

#include <functional>
#include <vector>

// What a command's row says about its keys.
struct CommandKeyRow {
    QKeySequence::StandardKey standardKey; // QKeySequence::UnknownKey for none
    const char* keys;                      // our own keys in portable text, "; " between several; "" for none
};

// The platform's bindings of a standard key (QKeySequence::keyBindings in the program).
using KeyBindings = std::function<QList<QKeySequence>(QKeySequence::StandardKey)>;

// The shortcuts of each command, in the order given: its own keys first, then the bindings of its
// standard key that no command names as its own and no earlier command was given.
std::vector<QList<QKeySequence>> AssignCommandKeys(const std::vector<CommandKeyRow>& commands,
                                                   const KeyBindings& bindings);

// The keys a tool tip names: the command's own, else the first of the keys it was given.
QString CommandKeyNames(const CommandKeyRow& command, const QList<QKeySequence>& assigned);
