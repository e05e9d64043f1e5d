#include "levels/level_files.h"

#include <fstream>

#include "levels/level_encoding.h"

namespace {

bool writeFile(const std::filesystem::path& path, const std::vector<uint8_t>& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    return static_cast<bool>(out);
}

}  // namespace

std::string writeLevelFiles(const std::filesystem::path& folder, const std::vector<GeneratedLevel>& levels)
{
    std::error_code error;
    std::filesystem::create_directories(folder / "maps", error);
    if (!writeFile(folder / "maps" / "newmapdata.cwm", mapDataBytes(levels))) {
        return "cannot write maps/newmapdata.cwm";
    }
    const std::filesystem::path records = folder / "oldgame.cws";
    if (!std::filesystem::exists(records) && !writeFile(records, initialRecords())) {
        return "cannot write oldgame.cws";
    }
    return "";
}
