#pragma once
// Writers for the generated sounds: WAV in the layouts the game reads, and Ogg Vorbis
// with a fixed stream serial so the same samples always give the same bytes.

#include <cstdint>
#include <string>
#include <vector>

#include "audio_buffer.h"

struct WavLayout {
    int bits = 16;            // 8 (unsigned) or 16 (signed)
    int channels = 2;         // 1 (the two sides averaged) or 2
    bool longFormat = false;  // an 18-byte "fmt " chunk with an empty extension
    std::string extraTag;     // a chunk written between "fmt " and "data" when not empty
    std::vector<uint8_t> extraBody;
};

// The whole WAV file as bytes; samples beyond -1..1 are clipped.
std::vector<uint8_t> encodeWav(const AudioBuffer& buffer, const WavLayout& layout);
// Ogg Vorbis of the buffer at a quality from -0.1 to 1 (false when the encoder refuses).
bool encodeOgg(const AudioBuffer& buffer, float quality, int serial, std::vector<uint8_t>& bytes);
// Writes bytes to path, creating its folder; false on failure.
bool writeFileBytes(const std::string& path, const std::vector<uint8_t>& bytes);
