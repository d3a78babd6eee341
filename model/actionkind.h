#pragma once
// What happens when an option is chosen. The value is also the position in the option panel's Action
// drop-down and indexes the fixed keyword table that assistant files store in ACTION's TYPE attribute.
#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

enum TActionKind : std::uint8_t {
    akGoto,
    akGotoButton,
    akAssistant,
    akRun,
    akBrowse,
    akInternet,
    akScript,
    akNote,
    akExec,
};

inline constexpr int ActionKindCount = 9;

// Whether the kind leads to another screen of the assistant (its command names the screen).
inline constexpr bool IsGoto(TActionKind action) {
    return action == akGoto || action == akGotoButton;
}

// File keywords, indexed by the action kind; spelled exactly as files store them.
inline constexpr std::array<std::string_view, ActionKindCount> ActionKeywords = {
    "GOTO", "GOTOBUTTON", "ASSISTANT", "RUN", "BROWSE", "INTERNET", "SCRIPT", "NOTE", "EXEC",
};

// Texts of the Action drop-down, indexed by the action kind.
inline constexpr std::array<std::string_view, ActionKindCount> ActionTexts = {
    "Go to another screen",
    "Button to another screen",
    "Go to another assistant",
    "Run a Brakko tool",
    "Browse a document",
    "Go to a web page",
    "Run script",
    "Note only",
    "Execute program/file",
};

// Keyword and drop-down text of a kind; empty for a byte value outside the nine kinds.
std::string_view ActionKeyword(TActionKind kind);
std::string_view ActionText(TActionKind kind);

// The kind whose keyword equals `keyword` exactly (letter case counts); none when no keyword matches.
std::optional<TActionKind> ActionKindFromKeyword(std::string_view keyword);
