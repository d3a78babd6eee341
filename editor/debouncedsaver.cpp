#include "editor/debouncedsaver.h"

DebouncedSaver::DebouncedSaver(std::function<void()> write, int intervalMs, QObject* parent)
    : QObject(parent), write_(std::move(write)) {
    timer_.setSingleShot(true);
    timer_.setInterval(intervalMs);
    // The timer runs for one interval after each write; a change noted meanwhile is written when it ends.
    connect(&timer_, &QTimer::timeout, this, [this] {
        if (pending_)
            Write();
    });
}

void DebouncedSaver::Changed() {
    pending_ = true;
    if (!timer_.isActive())
        Write();
}

void DebouncedSaver::Flush() {
    if (pending_)
        Write();
}

void DebouncedSaver::Write() {
    pending_ = false;
    ++writes_;
    write_();
    timer_.start();
}
