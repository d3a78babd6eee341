#pragma once
// Where the Open and Save dialogs start and which file name Save suggests.

#include <QString>

// The folder of the current file when there is one, else the last folder used when it still exists, else the
// documents folder given by the caller (QStandardPaths in the window).
QString DialogStartFolder(const QString& currentFile, const QString& lastFolder,
                          const QString& documentsFolder);

// The path Save suggests: the start folder and the assistant's ID with ".amf"; just the folder without an ID.
QString SuggestedSavePath(const QString& startFolder, const QString& assistantID);
