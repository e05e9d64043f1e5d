// The SDL audio device behind the Mixer.

#include "media/sound/sdl_audio.h"

#include <SDL.h>

namespace {

// Block size in frames: about 23 ms, small enough that a click is heard within a frame or two.
constexpr Uint16 DeviceBlockFrames = 1024;

void feedDevice(void* userdata, Uint8* stream, int length) {
    auto* mixer = static_cast<Mixer*>(userdata);
    mixer->mixInto(reinterpret_cast<int16_t*>(stream), length / 4);
}

}  // namespace

SdlAudio::SdlAudio(Mixer& mixer) : mixer(mixer) {}

SdlAudio::~SdlAudio() {
    if (device != 0) SDL_CloseAudioDevice(device);
    if (subsystemStarted) SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

bool SdlAudio::open() {
    if (device != 0) return true;
    if (!subsystemStarted) {
        if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
            failureText = SDL_GetError();
            return false;
        }
        subsystemStarted = true;
    }
    SDL_AudioSpec wanted{};
    wanted.freq = MixRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = 2;
    wanted.samples = DeviceBlockFrames;
    wanted.callback = feedDevice;
    wanted.userdata = &mixer;
    // No changes allowed: SDL converts to whatever the hardware wants behind the callback.
    device = SDL_OpenAudioDevice(nullptr, 0, &wanted, nullptr, 0);
    if (device == 0) {
        failureText = SDL_GetError();
        return false;
    }
    SDL_PauseAudioDevice(device, 0);
    return true;
}
