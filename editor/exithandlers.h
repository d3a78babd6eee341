#pragma once
// Exit handlers of the editor's boxes. A box (single-line edit, drop-down or memo) stores its value into the
// model when the focus leaves it. Commands and short-cuts do not move the focus, so the window also runs the
// handler of the focused box before every command (RunFor). Drop-downs may also commit on Enter, with the
// focus staying in the box.
//
// Focus changes that do not really leave the box are ignored: a popup (menu or drop-down list) opening over
// it, and another window (a message box) becoming active. The second matters because a handler may itself
// show a message box; the handler of a box never runs inside itself.
#include <QObject>

#include <exception>
#include <functional>
#include <unordered_map>
#include <unordered_set>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QWidget;

class ExitHandlerRegistry : public QObject {
    Q_OBJECT
public:
    using Handler = std::function<void(QWidget* sender)>;

    explicit ExitHandlerRegistry(QObject* parent = nullptr);

    // Sets (or replaces) the exit handler of a box. An empty handler removes it.
    void Register(QLineEdit* box, Handler handler);
    void Register(QPlainTextEdit* box, Handler handler);
    // enterCommits: Enter in the box runs the handler while the focus stays there.
    void Register(QComboBox* box, Handler handler, bool enterCommits = false);

    // Runs the exit handler of the box that holds the given (focused) widget, once, with the box as sender.
    // Returns whether a handler ran. Exceptions of the handler reach the caller.
    bool RunFor(QWidget* focused);

    // Receives exceptions of handlers run by a focus change or Enter, which have no caller to report to.
    void SetErrorHandler(std::function<void(const std::exception&)> handler) {
        m_onError = std::move(handler);
    }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Entry {
        Handler handler;
        bool enterCommits = false;
    };
    void Add(QWidget* box, Handler handler, bool enterCommits);
    // The registered box that is, or contains, the given widget (the line edit inside an editable
    // drop-down belongs to the drop-down); nullptr when there is none.
    QWidget* BoxFor(QWidget* widget) const;
    void RunFromEvent(QWidget* box);

    std::unordered_map<const QWidget*, Entry> m_entries;
    std::unordered_set<const QWidget*> m_running;
    std::function<void(const std::exception&)> m_onError;
};
