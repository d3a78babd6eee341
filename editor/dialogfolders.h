#pragma once
// Where the editor's file dialogs (Open, Save, Save as, Publish, Run from file) start and which file name
// Save suggests: the folder of the current file, else the last folder a dialog was used in (kept in the
// settings), else the user's documents folder.

#include <QString>

#include <string>

class TRegWrap;

// The folder of the current file when there is one, else the last folder used when it still exists, else the
// documents folder given by the caller (QStandardPaths in the window).
QString DialogStartFolder(const QString& currentFile, const QString& lastFolder,
                          const QString& documentsFolder);

// The path Save suggests: the start folder and the assistant's ID with ".amf"; just the folder without an ID.
QString SuggestedSavePath(const QString& startFolder, const QString& assistantID);

// The settings value that keeps the folder of the file last chosen in a file dialog.
inline constexpr const char* kLastFolderValue = "LastFolder";

// DialogStartFolder for the current file (empty for an assistant never saved), with the last folder read
// from the settings and the user's documents folder (the home folder when there is none). Settings that
// cannot be read count as no last folder.
QString FileDialogFolder(TRegWrap& settings, const std::string& currentFile);

// Keeps the folder of a file chosen in a dialog as the last folder used. Raised as the settings raise a
// failure to store it; an empty name keeps nothing.
void RememberDialogFolder(TRegWrap& settings, const std::string& chosenFile);
