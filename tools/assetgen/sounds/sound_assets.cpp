// The sound files of the game folder, each with its own file layout.

#include "sound_assets.h"

#include <cstdio>
#include <functional>

#include "common/audio_finish.h"
#include "common/audio_writers.h"
#include "effects.h"
#include "mix_levels.h"
#include "music_pieces.h"

namespace {

// Fixed Ogg stream serials, one per file, so every build writes the same bytes.
constexpr int ThemeSerial = 0x43574D54;
constexpr int CircuitSerial = 0x43573031;
constexpr int NightShiftSerial = 0x43573032;
constexpr float OggQuality = 0.4f;

struct EffectFile {
    const char* path;
    std::function<AudioBuffer()> make;
    WavLayout layout;
};

// Every effect is 16-bit (8 bits hiss audibly on a sound heard at every turn), and
// between them they use the layouts the game's reader meets in the wild: mono, stereo,
// a long fmt chunk, and an extra chunk between "fmt " and "data".
std::vector<EffectFile> effectFiles() {
    const std::string note = "Cablewright sound effect";
    std::vector<uint8_t> info(note.begin(), note.end());
    return {
        {"sfx/click.wav", makeClick, {16, 1, false, "", {}}},
        {"sfx/start.wav", makeStartCue, {16, 1, false, "", {}}},
        {"sfx/complete.wav", makeCompletion, {16, 2, false, "", {}}},
        {"sfx/virus.wav", makeVirusSting, {16, 2, false, "note", info}},
        {"sfx/staruse.wav", makeCleaningChime, {16, 1, true, "", {}}},
        {"sfx/rankup.wav", makeRankUp, {16, 2, true, "", {}}},
    };
}

bool writeOgg(const std::string& path, const AudioBuffer& buffer, int serial) {
    std::vector<uint8_t> bytes;
    if (!encodeOgg(buffer, OggQuality, serial, bytes)) return false;
    return writeFileBytes(path, bytes);
}

bool report(bool ok, const std::string& path) {
    if (!ok) std::fprintf(stderr, "cannot write %s\n", path.c_str());
    return ok;
}

}  // namespace

bool writeEffectsAndTheme(const std::string& gameFolder) {
    bool ok = true;
    for (const EffectFile& file : effectFiles()) {
        const std::string path = gameFolder + "/" + file.path;
        AudioBuffer sound = file.make();
        if (file.layout.channels == 1) {
            // Sides panned apart lose loudness when folded together: level the mono sound again.
            foldToMono(sound);
            finishOneShot(sound, EffectLoudnessDb, EffectCeilingDb);
        }
        ok = report(writeFileBytes(path, encodeWav(sound, file.layout)), path) && ok;
    }
    const std::string themePath = gameFolder + "/sfx/menutheme.ogg";
    return report(writeOgg(themePath, renderPiece(menuThemeSpec()), ThemeSerial), themePath) && ok;
}

bool writeTracks(const std::string& gameFolder) {
    const std::string circuit = gameFolder + "/tracks/circuit.ogg";
    const std::string nightShift = gameFolder + "/tracks/night_shift.ogg";
    const std::string uplink = gameFolder + "/tracks/uplink.wav";
    bool ok = report(writeOgg(circuit, renderPiece(circuitSpec()), CircuitSerial), circuit);
    ok = report(writeOgg(nightShift, renderPiece(nightShiftSpec()), NightShiftSerial), nightShift) && ok;
    const WavLayout cdQuality{16, 2, false, "", {}};
    return report(writeFileBytes(uplink, encodeWav(renderPiece(uplinkSpec()), cdQuality)), uplink) && ok;
}
