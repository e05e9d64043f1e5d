// MediaLayer::loadSound and streamTrack: sound files recognised by content.

#include "media/media_layer.h"
#include "media/media_parts.h"
#include "media/sound/sound_decoders.h"
#include "media/sound/track_stream.h"

SoundPtr MediaLayer::loadSound(const std::string& path, int loopFlag) {
    // Decoded straight from the file, so no copy of its bytes is held beside the samples.
    std::unique_ptr<FileSource> source = FileSource::open(FileTable::normalisePath(path));
    if (!source) return nullptr;
    std::optional<PcmSound> pcm = decodeWholeSound(*source);
    if (!pcm) return nullptr;
    auto sound = std::make_shared<Sound>(convertForMixing(std::move(*pcm), loopFlag != 0));
    if (sound->frameCount() == 0) return nullptr;
    return sound;
}

Channel MediaLayer::streamTrack(const std::string& path, bool paused) {
    std::unique_ptr<TrackStream> stream = TrackStream::open(FileSource::open(FileTable::normalisePath(path)), true);
    if (!stream) return 0;
    return mixer.playStream(decoder.start(std::move(stream)), paused);
}
