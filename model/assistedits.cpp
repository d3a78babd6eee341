#include "model/assistedits.h"

#include "model/assistoption.h"
#include "support/textroutines.h"

namespace {

void CopyOptionFields(const TAssistOption& from, TAssistOption& to) {
    to.Caption = from.Caption;
    to.Description = from.Description;
    to.Expanded = from.Expanded;
    to.Action = from.Action;
    to.Command = from.Command;
    to.Script = from.Script;
    for (const TNote& note : from.Notes) {
        TNote& copy = *to.Notes.Add();
        copy.Name = note.Name;
        copy.Type = note.Type;
        copy.Text = note.Text;
        copy.ID = note.ID;
    }
}

} // namespace

TScreenRename PlanScreenRename(TAssistRoot& root, TAssistScreen& screen, const std::string& newID) {
    TScreenRename rename;
    rename.Screen = &screen;
    rename.OldID = screen.ID;
    rename.NewID = newID;
    rename.OldFirstScreen = root.FirstScreen;
    if (root.Screens.FindScreen(screen.ID) != &screen)
        return rename; // references with this ID lead to an earlier screen
    for (TAssistScreen& s : root.Screens)
        for (TAssistOption& option : s.Options)
            if (IsGoto(option.Action) && SameText(option.Command, screen.ID)) {
                rename.Commands.push_back(&option);
                rename.OldCommands.push_back(option.Command);
            }
    rename.FirstScreen = SameText(root.FirstScreen, screen.ID);
    return rename;
}

void ApplyScreenRename(TAssistRoot& root, const TScreenRename& rename, bool undo) {
    rename.Screen->ID = undo ? rename.OldID : rename.NewID;
    for (std::size_t i = 0; i < rename.Commands.size(); ++i)
        rename.Commands[i]->Command = undo ? rename.OldCommands[i] : rename.NewID;
    if (rename.FirstScreen)
        root.FirstScreen = undo ? rename.OldFirstScreen : rename.NewID;
    root.MarkChanged();
}

TAssistScreen* DuplicateScreen(TAssistRoot& root, int index) {
    const TAssistScreen* original = root.Screens.Item(index);
    if (!original)
        return nullptr;
    // Create appends with a fresh ID; the copy is then moved right after the original.
    TAssistScreen& copy = *TAssistScreen::Create(root);
    copy.Caption = original->Caption;
    copy.Description = original->Description;
    copy.Image = original->Image;
    copy.Expanded = original->Expanded;
    for (const TAssistOption& option : original->Options)
        CopyOptionFields(option, *TAssistOption::Create(copy));
    root.Screens.Move(root.Screens.Count() - 1, index + 1);
    root.MarkChanged();
    return &copy;
}

TAssistOption* DuplicateOption(TAssistScreen& screen, int index) {
    const TAssistOption* original = screen.Options.Item(index);
    if (!original)
        return nullptr;
    TAssistOption& copy = *TAssistOption::Create(screen);
    CopyOptionFields(*original, copy);
    screen.Options.Move(screen.Options.Count() - 1, index + 1);
    if (screen.Root)
        screen.Root->MarkChanged();
    return &copy;
}
