#pragma once
// Long music files for the benchmarks and the end-to-end check, made in seconds instead of
// the minutes a real encode of an hour takes. Never stored in the repository.

#include <string>

// Ogg Vorbis of at least the given length: a few seconds of a chord are encoded once and
// their audio packets repeated with running granule positions, which gives a valid stream
// (a faint seam every few seconds, never a silence).
// gain scales the chord (1 is about -8 dBFS at its loudest).
bool writeLongOgg(const std::string& path, int channels, int rate, double seconds, float gain = 1.0f);
