#pragma once
// Builds assistants in code for the structure check and navigation tests: screens and options with
// given fields, random small assistants whose IDs collide often, and a readable name for an item's
// place in its assistant.
#include "model/assistroot.h"
#include "support/textroutines.h"

#include <array>
#include <cstdint>
#include <random>
#include <string>

namespace testbuild {

inline const std::string User = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

// Screens and options are created as the file reader creates them, so nothing is generated or marked
// and creation costs constant time (a chain of 100,000 screens stays cheap).
inline TAssistScreen& Screen(TAssistRoot& root, const std::string& id, const std::string& caption = "Cap") {
    TAssistRoot::LoadingScope loading(root);
    TAssistScreen& screen = *TAssistScreen::Create(root);
    screen.ID = id;
    screen.Caption = caption;
    return screen;
}

inline TAssistOption& Option(TAssistScreen& screen, const std::string& id, TActionKind action = akExec,
                             const std::string& command = "run.exe", const std::string& caption = "Go") {
    TAssistRoot::LoadingScope loading(*screen.Root);
    TAssistOption& option = *TAssistOption::Create(screen);
    option.ID = id;
    option.Action = action;
    option.Command = command;
    option.Caption = caption;
    return option;
}

// "root", "screen N" or "option N.K" (1-based positions) for an item of `root`; "none" for nullptr and
// "foreign" for an item that is not part of it. Items are compared by identity.
inline std::string Place(const TAssistRoot& root, const TAssistBase* item) {
    if (item == nullptr)
        return "none";
    if (item == &root)
        return "root";
    int n = 0;
    for (const TAssistScreen& screen : root.Screens) {
        ++n;
        if (item == &screen)
            return "screen " + IntToStr(n);
        int k = 0;
        for (const TAssistOption& option : screen.Options) {
            ++k;
            if (item == &option)
                return "option " + IntToStr(n) + "." + IntToStr(k);
        }
    }
    return "foreign";
}

// Deterministic small random numbers (no distribution objects, whose output differs between
// standard libraries).
class Dice {
public:
    explicit Dice(std::uint32_t seed) : m_rng(seed) {}
    int Below(int n) { return static_cast<int>(m_rng() % static_cast<std::uint32_t>(n)); }
    bool OneIn(int n) { return Below(n) == 0; }
    template <typename T, std::size_t N> const T& Pick(const std::array<T, N>& from) {
        return from[static_cast<std::size_t>(Below(static_cast<int>(N)))];
    }

private:
    std::mt19937 m_rng;
};

// A random small assistant: up to 6 screens of up to 4 options (now and then up to 24), IDs and commands
// drawn from a small set that collides in letter case (and holds an empty ID and non-ASCII letters, which
// only match exactly), every action kind, captions, descriptions, scripts and notes present or not.
inline void FillRandomAssistant(TAssistRoot& root, Dice& dice) {
    static const std::array<std::string, 10> ids = {"",      "A",     "a",  "B",        "b",
                                                    "Start", "START", "S1", "\xC3\xA9", "\xC3\x89"};
    static const std::array<std::string, 7> scripts = {
        "", "Sub Main", "sub main' start", "Sub Main()", "Dim x\rSub Main\rEnd Sub", "Public Sub Main", "x"};
    static const std::array<std::string, 3> captions = {"", " ", "Caption"};
    auto maybe = [&](const std::string& text) { return dice.OneIn(3) ? std::string() : text; };

    root.ID = maybe("A1");
    root.Caption = maybe("Assistant");
    root.AuthorName = maybe("Ann");
    root.Copyright = maybe("(c) Ann");
    root.Description.clear();
    if (!dice.OneIn(3))
        root.Description.push_back(dice.OneIn(2) ? "" : "Line");
    root.FirstScreen = dice.Pick(ids);

    const int screens = dice.Below(7);
    for (int s = 0; s < screens; ++s) {
        TAssistScreen& screen = Screen(root, dice.Pick(ids), dice.Pick(captions));
        // Now and then a screen with many options, whose option IDs are counted through a table.
        const int options = dice.OneIn(10) ? 17 + dice.Below(8) : dice.Below(5);
        for (int o = 0; o < options; ++o) {
            const auto action = static_cast<TActionKind>(dice.Below(ActionKindCount));
            const bool gotoLike = action == akGoto || action == akGotoButton;
            const std::string command = gotoLike || dice.OneIn(3) ? dice.Pick(ids) : "file.txt";
            TAssistOption& option = Option(screen, dice.Pick(ids), action, command, dice.Pick(captions));
            if (dice.OneIn(3))
                option.Description.push_back("More");
            option.Script = dice.Pick(scripts);
            if (dice.OneIn(2))
                option.Notes.Add()->Name = "Note";
        }
    }
}

} // namespace testbuild
