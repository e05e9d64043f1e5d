// Generates the levels into the game folder given as the first argument and prints
// one line per level, so the difficulty curve can be read from the build log.

#include <cstdio>
#include <stdexcept>

#include "levels/level_files.h"
#include "levels/level_generator.h"

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
    try {
        const std::vector<GeneratedLevel> levels = generateLevels();
        std::printf("%s\n", levelTableHeading().c_str());
        for (size_t level = 0; level < levels.size(); ++level) {
            std::printf("%s\n", levelTableLine(static_cast<int>(level), levels[level]).c_str());
        }
        const std::string failure = writeLevelFiles(folder, levels);
        if (!failure.empty()) {
            std::fprintf(stderr, "%s\n", failure.c_str());
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "level generation failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
