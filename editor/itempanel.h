#pragma once
// The common part of the edit panels (General, Screen, Option): a panel shows the item it is given when
// the item is of its kind, and stores its own boxes into that item through the edit layer when the
// focus leaves them (its exit handlers). Given an item of another kind, or none, it forgets its item and
// keeps its boxes as they are, so that nothing typed there reaches the model.
//
// A panel works without a window: Attach() hands it the edit layer, where its questions go, and the
// registry that runs its exit handlers; a test can attach a panel to an assistant of its own.
#include <QList>
#include <QWidget>

#include <exception>
#include <functional>

class ExitHandlerRegistry;
class Prompter;
class TAssistBase;
class TDocumentEdits;

class ItemPanel : public QWidget {
    Q_OBJECT
public:
    // What a panel needs from its surroundings. The prompter is asked for each time it is needed (the
    // window's can be replaced).
    struct Services {
        TDocumentEdits* edits = nullptr;
        std::function<Prompter&()> prompter;
        ExitHandlerRegistry* exitHandlers = nullptr;
        // Shows a failure of a panel's own button (there is no caller to report it to).
        std::function<void(const std::exception&)> showError;
    };

    using QWidget::QWidget;

    // Registers the panel's exit handlers; the panel stores through `services.edits` from now on.
    void Attach(Services services);
    // Shows `item` and returns true when it is of this panel's kind; otherwise forgets the panel's item.
    virtual bool ShowItem(TAssistBase* item) = 0;
    // The item the panel shows and stores into; nullptr when it has none.
    virtual TAssistBase* Item() const = 0;
    // The boxes that hold text the user writes (for checks and searches over the panel's text).
    virtual QList<QWidget*> TextBoxes() const = 0;
    // The boxes of TextBoxes() that hold prose an end user reads (captions, texts, descriptions), the
    // ones spell checking marks; never IDs, commands or scripts.
    virtual QList<QWidget*> ProseBoxes() const = 0;

Q_SIGNALS:
    // The panel created an item (a screen named in a box) that the tree should show expanded.
    void ExpandInTree(TAssistBase* item);

protected:
    virtual void RegisterExitHandlers(ExitHandlerRegistry& registry) = 0;
    bool Attached() const { return m_services.edits != nullptr; }
    TDocumentEdits& Edits() const { return *m_services.edits; }
    Prompter& Ask() const { return m_services.prompter(); }
    // Runs a button's command: first stores the focused box, as every command does; a failure is shown.
    void RunButton(const std::function<void()>& command);

private:
    Services m_services;
};
