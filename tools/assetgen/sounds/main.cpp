// gen_sounds GAME_FOLDER: writes the sound effects, the menu theme and the music tracks.

#include <cstdio>
#include <string>

#include "sound_assets.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: gen_sounds GAME_FOLDER\n");
        return 2;
    }
    const std::string folder = argv[1];
    const bool ok = writeEffectsAndTheme(folder) && writeTracks(folder);
    return ok ? 0 : 1;
}
