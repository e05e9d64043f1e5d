// The Ogg Vorbis reader over files encoded right here, and over garbage.

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "media/sound/sound_decoders.h"
#include "media/sound/track_stream.h"
#include "media/sound_test_files.h"

namespace {

double rootMeanSquare(const std::vector<int16_t>& samples, size_t from, size_t step) {
    double sum = 0.0;
    size_t count = 0;
    for (size_t i = from; i < samples.size(); i += step, ++count) sum += double(samples[i]) * samples[i];
    return count ? std::sqrt(sum / count) : 0.0;
}

// Bytes in memory that count how often the reader moves in them.
class SeekCountingSource : public MemorySource {
public:
    using MemorySource::MemorySource;
    bool seek(uint64_t position) override {
        ++seeks;
        return MemorySource::seek(position);
    }
    int seeks = 0;
};

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

// Found by fuzzing: a whole header set, then the first header page of a second chained
// stream, and nothing more. Opened as a seekable file, libvorbisfile looks for every link
// across the file, fails on the lone header and leaks on that path (the sanitizer build
// shows the leak). Read only forwards, the file is refused cleanly, whole or streamed.
TEST(OggDecoder, AHeaderSetFollowedByALoneHeaderOfASecondStreamIsRefusedReadingOnlyForwards) {
    std::vector<uint8_t> bytes;
    for (const std::vector<uint8_t>& page : vorbisHeaderPages(1)) bytes.insert(bytes.end(), page.begin(), page.end());
    const std::vector<uint8_t> secondStream = vorbisHeaderPages(2).front();
    bytes.insert(bytes.end(), secondStream.begin(), secondStream.end());
    EXPECT_FALSE(decodeOgg(bytes));

    SeekCountingSource source(bytes);
    if (std::unique_ptr<PcmStream> stream = openOggStream(source)) {
        int16_t out[2 * 256];
        EXPECT_LE(stream->read(out, 256), 0);
    }
    EXPECT_EQ(source.seeks, 1);  // to the start, by the reader itself; never across the file

    if (std::unique_ptr<TrackStream> track = TrackStream::open(std::make_unique<MemorySource>(bytes), true)) {
        int16_t out[2 * 256];
        EXPECT_EQ(track->produce(out, 256), 0u);
        EXPECT_TRUE(track->ended());
    }
}
