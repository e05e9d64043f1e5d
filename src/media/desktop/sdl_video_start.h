#pragma once
// Starting SDL's video on a display the player can see. When no display answers, SDL 2.26
// quietly falls back to its offscreen driver, where the game would run, drawing into a
// window no one can see, for ever. A driver that shows nothing is kept only when asked for
// by name (SDL_VIDEODRIVER, as the tests do); otherwise the display is asked again a few
// times, since one that is starting or busy may answer late, and then the start fails
// saying why.

#include <functional>
#include <string>

// SDL's video, events and timer started on a display that shows the window; false with
// SDL's error set when there is none after `attempts` tries `pauseMs` apart. Each failed try
// is reported through `warn`.
bool startVideoOnADisplay(int attempts, int pauseMs, const std::function<void(const std::string&)>& warn);
