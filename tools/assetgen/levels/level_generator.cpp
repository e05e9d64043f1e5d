// The 78 levels: grow candidates, keep the sound ones, pick along a rising curve.

#include "levels/level_generator.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <memory>
#include <stdexcept>

#include "levels/level_check.h"
#include "levels/level_encoding.h"
#include "levels/level_grower.h"
#include "levels/level_plan.h"
#include "levels/level_random.h"
#include "levels/level_solver.h"
#include "levels/side_masks.h"

namespace {

// Past this many solutions a level is too loose to vouch for every one of them.
constexpr int SolutionCap = 16;
constexpr long SolverBudget = 300000;
// A scramble that happens to deal the solution must stay out of reach in practice.
constexpr double MinScrambleBits = 20.0;

uint64_t seedOf(int level, int candidate)
{
    return 0xCAB1E00000000000ull ^ (static_cast<uint64_t>(level) << 24) ^ static_cast<uint64_t>(candidate);
}

double orientationBits(const DesignCell& cell)
{
    switch (shapeOf(cell)) {
    case Shape::Straight:
        return 1.0;
    case Shape::Corner:
    case Shape::Tee:
        return 2.0;
    case Shape::End:
        return cell.device == DeviceServerTop || cell.device == DeviceServerBottom ? std::log2(3.0) : 2.0;
    default:
        return 0.0;
    }
}

void countCell(const DesignCell& cell, LevelStats& stats)
{
    const Shape shape = shapeOf(cell);
    stats.computers += isComputerCode(cell.device) ? 1 : 0;
    stats.viruses += cell.device == DeviceVirusComputer ? 1 : 0;
    stats.faxModems += cell.device == DeviceFaxModem ? 1 : 0;
    stats.tees += shape == Shape::Tee ? 1 : 0;
    stats.crosses += shape == Shape::Cross ? 1 : 0;
    const double bits = orientationBits(cell);
    stats.pieces += bits > 0 ? 1 : 0;
    stats.scrambleBits += bits;
}

// A candidate that passed every check, or nothing.
bool acceptCandidate(const LevelDesign& design, int level, GeneratedLevel& out)
{
    out.design = design;
    out.stats = measureLevel(design);
    if (out.stats.scrambleBits < MinScrambleBits)
        return false;
    const SolveResult solved = countSolutions(design, SolutionCap, SolverBudget);
    if (!solved.exhausted || solved.solutions >= SolutionCap || solved.solutions == 0 ||
        solved.longestWave > FloodWaveLimit) {
        return false;
    }
    out.stats.solutions = solved.solutions;
    out.stats.unique = solved.unique();
    out.record = encodeLevel(design);
    auto mapData = std::make_unique<MapData>();
    storeLevel(*mapData, level, out.record);
    if (!checkStoredLevel(*mapData, level).empty())
        return false;
    out.stats.longestWave = storedLongestWave(*mapData, level);
    out.stats.score = difficultyScore(out.stats);
    return true;
}

std::vector<GeneratedLevel> candidatesOf(int level)
{
    const LevelPlan plan = planOfLevel(level);
    std::vector<GeneratedLevel> accepted;
    bool anyUnique = false;
    // More seeds only when the first ones gave no level with a single solution.
    for (int candidate = 0; candidate < plan.candidates * 8; ++candidate) {
        if (candidate >= plan.candidates && anyUnique)
            break;
        LevelRandom random(seedOf(level, candidate));
        LevelDesign design;
        GeneratedLevel generated;
        if (growLevel(plan, random, design) && acceptCandidate(design, level, generated)) {
            anyUnique = anyUnique || generated.stats.unique;
            accepted.push_back(std::move(generated));
        }
    }
    return accepted;
}

double medianScore(const std::vector<GeneratedLevel>& pool)
{
    std::vector<double> scores;
    for (const GeneratedLevel& candidate : pool)
        scores.push_back(candidate.stats.score);
    std::sort(scores.begin(), scores.end());
    return scores.empty() ? 0.0 : scores[scores.size() / 2];
}

// The closest non-decreasing curve to the typical score of each level (pooling
// adjacent levels that would otherwise go down).
std::vector<double> risingTargets(const std::vector<std::vector<GeneratedLevel>>& pools)
{
    std::vector<double> sums, counts;
    for (const auto& pool : pools) {
        sums.push_back(medianScore(pool));
        counts.push_back(1);
        while (sums.size() > 1 && sums[sums.size() - 2] / counts[counts.size() - 2] > sums.back() / counts.back()) {
            sums[sums.size() - 2] += sums.back();
            counts[counts.size() - 2] += counts.back();
            sums.pop_back();
            counts.pop_back();
        }
    }
    std::vector<double> targets;
    for (size_t block = 0; block < sums.size(); ++block) {
        targets.insert(targets.end(), static_cast<size_t>(counts[block]), sums[block] / counts[block]);
    }
    return targets;
}

// Unique levels first; then the one closest to the rising target, with a fall below
// the level before costing more than an equal distance from the target.
const GeneratedLevel* pick(const std::vector<GeneratedLevel>& pool, double target, double previousScore)
{
    const GeneratedLevel* best = nullptr;
    double bestCost = 0.0;
    for (const GeneratedLevel& candidate : pool) {
        const double score = candidate.stats.score;
        const double fall = std::max(0.0, previousScore - score);
        const double cost = std::abs(score - target) + 3.0 * fall + (candidate.stats.unique ? 0.0 : 1000.0);
        if (best == nullptr || cost < bestCost) {
            best = &candidate;
            bestCost = cost;
        }
    }
    return best;
}

}  // namespace

LevelStats measureLevel(const LevelDesign& design)
{
    LevelStats stats;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            countCell(design.at(column, row), stats);
        }
    }
    return stats;
}

double difficultyScore(const LevelStats& stats)
{
    return 2.0 * stats.computers + 0.5 * stats.pieces + 1.5 * stats.tees + 2.5 * stats.crosses + 3.0 * stats.viruses +
           1.0 * stats.faxModems + 0.3 * stats.longestWave;
}

std::vector<GeneratedLevel> generateLevels()
{
    std::vector<std::vector<GeneratedLevel>> pools;
    for (int level = 0; level < LevelCount; ++level) {
        pools.push_back(candidatesOf(level));
    }
    const std::vector<double> targets = risingTargets(pools);
    std::vector<GeneratedLevel> levels;
    double previousScore = 0.0;
    for (int level = 0; level < LevelCount; ++level) {
        const GeneratedLevel* chosen = pick(pools[level], targets[level], previousScore);
        if (chosen == nullptr) {
            throw std::runtime_error("no sound layout found for level " + std::to_string(level));
        }
        levels.push_back(*chosen);
        previousScore = chosen->stats.score;
    }
    return levels;
}

std::vector<uint8_t> mapDataBytes(const std::vector<GeneratedLevel>& levels)
{
    std::vector<uint8_t> bytes;
    for (const GeneratedLevel& level : levels) {
        bytes.insert(bytes.end(), level.record.begin(), level.record.end());
    }
    return bytes;
}

std::string levelTableHeading()
{
    return "level zone size  computers viruses faxmodems waves unique score";
}

std::string levelTableLine(int level, const GeneratedLevel& generated)
{
    const LevelStats& stats = generated.stats;
    char line[160];
    std::snprintf(line, sizeof line, "%5d %4d %2dx%-2d %9d %7d %9d %5d %6s %5.1f", level, level / ZoneSize,
                  generated.design.columns, generated.design.rows, stats.computers, stats.viruses, stats.faxModems,
                  stats.longestWave, stats.unique ? "yes" : "no", stats.score);
    return line;
}
