#pragma once
// How the viewer reads the texts of an assistant that point outside it: the file and screen of "go to
// another assistant", the program and arguments of "execute program/file", the address of "go to a web
// page", file names of images and assistants, and the texts shown for notes and scripts. Plain
// functions of the text and a base folder, so they are checked without windows.
#include <QString>
#include <QUrl>
#include <string>

#include "viewer/viewerdesktop.h"

class FileFinder;
class TNotes;

// "file[,screen]": the file name and the screen to start at (empty: the assistant's own first screen).
struct AssistantTarget {
    QString File;
    QString Screen;
};
AssistantTarget SplitAssistantCommand(const std::string& command);

// A name from an assistant made into a path. Names may start with a file finder code ("{$DOCS}\x");
// backslashes are read as separators since assistants are often written on Windows. A relative name
// is taken from `baseFolder` (the folder of the assistant that names it); without a base folder the
// finder looks in the current and the program's folder. Error is set, Path empty, when the name is
// empty or its code is unknown. The path need not exist.
struct ResolvedName {
    QString Path;
    QString Error;
};
ResolvedName ResolveFileName(const QString& name, const QString& baseFolder, FileFinder& finder);

// The program an "execute" command starts. The command is split as a command line is (blanks separate,
// double quotes group, a tripled quote is a literal one); finder codes are expanded in the program and
// in any argument that starts with one. A program named with a folder part is taken relative to the
// base folder; a bare name is the file of that name in the base folder when there is one, else it is
// left for the system to find on the PATH. A single existing file that is not executable (a document)
// is opened with the desktop's program for it instead (OpenAsDocument).
struct LaunchPlan {
    ProgramLaunch Launch;
    bool OpenAsDocument = false;
    QString Error; // set when there is nothing that can be started
};
LaunchPlan PlanLaunch(const std::string& command, const QString& baseFolder, FileFinder& finder);

// The address of "go to a web page". Only http and https addresses with a host and mailto addresses
// are accepted; "www.example.com" without a scheme is read as http. Error is set for anything else
// (javascript:, file:, data:, invalid text). A mailto address loses its "attach" and "attachment"
// parameters (WithoutMailAttachments); nothing else of it changes.
struct WebAddress {
    QUrl Url;
    QString Error;
};
WebAddress CheckWebAddress(const std::string& command);

// The notes of an option as text to read: each note's name and type, then its text; a blank line
// between notes. Empty when there are no notes.
QString NotesText(const TNotes& notes);

// A script as lines (the model separates them with CR).
QString ScriptText(const std::string& script);
