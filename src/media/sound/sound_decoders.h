#pragma once
// Sound decoders: pure code over bytes, no device and no file system of their own.
// Two ways in: a stream that decodes a block at a time from a ByteSource (music tracks,
// and the base of everything else), and whole-sound decoding of a byte buffer (effects,
// the menu theme, tests and fuzzing). A sound with no frames is never returned.

#include <cstdint>
#include <memory>
#include <optional>
#include <span>

#include "media/sound/byte_source.h"
#include "media/sound/sound.h"

// Decoded samples at the file's own rate, one or two channels, a block at a time.
class PcmStream {
public:
    virtual ~PcmStream() = default;
    int sampleRate() const { return rate; }
    int channels() const { return channelCount; }  // 1 or 2
    // Decodes up to maxFrames frames into out (channels() samples a frame, interleaved).
    // Returns the frames written; 0 at the end of the sound; -1 when the bytes turn out
    // to be damaged (the stream is of no further use then).
    virtual long read(int16_t* out, size_t maxFrames) = 0;
    // Goes back to the first frame, reading the header again; false when that fails.
    virtual bool restart() = 0;
    // Frames the header promises, or -1 when the format does not say before decoding.
    virtual int64_t declaredFrames() const { return -1; }
    // The length the file states before any decoding, or -1: a WAV's data size, the frame
    // number an Ogg stream's last page carries. Enough to refuse a sound too long to hold
    // whole; not a promise that the bytes are there. May read the end of the source.
    virtual int64_t statedFrames() { return declaredFrames(); }
    // True when the header promises more bytes than the source holds.
    virtual bool promisesMoreThanHeld() const { return false; }

protected:
    int rate = 0;
    int channelCount = 0;
};

// RIFF/WAVE with "fmt " first; plain PCM, 8 or 16 bits, mono or stereo. Other chunks are
// skipped by their exact size. Reads only the header; null when the bytes are no such file.
// The stream ends where the "data" chunk ends or the bytes do, whichever comes first.
std::unique_ptr<PcmStream> openWavStream(ByteSource& source);
// Ogg Vorbis at the file's own rate: mono for one channel, stereo otherwise (the front
// left and right of a surround file). Reads only the three Vorbis headers; null for
// anything else. A change of rate inside the stream counts as damage.
std::unique_ptr<PcmStream> openOggStream(ByteSource& source);
// WAV first, then Ogg Vorbis, each from the start of the bytes.
std::unique_ptr<PcmStream> openSoundStream(ByteSource& source);

// Whole sounds. Refused besides the above: a WAV whose "data" chunk claims more bytes
// than the source holds (found before anything is allocated), a sound that would
// exceed MaxSoundFrames at 44100 Hz, and an Ogg Vorbis stream that turns out damaged.
std::optional<PcmSound> decodeWav(std::span<const uint8_t> bytes);
std::optional<PcmSound> decodeOgg(std::span<const uint8_t> bytes);
// By content (WAV, then Ogg Vorbis), from any byte source.
std::optional<PcmSound> decodeWholeSound(ByteSource& source);
