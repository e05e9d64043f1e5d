#pragma once
// The six sound effects of the game, each made for its moment.

#include "common/audio_buffer.h"

// A crisp, short tick for turning a cable piece.
AudioBuffer makeClick();
// A short rising cue as a level begins.
AudioBuffer makeStartCue();
// A bright fanfare for a completed level.
AudioBuffer makeCompletion();
// An alarming sting as a virus reveals itself.
AudioBuffer makeVirusSting();
// A sparkling chime as an infected computer is cleaned.
AudioBuffer makeCleaningChime();
// A triumphant flourish for a rank rise.
AudioBuffer makeRankUp();
