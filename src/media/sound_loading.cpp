// MediaLayer::loadSound: the file's bytes, recognised by content, converted for mixing.

#include <optional>
#include <utility>

#include "media/media_layer.h"
#include "media/sound_decoders.h"

namespace {

// WAV first, then Ogg Vorbis, each from the start of the bytes.
std::optional<PcmSound> decodeSound(std::span<const uint8_t> bytes) {
    if (std::optional<PcmSound> wav = decodeWav(bytes)) return wav;
    return decodeOgg(bytes);
}

}  // namespace

SoundPtr MediaLayer::loadSound(const std::string& path, int loopFlag) {
    std::vector<uint8_t> bytes;
    if (!readWholeFile(path, bytes)) return nullptr;
    std::optional<PcmSound> pcm = decodeSound(bytes);
    if (!pcm) return nullptr;
    // Refused before converting: a low rate could make a short file enormous at 44100 Hz.
    if (mixedFrameCount(static_cast<int64_t>(pcm->frameCount()), pcm->sampleRate) > MaxSoundFrames) return nullptr;
    auto sound = std::make_shared<Sound>(convertForMixing(std::move(*pcm), loopFlag != 0));
    if (sound->frameCount() == 0) return nullptr;
    return sound;
}
