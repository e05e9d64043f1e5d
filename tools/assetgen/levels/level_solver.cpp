// Counting solutions by backtracking with edge-consistency pruning.
//
// Why the search may demand that every connected piece has all its open sides met:
// the shapes of a stored level form a tree in which every open side meets another,
// so the open sides add up to exactly twice the cable links of that tree. A network
// that connects a set of pieces needs at least as many links as its spanning tree;
// counting both ways shows that in any solution the connected pieces form a tree
// with no loose side, and the unconnected pieces are straights, corners or (all of
// them together) FaxModems whose sides meet nothing connected. Such an unconnected
// piece can then lie in any orientation, so it multiplies the count. The search
// gives straights, corners and FaxModems an extra value, "unconnected", that acts as
// a wall for its neighbours.

#include "levels/level_solver.h"

#include <algorithm>
#include <vector>

#include "levels/side_masks.h"

namespace {

constexpr int Unassigned = -2;
constexpr int Unconnected = -1;
constexpr int Wall = -1;

struct SolverCell {
    int column = 0, row = 0;
    int device = EmptyDeviceCode;
    std::array<int, 5> options{};
    int optionCount = 0;
    int looseWeight = 1;             // orientations of the piece when left unconnected
    std::array<int, 4> neighbour{};  // index of the cell across each side, or Wall
};

struct Search {
    std::vector<SolverCell> cells;
    std::vector<int> value;
    std::vector<int> faxCells;
    std::vector<int> serverCells;
    int cap = 1;
    long budget = 0;
    SolveResult result;
    bool stopped = false;
};

bool isPieceCell(const LevelDesign& design, int column, int row)
{
    const Shape shape = shapeOf(design.at(column, row));
    return shape != Shape::Floor && shape != Shape::ServerPicture;
}

// Orientations a piece may take; the Server's halves never face each other.
void fillOptions(SolverCell& cell, int sides)
{
    int count = 0;
    const std::array<int, 4> turns = orientationsOf(sides, count);
    for (int i = 0; i < count; ++i) {
        const bool topFacesDown = cell.device == DeviceServerTop && turns[i] == sideBit(South);
        const bool bottomFacesUp = cell.device == DeviceServerBottom && turns[i] == sideBit(North);
        if (!topFacesDown && !bottomFacesUp) {
            cell.options[cell.optionCount++] = turns[i];
        }
    }
    const bool mayLieLoose = sideCount(sides) == 2 || cell.device == DeviceFaxModem;
    if (mayLieLoose) {
        cell.looseWeight = count;
        cell.options[cell.optionCount++] = Unconnected;
    }
}

// Cells in breadth-first order from the Server, so the search grows one network.
std::vector<std::pair<int, int>> searchOrder(const LevelDesign& design)
{
    std::vector<std::pair<int, int>> order;
    std::array<std::array<bool, BoardRows>, BoardColumns> seen{};
    auto visit = [&](int column, int row) {
        if (design.inside(column, row) && !seen[column][row] && isPieceCell(design, column, row)) {
            seen[column][row] = true;
            order.emplace_back(column, row);
        }
    };
    visit(design.serverX, design.serverY);
    visit(design.serverX, design.serverY + 1);
    for (size_t i = 0; i < order.size(); ++i) {
        for (int side = North; side <= West; ++side) {
            visit(order[i].first + SideStepX[side], order[i].second + SideStepY[side]);
        }
    }
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            visit(column, row);
        }
    }
    return order;
}

Search prepareSearch(const LevelDesign& design)
{
    Search search;
    const auto order = searchOrder(design);
    std::array<std::array<int, BoardRows>, BoardColumns> index{};
    for (auto& column : index)
        column.fill(Wall);
    for (size_t i = 0; i < order.size(); ++i) {
        index[order[i].first][order[i].second] = static_cast<int>(i);
    }
    for (const auto& [column, row] : order) {
        SolverCell cell;
        cell.column = column;
        cell.row = row;
        cell.device = design.at(column, row).device;
        fillOptions(cell, design.at(column, row).sides);
        for (int side = North; side <= West; ++side) {
            const int x = column + SideStepX[side], y = row + SideStepY[side];
            cell.neighbour[side] = design.inside(x, y) ? index[x][y] : Wall;
        }
        const int self = static_cast<int>(search.cells.size());
        if (cell.device == DeviceFaxModem)
            search.faxCells.push_back(self);
        if (cell.device == DeviceServerTop || cell.device == DeviceServerBottom)
            search.serverCells.push_back(self);
        search.cells.push_back(cell);
    }
    search.value.assign(search.cells.size(), Unassigned);
    return search;
}

// Whether a value for cell i agrees with every neighbour placed so far.
bool consistent(const Search& search, int i, int value)
{
    const SolverCell& cell = search.cells[i];
    for (int side = North; side <= West; ++side) {
        const int n = cell.neighbour[side];
        const int other = n == Wall ? Unconnected : search.value[n];
        if (other == Unassigned) {
            continue;
        }
        const bool mine = value != Unconnected && opensSide(value, side);
        const bool theirs = other != Unconnected && opensSide(other, oppositeSide(side));
        if (mine != theirs) {
            return false;
        }
    }
    return true;
}

bool hasConsistentOption(const Search& search, int i)
{
    const SolverCell& cell = search.cells[i];
    for (int k = 0; k < cell.optionCount; ++k) {
        if (consistent(search, i, cell.options[k])) {
            return true;
        }
    }
    return false;
}

// Every unplaced neighbour of cell i still has a value that fits.
bool neighboursStillFit(const Search& search, int i)
{
    for (int n : search.cells[i].neighbour) {
        if (n != Wall && search.value[n] == Unassigned && !hasConsistentOption(search, n)) {
            return false;
        }
    }
    return true;
}

// Breadth-first distances from one Server half through connected pieces and the relay.
std::vector<int> floodDistances(const Search& search, int start)
{
    std::vector<int> distance(search.cells.size(), -1);
    std::vector<int> queue{start};
    distance[start] = 0;
    for (size_t head = 0; head < queue.size(); ++head) {
        const int i = queue[head];
        auto reach = [&](int n) {
            if (distance[n] < 0) {
                distance[n] = distance[i] + 1;
                queue.push_back(n);
            }
        };
        for (int side = North; side <= West; ++side) {
            const int n = search.cells[i].neighbour[side];
            if (n != Wall && opensSide(search.value[i], side) && search.value[n] >= 0) {
                reach(n);
            }
        }
        if (search.cells[i].device == DeviceFaxModem) {
            for (int fax : search.faxCells)
                reach(fax);
        }
    }
    return distance;
}

bool faxModemsAllOrNone(const Search& search)
{
    int loose = 0;
    for (int fax : search.faxCells) {
        loose += search.value[fax] == Unconnected ? 1 : 0;
    }
    return loose == 0 || loose == static_cast<int>(search.faxCells.size());
}

// A complete placement: a solution when every connected piece hangs on the Server.
void scoreLeaf(Search& search)
{
    if (!faxModemsAllOrNone(search)) {
        return;
    }
    std::vector<std::vector<int>> passes;
    for (int server : search.serverCells) {
        passes.push_back(floodDistances(search, server));
    }
    int longest = 0;
    long weight = 1;
    for (size_t i = 0; i < search.cells.size(); ++i) {
        if (search.value[i] == Unconnected) {
            weight = std::min<long>(weight * search.cells[i].looseWeight, search.cap);
            continue;
        }
        int best = -1;
        for (const auto& pass : passes) {
            if (pass[i] >= 0 && (best < 0 || pass[i] < best))
                best = pass[i];
        }
        if (best < 0) {
            return;  // a connected piece that hangs on nothing: not this way
        }
        if (isComputerCode(search.cells[i].device))
            longest = std::max(longest, best + 1);
    }
    search.result.longestWave = std::max(search.result.longestWave, longest);
    search.result.solutions = static_cast<int>(std::min<long>(search.result.solutions + weight, search.cap));
    search.stopped = search.result.solutions >= search.cap;
}

void place(Search& search, size_t i)
{
    if (i == search.cells.size()) {
        scoreLeaf(search);
        return;
    }
    const SolverCell& cell = search.cells[i];
    for (int k = 0; k < cell.optionCount && !search.stopped; ++k) {
        const int option = cell.options[k];
        if (!consistent(search, static_cast<int>(i), option)) {
            continue;
        }
        if (++search.result.nodes > search.budget) {
            search.stopped = true;
            return;
        }
        search.value[i] = option;
        if (neighboursStillFit(search, static_cast<int>(i))) {
            place(search, i + 1);
        }
    }
    search.value[i] = Unassigned;
}

}  // namespace

SolveResult countSolutions(const LevelDesign& design, int cap, long nodeBudget)
{
    Search search = prepareSearch(design);
    search.cap = cap;
    search.budget = nodeBudget;
    place(search, 0);
    search.result.exhausted = search.result.nodes <= nodeBudget;
    return search.result;
}
