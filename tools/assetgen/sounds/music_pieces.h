#pragma once
// The menu theme and the three pieces of background music shipped in "tracks". Each has
// its own key and tempo, and sections that come and go: a tune, a second tune, a bridge,
// a breakdown and the return.

#include "arranger.h"

// Calm and warm: pads, soft bells and a singing lead in D major at 80 bpm, no drums; 2 minutes.
PieceSpec menuThemeSpec();
// Driving: plucked arpeggios and a beat in E minor at 126 bpm; a breakdown that builds
// back into the tune an octave up; about 3 min 33 s.
PieceSpec circuitSpec();
// Late and quiet: a jazz waltz in G minor at 88 bpm on electric piano, flute, brushes and
// ride; a nylon-string bridge; about 3 min 16 s.
PieceSpec nightShiftSpec();
// Cheerful: marimba over a bouncing bass in E flat major at 110 bpm, shaker and rim, a
// bell-lit bridge; about 3 min 12 s.
PieceSpec uplinkSpec();
