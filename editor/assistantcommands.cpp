#include "editor/assistantcommands.h"

#include "model/assistoption.h"

ReplaceAllCommand::ReplaceAllCommand(std::vector<TFieldChange> changes, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Replace all")), changes_(std::move(changes)), view_(view) {}

void ReplaceAllCommand::redo() {
    ApplyChanges(changes_, false);
    view_.RefreshItem();
}

void ReplaceAllCommand::undo() {
    ApplyChanges(changes_, true);
    view_.RefreshItem();
}

RenameScreenCommand::RenameScreenCommand(TAssistRoot& root, TAssistScreen& screen, const std::string& newID,
                                         IAssistantView& view)
    : QUndoCommand(QStringLiteral("Rename screen")), root_(root),
      rename_(PlanScreenRename(root, screen, newID)), view_(view) {}

void RenameScreenCommand::redo() {
    ApplyScreenRename(root_, rename_, false);
    view_.RebuildTree(rename_.Screen);
}

void RenameScreenCommand::undo() {
    ApplyScreenRename(root_, rename_, true);
    view_.RebuildTree(rename_.Screen);
}

DuplicateCommand::DuplicateCommand(TAssistRoot& root, int screen, int option, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Duplicate")), root_(root), screen_(screen), option_(option), view_(view) {}

DuplicateCommand::~DuplicateCommand() = default;

void DuplicateCommand::redo() {
    TAssistScreen* screen = root_.Screens.Item(screen_);
    if (!screen)
        return;
    if (option_ < 0) {
        if (takenScreen_)
            copy_ = root_.Screens.Insert(screen_ + 1, std::move(takenScreen_));
        else
            copy_ = DuplicateScreen(root_, screen_);
    } else {
        if (takenOption_) {
            copy_ = screen->Options.Insert(option_ + 1, std::move(takenOption_));
            root_.MarkChanged();
        } else {
            copy_ = DuplicateOption(*screen, option_);
        }
    }
    view_.RebuildTree(copy_);
}

void DuplicateCommand::undo() {
    TAssistScreen* screen = root_.Screens.Item(screen_);
    if (!screen || !copy_)
        return;
    if (option_ < 0) {
        takenScreen_ = root_.Screens.Detach(screen_ + 1);
    } else {
        takenOption_ = screen->Options.Detach(option_ + 1);
        root_.MarkChanged();
    }
    copy_ = nullptr;
    view_.RebuildTree(screen);
}

MoveItemCommand::MoveItemCommand(TAssistRoot& root, int fromScreen, int fromOption, int toScreen,
                                 int toOption, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Move")), root_(root), fromScreen_(fromScreen), fromOption_(fromOption),
      toScreen_(toScreen), toOption_(toOption), view_(view) {}

// Moves and returns the moved item; positions are those after the move for the destination.
TAssistBase* MoveItemCommand::Move(int fromScreen, int fromOption, int toScreen, int toOption) {
    if (fromOption < 0) {
        if (!root_.Screens.Move(fromScreen, toScreen))
            return nullptr;
        root_.MarkChanged();
        return root_.Screens.Item(toScreen);
    }
    TAssistScreen* from = root_.Screens.Item(fromScreen);
    TAssistScreen* to = root_.Screens.Item(toScreen);
    if (!from || !to)
        return nullptr;
    TAssistOption* moved = nullptr;
    if (from == to) {
        if (!from->Options.Move(fromOption, toOption))
            return nullptr;
        moved = from->Options.Item(toOption);
    } else {
        std::unique_ptr<TAssistOption> option = from->Options.Detach(fromOption);
        if (!option)
            return nullptr;
        moved = to->Options.Insert(toOption, std::move(option));
    }
    root_.MarkChanged();
    return moved;
}

void MoveItemCommand::redo() {
    view_.RebuildTree(Move(fromScreen_, fromOption_, toScreen_, toOption_));
}

void MoveItemCommand::undo() {
    view_.RebuildTree(Move(toScreen_, fromOption_ < 0 ? -1 : toOption_, fromScreen_, fromOption_));
}
