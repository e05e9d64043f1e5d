#pragma once
// Sound files made in memory for the tests: Ogg Vorbis tones and plain WAV files.

#include <cmath>
#include <cstdint>
#include <vector>

#include "support/vorbis_encoder.h"

namespace {

// A sine tone encoded as Ogg Vorbis in memory (one or two channels).
inline std::vector<uint8_t> encodeTone(int channels, int rate, int frames, float hz) {
    VorbisEncoder encoder(channels, rate, 0.5f, 1234);
    std::vector<uint8_t> bytes;
    const auto keep = [&bytes](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    encoder.takePages(keep, true);
    encoder.encode(
        frames, channels,
        [&](int i, int c) { return 0.5f * std::sin(6.2831853f * hz * i / rate) * (c ? -1.0f : 1.0f); }, true);
    encoder.takePages(keep, true);
    return bytes;
}

// The pages holding the three Vorbis headers of a stereo 44100 Hz stream with the given
// serial number, each page whole; the first holds only the identification header.
inline std::vector<std::vector<uint8_t>> vorbisHeaderPages(int serial) {
    VorbisEncoder encoder(2, 44100, 0.5f, serial);
    std::vector<std::vector<uint8_t>> pages;
    encoder.takePages(
        [&pages](const ogg_page& page) {
            pages.emplace_back(page.header, page.header + page.header_len);
            pages.back().insert(pages.back().end(), page.body, page.body + page.body_len);
        },
        true);
    return pages;
}

// A plain PCM WAV: 8 or 16 bits, one or two channels, samples given as 16-bit values
// (8-bit files keep their top byte). Frame f of channel c is value(f, c).
template <typename Value>
std::vector<uint8_t> makePcmWav(int channels, int rate, int bits, uint32_t frames, Value value) {
    std::vector<uint8_t> out;
    auto put = [&](uint32_t v, int bytes) {
        for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
    };
    auto tag = [&](const char* t) {
        for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(t[i]));
    };
    const uint32_t frameBytes = static_cast<uint32_t>(channels * bits / 8);
    tag("RIFF");
    put(0, 4);
    tag("WAVE");
    tag("fmt ");
    put(16, 4);
    put(1, 2);
    put(channels, 2);
    put(rate, 4);
    put(rate * frameBytes, 4);
    put(frameBytes, 2);
    put(bits, 2);
    tag("data");
    put(frames * frameBytes, 4);
    for (uint32_t f = 0; f < frames; ++f)
        for (int c = 0; c < channels; ++c) {
            const auto sample = static_cast<uint16_t>(value(f, c));
            if (bits == 8)
                out.push_back(static_cast<uint8_t>((sample >> 8) ^ 0x80));
            else
                put(sample, 2);
        }
    return out;
}

// A wobbling tone that differs between channels, so any mixed-up frame or side shows.
inline int16_t wobble(uint32_t frame, int channel) {
    return static_cast<int16_t>(12000 * std::sin(frame * 0.05 + channel) + 3000 * std::sin(frame * 0.0031));
}

}  // namespace
