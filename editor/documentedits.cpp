#include "editor/documentedits.h"

#include "model/assistroot.h"

#include <QUndoStack>

#include <optional>
#include <utility>

namespace {

// The field's storage in the item, or nullptr when the item has no such field.
std::string* FieldOf(TAssistBase& item, TextField field) {
    auto* root = dynamic_cast<TAssistRoot*>(&item);
    auto* screen = dynamic_cast<TAssistScreen*>(&item);
    auto* option = dynamic_cast<TAssistOption*>(&item);
    switch (field) {
    case TextField::ID:
        return &item.ID;
    case TextField::Caption:
        return &item.Caption;
    case TextField::AuthorName:
        return root ? &root->AuthorName : nullptr;
    case TextField::Copyright:
        return root ? &root->Copyright : nullptr;
    case TextField::Version:
        return root ? &root->Version : nullptr;
    case TextField::FirstScreen:
        return root ? &root->FirstScreen : nullptr;
    case TextField::Image:
        return screen ? &screen->Image : nullptr;
    case TextField::Command:
        return option ? &option->Command : nullptr;
    case TextField::Script:
        return option ? &option->Script : nullptr;
    }
    return nullptr;
}

// The field's name as captions show it.
const char* FieldName(TextField field) {
    switch (field) {
    case TextField::ID:
        return "ID";
    case TextField::Caption:
        return "caption";
    case TextField::AuthorName:
        return "author";
    case TextField::Copyright:
        return "copyright";
    case TextField::Version:
        return "version";
    case TextField::FirstScreen:
        return "first screen";
    case TextField::Image:
        return "image";
    case TextField::Command:
        return "command";
    case TextField::Script:
        return "script";
    }
    return "field";
}

// "Change WHAT of ID", naming the item by the ID it has when the change is made.
std::string ChangeCaption(const std::string& what, const TAssistBase& item) {
    return "Change " + what + " of " + item.ID;
}

// Every stored value of a box is one FieldEdit; storing the same box of the same item again (typing that
// goes on after an autosave stored it) merges into one step of the history.
constexpr int kFieldEditId = 1;

class FieldEdit final : public DocumentEdit {
public:
    FieldEdit(TAssistBase& item, TextField field, std::string value)
        : m_item(item), m_field(field), m_new(std::move(value)),
          m_caption(ChangeCaption(FieldName(field), item)) {}
    void Apply(TAssistRoot&) override { Store(m_new, true); }
    void Revert(TAssistRoot&) override { Store(m_old, false); }
    ViewRebuild Rebuild() const override { return RebuildFor(m_field); }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool) const override { return &m_item; }
    bool Renames() const override { return m_field == TextField::ID; }
    int id() const override { return kFieldEditId; }
    bool mergeWith(const QUndoCommand* other) override {
        const auto* next = static_cast<const FieldEdit*>(other);
        if (&next->m_item != &m_item || next->m_field != m_field)
            return false;
        // Kept even when typed back to where it started: storing the box was a change of the assistant.
        m_new = next->m_new;
        return true;
    }

private:
    void Store(const std::string& value, bool keepOld) {
        std::string* target = FieldOf(m_item, m_field);
        if (keepOld)
            m_old = *target;
        *target = value;
        m_item.MarkChanged();
    }
    TAssistBase& m_item;
    TextField m_field;
    std::string m_new;
    std::string m_old;
    std::string m_caption;
};

class DescriptionEdit final : public DocumentEdit {
public:
    DescriptionEdit(TAssistBase& item, std::vector<std::string> lines)
        : m_item(item), m_other(std::move(lines)), m_caption(ChangeCaption("description", item)) {}
    // Applying and reverting both swap the item's lines with the kept ones.
    void Apply(TAssistRoot&) override { Swap(); }
    void Revert(TAssistRoot&) override { Swap(); }
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool) const override { return &m_item; }

private:
    void Swap() {
        m_item.Description.swap(m_other);
        m_item.MarkChanged();
    }
    TAssistBase& m_item;
    std::vector<std::string> m_other;
    std::string m_caption;
};

class ActionEdit final : public DocumentEdit {
public:
    ActionEdit(TAssistOption& option, TActionKind action)
        : m_option(option), m_other(action), m_caption(ChangeCaption("action", option)) {}
    void Apply(TAssistRoot&) override { Swap(); }
    void Revert(TAssistRoot&) override { Swap(); }
    ViewRebuild Rebuild() const override { return ViewRebuild::Structure; }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool) const override { return &m_option; }

private:
    void Swap() {
        std::swap(m_option.Action, m_other);
        m_option.MarkChanged();
    }
    TAssistOption& m_option;
    TActionKind m_other;
    std::string m_caption;
};

class CreateScreenEdit final : public DocumentEdit {
public:
    // `created` receives the new screen when the edit is first applied.
    CreateScreenEdit(const std::string* id, TAssistScreen** created)
        : m_id(id ? std::optional<std::string>(*id) : std::nullopt), m_created(created) {}
    void Apply(TAssistRoot& root) override {
        if (m_kept) {
            m_screen = root.Screens.Insert(m_index, std::move(m_kept)); // marks the assistant changed
            return;
        }
        m_screen = TAssistScreen::Create(root); // marks the assistant changed
        m_index = root.Screens.Count() - 1;
        if (m_id)
            m_screen->ID = *m_id;
        *m_created = m_screen;
    }
    void Revert(TAssistRoot& root) override { m_kept = root.Screens.Detach(root.Screens.IndexOf(m_screen)); }
    // Its node is added to the views in place (Added); moving through the history rebuilds both.
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    TAssistBase* Added() const override { return m_screen; }
    std::string Caption() const override { return "New screen " + m_screen->ID; }
    bool Structural() const override { return true; }
    TAssistBase* Subject(bool applied) const override { return applied ? m_screen : nullptr; }

private:
    std::optional<std::string> m_id;
    TAssistScreen** m_created;
    TAssistScreen* m_screen = nullptr;
    int m_index = 0;
    std::unique_ptr<TAssistScreen> m_kept;
};

class DeleteScreenEdit final : public DocumentEdit {
public:
    explicit DeleteScreenEdit(TAssistScreen& screen)
        : m_screen(&screen), m_caption("Delete screen " + screen.ID) {}
    void Apply(TAssistRoot& root) override {
        m_index = root.Screens.IndexOf(m_screen);
        m_kept = root.Screens.Detach(m_index); // marks the assistant changed
    }
    void Revert(TAssistRoot& root) override { root.Screens.Insert(m_index, std::move(m_kept)); }
    // Its nodes leave the views in place (Removed); moving through the history rebuilds both.
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    TAssistBase* Removed() const override { return m_screen; }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool applied) const override { return applied ? nullptr : m_screen; }
    bool Structural() const override { return true; }

private:
    TAssistScreen* m_screen;
    std::string m_caption;
    int m_index = -1;
    std::unique_ptr<TAssistScreen> m_kept;
};

class CreateOptionEdit final : public DocumentEdit {
public:
    // `created` receives the new option when the edit is first applied.
    CreateOptionEdit(TAssistScreen& screen, TAssistOption** created) : m_screen(screen), m_created(created) {}
    void Apply(TAssistRoot&) override {
        if (m_kept)
            m_option = m_screen.Options.Insert(m_index, std::move(m_kept));
        else {
            m_option = TAssistOption::Create(m_screen);
            m_index = m_screen.Options.Count() - 1;
            *m_created = m_option;
        }
        // The option list marks nothing by itself; a new option is an unsaved change all the same.
        m_screen.MarkChanged();
    }
    void Revert(TAssistRoot&) override {
        m_kept = m_screen.Options.Detach(m_screen.Options.IndexOf(m_option));
        m_screen.MarkChanged();
    }
    // The option's node is added to the views in place (Added); taking the change back or applying it
    // again moves through the history, which rebuilds both views.
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    TAssistBase* Added() const override { return m_option; }
    std::string Caption() const override { return "New option " + m_option->ID; }
    bool Structural() const override { return true; }
    TAssistBase* Subject(bool applied) const override {
        return applied ? static_cast<TAssistBase*>(m_option) : &m_screen;
    }

private:
    TAssistScreen& m_screen;
    TAssistOption** m_created;
    TAssistOption* m_option = nullptr;
    int m_index = 0;
    std::unique_ptr<TAssistOption> m_kept;
};

class DeleteOptionEdit final : public DocumentEdit {
public:
    explicit DeleteOptionEdit(TAssistOption& option)
        : m_screen(*option.Owner), m_option(&option), m_caption("Delete option " + option.ID) {}
    void Apply(TAssistRoot&) override {
        m_index = m_screen.Options.IndexOf(m_option);
        m_kept = m_screen.Options.Detach(m_index);
        m_screen.MarkChanged();
    }
    void Revert(TAssistRoot&) override {
        m_screen.Options.Insert(m_index, std::move(m_kept));
        m_screen.MarkChanged();
    }
    // Its nodes leave the views in place (Removed); moving through the history rebuilds both.
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    TAssistBase* Removed() const override { return m_option; }
    bool Structural() const override { return true; }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool applied) const override {
        return applied ? static_cast<TAssistBase*>(&m_screen) : m_option;
    }

private:
    TAssistScreen& m_screen;
    TAssistOption* m_option;
    std::string m_caption;
    int m_index = -1;
    std::unique_ptr<TAssistOption> m_kept;
};

// Moves an entry of a screen list or an option list; the moved item is marked as the edit.
template <typename List> class MoveEdit final : public DocumentEdit {
public:
    MoveEdit(List& list, TAssistBase& item, int from, int to)
        : m_list(list), m_item(item), m_from(from), m_to(to) {}
    void Apply(TAssistRoot&) override {
        m_list.Move(m_from, m_to);
        m_item.MarkChanged();
    }
    void Revert(TAssistRoot&) override {
        m_list.Move(m_to, m_from);
        m_item.MarkChanged();
    }
    // The tree moves the item's node in place (Moved). The structure follows the options in list
    // order, and among screens of the same ID the first in the list is the one a link reaches: the
    // window rebuilds it where the move changed either.
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    TAssistBase* Moved() const override { return &m_item; }
    std::string Caption() const override { return (m_to < m_from ? "Move up " : "Move down ") + m_item.ID; }
    bool Structural() const override { return true; }
    TAssistBase* Subject(bool) const override { return &m_item; }

private:
    List& m_list;
    TAssistBase& m_item;
    int m_from;
    int m_to;
};

class NotesEdit final : public DocumentEdit {
public:
    NotesEdit(TAssistOption& option, std::vector<TNote> notes)
        : m_option(option), m_other(std::move(notes)), m_caption(ChangeCaption("notes", option)) {}
    void Apply(TAssistRoot&) override { Swap(); }
    void Revert(TAssistRoot&) override { Swap(); }
    ViewRebuild Rebuild() const override { return ViewRebuild::None; }
    std::string Caption() const override { return m_caption; }
    TAssistBase* Subject(bool) const override { return &m_option; }

private:
    void Swap() {
        std::vector<TNote> current;
        for (const TNote& note : m_option.Notes)
            current.push_back(note);
        m_option.Notes.Clear();
        for (const TNote& note : m_other)
            *m_option.Notes.Add() = note;
        m_other = std::move(current);
        m_option.MarkChanged();
    }
    TAssistOption& m_option;
    std::vector<TNote> m_other;
    std::string m_caption;
};

} // namespace

ViewRebuild RebuildFor(TextField field) {
    switch (field) {
    case TextField::ID:
        return ViewRebuild::Both;
    case TextField::FirstScreen:
        return ViewRebuild::Structure;
    case TextField::Command:
        // A go-to option's target is a link of the structure, and the other kinds show their command
        // in its option node: a structure left as it was would show a link that is no longer there.
        return ViewRebuild::Structure;
    default:
        return ViewRebuild::None;
    }
}

void DocumentEdit::redo() {
    TAssistRoot& root = m_edits->Root();
    Apply(root);
    if (text().isEmpty())
        setText(QString::fromStdString(Caption()));
    Announce(true);
}

void DocumentEdit::undo() {
    Revert(m_edits->Root());
    Announce(false);
}

void DocumentEdit::Announce(bool applied) {
    DocumentChange change;
    change.views = Rebuild();
    change.item = Subject(applied);
    change.structural = Structural();
    change.renamed = Renames();
    // Taking a change back makes out of date what applying it did, with an added item removed and a
    // removed one added again.
    change.added = applied ? Added() : Removed();
    change.removed = applied ? Removed() : Added();
    change.moved = Moved();
    if (m_done || !applied) {
        // Moving through the history shows the model's values in the panel again and selects what the
        // change concerns (the assistant when nothing).
        change.showAgain = true;
        change.select = change.item != nullptr ? change.item : &m_edits->Root();
    }
    m_done = true;
    m_edits->Announce(change);
}

void TDocumentEdits::Run(std::unique_ptr<DocumentEdit> edit) {
    edit->m_edits = this;
    if (m_stack != nullptr)
        m_stack->push(edit.release()); // applies it
    else
        edit->redo();
}

bool TDocumentEdits::SetField(TAssistBase& item, TextField field, const std::string& value,
                              bool storeAlways) {
    const std::string* current = FieldOf(item, field);
    if (current == nullptr)
        return false;
    if (*current == value) {
        // A box that always stores (the script memo) still counts as an edit of the assistant, but an
        // identical value is no change to take back: it leaves no entry in the undo history.
        if (storeAlways)
            item.MarkChanged();
        return false;
    }
    Run(std::make_unique<FieldEdit>(item, field, value));
    return true;
}

bool TDocumentEdits::SetDescription(TAssistBase& item, const std::vector<std::string>& lines) {
    if (item.Description == lines)
        return false;
    Run(std::make_unique<DescriptionEdit>(item, lines));
    return true;
}

bool TDocumentEdits::SetAction(TAssistOption& option, TActionKind action) {
    if (option.Action == action)
        return false;
    Run(std::make_unique<ActionEdit>(option, action));
    return true;
}

TAssistScreen* TDocumentEdits::CreateScreen(const std::string* id) {
    TAssistScreen* created = nullptr;
    Run(std::make_unique<CreateScreenEdit>(id, &created));
    return created;
}

void TDocumentEdits::DeleteScreen(TAssistScreen& screen) {
    Run(std::make_unique<DeleteScreenEdit>(screen));
}

TAssistOption* TDocumentEdits::CreateOption(TAssistScreen& screen) {
    TAssistOption* created = nullptr;
    Run(std::make_unique<CreateOptionEdit>(screen, &created));
    return created;
}

void TDocumentEdits::DeleteOption(TAssistOption& option) {
    Run(std::make_unique<DeleteOptionEdit>(option));
}

bool TDocumentEdits::MoveScreen(TAssistScreen& screen, int to) {
    const int from = m_root->Screens.IndexOf(&screen);
    if (from < 0 || to < 0 || to >= m_root->Screens.Count() || to == from)
        return false;
    Run(std::make_unique<MoveEdit<TAssistScreens>>(m_root->Screens, screen, from, to));
    return true;
}

bool TDocumentEdits::MoveOption(TAssistOption& option, int to) {
    TAssistOptions& list = option.Owner->Options;
    const int from = list.IndexOf(&option);
    if (from < 0 || to < 0 || to >= list.Count() || to == from)
        return false;
    Run(std::make_unique<MoveEdit<TAssistOptions>>(list, option, from, to));
    return true;
}

void TDocumentEdits::ChangeNotes(TAssistOption& option, const std::vector<TNote>& notes) {
    Run(std::make_unique<NotesEdit>(option, notes));
}
