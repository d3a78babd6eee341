#include "cli/amftool.h"

#include "cli/jsontext.h"
#include "cli/textline.h"
#include "cli/userid.h"
#include "components/corecomponentfactory.h"
#include "maplayout/maplayout.h"
#include "model/assistantmap.h"
#include "model/assistroot.h"
#include "model/authorship.h"
#include "model/documentprompts.h"
#include "model/navigationstructure.h"
#include "model/structurecheck.h"
#include "model/webpublisher.h"
#include "spell/assistspellcheck.h"
#include "spell/dictionaryfinder.h"
#include "spell/spellchecker.h"
#include "support/error.h"
#include "support/reportchain.h"
#include "support/savetextfile.h"
#include "support/versioninfo.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <iostream>
#include <memory>
#include <optional>
#include <sys/stat.h>
#include <unistd.h>

namespace {
// Exit statuses.
constexpr int kSuccess = 0;
constexpr int kCheckFoundErrors = 1;
constexpr int kFailure = 2; // usage errors, unreadable files, failed writes

// Options a command accepts.
enum OptionFlags : unsigned { kUserOption = 1, kOutputOption = 2, kJsonOption = 4, kLangOption = 8 };

struct Invocation {
    std::vector<std::string> Files; // "-" stands for standard input
    std::optional<std::string> User;
    std::optional<std::string> Output;
    std::optional<std::string> Lang;
    bool Json = false;
};

struct Streams {
    std::istream& In;
    std::ostream& Out;
    std::ostream& Err;
};

struct Command {
    std::string_view Name;
    std::string_view Summary;
    std::string_view Usage; // the lines after "Usage: "
    std::string_view Details;
    unsigned Options;
    std::size_t MinFiles;
    std::size_t MaxFiles;
    int (*Run)(const Invocation&, Streams&);
};

void AppendJsonItem(std::string& json, const TAssistRoot& root, const TAssistBase* item);
int RunNew(const Invocation&, Streams&);
int RunResave(const Invocation&, Streams&);
int RunCheck(const Invocation&, Streams&);
int RunStructure(const Invocation&, Streams&);
int RunNotices(const Invocation&, Streams&);
int RunReport(const Invocation&, Streams&);
int RunPublish(const Invocation&, Streams&);
int RunSpell(const Invocation&, Streams&);
int RunPaths(const Invocation&, Streams&);
int RunMap(const Invocation&, Streams&);

constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);

const Command kCommands[] = {
    {"new", "write the file of a brand-new assistant", "amftool new [--user ID] [-o OUT]",
     "Writes the text that Save writes for a new assistant created for the user.\n",
     kUserOption | kOutputOption, 0, 0, RunNew},
    {"resave", "open a file and write it back as Save would", "amftool resave FILE [--user ID] [-o OUT]",
     "Opens FILE as the editor does (a missing author or modifier becomes the user) and writes\n"
     "exactly the text that Save would write, with the user recorded as the modifier.\n",
     kUserOption | kOutputOption, 1, 1, RunResave},
    {"check", "list the warnings and errors of the structure check", "amftool check [--json] FILE...",
     "Prints, for each file, the lines of the Warnings and errors page in order, then\n"
     "\"Warning(s): W, error(s): E.\". With several files each block starts with a line naming\n"
     "the file. --json prints one JSON array of {file, severity, message, itemKind, itemId}\n"
     "objects instead (options also carry screenId).\n"
     "In the text form every finding and file name keeps to one line: a backslash is written as \\\\,\n"
     "CR, LF and TAB as \\r, \\n and \\t, other control characters as \\xHH (U+0080 to U+009F as\n"
     "\\u00HH); JSON keeps the texts.\n"
     "Exit status: 0 no errors (warnings allowed), 1 errors found, 2 a file could not be read.\n",
     kJsonOption, 1, kAnyNumber, RunCheck},
    {"structure", "print the navigation structure", "amftool structure [--json] FILE",
     "Prints the navigation structure as the Structure page shows it: one node a line, indented\n"
     "by two blanks per level. Nodes deeper than 32 levels are indented as level 32 and start with\n"
     "their depth in brackets (\"[33] \"), so a deep assistant prints in size linear to it.\n"
     "Control characters and backslashes in the texts are escaped as check escapes them\n"
     "(\\\\ \\r \\n \\t \\xHH \\u00HH), so every node keeps to one line.\n"
     "--json prints one JSON array of {depth, text, itemKind, itemId} objects instead, one node a\n"
     "line in the same order: a node that leads to a screen names the screen, the others their\n"
     "option (with its screenId); the texts are kept as they are.\n",
     kJsonOption, 1, 1, RunStructure},
    {"paths", "list the screens no user can reach and the dead ends", "amftool paths FILE [--json]",
     "Walks from the start screen (the first screen, as the Structure page starts) through the\n"
     "options that go to another screen, each to the first screen with its command as ID (letters\n"
     "A-Z in either case). Prints \"Unreachable: ID\" for every screen no path reaches (all of them\n"
     "when there is no start screen), then \"Dead end: ID\" for every screen without options, each\n"
     "group in list order, then \"Screens: N, unreachable: U, dead ends: D.\". IDs are escaped as\n"
     "check escapes texts. --json prints {file, screens, start, unreachable, deadEnds} instead, the\n"
     "screens as {id, position} objects (positions count from 1; start is null without a start).\n"
     "These are hints, apart from check. Exit status: 0, 2 when FILE cannot be read.\n",
     kJsonOption, 1, 1, RunPaths},
    {"map", "draw the map of screens and links", "amftool map FILE -o OUT.svg|OUT.png|OUT.dot",
     "Lays out the assistant's map with Graphviz as the Map page shows it: every screen a box\n"
     "(ID, caption and badges for options that do not go to a screen; the start screen blue,\n"
     "unreachable screens red and dashed, dead ends with a double border), every go-to option an\n"
     "arrow labelled with its caption. The extension of OUT chooses the format: .svg and .png are\n"
     "drawn by Graphviz, .dot is the graph as Graphviz's DOT text (for `dot -Tpdf` and the like).\n"
     "Above 400 screens the faster layout is used; the arrows' captions are then their tooltips.\n"
     "Exit status: 0 written, 2 FILE unreadable or OUT not written.\n",
     kOutputOption, 1, 1, RunMap},
    {"notices", "print the authorship notices shown when the file is opened",
     "amftool notices FILE [--user ID]",
     "Prints the authorship and signature notices the editor would show when the user opens\n"
     "FILE; nothing when it would show none.\n",
     kUserOption, 1, 1, RunNotices},
    {"report", "write the HTML report", "amftool report FILE [-o OUT]",
     "Writes the complete HTML report of the assistant, as the editor's Report shows it.\n", kOutputOption, 1,
     1, RunReport},
    {"publish", "write the assistant as one web page", "amftool publish FILE [-o OUT.html]",
     "Writes one self-contained HTML page that shows the assistant in any browser, offline: the\n"
     "page's own script and style, the assistant as data, and images up to 2 MiB embedded (images\n"
     "are looked for beside FILE). Options of another assistant link to NAME.html beside the page.\n"
     "An image left out is reported on standard error as \"amftool: warning: ...\"; the page shows its "
     "name.\n"
     "Exit status: 0 written (also with warnings), 2 FILE unreadable or OUT not written.\n",
     kOutputOption, 1, 1, RunPublish},
    {"spell", "list the misspelt words of the assistant's texts", "amftool spell FILE [--lang LANG] [--json]",
     "Checks the spelling of the captions of the assistant, its screens and options, the screens'\n"
     "texts, the options' descriptions and the notes' texts with a hunspell dictionary; IDs,\n"
     "commands and scripts are not checked. Numbers, web and e-mail addresses are skipped.\n"
     "Prints one line per misspelt word: item ID, field (caption, text, description or note),\n"
     "word and up to five suggestions, separated by tabs (suggestions by \", \").\n"
     "--json prints one JSON array of {file, itemId, field, word, suggestions} objects instead.\n"
     "Dictionaries (LANG.aff and LANG.dic) are looked for in the folders of AMF_DICTIONARY_PATH\n"
     "(separated by ':'), then /usr/share/hunspell and /usr/share/myspell/dicts. LANG defaults to\n"
     "the language of the locale (LC_ALL, LC_MESSAGES, LANG) when installed, else en_US.\n"
     "Exit status: 0 no misspelt word, 1 misspelt words found, 2 the file or the dictionary\n"
     "could not be read.\n",
     kLangOption | kJsonOption, 1, 1, RunSpell},
};

const Command* FindCommand(std::string_view name) {
    for (const Command& command : kCommands)
        if (command.Name == name)
            return &command;
    return nullptr;
}

void PrintGeneralHelp(std::ostream& out) {
    out << "Usage: amftool COMMAND [OPTIONS] [FILE...]\n"
           "       amftool --help [COMMAND]\n"
           "       amftool --version\n"
           "Lint, document and convert assistant definition files (.amf).\n"
           "\n"
           "Commands:\n";
    for (const Command& command : kCommands) {
        out << "  " << command.Name << std::string(12 - command.Name.size(), ' ') << command.Summary << '\n';
    }
    out << "\n"
           "Options:\n"
           "  --user ID          user ID to work as: a braced GUID, one blank and a name (default:\n"
           "                     the editor's stored user ID, else \""
        << kAnonymousUserID
        << "\")\n"
           "  -o, --output OUT   write to OUT (replaced safely) instead of standard output\n"
           "                     (-o - is standard output)\n"
           "  --json             (check, spell, structure, paths) print the result as JSON\n"
           "  --lang LANG        (spell) dictionary language, for example en_US\n"
           "  -h, --help         show help; after a command, that command's help\n"
           "  --version          show the program version\n"
           "A FILE of \"-\" reads standard input.\n"
           "\n"
           "Exit status: 0 success, 1 check found errors or spell misspelt words, 2 a file could not be read "
           "or written,\n"
           "or the command line is wrong.\n";
}

void PrintCommandHelp(const Command& command, std::ostream& out) {
    out << "Usage: " << command.Usage << "\n" << command.Details;
    if (command.Options != 0)
        out << "Options:\n";
    if (command.Options & kUserOption)
        out << "  --user ID          user ID to work as (default: the editor's stored user ID, else\n"
               "                     anonymous)\n";
    if (command.Options & kOutputOption)
        out << "  -o, --output OUT   write to OUT (replaced safely) instead of standard output\n"
               "                     (-o - is standard output)\n";
    if (command.Options & kLangOption)
        out << "  --lang LANG        dictionary language, for example en_US\n";
    if (command.Options & kJsonOption)
        out << "  --json             print the result as a JSON array\n";
    if (command.MaxFiles != 0)
        out << "A FILE of \"-\" reads standard input.\n";
}

int UsageError(const std::string& message, const Command* command, std::ostream& err) {
    err << "amftool: " << message << "\n";
    if (command != nullptr)
        err << "Usage: " << command->Usage << "\nTry 'amftool " << command->Name << " --help'.\n";
    else
        err << "Try 'amftool --help'.\n";
    return kFailure;
}

// The user ID the command works as: --user, else the editor's stored one, else anonymous.
std::string EffectiveUserID(const Invocation& invocation) {
    if (invocation.User)
        return *invocation.User;
    // Like the editor, a value missing from the per-user settings is looked for in the machine-wide ones.
    std::string stored = StoredUserID(UserSettingsFile());
    if (stored.empty())
        stored = StoredUserID(SystemSettingsFile());
    return stored.empty() ? std::string(kAnonymousUserID) : stored;
}

// The prompts of a file that is opened by name without asking: the assistant is fresh and unchanged
// and its file name is set, so the reader never needs to ask anything.
class NoPrompts : public IDocumentPrompts {
public:
    std::optional<std::string> AskFileName(const TFileDialogRequest&) override { return std::nullopt; }
    TSaveFirstAnswer AskSaveFirst(const std::string&) override { return TSaveFirstAnswer::Cancel; }
    bool AskReplace(const std::string&) override { return false; }
    std::string ProgramFolder() const override { return {}; }
};

// Opens an assistant as the editor does: a fresh assistant for the user, the document read into it
// (a named file through the editor's own file reader, with its messages and size limit), then the
// authorship notices, which fill in a missing author or modifier. Returns the notices. Failures
// raise AppError with the reader's message.
std::string OpenAssistant(TAssistRoot& root, const std::string& fileName, std::istream& standardInput) {
    if (fileName == "-") {
        // A folder given as standard input would otherwise look like an endless stream.
        struct stat st {};
        if (::fstat(STDIN_FILENO, &st) == 0 && S_ISDIR(st.st_mode))
            throw AppError(std::string("Cannot read standard input: ") + std::strerror(EISDIR) + ".");
        root.LoadFromStream(standardInput);
    } else {
        root.FileName = fileName;
        NoPrompts prompts;
        if (!root.LoadFromFile(false, prompts))
            throw AppError("Cannot open file \"" + fileName + "\".");
    }
    return AuthorshipNotices(root);
}

// Writes a command's result to -o OUT (replacing it safely) or to standard output (also for -o -).
void Emit(const std::string& text, const Invocation& invocation, std::ostream& out) {
    if (invocation.Output && *invocation.Output != "-")
        SaveTextToFile(text, *invocation.Output);
    else
        out << text;
}

int RunNew(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    Emit(root.SaveToText(), invocation, io.Out);
    return kSuccess;
}

int RunResave(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    Emit(root.SaveToText(), invocation, io.Out);
    return kSuccess;
}

// The text form indents two blanks per level down to this depth; deeper nodes keep that indent and
// carry their depth as a number, so the output grows linearly with the assistant, whatever its depth.
constexpr int kStructureIndentLimit = 32;

int RunStructure(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    const NavigationStructure structure = BuildNavigationStructure(root);
    if (invocation.Json) {
        std::string line;
        io.Out << '[';
        for (std::size_t i = 0; i < structure.Nodes.size(); ++i) {
            const NavigationNode& node = structure.Nodes[i];
            line = i == 0 ? "\n" : ",\n";
            line += "  {\"depth\": " + std::to_string(node.Depth) + ", \"text\": " + JsonString(node.Text);
            AppendJsonItem(line, root, node.Item);
            line += '}';
            io.Out << line;
        }
        io.Out << (structure.Nodes.empty() ? "]\n" : "\n]\n");
        return kSuccess;
    }
    const std::string deepIndent(static_cast<std::size_t>(kStructureIndentLimit) * 2, ' ');
    for (const NavigationNode& node : structure.Nodes) {
        if (node.Depth <= kStructureIndentLimit)
            io.Out << std::string(static_cast<std::size_t>(node.Depth) * 2, ' ');
        else
            io.Out << deepIndent << '[' << std::to_string(node.Depth) << "] ";
        io.Out << OneLineText(node.Text) << '\n';
    }
    return kSuccess;
}

int RunNotices(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    std::string notices = OpenAssistant(root, invocation.Files.front(), io.In);
    if (notices.empty())
        return kSuccess;
    for (char& c : notices)
        if (c == '\r')
            c = '\n';
    io.Out << notices << '\n';
    return kSuccess;
}

int RunPublish(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    const TPublishResult page = PublishWebPage(root);
    for (const std::string& warning : page.Warnings)
        io.Err << "amftool: warning: " << OneLineText(warning) << '\n';
    Emit(page.Html, invocation, io.Out);
    return kSuccess;
}

int RunReport(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    CoreComponentFactory factory;
    const std::string html = PrepareAssistantReport(
        factory, root.Caption, [&root](IHTMLReport& report) { root.WriteReport(report); });
    Emit(html, invocation, io.Out);
    return kSuccess;
}

// How a finding's item is named in the JSON output.
void AppendJsonItem(std::string& json, const TAssistRoot& root, const TAssistBase* item) {
    if (item == nullptr) {
        json += ", \"itemKind\": null, \"itemId\": null";
    } else if (item == &root) {
        json += ", \"itemKind\": \"assistant\", \"itemId\": " + JsonString(item->ID);
    } else if (const auto* option = dynamic_cast<const TAssistOption*>(item)) {
        json += ", \"itemKind\": \"option\", \"itemId\": " + JsonString(option->ID);
        json += ", \"screenId\": " +
                (option->Owner != nullptr ? JsonString(option->Owner->ID) : std::string("null"));
    } else {
        json += ", \"itemKind\": \"screen\", \"itemId\": " + JsonString(item->ID);
    }
}

std::string DisplayName(const std::string& fileName) {
    return fileName == "-" ? std::string("(standard input)") : fileName;
}

int RunCheck(const Invocation& invocation, Streams& io) {
    const std::string userID = EffectiveUserID(invocation);
    const bool withHeaders = invocation.Files.size() > 1;
    bool unreadable = false;
    bool errors = false;
    std::string json;
    for (const std::string& fileName : invocation.Files) {
        if (withHeaders && !invocation.Json)
            io.Out << OneLineText(DisplayName(fileName)) << ":\n";
        TAssistRoot root(userID);
        try {
            OpenAssistant(root, fileName, io.In);
        } catch (const AppError& e) {
            // The other files are still checked; the exit status reports the failure.
            io.Out.flush();
            io.Err << e.what() << '\n';
            unreadable = true;
            continue;
        }
        const StructureCheckResult result = CheckStructure(root);
        errors = errors || result.Errors > 0;
        if (invocation.Json) {
            for (const StructureFinding& finding : result.Findings) {
                json += json.empty() ? "[\n" : ",\n";
                json += "  {\"file\": " + JsonString(fileName) + ", \"severity\": " +
                        (finding.Severity == FindingSeverity::Error ? "\"error\"" : "\"warning\"") +
                        ", \"message\": " + JsonString(finding.Message);
                AppendJsonItem(json, root, finding.Item);
                json += "}";
            }
        } else {
            // IDs and commands may hold line breaks; escaped, every finding stays on its own line.
            for (const StructureFinding& finding : result.Findings)
                io.Out << OneLineText(finding.Line()) << '\n';
            // The Warnings page's tab caption without its accelerator mark.
            std::string caption = WarningsCaption(result.Warnings, result.Errors);
            if (!caption.empty() && caption.front() == '&')
                caption.erase(0, 1);
            io.Out << caption << '\n';
        }
    }
    if (invocation.Json)
        io.Out << (json.empty() ? std::string("[]\n") : json + "\n]\n");
    if (unreadable)
        return kFailure;
    return errors ? kCheckFoundErrors : kSuccess;
}

// The dictionary language when --lang is not given: the locale's language ("de_DE" of
// "de_DE.UTF-8@euro") when such a dictionary is installed, else American English.
std::string DefaultLanguage() {
    for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
        const char* value = std::getenv(name);
        if (value == nullptr || *value == '\0')
            continue;
        std::string language(value);
        language = language.substr(0, language.find_first_of(".@"));
        if (language != "C" && language != "POSIX" && FindDictionary(language))
            return language;
        break;
    }
    return "en_US";
}

std::string InstalledLanguagesText() {
    std::string list;
    for (const DictionaryFiles& dictionary : InstalledDictionaries())
        list += (list.empty() ? "" : ", ") + dictionary.Language;
    return list.empty() ? std::string("none") : list;
}

int RunSpell(const Invocation& invocation, Streams& io) {
    const std::string language = invocation.Lang ? *invocation.Lang : DefaultLanguage();
    const std::optional<DictionaryFiles> files = FindDictionary(language);
    if (!files) {
        std::string folders;
        for (const std::string& folder : DictionaryFolders())
            folders += (folders.empty() ? "" : ", ") + folder;
        throw AppError("No dictionary for \"" + language + "\" in " + folders +
                       ". Installed dictionaries: " + InstalledLanguagesText() + ".");
    }
    const SpellChecker checker(*files);
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    const std::vector<SpellFinding> findings = CheckAssistantSpelling(root, checker);
    if (invocation.Json) {
        std::string json;
        for (const SpellFinding& finding : findings) {
            json += json.empty() ? "[\n" : ",\n";
            json += "  {\"file\": " + JsonString(invocation.Files.front()) +
                    ", \"itemId\": " + JsonString(finding.ItemID) +
                    ", \"field\": " + JsonString(finding.Field) + ", \"word\": " + JsonString(finding.Word) +
                    ", \"suggestions\": [";
            for (std::size_t i = 0; i < finding.Suggestions.size(); ++i)
                json += (i == 0 ? "" : ", ") + JsonString(finding.Suggestions[i]);
            json += "]}";
        }
        io.Out << (json.empty() ? std::string("[]\n") : json + "\n]\n");
    } else {
        for (const SpellFinding& finding : findings) {
            std::string suggestions;
            for (const std::string& suggestion : finding.Suggestions)
                suggestions += (suggestions.empty() ? "" : ", ") + suggestion;
            // An ID may hold tabs or line breaks; escaped, every finding keeps to one line.
            io.Out << OneLineText(finding.ItemID) << '\t' << finding.Field << '\t' << finding.Word << '\t'
                   << suggestions << '\n';
        }
    }
    return findings.empty() ? kSuccess : kCheckFoundErrors;
}

// A screen for the JSON output of paths: its ID and its position counted from 1.
std::string JsonScreen(const TAssistRoot& root, int position) {
    return "{\"id\": " + JsonString(root.Screens.Item(position)->ID) +
           ", \"position\": " + std::to_string(position + 1) + "}";
}

std::string JsonScreens(const TAssistRoot& root, const std::vector<int>& positions) {
    std::string json = "[";
    for (const int position : positions)
        json += (json.size() == 1 ? "" : ", ") + JsonScreen(root, position);
    return json + "]";
}

int RunPaths(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    const ScreenReachability reach = FindReachability(root);
    if (invocation.Json) {
        io.Out << "{\"file\": " << JsonString(invocation.Files.front())
               << ", \"screens\": " << root.Screens.Count()
               << ", \"start\": " << (reach.Start < 0 ? std::string("null") : JsonScreen(root, reach.Start))
               << ",\n \"unreachable\": " << JsonScreens(root, reach.Unreachable)
               << ",\n \"deadEnds\": " << JsonScreens(root, reach.DeadEnds) << "}\n";
        return kSuccess;
    }
    for (const int position : reach.Unreachable)
        io.Out << "Unreachable: " << OneLineText(root.Screens.Item(position)->ID) << '\n';
    for (const int position : reach.DeadEnds)
        io.Out << "Dead end: " << OneLineText(root.Screens.Item(position)->ID) << '\n';
    io.Out << "Screens: " << root.Screens.Count() << ", unreachable: " << reach.Unreachable.size()
           << ", dead ends: " << reach.DeadEnds.size() << ".\n";
    return kSuccess;
}

// The output format named by the extension of OUT (letter case ignored); empty when it names none.
std::string MapFormat(const std::string& output) {
    const std::size_t dot = output.rfind('.');
    const std::size_t slash = output.rfind('/');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash))
        return {};
    std::string extension = output.substr(dot + 1);
    for (char& c : extension)
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    return extension == "svg" || extension == "png" || extension == "dot" ? extension : std::string();
}

int RunMap(const Invocation& invocation, Streams& io) {
    TAssistRoot root(EffectiveUserID(invocation));
    OpenAssistant(root, invocation.Files.front(), io.In);
    const AssistantMap map = BuildAssistantMap(root);
    const std::string format = MapFormat(*invocation.Output);
    const std::string bytes = format == "dot" ? MapToDot(map) : RenderMap(map, format);
    SaveTextToFile(bytes, *invocation.Output);
    return kSuccess;
}

// Reads the option value that follows `name` (as the next argument or after '=' in the same one).
bool TakeValue(const std::vector<std::string>& args, std::size_t& i, std::string_view name,
               std::optional<std::string>& value, std::string& problem) {
    const std::string& arg = args[i];
    if (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=') {
        value = arg.substr(name.size() + 1);
        return true;
    }
    if (i + 1 >= args.size()) {
        problem = "option " + std::string(name) + " needs a value";
        return false;
    }
    value = args[++i];
    return true;
}

bool StartsWithOption(const std::string& arg, std::string_view name) {
    return arg == name ||
           (arg.size() > name.size() && arg.compare(0, name.size(), name) == 0 && arg[name.size()] == '=');
}

// What a command that has written to standard output finally returns: its own status, unless the
// output could not be written (a full disk, a closed pipe), which a script must not take for success.
int FinishOutput(int status, std::ostream& out, std::ostream& err) {
    out.flush();
    if (!out) {
        err << "amftool: cannot write to standard output\n";
        return kFailure;
    }
    return status;
}
} // namespace

int RunAmfTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty())
        return UsageError("no command given", nullptr, err);
    const std::string& first = args[0];
    if (first == "--help" || first == "-h" || first == "help") {
        if (args.size() == 1) {
            PrintGeneralHelp(out);
            return FinishOutput(kSuccess, out, err);
        }
        const Command* command = FindCommand(args[1]);
        if (command == nullptr)
            return UsageError("unknown command \"" + args[1] + "\"", nullptr, err);
        if (args.size() > 2)
            return UsageError("unexpected argument \"" + args[2] + "\"", nullptr, err);
        PrintCommandHelp(*command, out);
        return FinishOutput(kSuccess, out, err);
    }
    if (first == "--version") {
        const TVersionRecord record = TVersionInformation::OfProgram("");
        out << "amftool " << record.Version << " (build " << record.Build << ")\n";
        return FinishOutput(kSuccess, out, err);
    }
    const Command* command = FindCommand(first);
    if (command == nullptr) {
        if (!first.empty() && first[0] == '-')
            return UsageError("unknown option \"" + first + "\"", nullptr, err);
        return UsageError("unknown command \"" + first + "\"", nullptr, err);
    }

    Invocation invocation;
    bool onlyFiles = false;
    for (std::size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        std::string problem;
        if (onlyFiles || arg == "-" || arg.empty() || arg[0] != '-') {
            invocation.Files.push_back(arg);
        } else if (arg == "--") {
            onlyFiles = true;
        } else if (arg == "--help" || arg == "-h") {
            PrintCommandHelp(*command, out);
            return FinishOutput(kSuccess, out, err);
        } else if ((command->Options & kUserOption) && StartsWithOption(arg, "--user")) {
            if (!TakeValue(args, i, "--user", invocation.User, problem))
                return UsageError(problem, command, err);
            if (!IsUserID(*invocation.User))
                return UsageError("invalid user ID \"" + *invocation.User +
                                      "\": expected a braced GUID, one blank and a name, for example \"" +
                                      std::string(kAnonymousUserID) + "\"",
                                  command, err);
        } else if ((command->Options & kOutputOption) && (arg == "-o" || StartsWithOption(arg, "--output"))) {
            if (!TakeValue(args, i, arg == "-o" ? "-o" : "--output", invocation.Output, problem))
                return UsageError(problem, command, err);
            if (invocation.Output->empty())
                return UsageError("option " + std::string(arg == "-o" ? "-o" : "--output") +
                                      " needs a file name",
                                  command, err);
        } else if ((command->Options & kLangOption) && StartsWithOption(arg, "--lang")) {
            if (!TakeValue(args, i, "--lang", invocation.Lang, problem))
                return UsageError(problem, command, err);
            if (invocation.Lang->empty())
                return UsageError("option --lang needs a language, for example en_US", command, err);
        } else if ((command->Options & kJsonOption) && arg == "--json") {
            invocation.Json = true;
        } else {
            return UsageError("unknown option \"" + arg + "\" for " + std::string(command->Name), command,
                              err);
        }
    }

    const std::size_t files = invocation.Files.size();
    if (files < command->MinFiles)
        return UsageError(command->MinFiles == 1 && command->MaxFiles == 1 ? "missing FILE"
                                                                           : "missing FILE(s)",
                          command, err);
    if (files > command->MaxFiles)
        return UsageError(command->MaxFiles == 0
                              ? "unexpected argument \"" + invocation.Files.front() + "\""
                              : "too many files: " + std::string(command->Name) + " takes one FILE",
                          command, err);
    if (command->Run == RunMap) {
        // The format comes from OUT's extension, so OUT must be a named file.
        if (!invocation.Output || *invocation.Output == "-")
            return UsageError("map needs -o OUT.svg, OUT.png or OUT.dot", command, err);
        if (MapFormat(*invocation.Output).empty())
            return UsageError("cannot tell the format of \"" + *invocation.Output +
                                  "\": the file name must end in .svg, .png or .dot",
                              command, err);
    }
    std::size_t stdinUses = 0;
    for (const std::string& file : invocation.Files) {
        if (file.empty())
            return UsageError("empty file name", command, err);
        stdinUses += file == "-" ? 1 : 0;
    }
    if (stdinUses > 1)
        return UsageError("standard input (\"-\") can be read only once", command, err);

    Streams io{in, out, err};
    int status;
    try {
        status = command->Run(invocation, io);
    } catch (const AppError& e) {
        // The message exactly as the editor's error box would show it.
        out.flush();
        err << e.what() << '\n';
        return kFailure;
    } catch (const std::exception& e) {
        out.flush();
        err << "amftool: " << e.what() << '\n';
        return kFailure;
    }
    return FinishOutput(status, out, err);
}
