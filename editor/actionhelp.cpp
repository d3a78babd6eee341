#include "editor/actionhelp.h"

namespace {

constexpr std::string_view GuidanceGoto = "Select an existing screen from the drop-down list, or enter a new "
                                          "screen and confirm to create it when prompted.";
constexpr std::string_view GuidanceAssistant =
    "Enter an assistant file, relative to the calling assistant file. {$} FindFile codes can be used if "
    "required.\r\nOptionally, add an initial screen following the file, with a comma.\r\nFor example:\r\n"
    "    {$EXE}\\Second.amf\r\n    Second.amf,Screen34";
constexpr std::string_view GuidanceRun = "Enter a brakko tool, optionally with command-line parameters.\r\n"
                                         "This is now obsolete, and should not be used.";
constexpr std::string_view GuidanceBrowse =
    "Enter a Manulex access command. This can be a simple section code reference, or have an action prefix. "
    "For example:\r\n    CR_1\r\n    text,CR_1_1_1.2\r\n    structure,CR_1_1_1.2\r\n"
    "    search,\"CR_1,CR_2\",\"crystal shape\"";
constexpr std::string_view GuidanceInternet =
    "Enter web address, for example:\r\n    https://example.org/assistant-editor/";
constexpr std::string_view GuidanceScript = "Enter VB script code in sub main...end sub.";
constexpr std::string_view GuidanceNote =
    "This option adds the notes configured to the calling application.\r\n"
    "This is only relevant to applications support the INote interface.";
constexpr std::string_view GuidanceExec =
    "Execute program or file, with command-line parameters separated by spaces and quoted as normal. "
    "Parameters can have {$} FindFile prefixes, in which case they will be replaced by the appropriate full "
    "path. For example:\r\n    NotePad.exe {$EXE}\\MyLogFile.log";

} // namespace

const std::array<std::string_view, ActionKindCount>& ActionEntries() {
    // The drop-down shows the model's own texts of the action kinds, in the order of their values.
    return ActionTexts;
}

std::optional<ActionHelpState> ActionHelpFor(int actionIndex) {
    switch (actionIndex) {
    case 0:
    case 1:
        return ActionHelpState{false, true, GuidanceGoto};
    case 2:
        return ActionHelpState{false, true, GuidanceAssistant};
    case 3:
        return ActionHelpState{false, true, GuidanceRun};
    case 4:
        return ActionHelpState{false, true, GuidanceBrowse};
    case 5:
        return ActionHelpState{false, true, GuidanceInternet};
    case 6:
        return ActionHelpState{true, false, GuidanceScript};
    case 7:
        return ActionHelpState{false, false, GuidanceNote};
    case 8:
        return ActionHelpState{false, true, GuidanceExec};
    default:
        return std::nullopt;
    }
}

std::vector<std::string> CommandExamples(int actionIndex, const std::vector<std::string>& screenIDs) {
    switch (actionIndex) {
    case 0:
    case 1:
        return screenIDs;
    case 2:
        return {"<assistantFile>", "<assistantFile>,<initialScreen>"};
    case 3:
        // Command lines of tools started with a model and a data switch (placeholders, no real tool).
        return {"<tool>.exe /model <modelFile>", "<tool>.exe /model <modelFile> /data <dataFile>",
                "<tool>.exe /data <dataFile>"};
    case 4:
        return {"<code>",
                "text,<code>",
                "structure,<code>",
                "topic,<code>",
                "search,\"<code1>,<code2>...\",\"<searchTerms>\"",
                "home",
                "login",
                "support"};
    case 5:
        return {"https://example.org/", "https://example.org/assistant-editor/"};
    case 8:
        return {"<program>", "<program> <param1> <param2>..."};
    default:
        return {};
    }
}
