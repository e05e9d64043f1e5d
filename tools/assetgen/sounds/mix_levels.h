#pragma once
// The game's mix. Every effect is heard at one loudness, and the music sits 6 dB under
// the effects, so a click or a virus alarm stays clear over any piece.

// RMS (dBFS) of an effect's loudest 300 ms, and the ceiling its peaks stay under.
constexpr float EffectLoudnessDb = -16.0f;
constexpr float EffectCeilingDb = -1.5f;
// RMS (dBFS) of a whole music loop: the menu theme and the tracks.
constexpr float MusicRmsDb = -22.0f;
// The top of the music: bells, shakers and cymbals sound up to here, and nothing hisses above.
constexpr float MusicTopHz = 11500.0f;
