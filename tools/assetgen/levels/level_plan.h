#pragma once
// What each of the 78 levels should be like, from a table of zones.

constexpr int ZoneSize = 5;
// From this SizeClass on (10 x 9 and 14 x 11) a level must cover at least
// FullBoardPercent of its cells and leave no edge row or column bare.
constexpr int FullBoardSizeClass = 2;
constexpr int FullBoardPercent = 85;

struct LevelPlan {
    int level = 0;
    int sizeClass = 0;
    int computers = 3;                 // computers to place
    int fillPercent = 70;              // share of the active area to cover with pieces
    int branchMin = 1, branchMax = 4;  // length of the walk that carries a new computer
    int viruses = 0;                   // computers that carry a hidden virus
    int faxModems = 0;                 // 0, or the size of the level's one relay group
    int crossPercent = 0;              // chance that a branch may leave a tee, making a cross
    int straightPercent = 50;          // chance that a walk keeps its direction
    int twoOutputsPercent = 0;         // chance that both Server halves feed a network
    int candidates = 20;               // layouts tried for this level
    bool coverEdges = false;           // every edge row and column must hold a piece
};

LevelPlan planOfLevel(int level);
