#pragma once
// The in-game loop: one level after another until the player holds Escape.

struct Game;
struct Progress;

// How play was left: with Escape, back to the menu; or on a request to end the program
// (a signal, the window's close button), which leaves at once, without the fade.
enum class PlayEnd { BackToMenu, EndProgram };

// Runs play from the level in progress.levelIndex until the player has left; then the
// music stops, the game and the best times are saved and the keys are flushed. Every
// completed level is saved as well, in the first frame of the next.
PlayEnd enterPlay(Game& game);

// ---- The pieces of the loop, also driven frame by frame by the tests ------------
// Builds progress.levelIndex afresh, picks its background and starts its caption.
void startLevel(Game& game);
// One frame of play, including a level change when the completion caption ends.
// False once play is to be left: Escape has darkened the screen, or the program is to end.
bool playFrame(Game& game);
// The end of the completion caption: best time, next level (the first after the last), points.
void finishLevel(Progress& progress, int levelFrames);
// A rank rises once the points pass 150; the points start again from 0 even at the top rank.
// True when the rank rose: the caller plays the rank-up sound.
bool stepRank(Progress& progress);
