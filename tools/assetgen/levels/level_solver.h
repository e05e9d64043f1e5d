#pragma once
// Counts the ways to turn the pieces of a level (shapes kept) so that every computer
// is connected to the Server. A solution may leave pieces unconnected; the count
// then grows with every way those loose pieces can lie.

#include "levels/level_design.h"

struct SolveResult {
    int solutions = 0;       // capped at the cap asked for
    bool exhausted = false;  // the search finished inside its budget, so the count is exact up to the cap
    int longestWave = 0;     // the latest wave in which any solution found lights a computer
    long nodes = 0;          // pieces placed by the search
    bool unique() const
    {
        return exhausted && solutions == 1;
    }
};

// Searches until the count reaches the cap or the search has placed nodeBudget pieces.
// Waves are counted without the flood's limit, so a longestWave above 50 shows a
// network the player could build that would never light.
SolveResult countSolutions(const LevelDesign& design, int cap, long nodeBudget);
