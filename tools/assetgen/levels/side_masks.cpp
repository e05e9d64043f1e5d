// Open sides as bit masks and their tile kinds.

#include "levels/side_masks.h"

#include "board/board.h"

namespace {

// Indexed by side mask; -1 where no piece opens exactly these sides (none, or nothing).
constexpr std::array<int, 16> KindOfMask = {NoConnector, EndN,   EndE,   CornerNE, EndS,       StraightNS,
                                            CornerES,    TeeNES, EndW,   CornerNW, StraightEW, TeeNEW,
                                            CornerSW,    TeeNSW, TeeESW, Cross};

}  // namespace

int sideCount(int sides)
{
    return (sides & 1) + (sides >> 1 & 1) + (sides >> 2 & 1) + (sides >> 3 & 1);
}

int kindOfSides(int sides)
{
    return KindOfMask[sides & 15];
}

int sidesOfKind(int kind)
{
    for (int sides = 0; sides < 16; ++sides) {
        if (KindOfMask[sides] == kind) {
            return sides;
        }
    }
    return 0;
}

std::array<int, 4> orientationsOf(int sides, int& count)
{
    std::array<int, 4> result{};
    count = 0;
    int turned = sides;
    for (int turn = 0; turn < 4; ++turn) {
        bool seen = false;
        for (int i = 0; i < count; ++i) {
            seen = seen || result[i] == turned;
        }
        if (!seen) {
            result[count++] = turned;
        }
        turned = turnedClockwise(turned);
    }
    return result;
}
