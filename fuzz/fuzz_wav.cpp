// The WAV loader on arbitrary bytes, as a sound effect is loaded: decode, refuse what would
// grow too long at the mixing rate, convert to 44100 Hz stereo.

#include "media/sound/sound_decoders.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::optional<PcmSound> pcm = decodeWav(std::span<const uint8_t>(data, size));
    if (!pcm) return 0;
    if (mixedFrameCount(static_cast<int64_t>(pcm->frameCount()), pcm->sampleRate) > MaxSoundFrames) return 0;
    const Sound sound = convertForMixing(std::move(*pcm), size % 2 == 1);
    if (sound.samples.size() % 2 != 0) __builtin_trap();
    return 0;
}
