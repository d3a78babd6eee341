#include "editor/exithandlers.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>

ExitHandlerRegistry::ExitHandlerRegistry(QObject* parent) : QObject(parent) {}

void ExitHandlerRegistry::Register(QLineEdit* box, Handler handler) {
    Add(box, std::move(handler), false);
}

void ExitHandlerRegistry::Register(QPlainTextEdit* box, Handler handler) {
    Add(box, std::move(handler), false);
}

void ExitHandlerRegistry::Register(QComboBox* box, Handler handler, bool enterCommits) {
    Add(box, std::move(handler), enterCommits);
}

void ExitHandlerRegistry::Add(QWidget* box, Handler handler, bool enterCommits) {
    if (!handler) {
        if (m_entries.erase(box) > 0)
            box->removeEventFilter(this);
        return;
    }
    const bool known = m_entries.count(box) > 0;
    m_entries[box] = Entry{std::move(handler), enterCommits};
    if (!known) {
        box->installEventFilter(this);
        connect(box, &QObject::destroyed, this, [this, box] { m_entries.erase(box); });
    }
}

QWidget* ExitHandlerRegistry::BoxFor(QWidget* widget) const {
    for (QWidget* w = widget; w != nullptr; w = w->parentWidget()) {
        if (m_entries.count(w) > 0)
            return w;
        if (w->isWindow())
            break;
    }
    return nullptr;
}

bool ExitHandlerRegistry::RunFor(QWidget* focused) {
    QWidget* box = BoxFor(focused);
    if (box == nullptr || m_running.count(box) > 0)
        return false;
    // Copy the handler: it may re-register or remove itself while it runs.
    const Handler handler = m_entries.at(box).handler;
    m_running.insert(box);
    try {
        handler(box);
    } catch (...) {
        m_running.erase(box);
        throw;
    }
    m_running.erase(box);
    return true;
}

void ExitHandlerRegistry::RunFromEvent(QWidget* box) {
    // An exception must not leave Qt's event delivery: hand it to the error handler instead.
    try {
        RunFor(box);
    } catch (const std::exception& error) {
        if (m_onError)
            m_onError(error);
    }
}

bool ExitHandlerRegistry::eventFilter(QObject* watched, QEvent* event) {
    auto* box = qobject_cast<QWidget*>(watched);
    if (box == nullptr)
        return false;
    const auto entry = m_entries.find(box);
    if (entry == m_entries.end())
        return false;
    if (event->type() == QEvent::FocusOut) {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        if (reason != Qt::PopupFocusReason && reason != Qt::ActiveWindowFocusReason)
            RunFromEvent(box);
    } else if (event->type() == QEvent::KeyPress && entry->second.enterCommits) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            RunFromEvent(box);
    }
    return false;
}
