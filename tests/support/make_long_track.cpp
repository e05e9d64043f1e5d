// make_long_track PATH SECONDS RATE CHANNELS: a long Ogg Vorbis file for the end-to-end check.

#include <cstdio>
#include <cstdlib>

#include "support/long_track.h"

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: make_long_track PATH SECONDS RATE CHANNELS\n");
        return 2;
    }
    return writeLongOgg(argv[1], std::atoi(argv[4]), std::atoi(argv[3]), std::atof(argv[2])) ? 0 : 1;
}
