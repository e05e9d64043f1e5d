#pragma once
// The options screen, drawn over the menu like the help pages: a row for each of the
// player's settings, its choices side by side, the one in force lit. Mouse only; Back or
// Escape returns to the menu.

#include <vector>

#include "persist/settings.h"
#include "shell/menu_layout.h"

struct Game;
struct Settings;
struct ShellState;
struct SpriteFont;

// The rows on the screen, top to bottom: the effects and music volumes, how the game starts,
// the right and middle buttons, the lit network, undo and restart, the level summary.
std::vector<SettingId> optionRows();

// Where one choice of a row takes the pointer.
struct OptionChoiceBox {
    SettingId row;
    int choice;
    ButtonArea area;
};
// Every choice's box, row by row, left to right.
std::vector<OptionChoiceBox> optionChoiceBoxes(const SpriteFont& font);

void drawOptionsScreen(Game& game, ShellState& shell);
// The frame's click: a choice takes effect at once and is kept in the settings file; a
// change of the effects volume is heard in a click at the new volume.
void clickOptionsScreen(Game& game, ShellState& shell);
// Gives the sound the volumes of the settings.
void applySoundVolumes(MediaLayer& media, const Settings& settings);
