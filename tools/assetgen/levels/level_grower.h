#pragma once
// Grows one candidate layout for a plan: a tree of cable out of the Server whose
// leaves are the computers, with every cable end meeting another.

#include "levels/level_design.h"
#include "levels/level_plan.h"
#include "levels/level_random.h"

// False when this seed gave no usable layout (the board ran out of room).
bool growLevel(const LevelPlan& plan, LevelRandom& random, LevelDesign& design);
