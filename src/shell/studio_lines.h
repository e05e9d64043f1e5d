#pragma once
// Where the game lives, as the credits and the last help page tell the player: its README
// (beside the source, and in /usr/share/doc/cablewright when installed) and its manual
// page. The game has no web address or e-mail of its own, so it names none.

constexpr const char* GameHomeLine = "More about the game: README.md and man cablewright";
