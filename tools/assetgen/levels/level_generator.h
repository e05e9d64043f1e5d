#pragma once
// The 78 levels of the game: candidates grown per level from fixed seeds, counted by
// the solver, checked with the game's own board code, and picked so the difficulty rises.

#include <cstdint>
#include <string>
#include <vector>

#include "levels/level_design.h"

struct LevelStats {
    int computers = 0, viruses = 0, faxModems = 0;
    int pieces = 0;  // pieces that turn
    int tees = 0, crosses = 0;
    int longestWave = 0;
    int solutions = 0;
    bool unique = false;
    double scrambleBits = 0;  // log2 of the orientations the scramble can deal
    double score = 0;
};

struct GeneratedLevel {
    LevelDesign design;
    LevelStats stats;
    std::vector<uint8_t> record;
};

// Counts of a design (solver results left at zero).
LevelStats measureLevel(const LevelDesign& design);
double difficultyScore(const LevelStats& stats);
// All 78 levels; throws std::runtime_error when a level finds no sound candidate.
std::vector<GeneratedLevel> generateLevels();
// The map data file: the 78 records one after the other.
std::vector<uint8_t> mapDataBytes(const std::vector<GeneratedLevel>& levels);
// One line of the table the generator prints, and its heading.
std::string levelTableHeading();
std::string levelTableLine(int level, const GeneratedLevel& generated);
