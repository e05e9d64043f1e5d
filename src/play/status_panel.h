#pragma once
// The four music buttons at the bottom left, and the tips beside a resting pointer.

struct Game;
struct Image;
struct InputSample;
struct TrackPlayer;
class MediaLayer;

enum MusicButton { PreviousTrackButton = 0, PlayButton = 1, NextTrackButton = 2, StopButton = 3 };

// Draws the buttons in the current (white) colour, highlights the one under the pointer
// and records it in hoveredControl.
void drawMusicButtons(MediaLayer& media, const Image& buttons, const InputSample& input, int& hoveredControl);
// The click on a hovered button steers the TrackPlayer; NoControl does nothing.
void musicButtonClick(TrackPlayer& music, MediaLayer& media, int control);
// Once per frame of free play: counts the rest, picks the subject, draws and ages the tip.
void updatePointerTip(Game& game);
