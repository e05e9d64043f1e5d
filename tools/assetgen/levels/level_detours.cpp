// Detours: bending links of a grown network through free cells.

#include "levels/level_detours.h"

#include <vector>

#include "levels/side_masks.h"

namespace {

struct Detour {
    int column, row;  // the piece the link leaves
    int side;         // side of the link
    int bend;         // side towards the two free cells
};

bool isFreeCell(const LevelDesign& design, const WaveGrid& wave, int column, int row)
{
    return design.inside(column, row) && wave[column][row] == 0;
}

// Every link that has two free cells beside it; each link is seen from one end only.
std::vector<Detour> possibleDetours(const LevelDesign& design, const WaveGrid& wave)
{
    std::vector<Detour> detours;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            for (int side : {East, South}) {
                if (!opensSide(design.at(column, row).sides, side))
                    continue;
                for (int bend : {(side + 1) % 4, (side + 3) % 4}) {
                    const int x = column + SideStepX[bend], y = row + SideStepY[bend];
                    if (isFreeCell(design, wave, x, y) &&
                        isFreeCell(design, wave, x + SideStepX[side], y + SideStepY[side])) {
                        detours.push_back({column, row, side, bend});
                    }
                }
            }
        }
    }
    return detours;
}

void toggleLink(LevelDesign& design, int column, int row, int side)
{
    design.at(column, row).sides ^= sideBit(side);
    design.at(column + SideStepX[side], row + SideStepY[side]).sides ^= sideBit(oppositeSide(side));
}

// The link a-b becomes a-x-y-b, with x beside a and y beside b.
void bendLink(LevelDesign& design, const Detour& detour)
{
    const int x = detour.column + SideStepX[detour.bend], y = detour.row + SideStepY[detour.bend];
    toggleLink(design, detour.column, detour.row, detour.side);
    toggleLink(design, detour.column, detour.row, detour.bend);
    toggleLink(design, x, y, detour.side);
    toggleLink(design, x + SideStepX[detour.side], y + SideStepY[detour.side], oppositeSide(detour.bend));
}

int deepestWave(const LevelDesign& design, const WaveGrid& wave)
{
    int deepest = 0;
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            if (design.at(column, row).sides != 0 && wave[column][row] > deepest)
                deepest = wave[column][row];
        }
    }
    return deepest;
}

bool holdsPiece(const LevelDesign& design, int column, int row)
{
    return shapeOf(design.at(column, row)) != Shape::Floor;
}

}  // namespace

void recomputeWaves(const LevelDesign& design, WaveGrid& wave)
{
    WaveGrid reached{};
    std::vector<std::pair<int, int>> queue;
    for (int half = 0; half < 2; ++half) {
        if (design.at(design.serverX, design.serverY + half).sides == 0)
            continue;
        reached[design.serverX][design.serverY + half] = 1;
        queue.emplace_back(design.serverX, design.serverY + half);
    }
    for (size_t head = 0; head < queue.size(); ++head) {
        const auto [column, row] = queue[head];
        const int next = reached[column][row] + 1;
        auto reach = [&](int x, int y) {
            if (reached[x][y] != 0)
                return;
            reached[x][y] = next;
            queue.emplace_back(x, y);
        };
        for (int side = North; side <= West; ++side) {
            if (opensSide(design.at(column, row).sides, side))
                reach(column + SideStepX[side], row + SideStepY[side]);
        }
        if (design.at(column, row).device != DeviceFaxModem)
            continue;
        for (int x = 0; x < design.columns; ++x) {
            for (int y = 0; y < design.rows; ++y) {
                if (design.at(x, y).device == DeviceFaxModem)
                    reach(x, y);
            }
        }
    }
    for (const auto& [column, row] : queue)
        wave[column][row] = reached[column][row];
}

bool addDetour(LevelDesign& design, WaveGrid& wave, LevelRandom& random)
{
    std::vector<Detour> detours = possibleDetours(design, wave);
    // A few tries: a detour deep in the network may push a computer past the limit.
    for (int attempt = 0; attempt < 4 && !detours.empty(); ++attempt) {
        const size_t pick = static_cast<size_t>(random.below(static_cast<int>(detours.size())));
        const Detour detour = detours[pick];
        const LevelDesign before = design;
        const WaveGrid wavesBefore = wave;
        bendLink(design, detour);
        const int x = detour.column + SideStepX[detour.bend], y = detour.row + SideStepY[detour.bend];
        wave[x][y] = 1;  // occupied; the real waves follow
        wave[x + SideStepX[detour.side]][y + SideStepY[detour.side]] = 1;
        recomputeWaves(design, wave);
        if (deepestWave(design, wave) <= MaxStoredWave)
            return true;
        design = before;
        wave = wavesBefore;
        detours.erase(detours.begin() + static_cast<long>(pick));
    }
    return false;
}

bool edgesAllUsed(const LevelDesign& design)
{
    bool top = false, bottom = false, left = false, right = false;
    for (int column = 0; column < design.columns; ++column) {
        top = top || holdsPiece(design, column, 0);
        bottom = bottom || holdsPiece(design, column, design.rows - 1);
    }
    for (int row = 0; row < design.rows; ++row) {
        left = left || holdsPiece(design, 0, row);
        right = right || holdsPiece(design, design.columns - 1, row);
    }
    return top && bottom && left && right;
}
