#pragma once
// What the seam owns and hands work to: the files, the mixer and the music decoder. They
// bring threads and locks, so only the seam's own files and its two implementations include
// this; the game sees them through MediaLayer alone.

#include "media/files/file_table.h"
#include "media/kept_picture_files.h"
#include "media/sound/mixer.h"
#include "media/sound/music_decoder.h"

struct MediaParts {
    explicit MediaParts(MusicDecoding musicDecoding) : decoder(musicDecoding) {}
    FileTable files;
    Mixer mixer;
    MusicDecoder decoder;  // after the mixer: its thread stops before the mixer goes
    KeptPictureFiles keptPictures;
};
