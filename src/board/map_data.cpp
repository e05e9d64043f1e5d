// Reading the level store at a level start: the map data file's first 78 records of 310 bytes
// (readMapRecords: each cell as (tile, device) column by column, then the SizeClass and a
// reserved byte), read in one go.

#include "board/board.h"
#include "media/media_layer.h"

namespace {

constexpr const char* MapDataPath = "maps/newmapdata.cwm";

}  // namespace

void loadMapData(MediaLayer& media, MapData& mapData)
{
    std::vector<uint8_t> bytes;
    const FileRead read = media.readFileStart(MapDataPath, MapDataBytes, bytes);
    // No level can be built without the map data.
    if (read == FileRead::Missing)
        media.fatalError(std::string("cannot open map data ") + MapDataPath);
    if (read == FileRead::Unreadable)
        media.fatalError(std::string("cannot read map data ") + MapDataPath + " (" + media.fileError() + ")");
    // A short file is no error: the missing bytes read as 0.
    readMapRecords(bytes, mapData);
}
