// Reading the level store: 78 records of 310 bytes, each cell as (tile, device)
// column by column, then the SizeClass and a reserved byte.

#include "board/board.h"
#include "media/media_layer.h"

namespace {

constexpr const char* MapDataPath = "maps/newmapdata.cwm";

void readLevelRecord(MediaLayer& media, Stream stream, MapData& mapData, int level)
{
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            mapData.tile[level][column][row] = media.readU8(stream);
            mapData.device[level][column][row] = media.readU8(stream);
        }
    }
    mapData.sizeClass[level] = media.readU8(stream);
    mapData.reserved[level] = media.readU8(stream);
}

}  // namespace

void loadMapData(MediaLayer& media, MapData& mapData)
{
    const Stream stream = media.openForRead(MapDataPath);
    if (stream == 0) {
        // No level can be built without the map data.
        media.fatalError(std::string("cannot open map data ") + MapDataPath);
    }
    // A short file is no error: the missing bytes read as 0.
    for (int level = 0; level < LevelCount; ++level) {
        readLevelRecord(media, stream, mapData, level);
    }
    media.closeStream(stream);
}
