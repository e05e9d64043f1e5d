#pragma once
// One set of stand-in pictures for the tests that draw: every picture of the resource
// table at its real cell size and frame count, centred where the table centres it.

#include <memory>

#include "media/pictures/image.h"

struct Resources;
struct SpriteFont;

// An empty picture (no pixels) of the given cell size and frame count.
std::unique_ptr<Image> fakeImage(int width, int height, int frames, bool centred);
// Fills every picture of the game, the font pictures included.
void giveFakePictures(Resources& res, SpriteFont& font);
