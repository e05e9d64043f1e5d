// Generates every picture of the game into the game folder given as the only argument.

#include <exception>
#include <iostream>

#include "picture_files.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_pictures GAME_FOLDER\n";
        return 1;
    }
    try {
        writeAllPictures(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "gen_pictures: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
