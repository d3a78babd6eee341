#include "support/busy.h"

namespace {
int gBusyCount = 0;
std::function<void(bool)>& Hook() {
    static std::function<void(bool)> hook;
    return hook;
}
} // namespace

void SetBusy(bool on) {
    const bool wasBusy = gBusyCount > 0;
    gBusyCount += on ? 1 : -1;
    const bool isBusy = gBusyCount > 0;
    if (wasBusy != isBusy && Hook())
        Hook()(isBusy);
}

int BusyCount() {
    return gBusyCount;
}

void SetBusyHook(std::function<void(bool)> hook) {
    Hook() = std::move(hook);
}
