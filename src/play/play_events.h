#pragma once
// Turns what the board's rules report into sounds and effects, in the order reported.

#include "board/board.h"

#include "play/effects.h"
#include "play/resources.h"

class MediaLayer;

class PlayEvents : public BoardEvents {
public:
    PlayEvents(Effects& effects, MediaLayer& media, const Resources& res) : effects(effects), media(media), res(res) {}
    void rotationGhost(int x, int y, int tile) override;
    void rotationGhostBack(int x, int y, int tile) override;
    void sparkle(int x, int y, float alpha, float scale) override;
    void sound(BoardSound sound) override;

private:
    Effects& effects;
    MediaLayer& media;
    const Resources& res;
};
