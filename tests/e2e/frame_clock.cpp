// Preloaded into the real game by the end-to-end music check: notes the wall-clock time of
// every presented frame in the file named by FRAME_CLOCK_FILE, so frame intervals around a
// button press can be measured from outside the game. Not part of the game.

#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

extern "C" void SDL_RenderPresent(void* renderer) {
    using Present = void (*)(void*);
    static const auto real = reinterpret_cast<Present>(dlsym(RTLD_NEXT, "SDL_RenderPresent"));
    static std::FILE* const log = [] {
        const char* path = std::getenv("FRAME_CLOCK_FILE");
        return path ? std::fopen(path, "w") : nullptr;
    }();
    real(renderer);
    if (!log) return;
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    std::fprintf(log, "%lld.%09ld\n", static_cast<long long>(now.tv_sec), now.tv_nsec);
}
