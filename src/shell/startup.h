#pragma once
// Program start: screen, generator, track list, pictures, sounds, fixed tables, records.

#include <functional>

struct Game;
struct ShellState;

// The window's icon, a picture of the sets like the others but not of the resource table:
// a missing one is not worth stopping the game for.
constexpr const char* WindowIconPath = "gfx/window_icon.png";

// Told the name of each start-up step as it ends ("screen", "tracks", "pictures", "sounds",
// "levels", "tables"), so a benchmark can time them; the game passes none.
using StartupStepDone = std::function<void(const char* step)>;

void startUp(Game& game, ShellState& shell, const StartupStepDone& stepDone = {});
// The same but for the player's progress, which is neither read nor tidied (its "tables"
// step is not told): for a copy of the game that must leave the player's folder alone.
void startUpWithoutProgress(Game& game, ShellState& shell, const StartupStepDone& stepDone = {});
