#pragma once
// What the screens drawn over the menu share: the greenish plate through which the menu
// shows faintly, and the one picture button at its foot ("Next Page" on the help pages,
// "Back" on the options and records screens).

#include "shell/menu_layout.h"

struct Game;
struct ScreenFade;

// A colour that fades with the screen, as the fade colour does white.
void setFadedColour(MediaLayer& media, const ScreenFade& fade, int r, int g, int b);
// The plate over the whole middle of the menu.
void drawOverlayPlate(MediaLayer& media, const Image& canvas, const ScreenFade& fade);
// Draws the button (a frame of the menu button strip) at the plate's foot, runs its hover
// and glow: hoveredControl becomes the button while the pointer is over it.
void runOverlayButton(Game& game, MenuButton button, float& glow);
