#pragma once

#include <QObject>
#include <QTimer>

#include <functional>

// Runs a write (the recovery copy) after changes, at most once per interval while changes keep coming, and at
// once on demand (the window losing focus). A change within the interval after a write waits for the
// interval's end, so a crash loses at most one interval of typing.
class DebouncedSaver : public QObject {
    Q_OBJECT
public:
    explicit DebouncedSaver(std::function<void()> write, int intervalMs = 2000, QObject* parent = nullptr);

    // Notes a stored change; writes now when the last write is an interval old, else when the interval ends.
    void Changed();
    // Notes a change that is not urgent (typing still going on): it is written when the running interval
    // ends, or one interval from now when none runs; never at once.
    void ChangedLater();
    // Notes a change to keep at once, but after the window has shown it: written when the event loop
    // next runs its timers, so the views are brought up to date and painted first; several such
    // changes in a row are written once.
    void ChangedSoon();
    // Writes now when a change is pending (focus loss, before closing); does nothing otherwise.
    void Flush();
    bool Pending() const { return m_pending; }
    int Writes() const { return m_writes; }

private:
    void Write();

    std::function<void()> m_write;
    QTimer m_timer;
    QTimer m_soon; // zero interval: a timer event, which comes after the events already posted
    bool m_pending = false;
    int m_writes = 0;
};
