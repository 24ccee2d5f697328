// Pauses of the program (a message that stays for a while, a wait before reading a reply) and the
// monotonic clock that measures waits.
#pragma once
#include <cstdint>
#include <functional>

namespace PLAT {

// Shows the screen as it stands (refreshes the console, when there is one) and waits ms
// milliseconds.
void pause(int ms);
// Tests replace the wait with a function of their own (an empty function restores the real wait);
// the screen is still refreshed first.
void setPauseHook(std::function<void(int ms)> hook);
// Milliseconds on a clock that never goes back (not the time of day).
int64_t monotonicMs();

}  // namespace PLAT
