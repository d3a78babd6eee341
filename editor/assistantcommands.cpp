#include "editor/assistantcommands.h"

#include "model/assistoption.h"

ReplaceAllCommand::ReplaceAllCommand(std::vector<TFieldChange> changes, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Replace all")), m_changes(std::move(changes)), m_view(view) {}

void ReplaceAllCommand::redo() {
    ApplyChanges(m_changes, false);
    m_view.RefreshItem();
}

void ReplaceAllCommand::undo() {
    ApplyChanges(m_changes, true);
    m_view.RefreshItem();
}

RenameScreenCommand::RenameScreenCommand(TAssistRoot& root, TAssistScreen& screen, const std::string& newID,
                                         IAssistantView& view)
    : QUndoCommand(QStringLiteral("Rename screen")), m_root(root),
      m_rename(PlanScreenRename(root, screen, newID)), m_view(view) {}

void RenameScreenCommand::redo() {
    ApplyScreenRename(m_root, m_rename, false);
    m_view.RebuildTree(m_rename.Screen);
}

void RenameScreenCommand::undo() {
    ApplyScreenRename(m_root, m_rename, true);
    m_view.RebuildTree(m_rename.Screen);
}

DuplicateCommand::DuplicateCommand(TAssistRoot& root, int screen, int option, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Duplicate")), m_root(root), m_screen(screen), m_option(option),
      m_view(view) {}

DuplicateCommand::~DuplicateCommand() = default;

void DuplicateCommand::redo() {
    TAssistScreen* screen = m_root.Screens.Item(m_screen);
    if (!screen)
        return;
    if (m_option < 0) {
        if (m_takenScreen)
            m_copy = m_root.Screens.Insert(m_screen + 1, std::move(m_takenScreen));
        else
            m_copy = DuplicateScreen(m_root, m_screen);
    } else {
        if (m_takenOption) {
            m_copy = screen->Options.Insert(m_option + 1, std::move(m_takenOption));
            m_root.MarkChanged();
        } else {
            m_copy = DuplicateOption(*screen, m_option);
        }
    }
    if (m_copy != nullptr)
        m_view.ItemAdded(m_copy);
}

void DuplicateCommand::undo() {
    TAssistScreen* screen = m_root.Screens.Item(m_screen);
    if (!screen || !m_copy)
        return;
    TAssistBase* taken = nullptr;
    if (m_option < 0) {
        m_takenScreen = m_root.Screens.Detach(m_screen + 1);
        taken = m_takenScreen.get();
    } else {
        m_takenOption = screen->Options.Detach(m_option + 1);
        taken = m_takenOption.get();
        m_root.MarkChanged();
    }
    m_copy = nullptr;
    if (taken != nullptr)
        m_view.ItemRemoved(taken, screen);
}

MoveItemCommand::MoveItemCommand(TAssistRoot& root, int fromScreen, int fromOption, int toScreen,
                                 int toOption, IAssistantView& view)
    : QUndoCommand(QStringLiteral("Move")), m_root(root), m_fromScreen(fromScreen), m_fromOption(fromOption),
      m_toScreen(toScreen), m_toOption(toOption), m_view(view) {}

// Moves and returns the moved item; positions are those after the move for the destination.
TAssistBase* MoveItemCommand::Move(int fromScreen, int fromOption, int toScreen, int toOption) {
    if (fromOption < 0) {
        if (!m_root.Screens.Move(fromScreen, toScreen))
            return nullptr;
        m_root.MarkChanged();
        return m_root.Screens.Item(toScreen);
    }
    TAssistScreen* from = m_root.Screens.Item(fromScreen);
    TAssistScreen* to = m_root.Screens.Item(toScreen);
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
    m_root.MarkChanged();
    return moved;
}

void MoveItemCommand::redo() {
    if (TAssistBase* moved = Move(m_fromScreen, m_fromOption, m_toScreen, m_toOption))
        m_view.ItemMoved(moved);
}

void MoveItemCommand::undo() {
    if (TAssistBase* moved = Move(m_toScreen, m_fromOption < 0 ? -1 : m_toOption, m_fromScreen, m_fromOption))
        m_view.ItemMoved(moved);
}
