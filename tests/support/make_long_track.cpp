// make_long_track PATH SECONDS RATE CHANNELS [GAIN]: a long Ogg Vorbis file for the end-to-end check.

#include <cstdio>
#include <cstdlib>

#include "support/long_track.h"

int main(int argc, char** argv) {
    if (argc != 5 && argc != 6) {
        std::fprintf(stderr, "usage: make_long_track PATH SECONDS RATE CHANNELS [GAIN]\n");
        return 2;
    }
    const float gain = argc == 6 ? static_cast<float>(std::atof(argv[5])) : 1.0f;
    return writeLongOgg(argv[1], std::atoi(argv[4]), std::atoi(argv[3]), std::atof(argv[2]), gain) ? 0 : 1;
}
