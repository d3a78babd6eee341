#include "editor/imagepick.h"

#include <QDir>
#include <QFileInfo>
#include <QString>

namespace {
QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The folder of the assistant's file; empty for an assistant that was never saved.
QString AssistantFolder(const std::string& assistantFile) {
    return assistantFile.empty() ? QString() : QFileInfo(Q(assistantFile)).absolutePath();
}
} // namespace

Prompter::FileRequest ImagePickRequest(const std::string& assistantFile, const std::string& currentImage) {
    Prompter::FileRequest request;
    request.title = "Choose the image for this screen";
    request.filters = {"Images (*.png *.jpg *.jpeg *.gif *.bmp *.svg)", "All files (*.*)"};
    request.selectedFilter = 0;
    request.overwritePrompt = false;
    const QString folder = AssistantFolder(assistantFile);
    if (!currentImage.empty()) {
        const QString image = Q(currentImage);
        const QString imagePath =
            QFileInfo(image).isAbsolute() || folder.isEmpty() ? image : QDir(folder).filePath(image);
        const QFileInfo imageInfo(imagePath);
        if (imageInfo.dir().exists()) {
            request.initialFolder = imageInfo.absolutePath().toStdString();
            request.proposedName = imageInfo.fileName().toStdString();
            return request;
        }
    }
    request.initialFolder = folder.toStdString();
    return request;
}

std::string StoredImageName(const std::string& assistantFile, const std::string& chosenFile) {
    const QString chosen = QFileInfo(Q(chosenFile)).absoluteFilePath();
    const QString folder = AssistantFolder(assistantFile);
    if (folder.isEmpty())
        return QDir::toNativeSeparators(chosen).toStdString();
    const QString relative = QDir(folder).relativeFilePath(chosen);
    // Outside the assistant's folder the full name is clearer than a climb of "../" steps.
    if (relative.startsWith(QStringLiteral("../")) || relative == QStringLiteral("..") ||
        QFileInfo(relative).isAbsolute())
        return QDir::toNativeSeparators(chosen).toStdString();
    return QDir::toNativeSeparators(relative).toStdString();
}

std::optional<std::string> PickScreenImage(Prompter& prompter, const std::string& assistantFile,
                                           const std::string& currentImage) {
    const auto chosen = prompter.OpenFileName(ImagePickRequest(assistantFile, currentImage));
    if (!chosen || chosen->empty())
        return std::nullopt;
    return StoredImageName(assistantFile, *chosen);
}
