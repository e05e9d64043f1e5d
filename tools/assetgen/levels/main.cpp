// Writes the levels into the game folder given as the first argument:
// maps/newmapdata.cwm always, oldgame.cws only when the player has none yet.

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "levels/level_encoding.h"
#include "levels/level_generator.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder = argc > 1 ? argv[1] : ".";
    try {
        const std::vector<GeneratedLevel> levels = generateLevels();
        std::printf("%s\n", levelTableHeading().c_str());
        for (size_t level = 0; level < levels.size(); ++level) {
            std::printf("%s\n", levelTableLine(static_cast<int>(level), levels[level]).c_str());
        }
        std::filesystem::create_directories(folder / "maps");
        if (!writeFile(folder / "maps" / "newmapdata.cwm", mapDataBytes(levels))) {
            std::fprintf(stderr, "cannot write maps/newmapdata.cwm\n");
            return 1;
        }
        // The records are the player's own once he has played: never overwrite them.
        const std::filesystem::path records = folder / "oldgame.cws";
        if (!std::filesystem::exists(records) && !writeFile(records, initialRecords())) {
            std::fprintf(stderr, "cannot write oldgame.cws\n");
            return 1;
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "level generation failed: %s\n", error.what());
        return 1;
    }
    return 0;
}
