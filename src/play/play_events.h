#pragma once
// Turns what the board's rules report into sounds and effects, in the order reported.

#include "board/board.h"

struct Game;

class PlayEvents : public BoardEvents {
public:
    explicit PlayEvents(Game& game) : game(game) {}
    void rotationGhost(int x, int y, int tile) override;
    void sparkle(int x, int y, float alpha, float scale) override;
    void sound(BoardSound sound) override;

private:
    Game& game;
};
