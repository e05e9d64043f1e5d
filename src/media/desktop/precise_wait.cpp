#include "media/desktop/precise_wait.h"

#include <chrono>
#include <thread>

namespace {

// Woken this much before the end: the usual delay of a wake-up on a desktop, well under a
// refresh, and short enough to spend awake.
constexpr auto AwakeStretch = std::chrono::microseconds(1000);

void relaxABit() {
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#else
    std::this_thread::yield();
#endif
}

}  // namespace

void waitPrecisely(int64_t micros) {
    using Clock = std::chrono::steady_clock;
    const Clock::time_point end = Clock::now() + std::chrono::microseconds(micros);
    if (std::chrono::microseconds(micros) > AwakeStretch) std::this_thread::sleep_until(end - AwakeStretch);
    while (Clock::now() < end) relaxABit();
}
