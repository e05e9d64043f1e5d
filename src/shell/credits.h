#pragma once
// The scrolling credits screen.

struct Game;

// Fades in, scrolls the credits up, and fades out when they are done or skipped.
void runCredits(Game& game);
