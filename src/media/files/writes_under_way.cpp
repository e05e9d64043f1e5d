#include "media/files/writes_under_way.h"

#include <unistd.h>

#include <atomic>

namespace {

// Shared with a signal handler, so lock-free atomics, and globals because a handler has no
// context of its own. Sequentially consistent: of a handler that asks for the end as the last
// write ends, at least one of the two sees the other and ends the process.
std::atomic<int> writesBegun{0};
std::atomic<bool> endAsked{false};
static_assert(std::atomic<int>::is_always_lock_free && std::atomic<bool>::is_always_lock_free);

}  // namespace

void beginWriteUnderWay() { writesBegun.fetch_add(1); }

void endWriteUnderWay() {
    // _exit, not exit: the rest of the program may be anywhere, and every file is whole.
    if (writesBegun.fetch_sub(1) == 1 && endAsked.load()) _exit(0);
}

bool writesUnderWay() { return writesBegun.load() > 0; }

void endOnceWritesAreDone() {
    endAsked.store(true);
    if (writesBegun.load() == 0) _exit(0);
}
