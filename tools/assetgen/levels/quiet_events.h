#pragma once
// A BoardEvents sink for checks and tests: sounds and effects go nowhere.

#include "board/board.h"

class QuietEvents : public BoardEvents {
public:
    void rotationGhost(int, int, int) override {}
    void sparkle(int, int, float, float) override {}
    void sound(BoardSound) override {}
};
