#pragma once
// Help references and the choice of help file. A help reference is one text "file|topic|caption":
// the help file, the topic to show ("CONTENTS", "INDEX" or "HELP") and a caption that is carried but
// not shown. The program's help file lies beside the program with the same base name and the
// extension ".hlp" or ".chm"; when neither exists the editor shows its own HTML manual instead, which
// is looked for beside the program too. Nothing here shows anything: the editor does that.
#include <string>
#include <string_view>

// The viewer a help file calls for, chosen by its extension (any letter case).
enum class HelpFormat { Unknown, WinHelp, HtmlHelp };

// The three entries of the Help menu.
enum class HelpTopic { Contents, Index, HelpOnHelp };

inline constexpr std::string_view kHelpTopicContents = "CONTENTS";
inline constexpr std::string_view kHelpTopicIndex = "INDEX";
inline constexpr std::string_view kHelpTopicHelp = "HELP";

class THelpRef {
public:
    // Splits `reference` at its first two vertical bars into file, topic and caption (a missing
    // piece is empty) and decides validity: topic and file not empty and the file exists.
    void Parse(const std::string& reference);

    const std::string& Reference() const { return m_reference; }
    const std::string& File() const { return m_file; }
    const std::string& Topic() const { return m_topic; }
    const std::string& Caption() const { return m_caption; }
    bool Valid() const { return m_valid; }

    // True when the topic is `topic`, letter case ignored.
    bool IsTopic(std::string_view topic) const;
    HelpFormat Format() const;

private:
    std::string m_reference;
    std::string m_file;
    std::string m_topic;
    std::string m_caption;
    bool m_valid = false;
};

// ".hlp" is WinHelp, ".chm" HTML Help, letter case ignored; anything else is unknown.
HelpFormat HelpFormatOf(const std::string& fileName);

// True when a file (not a folder) of that name exists.
bool HelpFileExists(const std::string& fileName);

// The full file name of the running program; empty when the system does not tell.
std::string RunningProgramFile();

// The help file for a program file: its name with the extension replaced by ".hlp" (added when the
// file name has no extension) when that file exists, otherwise the same with ".chm", whether or not
// that one exists. The new extensions are lower case whatever the program's extension was.
std::string DefaultHelpFile(const std::string& programFile);
// The help file of the running program.
std::string DefaultHelpFile();

// "<file>|CONTENTS|Help contents"; empty when `helpFile` is empty.
std::string ContentsReference(const std::string& helpFile);
// "<file>|INDEX|Help index"; empty when `helpFile` is empty.
std::string IndexReference(const std::string& helpFile);
// "|HELP|Help on Help": it names no file and so is never valid.
std::string HelpOnHelpReference();

// The folder of the HTML manual for a program file, the first that holds the manual's contents page:
//   <program folder>/../share/assistant-editor/manual   (an installed program)
//   <program folder>/manual                              (a program unpacked into one folder)
//   `fallbackFolder`                                     (the build tree: the manual's source folder)
// Empty when none does.
std::string FindManualFolder(const std::string& programFile, const std::string& fallbackFolder);
// The same for the running program, with the manual's source folder as fallback.
std::string FindManualFolder();

// File names inside the manual folder.
inline constexpr std::string_view kManualContentsPage = "contents.html";
inline constexpr std::string_view kManualHelpOnHelpPage = "usinghelp.html";
inline constexpr std::string_view kManualContentsList = "contents.txt";
inline constexpr std::string_view kManualKeywordList = "keywords.txt";
