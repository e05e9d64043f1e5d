// Finding shortcuts: every pair of unlinked neighbours, and the network path between them.

#include "levels/level_shortcuts.h"

#include <vector>

#include "levels/side_masks.h"

namespace {

struct Cell {
    int column = -1, row = -1;
    bool operator==(const Cell&) const = default;
};

// The network as a tree hung from the Server: parent and depth of every reached piece.
struct Tree {
    std::array<std::array<Cell, BoardRows>, BoardColumns> parent{};
    std::array<std::array<int, BoardRows>, BoardColumns> depth{};  // 0 = not in the network
    Cell parentOf(Cell at) const
    {
        return parent[at.column][at.row];
    }
    int depthOf(Cell at) const
    {
        return depth[at.column][at.row];
    }
};

Tree hangFromServer(const LevelDesign& design)
{
    Tree tree;
    std::vector<Cell> queue;
    // The bottom half hangs below the top one, so every path has one root; a path over
    // the Server passes a device and is never a chain of cable.
    const Cell top{design.serverX, design.serverY}, bottom{design.serverX, design.serverY + 1};
    tree.depth[top.column][top.row] = 1;
    tree.depth[bottom.column][bottom.row] = 2;
    tree.parent[bottom.column][bottom.row] = top;
    queue = {top, bottom};
    for (size_t head = 0; head < queue.size(); ++head) {
        const Cell at = queue[head];
        auto reach = [&](Cell next) {
            if (tree.depthOf(next) != 0)
                return;
            tree.depth[next.column][next.row] = tree.depthOf(at) + 1;
            tree.parent[next.column][next.row] = at;
            queue.push_back(next);
        };
        for (int side = North; side <= West; ++side) {
            if (opensSide(design.at(at.column, at.row).sides, side))
                reach({at.column + SideStepX[side], at.row + SideStepY[side]});
        }
        if (design.at(at.column, at.row).device != DeviceFaxModem)
            continue;
        for (int x = 0; x < design.columns; ++x) {
            for (int y = 0; y < design.rows; ++y) {
                if (design.at(x, y).device == DeviceFaxModem)
                    reach({x, y});
            }
        }
    }
    return tree;
}

int sideTowards(Cell from, Cell to)
{
    for (int side = North; side <= West; ++side) {
        if (from.column + SideStepX[side] == to.column && from.row + SideStepY[side] == to.row)
            return side;
    }
    return -1;
}

// Whether a piece keeps its shape when one open side moves to a closed one: ends and
// tees always do; a corner only when the new side is opposite the old.
bool keepsShape(int sides, int from, int to)
{
    const int count = sideCount(sides);
    return count == 1 || count == 3 || (count == 2 && to == oppositeSide(from));
}

bool isPlainCable(const DesignCell& cell)
{
    return cell.device == EmptyDeviceCode && sideCount(cell.sides) == 2;
}

bool isPlainCableAt(const LevelDesign& design, Cell at)
{
    return isPlainCable(design.at(at.column, at.row));
}

// Walks the network path from a and from b until they meet; a shortcut needs plain
// cable on every cell between them and both ends able to turn towards each other.
bool isShortcut(const LevelDesign& design, const Tree& tree, Cell a, Cell b)
{
    Cell x = a, y = b, lastX = a, lastY = b;
    while (!(x == y)) {
        const bool climbX = tree.depthOf(x) >= tree.depthOf(y);
        Cell& at = climbX ? x : y;
        if (!(at == a) && !(at == b) && !isPlainCableAt(design, at))
            return false;
        (climbX ? lastX : lastY) = at;
        at = tree.parentOf(at);
    }
    const Cell meeting = x;
    if (!(meeting == a) && !(meeting == b) && !isPlainCableAt(design, meeting))
        return false;
    // The path leaves a towards its parent, or, when a is where the paths meet, towards b's side.
    const Cell aNext = meeting == a ? lastY : tree.parentOf(a);
    const Cell bNext = meeting == b ? lastX : tree.parentOf(b);
    const int aOld = sideTowards(a, aNext), bOld = sideTowards(b, bNext);
    if (aOld < 0 || bOld < 0)
        return false;  // a FaxModem relay: no chain of cable
    return keepsShape(design.at(a.column, a.row).sides, aOld, sideTowards(a, b)) &&
           keepsShape(design.at(b.column, b.row).sides, bOld, sideTowards(b, a));
}

}  // namespace

bool hasShortcut(const LevelDesign& design)
{
    const Tree tree = hangFromServer(design);
    for (int column = 0; column < design.columns; ++column) {
        for (int row = 0; row < design.rows; ++row) {
            for (int side : {East, South}) {
                const Cell a{column, row}, b{column + SideStepX[side], row + SideStepY[side]};
                if (!design.inside(b.column, b.row) || tree.depthOf(a) == 0 || tree.depthOf(b) == 0)
                    continue;
                if (opensSide(design.at(column, row).sides, side))
                    continue;
                if (isShortcut(design, tree, a, b))
                    return true;
            }
        }
    }
    return false;
}
