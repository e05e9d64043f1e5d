// The start-up check of the map data: the file must hold exactly the 78 level records,
// and every level must keep the rules play relies on. A damaged copy would otherwise
// start silently with empty or nonsense levels, some of them impossible to complete.

#include <memory>
#include <optional>

#include "board/board.h"
#include "media/media_layer.h"

namespace {

constexpr const char* MapDataPath = "maps/newmapdata.cwm";
constexpr int SizeClassCount = 4;
// Frames of the tile sheet: every cell of the active area shows one of them.
constexpr int LastTileCode = TileSheetFrames - 1;
constexpr int FirstEndTile = cableTile(EndW);
constexpr int LastEndTile = cableTile(EndS);
constexpr int FirstPictureTile = ServerTopTile;

std::string at(int column, int row)
{
    return " at (" + std::to_string(column) + ", " + std::to_string(row) + ")";
}

bool isDevice(int code)
{
    return code == DeviceComputer || code == DeviceComputerAlt || code == DeviceVirusComputer ||
           code == DeviceServerTop || code == DeviceServerBottom || code == DeviceFaxModem;
}

// Known codes only, devices only where they can be seen and clicked, pictures the sheet has.
std::optional<std::string> cellFault(const LevelView& view, int column, int row)
{
    const int device = view.device(column, row);
    if (!isDevice(device) && device != NoDevice)
        return "unknown device code " + std::to_string(device) + at(column, row);
    if (!view.inside(column, row)) {
        if (isDevice(device))
            return "a device outside the board" + at(column, row);
        return std::nullopt;
    }
    const int tile = view.tile(column, row);
    if (tile < CableTileBase || tile > LastTileCode)
        return "tile code " + std::to_string(tile) + at(column, row);
    return std::nullopt;
}

bool isServerTile(int tile)
{
    return (tile >= FirstEndTile && tile <= LastEndTile) || tile >= FirstPictureTile;
}
bool isEndTile(int tile)
{
    return tile >= FirstEndTile && tile <= LastEndTile;
}

// One Server: its top half directly above its bottom half, at least one of them an output.
std::optional<std::string> serverFault(const LevelView& view)
{
    int servers = 0;
    for (int column = 0; column < BoardColumns; ++column) {
        for (int row = 0; row < BoardRows; ++row) {
            const int device = view.device(column, row);
            const bool topAbove = row > 0 && view.device(column, row - 1) == DeviceServerTop;
            if (device == DeviceServerBottom && !topAbove)
                return "a Server bottom half alone" + at(column, row);
            if (device != DeviceServerTop)
                continue;
            servers += 1;
            if (row + 1 >= view.rows || view.device(column, row + 1) != DeviceServerBottom)
                return "a Server top half without its bottom half" + at(column, row);
            const int top = view.tile(column, row), bottom = view.tile(column, row + 1);
            if (!isServerTile(top) || !isServerTile(bottom) || (!isEndTile(top) && !isEndTile(bottom)))
                return "a Server without a proper output" + at(column, row);
        }
    }
    if (servers != 1)
        return std::to_string(servers) + " Servers instead of one";
    return std::nullopt;
}

std::optional<std::string> faxModemFault(const LevelView& view)
{
    int faxModems = 0;
    for (const auto& column : view.mapData.device[view.level])
        for (int device : column)
            faxModems += device == DeviceFaxModem ? 1 : 0;
    if (faxModems == 1)
        return std::string("a single FaxModem with no partner");
    return std::nullopt;
}

std::string levelName(int level)
{
    return "level " + std::to_string(level) + " (zone " + std::to_string(level / 5) + ", level " +
           std::to_string(level % 5 + 1) + ")";
}

}  // namespace

std::string levelFault(const MapData& mapData, int level)
{
    const int sizeClass = mapData.sizeClass[level];
    if (sizeClass < 0 || sizeClass >= SizeClassCount)
        return "unknown size class " + std::to_string(sizeClass);
    const std::array<std::array<int, 2>, SizeClassCount> sizes = {{{4, 5}, {6, 7}, {10, 9}, {14, 11}}};
    const LevelView view{mapData, level, sizes[sizeClass][0], sizes[sizeClass][1]};
    for (int column = 0; column < BoardColumns; ++column)
        for (int row = 0; row < BoardRows; ++row)
            if (auto fault = cellFault(view, column, row))
                return *fault;
    if (auto fault = serverFault(view))
        return *fault;
    if (auto fault = faxModemFault(view))
        return *fault;
    return "";
}

void readMapRecords(std::span<const uint8_t> bytes, MapData& mapData)
{
    for (int level = 0; level < LevelCount; ++level) {
        const size_t record = static_cast<size_t>(level) * MapRecordBytes;
        for (int column = 0; column < BoardColumns; ++column) {
            for (int row = 0; row < BoardRows; ++row) {
                const size_t cell = record + 22 * static_cast<size_t>(column) + 2 * static_cast<size_t>(row);
                mapData.tile[level][column][row] = cell < bytes.size() ? bytes[cell] : 0;
                mapData.device[level][column][row] = cell + 1 < bytes.size() ? bytes[cell + 1] : 0;
            }
        }
        mapData.sizeClass[level] = record + 308 < bytes.size() ? bytes[record + 308] : 0;
        mapData.reserved[level] = record + 309 < bytes.size() ? bytes[record + 309] : 0;
    }
}

std::string mapDataFault(std::span<const uint8_t> bytes)
{
    if (bytes.size() != MapDataBytes) {
        return std::to_string(bytes.size()) + " bytes instead of " + std::to_string(MapDataBytes) + " (" +
               std::to_string(LevelCount) + " levels of " + std::to_string(MapRecordBytes) + " bytes)";
    }
    auto mapData = std::make_unique<MapData>();
    readMapRecords(bytes, *mapData);
    for (int level = 0; level < LevelCount; ++level) {
        const std::string fault = levelFault(*mapData, level);
        if (!fault.empty())
            return levelName(level) + ": " + fault;
    }
    return "";
}

void checkMapData(MediaLayer& media)
{
    const Stream stream = media.openForRead(MapDataPath);
    if (stream == 0)
        media.fatalError(std::string("cannot open map data ") + MapDataPath);
    media.closeStream(stream);
    std::vector<uint8_t> bytes;
    // Reading stops one byte past the right size: a long file is told apart without being held whole.
    const bool read = media.readWholeFile(MapDataPath, bytes, MapDataBytes);
    const std::string fault = read ? mapDataFault(bytes) : "longer than " + std::to_string(MapDataBytes) + " bytes";
    if (!fault.empty())
        media.fatalError(std::string("bad map data ") + MapDataPath + ": " + fault);
}
