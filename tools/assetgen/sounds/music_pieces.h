#pragma once
// The menu theme and the three pieces of background music shipped in "tracks".

#include "arranger.h"

// Calm and warm: pads and soft bells in F major, no drums; about 46 seconds.
PieceSpec menuThemeSpec();
// Driving: plucked arpeggios and a beat in A minor at 116 bpm, form A B A C; about 66 s.
PieceSpec circuitSpec();
// Late and quiet: a waltz in D dorian at 84 bpm on electric piano and flute, A A B A; about 69 s.
PieceSpec nightShiftSpec();
// Cheerful: marimba over a bouncing bass in E flat major at 120 bpm, A B C B; 64 s.
PieceSpec uplinkSpec();
