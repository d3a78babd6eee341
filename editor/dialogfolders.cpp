#include "editor/dialogfolders.h"

#include <QDir>
#include <QFileInfo>

QString DialogStartFolder(const QString& currentFile, const QString& lastFolder,
                          const QString& documentsFolder) {
    if (!currentFile.isEmpty())
        return QFileInfo(currentFile).absolutePath();
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir())
        return lastFolder;
    return documentsFolder;
}

QString SuggestedSavePath(const QString& startFolder, const QString& assistantID) {
    if (assistantID.isEmpty())
        return startFolder;
    return QDir(startFolder).filePath(assistantID + QStringLiteral(".amf"));
}
