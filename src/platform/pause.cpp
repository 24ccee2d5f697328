#include "platform/pause.h"

#include <ctime>

#include "platform/clock.h"
#include "platform/console.h"

namespace PLAT {

namespace {
std::function<void(int)> pauseHook;
}

void pause(int ms) {
    if (haveConsole()) con().refresh();
    if (pauseHook)
        pauseHook(ms);
    else
        sleepMs(ms);
}

void setPauseHook(std::function<void(int ms)> hook) { pauseHook = std::move(hook); }

int64_t monotonicMs() {
    struct timespec ts {};
    clock_gettime(CLOCK_MONOTONIC, &ts);
    return int64_t(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

}  // namespace PLAT
