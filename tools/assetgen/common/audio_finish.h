#pragma once
// The last steps before a sound is written: no DC offset, clean edges or a clean loop
// point, and a level set by how loud the sound is heard rather than by its peak.

#include "audio_buffer.h"

// RMS of both sides over the whole buffer, in dBFS.
float rmsDb(const AudioBuffer& buffer);
// Loudness of a short effect as the ear takes it in: the RMS (dBFS) of its loudest
// 300 ms, or of the whole sound when it is shorter.
float loudnessDb(const AudioBuffer& buffer);

// A 20 Hz high-pass over a one-shot sound (give it a few ms of silence at the end).
void removeDc(AudioBuffer& buffer);
// The same over a loop in its steady state, then the last trace of offset taken out,
// so the loop point stays seamless.
void removeDcLooped(AudioBuffer& loop);
// Lowers the gain smoothly wherever a sample would pass the ceiling (dBFS); looks a
// little ahead, so the gain is already down when the peak arrives.
void limitPeaks(AudioBuffer& buffer, float ceilingDb);
// Turns a seamless loop so that it starts where both sides pass quietly through zero,
// at most `searchFrames` before its original start: the first pass then begins without
// a click, and the musical downbeat still comes within a few milliseconds.
void startAtQuietZeroCrossing(AudioBuffer& loop, size_t searchFrames);

// A one-shot effect: DC removed, edges faded to exactly 0, loudness brought to the
// target with peaks held under the ceiling.
void finishOneShot(AudioBuffer& buffer, float targetLoudnessDb, float ceilingDb);
// A music loop: DC removed, its start on a quiet zero crossing, RMS at the target.
void finishLoop(AudioBuffer& loop, float targetRmsDb);
