#pragma once
// The four music buttons at the bottom left, and the tips beside a resting pointer.

struct Game;

enum MusicButton { PreviousTrackButton = 0, PlayButton = 1, NextTrackButton = 2, StopButton = 3 };

// Draws the buttons in the current (white) colour, highlights the one under the pointer
// and records it in hoveredControl.
void drawMusicButtons(Game& game);
// The click on a hovered button steers the TrackPlayer; NoControl does nothing.
void musicButtonClick(Game& game, int control);
// Once per frame of free play: counts the rest, picks the subject, draws and ages the tip.
void updatePointerTip(Game& game);
