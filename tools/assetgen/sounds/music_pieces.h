#pragma once
// The menu theme and the three pieces of background music shipped in "tracks".

#include "arranger.h"

// Calm and warm: pads and soft bells in F major, no drums; about 46 seconds.
PieceSpec menuThemeSpec();
// Driving and bright: plucked arpeggios over a steady beat in A minor; 96 seconds.
PieceSpec circuitSpec();
// Moody and spacious: echoing plucks and a slow groove in D dorian; about 85 seconds.
PieceSpec nightShiftSpec();
// Cheerful and quick: four-on-the-floor in C major with bells; 60 seconds.
PieceSpec uplinkSpec();
