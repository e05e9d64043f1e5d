#include "play/play_events.h"

#include "play/game.h"

void PlayEvents::rotationGhost(int x, int y, int tile) { addRotationGhost(game.effects, x, y, tile); }

void PlayEvents::sparkle(int x, int y, float alpha, float scale) {
    addSparkle(game.effects, x, y, alpha, scale);
}

void PlayEvents::sound(BoardSound sound) {
    switch (sound) {
        case BoardSound::Click: game.media.playSound(game.res.click); break;
        case BoardSound::Virus: game.media.playSound(game.res.virus); break;
        case BoardSound::StarUse: game.media.playSound(game.res.starUse); break;
    }
}
