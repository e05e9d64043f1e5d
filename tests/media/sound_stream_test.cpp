// Streamed tracks: block-by-block decoding and conversion give exactly the samples of the
// whole-sound path, loop after loop, and files that change under the stream end cleanly.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/memory_probe.h"
#include "media/sound/track_stream.h"
#include "media/sound_test_files.h"
#include "support/test_support.h"

namespace {

// What a looping channel of the whole converted sound plays over frames frames.
std::vector<int16_t> loopedWhole(const PcmSound& pcm, size_t frames) {
    const Sound sound = convertForMixing(pcm, true);
    std::vector<int16_t> out;
    while (out.size() < 2 * frames) {
        const size_t take = std::min(sound.samples.size(), 2 * frames - out.size());
        out.insert(out.end(), sound.samples.begin(), sound.samples.begin() + take);
    }
    return out;
}

// Asked for in blocks of changing odd sizes, so block edges fall everywhere.
std::vector<int16_t> streamed(TrackStream& stream, size_t frames) {
    static constexpr size_t BlockSizes[] = {1, 7, 1000, 333, 4096, 2};
    std::vector<int16_t> out(2 * frames);
    size_t done = 0;
    for (size_t b = 0; done < frames; ++b) {
        const size_t want = std::min(BlockSizes[b % 6], frames - done);
        const size_t got = stream.produce(out.data() + 2 * done, want);
        done += got;
        if (got < want) break;
    }
    out.resize(2 * done);
    return out;
}

std::unique_ptr<TrackStream> openInMemory(const std::vector<uint8_t>& bytes) {
    return TrackStream::open(std::make_unique<MemorySource>(bytes), true);
}

// The first index where two sample sequences differ, for a readable failure.
size_t firstDifference(const std::vector<int16_t>& a, const std::vector<int16_t>& b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i)
        if (a[i] != b[i]) return i;
    return n;
}

void expectStreamMatchesWhole(const std::vector<uint8_t>& bytes, const PcmSound& whole, size_t loops) {
    const size_t length =
        static_cast<size_t>(mixedFrameCount(static_cast<int64_t>(whole.frameCount()), whole.sampleRate));
    const size_t frames = loops * length + length / 3;
    std::unique_ptr<TrackStream> stream = openInMemory(bytes);
    ASSERT_TRUE(stream);
    const std::vector<int16_t> got = streamed(*stream, frames);
    const std::vector<int16_t> want = loopedWhole(whole, frames);
    ASSERT_EQ(got.size(), want.size());
    EXPECT_EQ(firstDifference(got, want), want.size()) << "of " << want.size() << " samples, loop length " << length;
}

struct WavKind {
    int channels, bits, rate;
};

}  // namespace

// ---- The same samples as the whole sound -------------------------------------------

TEST(TrackStream, WavOfEveryAcceptedKindStreamsAsItDecodesWholeAcrossLoops) {
    const WavKind kinds[] = {{1, 8, 22050},  {2, 8, 44100},  {1, 16, 44100}, {2, 16, 48000},
                             {2, 16, 11025}, {1, 16, 96000}, {2, 8, 8000},   {1, 8, 384000}};
    for (const WavKind& kind : kinds) {
        SCOPED_TRACE(testing::Message() << kind.channels << " ch " << kind.bits << " bit " << kind.rate << " Hz");
        const std::vector<uint8_t> bytes = makePcmWav(kind.channels, kind.rate, kind.bits, 3001, wobble);
        const std::optional<PcmSound> whole = decodeWav(bytes);
        ASSERT_TRUE(whole);
        expectStreamMatchesWhole(bytes, *whole, 3);
    }
}

TEST(TrackStream, OggAt44100And48000MonoAndStereoStreamsAsItDecodesWholeAcrossLoops) {
    for (int rate : {44100, 48000}) {
        for (int channels : {1, 2}) {
            SCOPED_TRACE(testing::Message() << channels << " ch " << rate << " Hz");
            const std::vector<uint8_t> bytes = encodeTone(channels, rate, 9000, 440.0f);
            const std::optional<PcmSound> whole = decodeOgg(bytes);
            ASSERT_TRUE(whole);
            EXPECT_EQ(whole->frameCount(), 9000u);
            expectStreamMatchesWhole(bytes, *whole, 3);
        }
    }
}

TEST(TrackStream, TheLoopPointLeansTowardTheFirstFrameWithoutAGap) {
    // 22050 Hz ramp 0, 1000, 2000: the frame between the last and the first is 1000, not 2000.
    const std::vector<uint8_t> bytes = makePcmWav(1, 22050, 16, 3, [](uint32_t f, int) { return int16_t(f * 1000); });
    std::unique_ptr<TrackStream> stream = openInMemory(bytes);
    ASSERT_TRUE(stream);
    const std::vector<int16_t> out = streamed(*stream, 8);
    std::vector<int16_t> left;
    for (size_t i = 0; i < out.size(); i += 2) left.push_back(out[i]);
    EXPECT_EQ(left, (std::vector<int16_t>{0, 500, 1000, 1500, 2000, 1000, 0, 500}));
}

TEST(TrackStream, OpeningReadsOnlyTheHeader) {
    ScratchFolder folder("stream-header");
    const std::vector<uint8_t> bytes = makePcmWav(2, 44100, 16, 200000, wobble);
    writeBytes(folder.file("long.wav"), bytes);
    std::unique_ptr<FileSource> file = FileSource::open(folder.file("long.wav"));
    ASSERT_TRUE(file);
    const FileSource* raw = file.get();
    std::unique_ptr<TrackStream> stream = TrackStream::open(std::move(file), true);
    ASSERT_TRUE(stream);
    EXPECT_LE(raw->position(), 64u);
}

// ---- Files that are not sounds ---------------------------------------------------------

TEST(TrackStream, EmptyGarbageAndHeaderOnlyFilesDoNotOpen) {
    EXPECT_FALSE(openInMemory({}));
    EXPECT_FALSE(openInMemory(std::vector<uint8_t>(5000, 0x42)));
    std::vector<uint8_t> headerOnly = makePcmWav(2, 44100, 16, 100, wobble);
    headerOnly.resize(44);
    EXPECT_FALSE(openInMemory(headerOnly));
    EXPECT_FALSE(TrackStream::open(nullptr, true));
}

// ---- Files that change while they play ------------------------------------------------

TEST(TrackStream, AFileDeletedWhilePlayingPlaysOn) {
    ScratchFolder folder("stream-deleted");
    const std::vector<uint8_t> bytes = makePcmWav(2, 48000, 16, 20000, wobble);
    writeBytes(folder.file("gone.wav"), bytes);
    std::unique_ptr<TrackStream> stream = TrackStream::open(FileSource::open(folder.file("gone.wav")), true);
    ASSERT_TRUE(stream);
    std::vector<int16_t> got = streamed(*stream, 5000);
    std::filesystem::remove(folder.file("gone.wav"));
    const std::vector<int16_t> rest = streamed(*stream, 40000);
    got.insert(got.end(), rest.begin(), rest.end());
    const std::vector<int16_t> want = loopedWhole(*decodeWav(bytes), 45000);
    EXPECT_EQ(firstDifference(got, want), want.size());
}

TEST(TrackStream, AWavCutShortWhilePlayingLoopsOverWhatIsLeft) {
    ScratchFolder folder("stream-cut-wav");
    const std::vector<uint8_t> bytes = makePcmWav(2, 44100, 16, 50000, wobble);
    writeBytes(folder.file("cut.wav"), bytes);
    std::unique_ptr<TrackStream> stream = TrackStream::open(FileSource::open(folder.file("cut.wav")), true);
    ASSERT_TRUE(stream);
    streamed(*stream, 10000);
    std::filesystem::resize_file(folder.file("cut.wav"), 44 + 4 * 1000);  // 1000 frames left
    // What was read ahead plays out, then every pass is the 1000 frames that remain.
    const std::vector<int16_t> later = streamed(*stream, 20000);
    ASSERT_EQ(later.size(), 40000u);
    const std::vector<int16_t> remaining =
        convertForMixing(*decodeWav(makePcmWav(2, 44100, 16, 1000, wobble)), true).samples;
    size_t start = 0;
    while (start < 2 * 4096 && !std::equal(remaining.begin(), remaining.end(), later.begin() + start)) start += 2;
    ASSERT_LT(start, 2u * 4096) << "the remaining frames never start a pass";
    for (size_t at = start; at + remaining.size() <= later.size(); at += remaining.size())
        ASSERT_TRUE(std::equal(remaining.begin(), remaining.end(), later.begin() + at)) << "pass at sample " << at;
    EXPECT_FALSE(stream->ended());
}

TEST(TrackStream, AnOggCutShortOrEmptiedWhilePlayingEndsOrLoopsWithoutHanging) {
    ScratchFolder folder("stream-cut-ogg");
    const std::vector<uint8_t> bytes = encodeTone(2, 48000, 96000, 300.0f);
    for (uint64_t keep : {uint64_t{0}, uint64_t{100}, bytes.size() / 2}) {
        SCOPED_TRACE(keep);
        writeBytes(folder.file("cut.ogg"), bytes);
        std::unique_ptr<TrackStream> stream = TrackStream::open(FileSource::open(folder.file("cut.ogg")), true);
        ASSERT_TRUE(stream);
        streamed(*stream, 5000);
        std::filesystem::resize_file(folder.file("cut.ogg"), keep);
        const std::vector<int16_t> later = streamed(*stream, 300000);
        if (keep < 4000) {
            EXPECT_TRUE(stream->ended());  // the headers are gone: the loop cannot start again
            EXPECT_LT(later.size(), 2u * 100000);
        } else {
            // A page cut in two is damage: what was left plays, then the track ends.
            EXPECT_GT(later.size(), 2u * 30000);
            EXPECT_TRUE(stream->ended() || later.size() == 600000u);
        }
    }
}

TEST(TrackStream, DamagedOggAudioEndsTheTrackOrSkipsTheHoleButNeverHangs) {
    std::vector<uint8_t> bytes = encodeTone(2, 44100, 441000, 500.0f);
    // Scribbled over audio pages well past the headers.
    for (size_t i = bytes.size() / 2; i < bytes.size() / 2 + 400; ++i) bytes[i] ^= 0xA5;
    std::unique_ptr<TrackStream> stream = openInMemory(bytes);
    ASSERT_TRUE(stream);
    const std::vector<int16_t> out = streamed(*stream, 2000000);
    EXPECT_GT(out.size(), 2u * 100000);  // the good part before the damage plays
}

TEST(TrackStream, ALoopTooShortForOneMixerFrameEndsInsteadOfSpinning) {
    // Two frames at 256324 Hz (the fuzzer's find) or 384000 Hz make no frame at 44100 Hz:
    // looping them would go round for ever without a sound.
    for (const int rate : {256324, 384000}) {
        SCOPED_TRACE(rate);
        const std::vector<uint8_t> bytes = makePcmWav(2, rate, 16, 2, wobble);  // the stream reads it in place
        std::unique_ptr<TrackStream> stream = openInMemory(bytes);
        ASSERT_TRUE(stream);
        int16_t out[2];
        EXPECT_EQ(stream->produce(out, 1), 0u);
        EXPECT_TRUE(stream->ended());
    }
    // Nine frames make one: that loop plays on.
    const std::vector<uint8_t> nineFrames = makePcmWav(2, 384000, 16, 9, wobble);
    std::unique_ptr<TrackStream> nine = openInMemory(nineFrames);
    ASSERT_TRUE(nine);
    EXPECT_EQ(streamed(*nine, 50).size(), 2u * 50);
    EXPECT_FALSE(nine->ended());
}

// A track whose disk fails part-way through ends there, instead of repeating the stretch it got.
TEST(TrackStream, AReadFailureEndsTheTrackInsteadOfRepeatingWhatItGot) {
    // Bytes that stop coming after the first good ones, and say so.
    class FailingSource : public ByteSource {
    public:
        FailingSource(std::span<const uint8_t> bytes, uint64_t good) : inner(bytes), good(good) {}
        size_t read(std::span<uint8_t> target) override {
            const uint64_t left = good > inner.position() ? good - inner.position() : 0;
            const size_t allowed = static_cast<size_t>(std::min<uint64_t>(target.size(), left));
            broken |= allowed < target.size();
            return inner.read(target.first(allowed));
        }
        bool seek(uint64_t position) override { return inner.seek(position); }
        uint64_t position() const override { return inner.position(); }
        uint64_t size() const override { return inner.size(); }
        bool failed() const override { return broken; }

    private:
        MemorySource inner;
        uint64_t good;
        bool broken = false;
    };
    const std::vector<uint8_t> bytes = makePcmWav(2, 44100, 16, 20000, wobble);
    auto stream = TrackStream::open(std::make_unique<FailingSource>(bytes, bytes.size() / 2), true);
    ASSERT_TRUE(stream);
    std::vector<int16_t> out(2 * 30000);
    EXPECT_LT(stream->produce(out.data(), 30000), 10001u);
    EXPECT_TRUE(stream->ended());
}

// A long track is held a few blocks at a time, not a whole pass (a minute here: 10 MB). The
// bound leaves room for the sanitizer's allocator, which holds freed blocks for a while.
TEST(TrackStream, HoldsAFewBlocksOfALongTrackNotTheWholePass) {
    const std::vector<uint8_t> bytes = makePcmWav(1, 44100, 8, 60 * 44100, wobble);
    auto stream = TrackStream::open(std::make_unique<MemorySource>(bytes), false);
    ASSERT_TRUE(stream);
    EXPECT_LT(peakGrowthKb([&] {
                  std::vector<int16_t> out(2 * 4096);
                  while (!stream->ended()) stream->produce(out.data(), 4096);
              }),
              4096);
}
