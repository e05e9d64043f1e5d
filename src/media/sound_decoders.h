#pragma once
// Sound decoders: pure functions of a byte buffer; nothing when the bytes are not
// an accepted sound of the format. A sound with no frames is never returned.

#include <cstdint>
#include <optional>
#include <span>

#include "media/sound.h"

// RIFF/WAVE with "fmt " first; plain PCM, 8 or 16 bits, mono or stereo. Other chunks
// are skipped by their exact size; a "data" chunk cut short keeps its whole frames.
std::optional<PcmSound> decodeWav(std::span<const uint8_t> bytes);
// Ogg Vorbis decoded whole at the file's own rate: mono for one channel, stereo otherwise.
std::optional<PcmSound> decodeOgg(std::span<const uint8_t> bytes);
