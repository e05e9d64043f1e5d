// The finishing stage of generated sounds and the differences between the pieces of
// music, checked on small buffers and on the piece descriptions.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <map>
#include <set>

#include "common/audio_finish.h"
#include "common/audio_synth.h"
#include "kept_digest.h"
#include "sounds/instruments.h"
#include "sounds/music_pieces.h"
#include "sounds/note_cache.h"

namespace {

double meanOf(const std::vector<float>& side) {
    double sum = 0;
    for (float value : side) sum += value;
    return sum / static_cast<double>(side.size());
}

// A 0.3 s tone of 220 Hz riding on an offset of 0.2, starting and ending abruptly.
AudioBuffer offsetTone(float level) {
    AudioBuffer buffer(secondsToFrames(0.3));
    for (size_t i = 0; i < buffer.frames(); ++i) {
        const float value = 0.2f + level * std::sin(TwoPi * 220.0f * static_cast<float>(i) / AudioRate);
        buffer.left[i] = value;
        buffer.right[i] = value;
    }
    return buffer;
}

std::set<Voice> voicesOf(const PieceSpec& spec) {
    std::set<Voice> voices;
    for (const Part& part : spec.parts)
        for (Layer layer : part.layers) {
            if (layer == Layer::Arp) voices.insert(spec.arpVoice);
            if (layer == Layer::Lead) voices.insert(spec.leadVoice);
            if (layer == Layer::Comp) voices.insert(spec.compVoice);
        }
    return voices;
}

bool plays(const Part& part, Layer layer) {
    return std::find(part.layers.begin(), part.layers.end(), layer) != part.layers.end();
}

}  // namespace

TEST(AudioFinish, AOneShotLosesItsOffsetAndStartsAndEndsAtZero) {
    AudioBuffer sound = offsetTone(0.3f);
    finishOneShot(sound, -16.0f, -1.5f);
    EXPECT_LT(std::fabs(meanOf(sound.left)), 0.001);
    EXPECT_LT(std::fabs(meanOf(sound.right)), 0.001);
    EXPECT_EQ(sound.left.front(), 0.0f);
    EXPECT_EQ(sound.left.back(), 0.0f);
    EXPECT_NEAR(loudnessDb(sound), -16.0f, 0.5f);
}

TEST(AudioFinish, ALoudOneShotIsLimitedUnderTheCeilingAndStillReachesItsLoudness) {
    AudioBuffer sound = offsetTone(0.9f);
    // A short spike the loudness target alone would push past full scale.
    sound.left[5000] = sound.right[5000] = 3.0f;
    finishOneShot(sound, -10.0f, -1.5f);
    EXPECT_LE(peakLevel(sound), std::pow(10.0f, -1.5f / 20.0f) + 1e-4f);
    EXPECT_NEAR(loudnessDb(sound), -10.0f, 0.5f);
}

TEST(AudioFinish, ALoopLosesItsOffsetStartsQuietlyAndStaysARotationOfItself) {
    // Two whole periods of a 441 Hz tone over an offset: a seamless loop of 200 frames.
    AudioBuffer loop(200);
    for (size_t i = 0; i < loop.frames(); ++i) {
        loop.left[i] = 0.3f + 0.5f * std::cos(TwoPi * static_cast<float>(i) / 100.0f);
        loop.right[i] = loop.left[i];
    }
    finishLoop(loop, -12.0f);
    EXPECT_LT(std::fabs(meanOf(loop.left)), 0.001);
    EXPECT_NEAR(rmsDb(loop), -12.0f, 0.1f);
    // It starts near a zero crossing, rising or falling, not on the crest where it began.
    EXPECT_LT(std::fabs(loop.left.front()), 0.05f);
    // Still one smooth wave across the loop point.
    EXPECT_LT(std::fabs(loop.left.front() - loop.left.back()), 0.1f);
}

TEST(AudioFinish, LoudnessIsTheLoudestStretchNotTheAverage) {
    AudioBuffer sound(secondsToFrames(2.0));
    for (size_t i = 0; i < secondsToFrames(0.3); ++i) sound.left[i] = sound.right[i] = (i % 2 ? 0.5f : -0.5f);
    EXPECT_NEAR(loudnessDb(sound), 20.0f * std::log10(0.5f), 0.1f);
    EXPECT_LT(rmsDb(sound), loudnessDb(sound) - 6.0f);
}

TEST(MusicPieces, EachPieceHasItsOwnKeyAndTempoAndTheTracksTheirOwnInstruments) {
    const std::vector<PieceSpec> pieces = {menuThemeSpec(), circuitSpec(), nightShiftSpec(), uplinkSpec()};
    for (size_t a = 0; a < pieces.size(); ++a)
        for (size_t b = a + 1; b < pieces.size(); ++b) {
            EXPECT_NE(pieces[a].bpm, pieces[b].bpm) << a << " " << b;
            const bool sameKey = pieces[a].keyNote % 12 == pieces[b].keyNote % 12 && pieces[a].minor == pieces[b].minor;
            EXPECT_FALSE(sameKey) << a << " " << b;
            if (a > 0) {
                EXPECT_NE(voicesOf(pieces[a]), voicesOf(pieces[b])) << a << " " << b;
            }
        }
    // The scale's third names the mode.
    for (const PieceSpec& piece : pieces) EXPECT_EQ(piece.scale[2], piece.minor ? 3 : 4);
}

TEST(MusicPieces, TheThemeRunsTwoMinutesAndEachTrackThreeToFour) {
    EXPECT_GE(pieceSeconds(menuThemeSpec()), 90.0);
    EXPECT_LE(pieceSeconds(menuThemeSpec()), 150.0);
    for (const PieceSpec& track : {circuitSpec(), nightShiftSpec(), uplinkSpec()}) {
        EXPECT_GE(pieceSeconds(track), 180.0);
        EXPECT_LE(pieceSeconds(track), 240.0);
    }
}

// A track is not one groove from start to end: it has at least three sections of its
// own, a breakdown without drums between parts with them, and a section that returns
// after it with its tune varied.
TEST(MusicPieces, EachTrackHasSectionsABreakdownAndAReturn) {
    for (const PieceSpec& track : {circuitSpec(), nightShiftSpec(), uplinkSpec()}) {
        std::set<char> sections;
        for (const Part& part : track.parts) {
            sections.insert(part.section);
            ASSERT_LT(size_t(part.section - 'A'), track.sectionChords.size());
        }
        EXPECT_GE(sections.size(), 3u);
        size_t breakdown = 0;
        for (size_t p = 1; p + 1 < track.parts.size() && breakdown == 0; ++p)
            if (!plays(track.parts[p], Layer::Kick) && plays(track.parts[p - 1], Layer::Kick)) breakdown = p;
        ASSERT_GT(breakdown, 0u);
        bool varied = false, returned = false;
        for (size_t p = breakdown + 1; p < track.parts.size(); ++p) {
            varied =
                varied || (plays(track.parts[p], Layer::Lead) && track.parts[p].tune != TuneVariation::AsFirstHeard);
            for (size_t q = 0; q < breakdown; ++q)
                returned = returned || track.parts[q].section == track.parts[p].section;
        }
        EXPECT_TRUE(varied);
        EXPECT_TRUE(returned);
    }
}

// A note mixed in from the cache sounds as the instrument plays it in place, panned
// (the pluck, a mono voice) or moving across the field by itself (the electric piano).
TEST(MusicPieces, ANoteFromTheCacheMatchesTheNotePlayedInPlace) {
    for (Instrument instrument : {Instrument::Pluck, Instrument::EPiano}) {
        const NoteEvent note{0.25, 0.3f, 64.0f, 0.4f, 0.5f};
        AudioBuffer inPlace(secondsToFrames(6.0)), cached(secondsToFrames(6.0));
        if (instrument == Instrument::Pluck) playPluck(inPlace, note, 0.6f);
        if (instrument == Instrument::EPiano) playEPiano(inPlace, note);
        NoteCache cache;
        cache.play(cached, instrument, note, 0.6f);
        float largest = 0.0f, difference = 0.0f;
        for (size_t i = 0; i < inPlace.frames(); ++i) {
            largest = std::max({largest, std::fabs(inPlace.left[i]), std::fabs(inPlace.right[i])});
            difference = std::max({difference, std::fabs(inPlace.left[i] - cached.left[i]),
                                   std::fabs(inPlace.right[i] - cached.right[i])});
        }
        EXPECT_GT(largest, 0.01f) << int(instrument);
        EXPECT_LT(difference, largest * 1e-4f) << int(instrument);
    }
}

// Each instrument's voice as it was when last listened to: one note, in steps of 1/256, by
// its FNV-1a digest. A deliberate change of sound changes its digest here too.
TEST(MusicPieces, EachInstrumentSoundsAsItDidWhenLastListenedTo) {
    const NoteEvent note{0.05, 0.3f, 57.0f, 0.5f, 0.2f};
    const std::vector<std::pair<const char*, std::function<void(AudioBuffer&)>>> voices = {
        {"pad", [&](AudioBuffer& out) { playPad(out, note, 0.5f); }},
        {"pluck", [&](AudioBuffer& out) { playPluck(out, note, 0.6f); }},
        {"bass", [&](AudioBuffer& out) { playBass(out, note); }},
        {"bell", [&](AudioBuffer& out) { playBell(out, note, 0.8f); }},
        {"lead", [&](AudioBuffer& out) { playLead(out, note); }},
        {"brass", [&](AudioBuffer& out) { playBrass(out, note); }},
        {"marimba", [&](AudioBuffer& out) { playMarimba(out, note); }},
        {"epiano", [&](AudioBuffer& out) { playEPiano(out, note); }},
        {"flute", [&](AudioBuffer& out) { playFlute(out, note); }},
        {"nylon", [&](AudioBuffer& out) { playNylon(out, note); }}};
    const std::map<std::string, std::string> listened = {
#include "listened_voices.inc"
    };
    for (const auto& [name, play] : voices) {
        AudioBuffer out(secondsToFrames(1.5));
        play(out);
        KeptDigest digest;
        for (size_t i = 0; i < out.frames(); ++i)
            for (const float sample : {out.left[i], out.right[i]}) {
                const auto step = static_cast<int16_t>(std::lround(std::clamp(sample, -1.0f, 1.0f) * 256.0f));
                digest.addLittleEndian(static_cast<uint16_t>(step), 2);
            }
        const std::string text = digest.text();
        EXPECT_EQ(listened.count(name) ? listened.at(name) : "(none)", text)
            << "listen to the " << name << "; once it is right:  {\"" << name << "\", \"" << text << "\"},";
    }
}

TEST(AudioSynth, TheFastSineFollowsTheLibrarySine) {
    float worst = 0.0f;
    for (double cycles = -3.0; cycles < 3.0; cycles += 0.0007)
        worst = std::max(worst, std::fabs(sineOfCycles(cycles) - float(std::sin(2.0 * 3.14159265358979 * cycles))));
    EXPECT_LT(worst, 1e-5f);
}
