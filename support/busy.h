#pragma once
// The program-wide busy state: a nesting counter. The core keeps the count; the GUI installs a hook
// that shows the wait cursor while the count is above 0 (the core never touches a cursor).
#include <functional>

// On adds 1, off subtracts 1. The hook is told whenever the busy state (count > 0) changes.
void SetBusy(bool on);
int BusyCount();
void SetBusyHook(std::function<void(bool busy)> hook);

// Shows busy for the lifetime of the object, also when the guarded work throws.
class TBusyGuard {
public:
    TBusyGuard() { SetBusy(true); }
    ~TBusyGuard() { SetBusy(false); }
    TBusyGuard(const TBusyGuard&) = delete;
    TBusyGuard& operator=(const TBusyGuard&) = delete;
};
