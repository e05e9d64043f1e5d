#include "media/desktop/sdl_video_start.h"

#include <SDL.h>

#include <cstdlib>

namespace {

constexpr Uint32 Subsystems = SDL_INIT_VIDEO | SDL_INIT_EVENTS | SDL_INIT_TIMER;

bool driverAskedFor() {
    const char* asked = SDL_GetHint(SDL_HINT_VIDEODRIVER);  // the environment's too
    return asked && *asked;
}

// SDL's drivers that put no window on any screen.
bool showsNothing(const std::string& driver) { return driver == "offscreen" || driver == "dummy"; }

}  // namespace

bool startVideoOnADisplay(int attempts, int pauseMs, const std::function<void(const std::string&)>& warn) {
    for (int attempt = 1;; ++attempt) {
        if (SDL_Init(Subsystems) != 0) return false;
        const char* driver = SDL_GetCurrentVideoDriver();
        if (driverAskedFor() || !driver || !showsNothing(driver)) return true;
        SDL_QuitSubSystem(Subsystems);
        // SDL's X11 driver gives no reason when the display does not answer.
        const char* display = std::getenv("DISPLAY");
        const std::string where = std::string("the display ") + (display ? display : "(DISPLAY is not set)");
        if (attempt >= attempts) {
            SDL_SetError("no display to show the game on: %s did not answer", where.c_str());
            return false;
        }
        warn(where + " did not answer: asking again");
        SDL_Delay(static_cast<Uint32>(pauseMs));
    }
}
