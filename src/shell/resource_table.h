#pragma once
// The pictures and sounds of the game, loaded once at start-up.

struct Game;

// Loads every picture in table order; a missing or undecodable one stops the game naming the file.
void loadPictures(Game& game);
// Loads every sound in table order; one that cannot be loaded stays silent.
void loadSounds(Game& game);
