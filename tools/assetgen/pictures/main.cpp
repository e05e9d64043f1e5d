// Generates the pictures of the game into the game folder given as the first argument:
// the sets of the scales given after it, or every set.

#include <cstdlib>
#include <exception>
#include <iostream>
#include <string>

#include "media/pictures/picture_sets.h"
#include "picture_files.h"

namespace {

bool isPictureScale(int scale) {
    for (const int known : PictureScales)
        if (scale == known) return true;
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) {
        std::cerr << "usage: gen_pictures GAME_FOLDER [SCALE...]\n";
        return 1;
    }
    try {
        if (argc == 2) writeAllPictures(argv[1]);
        for (int i = 2; i < argc; ++i) {
            const int scale = std::atoi(argv[i]);
            if (!isPictureScale(scale)) {
                std::cerr << "gen_pictures: no picture set of scale " << argv[i] << "\n";
                return 1;
            }
            writePictureSet(argv[1], scale);
        }
    } catch (const std::exception& error) {
        std::cerr << "gen_pictures: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
