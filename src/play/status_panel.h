#pragma once
// The four music buttons at the bottom left, and the tips beside a resting pointer.

struct Image;
struct InputSample;
struct PointerTip;
struct SceneView;
struct SpriteFont;
struct TrackPlayer;
class MediaLayer;

enum MusicButton { PreviousTrackButton = 0, PlayButton = 1, NextTrackButton = 2, StopButton = 3 };
constexpr int MusicButtonCount = 4;

// Where the buttons stand: their centres along y 584, one pitch apart.
constexpr int FirstMusicButtonX = 64;
constexpr int MusicButtonPitch = 32;
constexpr int MusicButtonY = 584;
// The strip that takes the pointer, edges excluded: wider than the buttons (half a pitch
// before the first, x 48 to 176), from y 568 down past the bottom of the screen.
constexpr int MusicStripLeft = FirstMusicButtonX - MusicButtonPitch / 2;
constexpr int MusicStripRight = MusicStripLeft + MusicButtonCount * MusicButtonPitch;
constexpr int MusicStripTop = 568;
constexpr int MusicStripBottom = 1168;
// The button under the pointer, or -1.
constexpr int musicButtonAt(int x, int y) {
    const bool inStrip = x > MusicStripLeft && x < MusicStripRight && y > MusicStripTop && y < MusicStripBottom;
    return inStrip ? (x - MusicStripLeft) / MusicButtonPitch : -1;
}

// Draws the buttons in the current (white) colour, highlights the one under the pointer
// and records it in hoveredControl.
void drawMusicButtons(MediaLayer& media, const Image& buttons, const InputSample& input, int& hoveredControl);
// The undo and restart buttons in the music buttons' look: drawn, highlighted and recorded
// in hoveredControl like them ("gfx/toolbuttons.spr": undo, restart, then both lit).
void drawBoardToolButtons(MediaLayer& media, const Image& buttons, const InputSample& input, int& hoveredControl);
// The click on a hovered button steers the TrackPlayer; NoControl does nothing.
void musicButtonClick(TrackPlayer& music, MediaLayer& media, int control);
// Once per frame of free play: counts the rest, picks the subject, draws and ages the tip.
void updatePointerTip(MediaLayer& media, const SpriteFont& font, const Image& bubble, PointerTip& tip, SceneView scene);
