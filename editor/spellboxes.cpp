#include "editor/spellboxes.h"

#include "editor/lineeditspellmarker.h"
#include "editor/spellcontextmenu.h"
#include "editor/spellhighlighter.h"
#include "editor/spellservice.h"

#include <QContextMenuEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QTextEdit>
#include <functional>
#include <memory>

namespace {
// Replaces the context menu of a box by the one `makeMenu` builds for the event. A multi-line box
// gets mouse menus through its viewport and keyboard menus (the Menu key) itself, so both are watched.
class SpellMenuFilter : public QObject {
public:
    using MenuMaker = std::function<QMenu*(const QContextMenuEvent&)>;
    SpellMenuFilter(QWidget* box, QWidget* viewport, MenuMaker makeMenu)
        : QObject(box), m_box(box), m_viewport(viewport), m_makeMenu(std::move(makeMenu)) {
        box->installEventFilter(this);
        if (viewport)
            viewport->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if ((watched != m_box && watched != m_viewport) || event->type() != QEvent::ContextMenu)
            return QObject::eventFilter(watched, event);
        const auto* menuEvent = static_cast<QContextMenuEvent*>(event);
        std::unique_ptr<QMenu> menu(m_makeMenu(*menuEvent));
        menu->exec(menuEvent->globalPos());
        return true;
    }

private:
    QWidget* m_box;
    QWidget* m_viewport;
    MenuMaker m_makeMenu;
};

// Where the menu's word is: under the mouse, or at the text cursor for a menu from the keyboard.
template <typename Box> int MenuPosition(Box& box, const QContextMenuEvent& event) {
    if (event.reason() == QContextMenuEvent::Keyboard)
        return box.textCursor().position();
    return box.cursorForPosition(event.pos()).position();
}
} // namespace

void AttachSpellChecking(QLineEdit* box, SpellService& service, PrompterSource prompter) {
    new LineEditSpellMarker(box, service);
    QPointer<SpellService> target(&service);
    new SpellMenuFilter(box, nullptr, [box, target, prompter](const QContextMenuEvent& event) -> QMenu* {
        if (!target)
            return box->createStandardContextMenu();
        const int position = event.reason() == QContextMenuEvent::Keyboard
                                 ? box->cursorPosition()
                                 : box->cursorPositionAt(event.pos());
        return SpellContextMenu(*box, position, *target, prompter ? prompter() : nullptr);
    });
}

namespace {

// Both kinds of multi-line box: a highlighter on the document and the spelling menu on the viewport.
template <typename Box> void AttachToTextBox(Box* box, SpellService& service, PrompterSource prompter) {
    new SpellHighlighter(box->document(), service);
    QPointer<SpellService> target(&service);
    new SpellMenuFilter(box, box->viewport(),
                        [box, target, prompter](const QContextMenuEvent& event) -> QMenu* {
                            if (!target)
                                return box->createStandardContextMenu(event.pos());
                            return SpellContextMenu(*box, MenuPosition(*box, event), *target,
                                                    prompter ? prompter() : nullptr);
                        });
}

} // namespace

void AttachSpellChecking(QPlainTextEdit* box, SpellService& service, PrompterSource prompter) {
    AttachToTextBox(box, service, std::move(prompter));
}

void AttachSpellChecking(QTextEdit* box, SpellService& service, PrompterSource prompter) {
    AttachToTextBox(box, service, std::move(prompter));
}
