#pragma once
// The whole program on a given machine layer: start-up, then menu cycles until the player leaves.

class MediaLayer;

// Returns the program's exit status.
int runGame(MediaLayer& media);
