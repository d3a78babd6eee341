#pragma once
// The editor's "Publish as web page..." command: asks where to write the page, writes it and tells
// the author about images that were left out or a write that failed.
#include <optional>
#include <string>

class Prompter;
class TAssistRoot;

// Returns the page file written; nothing when the author cancelled or the write failed (the failure
// has been shown). Images are looked for beside the assistant's file. The dialog starts beside the
// assistant's file; for an assistant never saved, in `startFolder` with the assistant's ID as the name.
std::optional<std::string> PublishAsWebPage(const TAssistRoot& root, Prompter& prompter,
                                            const std::string& startFolder = {});
