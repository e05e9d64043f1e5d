#pragma once
// A game pad made of SDL's virtual joystick, for the tests and the end-to-end pad: every
// button and axis of SDL's game controller, in SDL's own order, so SDL maps it as a game
// controller by itself and a button's number is SDL's.

#include <SDL.h>

// Plugs a pad of that name in; the joystick to set its buttons and axes through, or nullptr
// when SDL cannot make one.
inline SDL_Joystick* plugVirtualPad(const char* name) {
    SDL_VirtualJoystickDesc desc{};
    desc.version = SDL_VIRTUAL_JOYSTICK_DESC_VERSION;
    desc.type = SDL_JOYSTICK_TYPE_GAMECONTROLLER;
    desc.naxes = SDL_CONTROLLER_AXIS_MAX;
    desc.nbuttons = SDL_CONTROLLER_BUTTON_MAX;
    desc.axis_mask = (1u << SDL_CONTROLLER_AXIS_MAX) - 1;
    desc.button_mask = (1u << SDL_CONTROLLER_BUTTON_MAX) - 1;
    desc.name = name;
    const int index = SDL_JoystickAttachVirtualEx(&desc);
    return index < 0 ? nullptr : SDL_JoystickOpen(index);
}

// Pulls the pad out.
inline void pullOutVirtualPad(SDL_Joystick* joystick) {
    const SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
    SDL_JoystickClose(joystick);
    for (int index = 0; index < SDL_NumJoysticks(); ++index)
        if (SDL_JoystickGetDeviceInstanceID(index) == instance) SDL_JoystickDetachVirtual(index);
}
