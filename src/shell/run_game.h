#pragma once
// The whole program on a given machine layer: start-up, then menu cycles until the player leaves.

#include "shell/player_folders.h"

class MediaLayer;

// Returns the program's exit status. By default progress stays in the working folder
// and only the game's own music is played.
int runGame(MediaLayer& media, const PlayerFolders& folders = {});
