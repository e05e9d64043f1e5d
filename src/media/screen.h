#pragma once
// The screen the game draws on, in pixels: whatever the monitor, the game thinks in these.

constexpr int ScreenWidth = 800;
constexpr int ScreenHeight = 600;
constexpr int ScreenCentreX = ScreenWidth / 2;
constexpr int ScreenCentreY = ScreenHeight / 2;
