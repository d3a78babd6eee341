#pragma once
// Choosing a screen's image with the open file dialog: which folder the dialog starts in, and the name
// stored for the chosen file (relative to the assistant's folder when the image lies inside it, so the
// assistant and its images can be moved together; the viewer reads relative names from that folder).
#include <optional>
#include <string>

#include "editor/prompter.h"

// The dialog for a screen whose image is `currentImage`, in an assistant saved as `assistantFile`
// (empty when never saved): it starts in the current image's folder when that exists, else in the
// assistant's folder.
Prompter::FileRequest ImagePickRequest(const std::string& assistantFile, const std::string& currentImage);

// The image name to store for the file the dialog returned.
std::string StoredImageName(const std::string& assistantFile, const std::string& chosenFile);

// Asks for an image; nothing when the dialog was cancelled.
std::optional<std::string> PickScreenImage(Prompter& prompter, const std::string& assistantFile,
                                           const std::string& currentImage);
