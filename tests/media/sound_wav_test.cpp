// The WAV reader: every accepted kind, the chunk rules and the files it must refuse.

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "media/sound/sound_decoders.h"

namespace {

// A WAV file to build, field by field; unset fields make a plain 16-bit mono file.
struct WavSpec {
    int formatTag = 1;
    int channels = 1;
    int rate = 22050;
    int bits = 16;
    uint32_t fmtSize = 16;
    std::vector<uint8_t> chunksBeforeData = {};  // raw bytes, tags and sizes included
    std::vector<uint8_t> data = {};
    int64_t declaredDataSize = -1;  // -1: the real size
};

void put(std::vector<uint8_t>& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void putTag(std::vector<uint8_t>& out, const char* tag) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(tag[i]));
}

std::vector<uint8_t> makeWav(const WavSpec& spec) {
    std::vector<uint8_t> out;
    putTag(out, "RIFF");
    put(out, 0, 4);
    putTag(out, "WAVE");
    putTag(out, "fmt ");
    put(out, spec.fmtSize, 4);
    put(out, spec.formatTag, 2);
    put(out, spec.channels, 2);
    put(out, spec.rate, 4);
    put(out, spec.rate * spec.channels * spec.bits / 8, 4);
    put(out, spec.channels * spec.bits / 8, 2);
    put(out, spec.bits, 2);
    for (uint32_t i = 16; i < spec.fmtSize; ++i) out.push_back(0xEE);
    out.insert(out.end(), spec.chunksBeforeData.begin(), spec.chunksBeforeData.end());
    putTag(out, "data");
    const int64_t dataSize = spec.declaredDataSize < 0 ? static_cast<int64_t>(spec.data.size()) : spec.declaredDataSize;
    put(out, static_cast<uint32_t>(dataSize), 4);
    out.insert(out.end(), spec.data.begin(), spec.data.end());
    return out;
}

std::vector<uint8_t> sixteenBit(std::initializer_list<int16_t> samples) {
    std::vector<uint8_t> out;
    for (int16_t s : samples) put(out, static_cast<uint16_t>(s), 2);
    return out;
}

}  // namespace

// ---- Accepted kinds ------------------------------------------------------------------

TEST(WavDecoder, ReadsEightBitSamplesAsUnsignedAroundMidScale) {
    WavSpec mono = WavSpec{.bits = 8, .data = {128, 255, 0, 129}};
    const auto pcm = decodeWav(makeWav(mono));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->channels, 1);
    EXPECT_EQ(pcm->sampleRate, 22050);
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{0, 127 * 256, -32768, 256}));

    WavSpec stereo = WavSpec{.channels = 2, .bits = 8, .data = {128, 0, 255, 128}};
    const auto pair = decodeWav(makeWav(stereo));
    ASSERT_TRUE(pair);
    EXPECT_EQ(pair->channels, 2);
    EXPECT_EQ(pair->samples, (std::vector<int16_t>{0, -32768, 127 * 256, 0}));
}

TEST(WavDecoder, ReadsSixteenBitMonoAndStereoAsSigned) {
    const auto mono = decodeWav(makeWav(WavSpec{.data = sixteenBit({1, -1, 32767, -32768})}));
    ASSERT_TRUE(mono);
    EXPECT_EQ(mono->samples, (std::vector<int16_t>{1, -1, 32767, -32768}));

    const auto stereo =
        decodeWav(makeWav(WavSpec{.channels = 2, .rate = 44100, .data = sixteenBit({100, -200, 300, -400})}));
    ASSERT_TRUE(stereo);
    EXPECT_EQ(stereo->channels, 2);
    EXPECT_EQ(stereo->frameCount(), 2u);
    EXPECT_EQ(stereo->samples, (std::vector<int16_t>{100, -200, 300, -400}));
}

// ---- Chunk layout ----------------------------------------------------------------------

TEST(WavDecoder, SkipsTheRestOfALongFmtChunk) {
    const auto pcm = decodeWav(makeWav(WavSpec{.fmtSize = 18, .data = sixteenBit({7, 8})}));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{7, 8}));
}

TEST(WavDecoder, SkipsOtherChunksByTheirExactSizeWithoutPadByte) {
    std::vector<uint8_t> odd;
    putTag(odd, "LIST");
    put(odd, 3, 4);
    odd.insert(odd.end(), {'a', 'b', 'c'});  // odd size, no pad byte follows
    putTag(odd, "fact");
    put(odd, 4, 4);
    put(odd, 2, 4);
    const auto pcm = decodeWav(makeWav(WavSpec{.chunksBeforeData = odd, .data = sixteenBit({5, 6})}));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{5, 6}));
}

TEST(WavDecoder, RefusesWholeDataThatClaimsMoreThanTheFileHolds) {
    // Refused from the header alone, before any sample is read or memory is set aside.
    WavSpec spec = WavSpec{.channels = 2, .data = sixteenBit({1, 2, 3, 4, 5})};
    spec.declaredDataSize = 4000;
    EXPECT_FALSE(decodeWav(makeWav(spec)));
    spec.declaredDataSize = 0xFFFFFFF0;
    EXPECT_FALSE(decodeWav(makeWav(spec)));
    spec.declaredDataSize = 10;  // exactly what is there: two and a half frames
    const auto pcm = decodeWav(makeWav(spec));
    ASSERT_TRUE(pcm);
    EXPECT_EQ(pcm->samples, (std::vector<int16_t>{1, 2, 3, 4}));
}

TEST(WavDecoder, AStreamPlaysTheWholeFramesOfDataCutShort) {
    WavSpec spec = WavSpec{.channels = 2, .data = sixteenBit({1, 2, 3, 4, 5})};  // 2.5 frames
    spec.declaredDataSize = 4000;                                                // claims far more
    const std::vector<uint8_t> bytes = makeWav(spec);
    MemorySource source(bytes);
    const std::unique_ptr<PcmStream> stream = openWavStream(source);
    ASSERT_TRUE(stream);
    std::vector<int16_t> out(100);
    EXPECT_EQ(stream->read(out.data(), 50), 2);
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 4), (std::vector<int16_t>{1, 2, 3, 4}));
    EXPECT_EQ(stream->read(out.data(), 50), 0);
    ASSERT_TRUE(stream->restart());
    EXPECT_EQ(stream->read(out.data(), 1), 1);
    EXPECT_EQ(out[0], 1);
}

// Metadata may follow the data chunk: a stream read in pieces ends with the data all the same.
TEST(WavDecoder, AStreamEndsWithItsDataChunkNotWithTheFile) {
    std::vector<uint8_t> bytes = makeWav(WavSpec{.data = sixteenBit({1, 2, 3})});
    putTag(bytes, "LIST");
    put(bytes, 4, 4);
    put(bytes, 0x7F7F7F7F, 4);
    MemorySource source(bytes);
    const std::unique_ptr<PcmStream> stream = openWavStream(source);
    ASSERT_TRUE(stream);
    std::vector<int16_t> out(20, 0);
    EXPECT_EQ(stream->read(out.data(), 2), 2);
    EXPECT_EQ(stream->read(out.data() + 2, 10), 1);
    EXPECT_EQ(stream->read(out.data() + 3, 10), 0) << "the chunk after the data is no sound";
    EXPECT_EQ(std::vector<int16_t>(out.begin(), out.begin() + 4), (std::vector<int16_t>{1, 2, 3, 0}));
}

// ---- Refused files ----------------------------------------------------------------------

TEST(WavDecoder, RefusesFormatsOutsideTheAcceptedKinds) {
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.formatTag = 3, .bits = 16, .data = sixteenBit({1, 2})})));  // float tag
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.bits = 24, .data = {1, 2, 3, 4, 5, 6}})));
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.channels = 3, .data = sixteenBit({1, 2, 3})})));
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.channels = 0, .data = sixteenBit({1, 2})})));
}

TEST(WavDecoder, RefusesHeadersThatWouldBreakLaterSteps) {
    // A rate of 0 would divide by zero when resampling; a short fmt chunk would read its
    // fields out of the next chunk.
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.rate = 0, .data = sixteenBit({1, 2})})));
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.rate = 50'000'000, .data = sixteenBit({1, 2})})));
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.fmtSize = 14, .data = sixteenBit({1, 2})})));
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.data = {}})));
}

TEST(WavDecoder, RefusesGarbageAndFilesWithoutData) {
    EXPECT_FALSE(decodeWav(std::vector<uint8_t>{}));
    EXPECT_FALSE(decodeWav(std::vector<uint8_t>(100, 0x5A)));
    std::vector<uint8_t> wav = makeWav(WavSpec{.data = sixteenBit({1, 2})});
    wav[12] = 'L';  // something other than "fmt " directly after "WAVE"
    EXPECT_FALSE(decodeWav(wav));

    std::vector<uint8_t> noData = makeWav(WavSpec{.data = sixteenBit({1, 2})});
    noData.resize(noData.size() - 12);  // header of "data" and its samples gone
    EXPECT_FALSE(decodeWav(noData));

    // A chunk whose size runs past the end of the file ends the search safely.
    std::vector<uint8_t> huge;
    putTag(huge, "junk");
    put(huge, 0xFFFFFFF0u, 4);
    EXPECT_FALSE(decodeWav(makeWav(WavSpec{.chunksBeforeData = huge, .data = sixteenBit({1, 2})})));
}

TEST(WavDecoder, NeverReadsPastTheEndOfAnyPrefixOfAValidFile) {
    std::vector<uint8_t> odd;
    putTag(odd, "LIST");
    put(odd, 5, 4);
    odd.insert(odd.end(), {1, 2, 3, 4, 5});
    const std::vector<uint8_t> wav =
        makeWav(WavSpec{.fmtSize = 18, .chunksBeforeData = odd, .data = sixteenBit({1, 2, 3})});
    for (size_t size = 0; size < wav.size(); ++size) {
        const std::vector<uint8_t> prefix(wav.begin(), wav.begin() + size);
        const auto pcm = decodeWav(prefix);
        if (pcm) {
            EXPECT_LE(pcm->samples.size(), 3u);
        }
    }
}
