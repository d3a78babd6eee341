#pragma once
// What the Help menu does. Help contents and Help index open the program's help file (".hlp" or
// ".chm" beside the program) with the desktop's handler for it; when there is none, they open the
// built-in manual in the help window, at its contents or at its keyword index. Help on help opens the
// manual's page on using the help window.
//
// The main window calls ShowHelpTopic(this, HelpTopic::Contents / Index / HelpOnHelp) from its three
// Help actions. Where the program file, the manual and the desktop handler come from is gathered in
// HelpEnvironment, so tests can point them elsewhere and record what would be opened.
#include <QString>
#include <functional>
#include <string>

#include "support/helpref.h"

class HelpWindow;
class QUrl;
class QWidget;

struct HelpEnvironment {
    // The program file whose help file is looked for; empty: the running program.
    std::string ProgramFile;
    // The manual folder; empty: looked for beside the program (FindManualFolder).
    std::string ManualFolder;
    // Hands a help file to the desktop's handler; empty: QDesktopServices::openUrl.
    std::function<bool(const QUrl&)> OpenUrl;
    // Tells the user that no help can be shown; empty: a message box over the owner.
    std::function<void(QWidget* owner, const QString& message)> ShowUnavailable;
};

// The environment used by the two-argument ShowHelpTopic. Tests of the main window may replace its
// members and must restore them.
HelpEnvironment& DefaultHelpEnvironment();

// What a Help command did.
enum class HelpShown { HelpFile, HelpWindow, NotAvailable };

// Shows a help reference ("file|topic|caption") with `window` as owner: a valid reference whose file
// ends in ".hlp" or ".chm" (any case) is handed to `openUrl`; anything else shows nothing. True when
// the file was handed on.
bool ShowHelp(QWidget* window, const std::string& reference, const std::function<bool(const QUrl&)>& openUrl);

// The entry point of the Help menu.
HelpShown ShowHelpTopic(QWidget* owner, HelpTopic topic);
HelpShown ShowHelpTopic(QWidget* owner, HelpTopic topic, const HelpEnvironment& environment);

// Opens the manual at one of its pages ("page.html" or "page.html#anchor"), as F1 does for the part of
// the window in use. Without the manual this is Help contents.
HelpShown ShowHelpPage(QWidget* owner, const QString& page);
HelpShown ShowHelpPage(QWidget* owner, const QString& page, const HelpEnvironment& environment);

// The help window that belongs to `owner`, or null when none was opened yet.
HelpWindow* FindHelpWindow(QWidget* owner);

// The message shown when neither a help file nor the manual can be found.
inline constexpr char kHelpUnavailableMessage[] =
    "Help is not available: neither a help file nor the user manual was found beside the program.";
