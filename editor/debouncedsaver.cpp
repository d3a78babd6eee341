#include "editor/debouncedsaver.h"

DebouncedSaver::DebouncedSaver(std::function<void()> write, int intervalMs, QObject* parent)
    : QObject(parent), m_write(std::move(write)) {
    m_timer.setSingleShot(true);
    m_timer.setInterval(intervalMs);
    // The timer runs for one interval after each write; a change noted meanwhile is written when it ends.
    connect(&m_timer, &QTimer::timeout, this, [this] {
        if (m_pending)
            Write();
    });
    m_soon.setSingleShot(true);
    m_soon.setInterval(0);
    connect(&m_soon, &QTimer::timeout, this, &DebouncedSaver::Flush);
}

void DebouncedSaver::ChangedSoon() {
    m_pending = true;
    if (!m_soon.isActive())
        m_soon.start();
}

void DebouncedSaver::Changed() {
    m_pending = true;
    if (!m_timer.isActive())
        Write();
}

void DebouncedSaver::ChangedLater() {
    m_pending = true;
    if (!m_timer.isActive())
        m_timer.start();
}

void DebouncedSaver::Flush() {
    if (m_pending)
        Write();
}

void DebouncedSaver::Write() {
    m_pending = false;
    m_soon.stop();
    ++m_writes;
    m_write();
    m_timer.start();
}
