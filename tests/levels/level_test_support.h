#pragma once
// Helpers shared by the level tests: hand-made designs and the generated levels.

#include <memory>
#include <vector>

#include "levels/level_design.h"
#include "levels/level_generator.h"

// An empty design of the given SizeClass with the Server at (x, y) and (x, y + 1),
// both halves without output.
LevelDesign emptyDesign(int sizeClass, int serverX, int serverY);
// Lays a straight run of cable from (x, y) along `side` for `length` cells, linking
// every cell with the one before; returns the last cell's position through x and y.
void layRun(LevelDesign& design, int& x, int& y, int side, int length);
// The 78 levels, generated once for the whole test program.
const std::vector<GeneratedLevel>& sharedLevels();
// The game's level store filled with the shared levels.
const MapData& sharedMapData();
