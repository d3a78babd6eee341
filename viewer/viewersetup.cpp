#include "viewer/viewersetup.h"

#include <QFileInfo>
#include <fstream>
#include <sstream>

#include "components/filefinder.h"
#include "model/assistroot.h"
#include "support/error.h"
#include "viewer/viewerdesktop.h"

ViewedAssistant::ViewedAssistant() = default;
ViewedAssistant::ViewedAssistant(std::unique_ptr<TAssistRoot> root, QString filePath, QString folder,
                                 bool fromEditor)
    : Root(std::move(root)), FilePath(std::move(filePath)), Folder(std::move(folder)),
      FromEditor(fromEditor) {}
ViewedAssistant::~ViewedAssistant() = default;

std::unique_ptr<TAssistRoot> ReadAssistantFile(const QString& path) {
    std::ifstream in(QFileInfo(path).absoluteFilePath().toStdString(), std::ios::binary);
    if (!in)
        throw AppError("Cannot open the assistant file \"" + path.toStdString() + "\".");
    auto root = std::make_unique<TAssistRoot>(std::string());
    root->LoadFromStream(in);
    root->FileName = QFileInfo(path).absoluteFilePath().toStdString();
    return root;
}

std::unique_ptr<TAssistRoot> ReadAssistantText(const std::string& text) {
    std::istringstream in(text);
    auto root = std::make_unique<TAssistRoot>(std::string());
    root->LoadFromStream(in);
    return root;
}

ViewerSetup CompleteSetup(ViewerSetup setup) {
    if (!setup.Desktop)
        setup.Desktop = std::make_shared<QtViewerDesktop>();
    if (!setup.Finder)
        setup.Finder = std::make_shared<FileFinder>();
    if (!setup.Loader)
        setup.Loader = ReadAssistantFile;
    return setup;
}
