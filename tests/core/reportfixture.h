#pragma once
// Small builders of assistants for the report tests. Items are made as a file reader makes them
// (inside a loading scope), so nothing is stamped with today's date and every field is what the test
// sets.
#include <string>
#include <vector>

#include "model/assistroot.h"

namespace reportfixture {
inline const std::string kAnn = "{1F0C2B7E-0000-4000-8000-00000000000A} Ann Lee";

// An assistant with fixed top-level fields and no screens.
inline std::unique_ptr<TAssistRoot> MakeAssistant(const std::string& id = "A1",
                                                  const std::string& caption = "Printer help") {
    auto root = std::make_unique<TAssistRoot>(kAnn);
    root->ID = id;
    root->Caption = caption;
    root->AuthorName = "Ann Lee";
    root->BuildDate = "20260102";
    root->Version = "1.2";
    root->Copyright = "Copyright (c) 2026";
    return root;
}

inline TAssistScreen* AddScreen(TAssistRoot& root, const std::string& id, const std::string& caption) {
    TAssistRoot::LoadingScope loading(root);
    TAssistScreen* screen = TAssistScreen::Create(root);
    screen->ID = id;
    screen->Caption = caption;
    return screen;
}

inline TAssistOption* AddOption(TAssistScreen& screen, const std::string& id, const std::string& caption,
                                TActionKind action = akGoto, const std::string& command = {}) {
    TAssistRoot::LoadingScope loading(*screen.Root);
    TAssistOption* option = TAssistOption::Create(screen);
    option->ID = id;
    option->Caption = caption;
    option->Action = action;
    option->Command = command;
    return option;
}

inline TNote* AddNote(TNotes& notes, const std::string& name, const std::string& type, const std::string& id,
                      const std::string& text) {
    TNote* note = notes.Add();
    note->Name = name;
    note->Type = type;
    note->ID = id;
    note->Text = text;
    return note;
}
} // namespace reportfixture
