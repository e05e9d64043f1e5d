// Preloaded into the real game by the end-to-end game pad check: a game pad made of SDL's
// virtual joystick, inside the game's own process, played by a script. Not part of the game.
//
// The script is the file named by VIRTUAL_PAD_SCRIPT, to which the check appends lines while
// the game runs. One line is carried out per frame of the game (a frame takes in its events
// with SDL_PollEvent until there are none, and the next line comes before the next frame's):
//
//   plug | unplug                  the pad is plugged in or pulled out
//   press BUTTON | release BUTTON  a button, named as in SDL's mappings (a, b, x, y, back,
//                                  start, dpup, dpdown, dpleft, dpright)
//   stick X Y                      the left stick, each axis -32768..32767
//   wait FRAMES                    nothing, for that many frames
//   say WORD                       writes WORD as a line to the file named by VIRTUAL_PAD_LOG,
//                                  so the check knows every line before it has been carried out

#include <SDL.h>
#include <dlfcn.h>

#include <cstdio>
#include <cstdlib>
#include <deque>
#include <sstream>
#include <string>

#include "support/sdl_virtual_joystick.h"

namespace {

class ScriptedPad {
public:
    // Before each frame's events.
    void frame() {
        if (!SDL_WasInit(SDL_INIT_GAMECONTROLLER)) return;  // the game has not started its pads
        readNewLines();
        if (waitFrames > 0) {
            --waitFrames;
            return;
        }
        if (lines.empty()) return;
        const std::string line = lines.front();
        lines.pop_front();
        carryOut(line);
    }

private:
    void readNewLines() {
        if (!script) {
            const char* path = std::getenv("VIRTUAL_PAD_SCRIPT");
            if (path) script = std::fopen(path, "r");
            if (!script) return;
        }
        for (int c; (c = std::fgetc(script)) != EOF;) {
            if (c != '\n') {
                partial += static_cast<char>(c);
                continue;
            }
            if (!partial.empty()) lines.push_back(partial);
            partial.clear();
        }
        std::clearerr(script);  // more may be appended
    }

    void carryOut(const std::string& line) {
        std::istringstream words(line);
        std::string verb, name;
        words >> verb;
        if (verb == "plug") plug();
        if (verb == "unplug") unplug();
        if (verb == "press" || verb == "release") {
            words >> name;
            const SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name.c_str());
            if (joystick && button != SDL_CONTROLLER_BUTTON_INVALID)
                SDL_JoystickSetVirtualButton(joystick, button, verb == "press" ? SDL_PRESSED : SDL_RELEASED);
        }
        if (verb == "stick" && joystick) {
            int x = 0, y = 0;
            words >> x >> y;
            SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTX, static_cast<Sint16>(x));
            SDL_JoystickSetVirtualAxis(joystick, SDL_CONTROLLER_AXIS_LEFTY, static_cast<Sint16>(y));
        }
        if (verb == "wait") words >> waitFrames;
        if (verb == "say") {
            words >> name;
            say(name);
        }
    }

    void plug() {
        if (joystick) return;
        joystick = plugVirtualPad("Virtual end-to-end pad");
        if (!joystick) say("cannot-plug");
    }

    void unplug() {
        if (joystick) pullOutVirtualPad(joystick);
        joystick = nullptr;
    }

    void say(const std::string& word) {
        const char* path = std::getenv("VIRTUAL_PAD_LOG");
        if (std::FILE* log = path ? std::fopen(path, "a") : nullptr) {
            std::fprintf(log, "%s\n", word.c_str());
            std::fclose(log);
        }
    }

    std::FILE* script = nullptr;
    std::string partial;
    std::deque<std::string> lines;
    int waitFrames = 0;
    SDL_Joystick* joystick = nullptr;
};

ScriptedPad pad;
bool frameBegins = true;  // the previous call found no event: the next one begins a frame

}  // namespace

extern "C" int SDL_PollEvent(SDL_Event* event) {
    using Poll = int (*)(SDL_Event*);
    static const auto poll = reinterpret_cast<Poll>(dlsym(RTLD_NEXT, "SDL_PollEvent"));
    if (frameBegins) pad.frame();
    const int found = poll(event);
    frameBegins = found == 0;
    return found;
}
