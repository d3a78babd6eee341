#include "editor/treecontextmenu.h"

#include "editor/mainwindow.h"
#include "model/assistoption.h"
#include "model/assistscreen.h"

#include <QAction>
#include <QContextMenuEvent>
#include <QKeySequence>
#include <QMenu>
#include <QTreeView>

namespace {

// Adds an entry that runs the window's command `commandName`: enabled as the command is now, with its
// hint and, after a tab, its short-cut (the menu shows that text as the entry's key; the key itself
// stays the window's, so it is not registered twice). An unknown command gives a disabled entry.
QAction* AddEntry(QMenu* menu, const MainWindow& window, const char* commandName, const QString& text,
                  const char* objectName) {
    QAction* command = window.FindAction(QString::fromLatin1(commandName));
    QString shown = text;
    if (command != nullptr && !command->shortcut().isEmpty())
        shown += u'\t' + command->shortcut().toString(QKeySequence::NativeText);
    QAction* entry = menu->addAction(shown);
    entry->setObjectName(QString::fromLatin1(objectName));
    entry->setEnabled(command != nullptr && command->isEnabled());
    if (command != nullptr) {
        entry->setStatusTip(command->statusTip());
        QObject::connect(entry, &QAction::triggered, command, [command] { command->trigger(); });
    }
    return entry;
}

} // namespace

TreeContextMenu::TreeContextMenu(MainWindow& window)
    : QObject(window.Tree()), m_window(window), m_tree(window.Tree()) {
    setObjectName(QStringLiteral("TreeContextMenu"));
    // A click lands on the viewport, the menu key on the tree (it has the focus).
    m_tree->viewport()->installEventFilter(this);
    m_tree->installEventFilter(this);
}

TreeContextMenu* TreeContextMenu::Attach(MainWindow& window) {
    return new TreeContextMenu(window);
}

QMenu* TreeContextMenu::Shown() const {
    return m_shown.data();
}

QMenu* TreeContextMenu::Build(QWidget* parent) const {
    auto* menu = new QMenu(parent);
    menu->setObjectName(QStringLiteral("mTreeContext"));
    AddEntry(menu, m_window, "aNewScreen", QStringLiteral("New &screen"), "cmNewScreen");
    AddEntry(menu, m_window, "aNewOption", QStringLiteral("New &option"), "cmNewOption");
    // One Delete, for the kind of item that is current.
    const TAssistBase* item = m_window.CurrentItem();
    if (dynamic_cast<const TAssistOption*>(item) != nullptr)
        AddEntry(menu, m_window, "aDelOption", QStringLiteral("&Delete option"), "cmDelete");
    else if (dynamic_cast<const TAssistScreen*>(item) != nullptr)
        AddEntry(menu, m_window, "aDelScreen", QStringLiteral("&Delete screen"), "cmDelete");
    else {
        QAction* none = menu->addAction(QStringLiteral("&Delete"));
        none->setObjectName(QStringLiteral("cmDelete"));
        none->setEnabled(false); // the assistant itself is never deleted
    }
    menu->addSeparator();
    AddEntry(menu, m_window, "aUp", QStringLiteral("&Up"), "cmUp");
    AddEntry(menu, m_window, "aDown", QStringLiteral("Do&wn"), "cmDown");
    menu->addSeparator();
    AddEntry(menu, m_window, "aTest", QStringLiteral("&Test from here"), "cmTestFromHere");
    AddEntry(menu, m_window, "aNote", QStringLiteral("&Notes..."), "cmNotes");
    return menu;
}

void TreeContextMenu::Open(const QPoint& viewportPosition, bool pickRow) {
    if (pickRow) {
        // The row under the pointer becomes current first, so that the entries work on what was
        // clicked. Below the last row the current item stays.
        const QModelIndex index = m_tree->indexAt(viewportPosition);
        if (index.isValid() && index != m_tree->currentIndex())
            m_tree->setCurrentIndex(index);
    }
    if (m_shown != nullptr)
        m_shown->close();
    QMenu* menu = Build(m_tree);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    m_shown = menu;
    menu->popup(m_tree->viewport()->mapToGlobal(viewportPosition));
}

bool TreeContextMenu::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() != QEvent::ContextMenu)
        return QObject::eventFilter(watched, event);
    const auto* request = static_cast<QContextMenuEvent*>(event);
    if (watched == m_tree->viewport() && request->reason() != QContextMenuEvent::Keyboard) {
        Open(request->pos(), true);
        return true;
    }
    if (request->reason() == QContextMenuEvent::Keyboard) {
        // From the keyboard: at the current row, which stays current.
        const QRect row = m_tree->visualRect(m_tree->currentIndex());
        Open(row.isValid() ? QPoint(row.left() + row.height(), row.bottom()) : QPoint(0, 0), false);
        return true;
    }
    return QObject::eventFilter(watched, event);
}
