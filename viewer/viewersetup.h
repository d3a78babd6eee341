#pragma once
// What a viewer window works with: the assistant being shown with the folder its relative names are
// taken from, how further assistant files are read, the desktop seam, the file finder, whether
// programs may be started, and the editor's "Edit this screen" call-back.
#include <QString>
#include <functional>
#include <memory>
#include <string>

class FileFinder;
class TAssistRoot;
class ViewerDesktop;

// An assistant held by the viewer. The viewer never edits it, so pointers to its screens stay valid
// for as long as it is held.
struct ViewedAssistant {
    std::unique_ptr<TAssistRoot> Root;
    QString FilePath;        // the file it was read from, or the file a text stands for; empty: none
    QString Folder;          // where its relative file names are looked for; empty: none known
    bool FromEditor = false; // the assistant the editor handed over: "Edit this screen" refers to it

    ViewedAssistant();
    ViewedAssistant(std::unique_ptr<TAssistRoot> root, QString filePath, QString folder, bool fromEditor);
    ~ViewedAssistant();
};

// Reads an assistant file; raises AppError with the reader's message when it cannot.
using AssistantLoader = std::function<std::unique_ptr<TAssistRoot>(const QString& path)>;

// The default loader: the whole file through the assistant file reader; FileName becomes the path.
std::unique_ptr<TAssistRoot> ReadAssistantFile(const QString& path);
// An assistant from its complete file text; raises AppError with the reader's message.
std::unique_ptr<TAssistRoot> ReadAssistantText(const std::string& text);

// The item the author wants to edit: a screen of the editor's assistant, and an option on it when
// the author chose the option's Edit button. Positions are those in the assistant's lists (the text
// handed to the viewer lists screens and options in the editor's order); IDs are given as well.
struct ViewerEditTarget {
    int ScreenIndex = -1;
    std::string ScreenID;
    int OptionIndex = -1; // -1: the screen itself
    std::string OptionID;
};
using ViewerEditCallback = std::function<void(const ViewerEditTarget&)>;

struct ViewerSetup {
    std::shared_ptr<ViewerDesktop> Desktop; // null: the desktop's real dialogs and programs
    std::shared_ptr<FileFinder> Finder;     // null: the standard file finder
    AssistantLoader Loader;                 // empty: ReadAssistantFile
    bool NeverRunPrograms = false;          // "execute" options only show what they would run
    ViewerEditCallback OnEdit;              // empty: no Edit buttons (the viewer runs on its own)
};

// The setup with every empty part filled with its default.
ViewerSetup CompleteSetup(ViewerSetup setup);
