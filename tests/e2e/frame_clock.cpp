// Preloaded into the real game by the end-to-end music check and bench/pacing.sh: notes the
// wall-clock time of every presented frame in the file named by FRAME_CLOCK_FILE, so frame
// intervals can be measured from outside the game. A frame is presented by SDL's renderer or,
// when the CPU composes it, by an update of the window's surface. Not part of the game.

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string_view>

namespace {

// Calls the real present and notes its time.
template <typename Present>
int notePresent(Present present) {
    static std::FILE* const log = [] {
        const char* path = std::getenv("FRAME_CLOCK_FILE");
        return path ? std::fopen(path, "w") : nullptr;
    }();
    // FRAME_CLOCK_AT=call notes the moment the game hands the frame over, before the
    // present's own work; otherwise the moment the present returns.
    static const bool atCall = [] {
        const char* at = std::getenv("FRAME_CLOCK_AT");
        return at && std::string_view(at) == "call";
    }();
    timespec now{};
    if (atCall) clock_gettime(CLOCK_REALTIME, &now);
    const int result = present();
    if (!log) return result;
    if (!atCall) clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(log, "%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
    return result;
}

}  // namespace

#include "present_calls.h"
