#pragma once
// The pieces of the board tile sheet. Each draws into a 56 x 56 cell whose centre
// (28, 28) is the centre of a 48-pixel board cell; the outer 4 pixels overhang the cell.

#include <cairo.h>

constexpr double TileCentre = 28.0;

// Every device body stays inside the square TileCentre +- DeviceBodyHalf, so the output
// cable under it shows from the body edge to the cell edge (11 pixels, plus the 4 pixels
// that reach into the neighbour's cell), and a neighbour's stub ends 7 pixels short of it.
constexpr double DeviceBodyHalf = 13.0;
// The plug where an output leaves its device: from the body edge outward.
constexpr double PlugLength = 5.0;
constexpr double PlugWidth = 12.0;

// Cable piece of the given kind 0..14 on a transparent background.
void drawCablePiece(cairo_t* cr, int kind);
// One of the empty floor pictures; variant 0..19.
void drawFloor(cairo_t* cr, int variant);
// Computer monitor: state 0 not connected (blue), 1 connected (green), 2 infected (red);
// animFrame 0..39 picks the screen content.
void drawComputer(cairo_t* cr, int state, int animFrame);
// One half of the two-cell Server cabinet: 0 top, 1 bottom.
void drawServerHalf(cairo_t* cr, int half);
// FaxModem, with its LEDs lit for the blink picture.
void drawFaxModem(cairo_t* cr, bool lit);
