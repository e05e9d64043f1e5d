#pragma once
// The scrolling credits screen.

struct Game;

enum class CreditsEnd { BackToMenu, EndProgram };

// Fades in, scrolls the credits up, and fades out when they are done or skipped. A request
// to end the program ends them at once.
CreditsEnd runCredits(Game& game);
