// The Ogg Vorbis reader over files encoded right here, and over garbage.

#include <gtest/gtest.h>
#include <vorbis/vorbisenc.h>

#include <cmath>
#include <vector>

#include "media/sound_decoders.h"

namespace {

// A sine tone encoded as Ogg Vorbis in memory (one or two channels).
std::vector<uint8_t> encodeTone(int channels, int rate, int frames, float hz) {
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
        for (int c = 0; c < channels; ++c) buffer[c][i] = 0.5f * std::sin(6.2831853f * hz * i / rate) * (c ? -1.0f : 1.0f);
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

double rootMeanSquare(const std::vector<int16_t>& samples, size_t from, size_t step) {
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = from; i < samples.size(); i += step, ++count) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0.0;
}

}  // namespace

TEST(OggDecoder, DecodesARealStereoFileWholeAtItsOwnRate) {
    const auto pcm = decodeOgg(encodeTone(2, 22050, 11025, 440.0f));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->sampleRate, 22050);
    EXPECT_EQ(pcm->channels, 2);
    EXPECT_EQ(pcm->frameCount(), 11025u);  // the granule position trims the last block exactly
    // A 0.5 sine has an RMS of about 0.354 of full scale on both sides, in opposite phase.
    EXPECT_NEAR(rootMeanSquare(pcm->samples, 0, 2), 0.354 * 32767, 800);
    EXPECT_NEAR(rootMeanSquare(pcm->samples, 1, 2), 0.354 * 32767, 800);
    EXPECT_LT(pcm->samples[2000] * pcm->samples[2001], 0);
}

TEST(OggDecoder, KeepsAOneChannelFileMono) {
    const auto pcm = decodeOgg(encodeTone(1, 44100, 4410, 1000.0f));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->frameCount(), 4410u);
}

TEST(OggDecoder, GarbageAndBrokenFilesGiveNothing) {
    EXPECT_FALSE(decodeOgg(std::vector<uint8_t>{}));
    EXPECT_FALSE(decodeOgg(std::vector<uint8_t>(5000, 0x42)));
    std::vector<uint8_t> notVorbis = {'O', 'g', 'g', 'S'};
    notVorbis.resize(4000, 0);
    EXPECT_FALSE(decodeOgg(notVorbis));

    // Any prefix of a real file is read or refused without crashing.
    const std::vector<uint8_t> real = encodeTone(2, 44100, 8000, 330.0f);
    for (size_t size = 0; size < real.size(); size += 97) {
        const auto pcm = decodeOgg(std::vector<uint8_t>(real.begin(), real.begin() + size));
        if (pcm) {
            EXPECT_LE(pcm->frameCount(), 8000u);
        }
    }
}

TEST(OggDecoder, RefusesAFileWhoseAudioIsDamaged) {
    std::vector<uint8_t> damaged = encodeTone(2, 44100, 44100, 500.0f);
    // Scribble over the middle of the audio pages, leaving the headers intact.
    for (size_t i = damaged.size() / 2; i < damaged.size() / 2 + 400; ++i) damaged[i] ^= 0xA5;
    const auto pcm = decodeOgg(damaged);
    // libvorbisfile resynchronises over a hole in the stream, so the file may still decode,
    // but never to more audio than was encoded.
    if (pcm) {
        EXPECT_LE(pcm->frameCount(), 44100u);
    }
}
