// Growing-tree generation. Every new computer hangs at the end of a short walk from a
// piece already in the tree; afterwards computers are pushed further out until the
// board is as full as planned. Each cell remembers the wave in which the flood will
// reach it, and nothing grows past MaxStoredWave, so the stored network always
// lights in time.

#include "levels/level_grower.h"

#include <vector>

#include "levels/level_detours.h"
#include "levels/level_shortcuts.h"
#include "levels/side_masks.h"

namespace {

struct Position {
    int column = 0, row = 0;
};

struct Grower {
    Grower(const LevelPlan& plan, LevelRandom& random, LevelDesign& design) : plan(plan), random(random), design(design)
    {
    }
    const LevelPlan& plan;
    LevelRandom& random;
    LevelDesign& design;
    WaveGrid wave{};  // 0 = free cell
    std::vector<Position> computers;
    int used = 0;
    bool faxPlaced = false;
};

bool isFree(const Grower& grower, int column, int row)
{
    return grower.design.inside(column, row) && grower.wave[column][row] == 0;
}

std::vector<int> freeSides(const Grower& grower, Position at)
{
    std::vector<int> sides;
    for (int side = North; side <= West; ++side) {
        if (isFree(grower, at.column + SideStepX[side], at.row + SideStepY[side])) {
            sides.push_back(side);
        }
    }
    return sides;
}

void occupy(Grower& grower, Position at, int wave)
{
    grower.wave[at.column][at.row] = wave;
    grower.used += 1;
}

Position link(Grower& grower, Position from, int side)
{
    const Position to{from.column + SideStepX[side], from.row + SideStepY[side]};
    grower.design.at(from.column, from.row).sides |= sideBit(side);
    grower.design.at(to.column, to.row).sides |= sideBit(oppositeSide(side));
    occupy(grower, to, grower.wave[from.column][from.row] + 1);
    return to;
}

int roominess(const Grower& grower, Position at);

// The roomier of two random free sides.
int roomySide(Grower& grower, Position at, const std::vector<int>& sides)
{
    const int first = sides[grower.random.below(static_cast<int>(sides.size()))];
    const int second = sides[grower.random.below(static_cast<int>(sides.size()))];
    auto next = [&](int side) { return Position{at.column + SideStepX[side], at.row + SideStepY[side]}; };
    return roominess(grower, next(second)) > roominess(grower, next(first)) ? second : first;
}

// Walks up to `length` free cells away from `from`; returns the last cell, or `from`
// itself when not a single step was possible.
Position walk(Grower& grower, Position from, int length)
{
    Position at = from;
    int heading = -1;
    for (int step = 0; step < length && grower.wave[at.column][at.row] < MaxStoredWave; ++step) {
        const std::vector<int> sides = freeSides(grower, at);
        if (sides.empty()) {
            break;
        }
        bool keepHeading = false;
        for (int side : sides) {
            keepHeading = keepHeading || side == heading;
        }
        if (!keepHeading || !grower.random.chance(grower.plan.straightPercent)) {
            heading = roomySide(grower, at, sides);
        }
        at = link(grower, at, heading);
    }
    return at;
}

bool isServer(int device)
{
    return device == DeviceServerTop || device == DeviceServerBottom;
}

// A cell from which a new branch may leave.
bool canBranchFrom(const Grower& grower, Position at, bool allowCross)
{
    const DesignCell& cell = grower.design.at(at.column, at.row);
    const int wave = grower.wave[at.column][at.row];
    if (wave == 0 || wave >= MaxStoredWave || freeSides(grower, at).empty()) {
        return false;
    }
    if (isServer(cell.device)) {
        return cell.sides == 0;  // a Server half without an output yet
    }
    if (cell.device != EmptyDeviceCode) {
        return false;  // computers stay leaves; FaxModems carry one cable each
    }
    return sideCount(cell.sides) == 2 || (allowCross && sideCount(cell.sides) == 3);
}

// Free cells near a position: new branches go where the board is still empty, so
// the network spreads over the whole board instead of crowding the Server.
int roominess(const Grower& grower, Position at)
{
    int free = 0;
    for (int dx = -2; dx <= 2; ++dx) {
        for (int dy = -2; dy <= 2; ++dy) {
            free += isFree(grower, at.column + dx, at.row + dy) ? 1 : 0;
        }
    }
    return free;
}

// The roomiest of a few random picks.
Position roomyPick(Grower& grower, const std::vector<Position>& positions)
{
    Position best = positions[grower.random.below(static_cast<int>(positions.size()))];
    for (int draw = 1; draw < 3; ++draw) {
        const Position other = positions[grower.random.below(static_cast<int>(positions.size()))];
        if (roominess(grower, other) > roominess(grower, best))
            best = other;
    }
    return best;
}

std::vector<Position> branchPoints(const Grower& grower)
{
    const bool allowCross = grower.random.chance(grower.plan.crossPercent);
    std::vector<Position> points;
    for (int column = 0; column < grower.design.columns; ++column) {
        for (int row = 0; row < grower.design.rows; ++row) {
            if (canBranchFrom(grower, {column, row}, allowCross)) {
                points.push_back({column, row});
            }
        }
    }
    return points;
}

void placeServer(Grower& grower, bool twoOutputs)
{
    LevelDesign& design = grower.design;
    // Somewhere in the middle half of the board, so the network can reach every corner.
    design.serverX = grower.random.between(design.columns / 4, design.columns - 1 - design.columns / 4);
    design.serverY = grower.random.between(design.rows / 4, design.rows - 2 - design.rows / 4);
    design.at(design.serverX, design.serverY).device = DeviceServerTop;
    design.at(design.serverX, design.serverY + 1).device = DeviceServerBottom;
    occupy(grower, {design.serverX, design.serverY}, 1);
    occupy(grower, {design.serverX, design.serverY + 1}, 1);
    if (!twoOutputs) {
        // One half stays a plain picture: mark it full so no branch leaves it.
        const int quiet = grower.random.below(2);
        design.at(design.serverX, design.serverY + quiet).sides = 0;
        grower.wave[design.serverX][design.serverY + quiet] = MaxStoredWave;
    }
}

// A branch ending in a device; false when no walk was possible from `from`.
bool growBranch(Grower& grower, Position from, int device)
{
    const int length = grower.random.between(grower.plan.branchMin, grower.plan.branchMax);
    const Position end = walk(grower, from, length);
    if (end.column == from.column && end.row == from.row) {
        return false;
    }
    grower.design.at(end.column, end.row).device = device;
    if (device == DeviceComputer) {
        grower.computers.push_back(end);
    }
    return true;
}

// The other FaxModems of the group stand apart and each feeds a branch of its own.
bool placeRelays(Grower& grower, int entryWave)
{
    for (int relay = 1; relay < grower.plan.faxModems; ++relay) {
        std::vector<Position> spots;
        for (int column = 0; column < grower.design.columns; ++column) {
            for (int row = 0; row < grower.design.rows; ++row) {
                if (isFree(grower, column, row) && !freeSides(grower, {column, row}).empty()) {
                    spots.push_back({column, row});
                }
            }
        }
        if (spots.empty()) {
            return false;
        }
        const Position spot = spots[grower.random.below(static_cast<int>(spots.size()))];
        occupy(grower, spot, entryWave + 1);
        grower.design.at(spot.column, spot.row).device = DeviceFaxModem;
        if (!growBranch(grower, spot, DeviceComputer)) {
            return false;
        }
    }
    return true;
}

// The FaxModem entry comes once a third of the computers stand.
bool wantsFaxEntry(const Grower& grower)
{
    return grower.plan.faxModems > 0 && !grower.faxPlaced &&
           static_cast<int>(grower.computers.size()) * 3 >= grower.plan.computers;
}

bool addBranch(Grower& grower)
{
    const std::vector<Position> points = branchPoints(grower);
    if (points.empty()) {
        return false;
    }
    const Position from = roomyPick(grower, points);
    if (!wantsFaxEntry(grower)) {
        return growBranch(grower, from, DeviceComputer);
    }
    if (!growBranch(grower, from, DeviceFaxModem)) {
        return false;
    }
    grower.faxPlaced = true;
    return true;
}

// Pushes a computer a few cells further out; its old cell becomes cable.
bool extendComputer(Grower& grower)
{
    const Position chosen = roomyPick(grower, grower.computers);
    size_t pick = 0;
    while (grower.computers[pick].column != chosen.column || grower.computers[pick].row != chosen.row)
        ++pick;
    const Position from = chosen;
    const Position end = walk(grower, from, grower.random.between(1, 3));
    if (end.column == from.column && end.row == from.row) {
        return false;
    }
    grower.design.at(from.column, from.row).device = EmptyDeviceCode;
    grower.design.at(end.column, end.row).device = DeviceComputer;
    grower.computers[pick] = end;
    return true;
}

// Pushes computers outward and bends links through free cells until the board is as
// full as planned; the two moves together leave few holes.
void fillBoard(Grower& grower)
{
    const int area = grower.design.columns * grower.design.rows;
    // A board that has stopped growing will not reach its share: give up on it early.
    int idle = 0;
    for (int attempt = 0; attempt < 600 && idle < 80 && grower.used * 100 < area * grower.plan.fillPercent; ++attempt) {
        const LevelDesign design = grower.design;
        const WaveGrid wave = grower.wave;
        const std::vector<Position> computers = grower.computers;
        const int used = grower.used;
        const bool extend = grower.random.chance(50);
        const bool moved = extend ? extendComputer(grower) : addDetour(grower.design, grower.wave, grower.random);
        grower.used += moved && !extend ? 2 : 0;
        if (moved && hasShortcut(grower.design)) {
            // A move that lets the player bypass a chain would give a second solution.
            grower.design = design;
            grower.wave = wave;
            grower.computers = computers;
            grower.used = used;
        }
        idle = moved && grower.used != used ? 0 : idle + 1;
    }
}

Position findFaxEntry(const Grower& grower)
{
    for (int column = 0; column < grower.design.columns; ++column) {
        for (int row = 0; row < grower.design.rows; ++row) {
            if (grower.design.at(column, row).device == DeviceFaxModem)
                return {column, row};
        }
    }
    return {};
}

bool growNetwork(Grower& grower)
{
    for (int attempt = 0; attempt < 200 && static_cast<int>(grower.computers.size()) < grower.plan.computers;
         ++attempt) {
        const bool hadFax = grower.faxPlaced;
        if (addBranch(grower) && grower.faxPlaced && !hadFax) {
            const Position entry = findFaxEntry(grower);
            if (!placeRelays(grower, grower.wave[entry.column][entry.row])) {
                return false;
            }
        }
    }
    if (static_cast<int>(grower.computers.size()) != grower.plan.computers) {
        return false;
    }
    fillBoard(grower);
    return grower.plan.faxModems == 0 || grower.faxPlaced;
}

void placeViruses(Grower& grower)
{
    std::vector<Position> clean = grower.computers;
    for (int virus = 0; virus < grower.plan.viruses && !clean.empty(); ++virus) {
        const int pick = grower.random.below(static_cast<int>(clean.size()));
        grower.design.at(clean[pick].column, clean[pick].row).device = DeviceVirusComputer;
        clean.erase(clean.begin() + pick);
    }
}

void layFloor(Grower& grower)
{
    for (int column = 0; column < grower.design.columns; ++column) {
        for (int row = 0; row < grower.design.rows; ++row) {
            grower.design.at(column, row).floorPicture = FirstFloorTile + grower.random.below(FloorTileCount);
        }
    }
}

// A player must be able to cut each Server half off, whatever the scramble dealt: one
// of the directions it may turn to, besides its output, leads off the board or to a
// cell that is not a computer (a computer there could face it, and clicking one that
// is infected cleans it instead of turning it).
bool serverCanBeCutOff(const LevelDesign& design)
{
    for (int half = 0; half < 2; ++half) {
        const int row = design.serverY + half;
        const int sides = design.at(design.serverX, row).sides;
        if (sides == 0)
            continue;
        const int forbidden = half == 0 ? South : North;
        bool free = false;
        for (int side = North; side <= West; ++side) {
            if (side == forbidden || opensSide(sides, side))
                continue;
            const int x = design.serverX + SideStepX[side], y = row + SideStepY[side];
            free = free || !design.inside(x, y) || !isComputerCode(design.at(x, y).device);
        }
        if (!free)
            return false;
    }
    return true;
}

}  // namespace

bool growLevel(const LevelPlan& plan, LevelRandom& random, LevelDesign& design)
{
    design = LevelDesign{};
    design.sizeClass = plan.sizeClass;
    design.columns = SizeClassColumns[plan.sizeClass];
    design.rows = SizeClassRows[plan.sizeClass];
    Grower grower(plan, random, design);
    placeServer(grower, random.chance(plan.twoOutputsPercent));
    if (!growNetwork(grower)) {
        return false;
    }
    // The large boards must look full; the plan says whether an edge may stay bare.
    const bool full = grower.used * 100 >= design.columns * design.rows * plan.fillPercent;
    if ((plan.coverEdges && !edgesAllUsed(design)) || (plan.sizeClass >= FullBoardSizeClass && !full)) {
        return false;
    }
    if (!serverCanBeCutOff(design)) {
        return false;
    }
    placeViruses(grower);
    layFloor(grower);
    return true;
}
