#pragma once
// A second solution the growth must not leave behind: two pieces that stand side by
// side without a link, joined through the network only by a chain of plain cable. If
// both can turn to face each other and keep their shapes, the player may link them
// directly and leave the chain lying loose, a different solution of the same level.

#include "levels/level_design.h"

// True when the network of the design has such a shortcut anywhere.
bool hasShortcut(const LevelDesign& design);
