#include "level_test_support.h"

#include "levels/level_encoding.h"
#include "levels/side_masks.h"

LevelDesign emptyDesign(int sizeClass, int serverX, int serverY)
{
    LevelDesign design;
    design.sizeClass = sizeClass;
    design.columns = SizeClassColumns[sizeClass];
    design.rows = SizeClassRows[sizeClass];
    design.serverX = serverX;
    design.serverY = serverY;
    design.at(serverX, serverY).device = DeviceServerTop;
    design.at(serverX, serverY + 1).device = DeviceServerBottom;
    return design;
}

void layRun(LevelDesign& design, int& x, int& y, int side, int length)
{
    for (int step = 0; step < length; ++step) {
        design.at(x, y).sides |= sideBit(side);
        x += SideStepX[side];
        y += SideStepY[side];
        design.at(x, y).sides |= sideBit(oppositeSide(side));
    }
}

const std::vector<GeneratedLevel>& sharedLevels()
{
    static const std::vector<GeneratedLevel> levels = generateLevels();
    return levels;
}

const MapData& sharedMapData()
{
    static const std::unique_ptr<MapData> mapData = [] {
        auto store = std::make_unique<MapData>();
        for (int level = 0; level < LevelCount; ++level) {
            storeLevel(*store, level, sharedLevels()[level].record);
        }
        return store;
    }();
    return *mapData;
}
