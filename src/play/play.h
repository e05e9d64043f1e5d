#pragma once
// The in-game loop: one level after another until the player holds Escape.

struct Game;
struct Progress;

// Runs play from the level in progress.levelIndex until the player has left with Escape;
// then the music stops, the game and the best times are saved and the keys are flushed.
void enterPlay(Game& game);

// ---- The pieces of the loop, also driven frame by frame by the tests ------------
// Builds progress.levelIndex afresh, picks its background and starts its caption.
void startLevel(Game& game);
// One frame of play, including a level change when the completion caption ends.
// False once the player has asked to leave and the screen has gone black.
bool playFrame(Game& game);
// The end of the completion caption: best time, next level (the first after the last), points.
void finishLevel(Progress& progress, int levelFrames);
// A rank rises once the points pass 150; the points start again from 0 even at the top rank.
// True when the rank rose: the caller plays the rank-up sound.
bool stepRank(Progress& progress);
