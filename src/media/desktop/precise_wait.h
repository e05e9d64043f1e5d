#pragma once
// A wait that ends on time: the frame pacing's sleep.

#include <cstdint>

// Waits `micros` microseconds: sleeps all but the last stretch and spends that awake, so that
// a thread the system wakes a little late from its sleep is still on time. Never returns early.
void waitPrecisely(int64_t micros);
