#pragma once
// The pictures and sounds of the game, loaded once at start-up.
//
// The table names each picture by its file in the set for the 800 x 600 screen; the media
// layer reads it from the set of its picture scale, and a file missing there is named as read.
//
// Decoding them takes about as long as opening the screen and needs neither the screen nor
// the other files, so start-up decodes them on threads of their own while the screen opens,
// and takes them in table order afterwards: a missing or damaged file stops the game with
// the same message, at the same step, as if they had been loaded one after the other.

#include <future>
#include <memory>
#include <string>
#include <vector>

#include "media/pictures/image.h"
#include "media/sound/sound.h"

class MediaLayer;
struct Resources;
struct SpriteFont;

// A picture of the table, or why it could not be loaded.
struct LoadedPicture {
    std::unique_ptr<Image> image;
    std::string refusal;
};
using PictureLoad = std::future<std::vector<LoadedPicture>>;
using SoundLoad = std::future<std::vector<SoundPtr>>;

// Starts decoding every picture (sound) of the table beside the caller.
PictureLoad startLoadingPictures(MediaLayer& media);
SoundLoad startLoadingSounds(MediaLayer& media);
// Waits for the pictures and hands them to the game in table order; the first that is
// missing or undecodable stops the game naming the file and why.
void takePictures(MediaLayer& media, Resources& res, SpriteFont& font, PictureLoad& load);
// Waits for the sounds and hands them to the game; one that could not be loaded stays silent.
void takeSounds(MediaLayer& media, Resources& res, SoundLoad& load);

// Asks the media layer to make the large pictures of the screens that may open next ready
// beside the frames: the backdrops (help, play), every level background, the menu's.
void preparePicturesAhead(MediaLayer& media);

// Both steps at once.
void loadPictures(MediaLayer& media, Resources& res, SpriteFont& font);
void loadSounds(MediaLayer& media, Resources& res);
