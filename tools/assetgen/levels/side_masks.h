#pragma once
// Open sides as bit masks (bit s for side s, clockwise from the top) and their tile kinds.

#include <array>

constexpr std::array<int, 4> SideStepX = {0, 1, 0, -1};  // N, E, S, W
constexpr std::array<int, 4> SideStepY = {-1, 0, 1, 0};

constexpr int sideBit(int side)
{
    return 1 << side;
}
constexpr int oppositeSide(int side)
{
    return (side + 2) % 4;
}
constexpr bool opensSide(int sides, int side)
{
    return (sides >> side & 1) != 0;
}
// The same piece a quarter turn clockwise: N becomes E, E becomes S, and so on.
constexpr int turnedClockwise(int sides)
{
    return ((sides << 1) | (sides >> 3)) & 15;
}
int sideCount(int sides);
// ElementKind of a cable piece or end with these open sides (Cross for all four).
int kindOfSides(int sides);
// Open sides of an ElementKind; 0 for NoConnector.
int sidesOfKind(int kind);
// Every distinct orientation of the piece, starting with the given one.
std::array<int, 4> orientationsOf(int sides, int& count);
