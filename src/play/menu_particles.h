#pragma once
// Coloured particles drifting down over the left of the main menu.

struct Game;

// Appends one particle; once per frame while the menu or its help pages run.
void addMenuParticle(Game& game);
// Draws and advances every particle, removing the spent ones; the fade colour is restored afterwards.
void drawMenuParticles(Game& game);
