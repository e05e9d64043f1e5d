#include "media/desktop/sdl_game_pads.h"

#include <SDL.h>

#include <cstdio>
#include <optional>

namespace {

std::optional<PadButton> padButton(Uint8 button) {
    switch (button) {
        case SDL_CONTROLLER_BUTTON_A: return PadButton::A;
        case SDL_CONTROLLER_BUTTON_B: return PadButton::B;
        case SDL_CONTROLLER_BUTTON_X: return PadButton::X;
        case SDL_CONTROLLER_BUTTON_Y: return PadButton::Y;
        case SDL_CONTROLLER_BUTTON_BACK: return PadButton::Back;
        case SDL_CONTROLLER_BUTTON_START: return PadButton::Start;
        case SDL_CONTROLLER_BUTTON_DPAD_UP: return PadButton::Up;
        case SDL_CONTROLLER_BUTTON_DPAD_DOWN: return PadButton::Down;
        case SDL_CONTROLLER_BUTTON_DPAD_LEFT: return PadButton::Left;
        case SDL_CONTROLLER_BUTTON_DPAD_RIGHT: return PadButton::Right;
        default: return std::nullopt;
    }
}

const char* padName(SDL_GameController* controller) {
    const char* name = SDL_GameControllerName(controller);
    return name ? name : "unnamed";
}

// Said on standard output, as the way the screen is drawn is.
void say(const char* what, SDL_GameController* controller) {
    std::printf("game pad %s: %s\n", what, padName(controller));
    std::fflush(stdout);
}

}  // namespace

SdlGamePads::~SdlGamePads() {
    for (auto& [instance, open] : pads) SDL_GameControllerClose(open.controller);
}

bool SdlGamePads::start() { return SDL_InitSubSystem(SDL_INIT_GAMECONTROLLER) == 0; }

bool SdlGamePads::handleEvent(const SDL_Event& event, InputState& input) {
    switch (event.type) {
        // Pads present at the start arrive this way too.
        case SDL_CONTROLLERDEVICEADDED: plugged(event.cdevice.which); return true;
        case SDL_CONTROLLERDEVICEREMOVED: pulledOut(event.cdevice.which, input); return true;
        case SDL_CONTROLLERBUTTONDOWN:
        case SDL_CONTROLLERBUTTONUP: {
            const auto open = pads.find(event.cbutton.which);
            const auto button = padButton(event.cbutton.button);
            if (open == pads.end() || !button) return true;
            if (event.type == SDL_CONTROLLERBUTTONDOWN)
                open->second.pad.pressed(*button, input);
            else
                open->second.pad.released(*button, input);
            return true;
        }
        default: return false;
    }
}

void SdlGamePads::plugged(int deviceIndex) {
    SDL_GameController* controller = SDL_GameControllerOpen(deviceIndex);
    if (!controller) {
        std::fprintf(stderr, "cannot open a game pad: %s\n", SDL_GetError());
        return;
    }
    const SDL_JoystickID instance = SDL_JoystickInstanceID(SDL_GameControllerGetJoystick(controller));
    if (pads.count(instance)) {
        SDL_GameControllerClose(controller);  // told twice of the same pad
        return;
    }
    pads[instance].controller = controller;
    say("connected", controller);
}

void SdlGamePads::pulledOut(int32_t instance, InputState& input) {
    const auto open = pads.find(instance);
    if (open == pads.end()) return;
    open->second.pad.letGo(input);  // SDL may have let go of its buttons already: not counted on
    say("disconnected", open->second.controller);
    SDL_GameControllerClose(open->second.controller);
    pads.erase(open);
}

void SdlGamePads::stepFrame(const PadGrid& grid, InputState& input, int screenWidth, int screenHeight) {
    // The stick is read as it stands now: SDL keeps its position, and lets it come back to
    // rest even while the window is in the background.
    for (auto& [instance, open] : pads) {
        const StickPosition stick{SDL_GameControllerGetAxis(open.controller, SDL_CONTROLLER_AXIS_LEFTX),
                                  SDL_GameControllerGetAxis(open.controller, SDL_CONTROLLER_AXIS_LEFTY)};
        open.pad.stepFrame(stick, grid, input, screenWidth, screenHeight);
    }
}

void SdlGamePads::letGo(InputState& input) {
    for (auto& [instance, open] : pads) open.pad.letGo(input);
}
