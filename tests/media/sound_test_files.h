#pragma once
// Sound files made in memory for the tests: Ogg Vorbis tones and plain WAV files.

#include <vorbis/vorbisenc.h>

#include <cmath>
#include <cstdint>
#include <vector>

namespace {

// A sine tone encoded as Ogg Vorbis in memory (one or two channels).
inline std::vector<uint8_t> encodeTone(int channels, int rate, int frames, float hz) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, channels, rate, 0.5f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    vorbis_block block;
    vorbis_block_init(&dsp, &block);
    ogg_stream_state stream;
    ogg_stream_init(&stream, 1234);
    std::vector<uint8_t> bytes;
    auto takePage = [&](const ogg_page& page) {
        bytes.insert(bytes.end(), page.header, page.header + page.header_len);
        bytes.insert(bytes.end(), page.body, page.body + page.body_len);
    };
    ogg_packet head, comm, code;
    vorbis_analysis_headerout(&dsp, &comment, &head, &comm, &code);
    ogg_stream_packetin(&stream, &head);
    ogg_stream_packetin(&stream, &comm);
    ogg_stream_packetin(&stream, &code);
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) takePage(page);
    float** buffer = vorbis_analysis_buffer(&dsp, frames);
    for (int i = 0; i < frames; ++i)
        for (int c = 0; c < channels; ++c)
            buffer[c][i] = 0.5f * std::sin(6.2831853f * hz * i / rate) * (c ? -1.0f : 1.0f);
    vorbis_analysis_wrote(&dsp, frames);
    vorbis_analysis_wrote(&dsp, 0);
    ogg_packet packet;
    while (vorbis_analysis_blockout(&dsp, &block) == 1) {
        vorbis_analysis(&block, nullptr);
        vorbis_bitrate_addblock(&block);
        while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
            ogg_stream_packetin(&stream, &packet);
            while (ogg_stream_pageout(&stream, &page)) takePage(page);
        }
    }
    while (ogg_stream_flush(&stream, &page)) takePage(page);
    ogg_stream_clear(&stream);
    vorbis_block_clear(&block);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
    return bytes;
}

// The pages holding the three Vorbis headers of a stereo 44100 Hz stream with the given
// serial number, each page whole; the first holds only the identification header.
inline std::vector<std::vector<uint8_t>> vorbisHeaderPages(int serial) {
    vorbis_info info;
    vorbis_info_init(&info);
    vorbis_encode_init_vbr(&info, 2, 44100, 0.5f);
    vorbis_comment comment;
    vorbis_comment_init(&comment);
    vorbis_dsp_state dsp;
    vorbis_analysis_init(&dsp, &info);
    ogg_stream_state stream;
    ogg_stream_init(&stream, serial);
    ogg_packet head, comm, code;
    vorbis_analysis_headerout(&dsp, &comment, &head, &comm, &code);
    ogg_stream_packetin(&stream, &head);
    ogg_stream_packetin(&stream, &comm);
    ogg_stream_packetin(&stream, &code);
    std::vector<std::vector<uint8_t>> pages;
    ogg_page page;
    while (ogg_stream_flush(&stream, &page)) {
        pages.emplace_back(page.header, page.header + page.header_len);
        pages.back().insert(pages.back().end(), page.body, page.body + page.body_len);
    }
    ogg_stream_clear(&stream);
    vorbis_dsp_clear(&dsp);
    vorbis_comment_clear(&comment);
    vorbis_info_clear(&info);
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
