#include "play/play_events.h"

#include "media/media_layer.h"

void PlayEvents::rotationGhost(int x, int y, int tile) { addRotationGhost(effects, x, y, tile); }

void PlayEvents::rotationGhostBack(int x, int y, int tile) { addRotationGhost(effects, x, y, tile, -1); }

void PlayEvents::sparkle(int x, int y, float alpha, float scale) { addSparkle(effects, x, y, alpha, scale); }

void PlayEvents::sound(BoardSound sound) {
    switch (sound) {
        case BoardSound::Click: media.playSound(res.click); break;
        case BoardSound::Virus: media.playSound(res.virus); break;
        case BoardSound::StarUse: media.playSound(res.starUse); break;
    }
}
