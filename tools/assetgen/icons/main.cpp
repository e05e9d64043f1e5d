// Generates the desktop icons into the folder given as the only argument.

#include <exception>
#include <iostream>

#include "pictures/desktop_icon.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: gen_icons ICON_FOLDER\n";
        return 1;
    }
    try {
        writeDesktopIcons(argv[1]);
    } catch (const std::exception& error) {
        std::cerr << "gen_icons: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
