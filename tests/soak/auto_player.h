#pragma once
// An automatic player for whole-game soak runs on the scripted layer. It plays like a
// person with a mouse: it turns pieces toward the level's stored solution one click at a
// time, connects each computer alone once so that a hidden virus shows itself and can
// be cleaned, then connects them all; every few levels it holds Escape, and continues
// from the menu. It records what the soak checks: completions, effect list sizes, memory.

#include <filesystem>
#include <string>
#include <vector>

struct SoakOptions {
    int startLevel = 0;         // 0: a new game; otherwise continued from a saved game at this level
    int levelsToComplete = 79;  // all 78 levels and the wrap to level 0
    int leaveEvery = 4;         // completed levels between two leaves through the menu
    int frameBudgetPerLevel = 20000;
};

struct LevelFigures {
    int levelIndex = 0;
    int frames = 0;  // from the level's start to its completion
    int clicks = 0;
    int cleanings = 0;
    size_t ghosts = 0, sparkles = 0, lights = 0;  // the largest size each list reached
    long residentKb = 0;                          // at completion
};

struct SoakReport {
    std::vector<LevelFigures> levels;  // in the order completed
    size_t menuParticles = 0;          // the largest size the menu's list reached
    int leaves = 0;                    // times play was left and continued
    int frames = 0;
    std::vector<std::string> faults;
};

// Runs the whole program in a scratch copy of the built game folder until the player has
// completed the levels asked for, then leaves play and ends the program from the menu.
SoakReport runSoak(const std::filesystem::path& builtGame, const SoakOptions& options);

// Resident memory of this process now, in KB.
long residentKb();
