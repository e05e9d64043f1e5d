#pragma once
// The sound output device: 44100 Hz, 16-bit stereo, fed by the Mixer from the device's thread.
// Without a device the game runs silently; the Mixer works the same either way.

#include <cstdint>
#include <string>

#include "media/sound/mixer.h"

class SdlAudio {
public:
    explicit SdlAudio(Mixer& mixer);
    ~SdlAudio();
    SdlAudio(const SdlAudio&) = delete;
    SdlAudio& operator=(const SdlAudio&) = delete;

    // Starts the audio subsystem and the device, which begins pulling mixed blocks at once.
    // False (and silent from then on) when there is no usable device.
    bool open();
    bool isOpen() const { return device != 0; }
    // Why the last open failed, for the player's warning.
    const std::string& failure() const { return failureText; }

private:
    Mixer& mixer;
    uint32_t device = 0;
    bool subsystemStarted = false;
    std::string failureText;
};
