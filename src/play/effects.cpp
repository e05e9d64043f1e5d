#include "play/effects.h"

#include "media/media_layer.h"
#include "play/screen_fade.h"

namespace {

// Draw state every effect walk leaves behind.
void restoreDrawState(MediaLayer& media) {
    media.setBlendMode(BlendMode::Alpha);
    media.setDrawAlpha(1.0f);
    media.setDrawScale(1.0f, 1.0f);
    media.setDrawRotation(0.0f);
}

// Draws and advances every record in order; drops those whose alpha has run out.
template <typename Record, typename DrawAndAdvance>
void walkList(std::vector<Record>& list, DrawAndAdvance drawAndAdvance) {
    std::erase_if(list, [&](Record& record) {
        drawAndAdvance(record);
        return record.alpha <= 0.0f;
    });
}

}  // namespace

// ---- Spawning ------------------------------------------------------------------

void addRotationGhost(Effects& effects, int x, int y, int tile, int direction) {
    effects.ghosts.push_back(RotationGhost{x, y, tile, 0.5f, 1.0f, direction});
}

void addSparkle(Effects& effects, int x, int y, float alpha, float scale) {
    effects.sparkles.push_back(Sparkle{x, y, alpha, scale});
}

void addFallingLight(Effects& effects, MediaLayer& media) {
    FallingLight light;
    light.x = static_cast<float>(media.randomInt(1, ScreenWidth));
    light.y = -100.0f;
    light.alpha = 0.7f;
    // Integer division on purpose: half of the lights have scale 0 and never show.
    light.scale = static_cast<float>(media.randomInt(5, 15) / 10);
    light.speed = static_cast<float>(media.randomInt(10, 30) / 10.0);
    light.frame = media.randomInt(0, 1);
    effects.lights.push_back(light);
}

void addMenuParticle(Effects& effects, MediaLayer& media) {
    MenuParticle particle;
    particle.x = static_cast<float>(media.randomInt(1, 450));
    particle.y = static_cast<float>(media.randomInt(1, 800) - 200);
    particle.alpha = 1.0f;
    particle.scale = static_cast<float>(media.randomInt(0, 10) / 10.0);
    particle.red = media.randomInt(0, 255);
    particle.green = 255;
    particle.blue = media.randomInt(0, 255);
    particle.frame = media.randomInt(0, 1);
    particle.speed = static_cast<float>(media.randomInt(1, 30) / 10.0);
    effects.particles.push_back(particle);
}

// ---- Drawing ---------------------------------------------------------------------

void drawRotationGhosts(MediaLayer& media, std::vector<RotationGhost>& ghosts, const Image& tiles) {
    walkList(ghosts, [&](RotationGhost& ghost) {
        // Starts turned by 10 degrees and turns one more per frame as it grows.
        media.setDrawRotation(static_cast<float>(ghost.direction) * (ghost.scale * 100.0f - 90.0f));
        media.setDrawScale(ghost.scale, ghost.scale);
        media.setDrawAlpha(ghost.alpha);
        media.drawImage(tiles, ghost.x, ghost.y, ghost.tile);
        ghost.alpha -= 0.01f;
        ghost.scale += 0.01f;
    });
    restoreDrawState(media);
}

void drawSparkles(MediaLayer& media, std::vector<Sparkle>& sparkles, const Image& sphere) {
    media.setBlendMode(BlendMode::Light);
    walkList(sparkles, [&](Sparkle& sparkle) {
        media.setDrawScale(sparkle.scale, sparkle.scale);
        media.setDrawAlpha(sparkle.alpha);
        media.drawImage(sphere, sparkle.x, sparkle.y, 0);
        sparkle.alpha -= 0.01f;
        sparkle.scale += 0.04f;
    });
    restoreDrawState(media);
}

void drawFallingLights(MediaLayer& media, std::vector<FallingLight>& lights, const Image& pictures) {
    media.setBlendMode(BlendMode::Light);
    walkList(lights, [&](FallingLight& light) {
        media.setDrawScale(light.scale, light.scale);
        media.setDrawAlpha(light.alpha);
        media.drawImage(pictures, light.x, light.y, light.frame);
        light.alpha -= 0.002f;
        light.y += light.speed;
    });
    restoreDrawState(media);
}

void drawMenuParticles(MediaLayer& media, std::vector<MenuParticle>& particles, const Image& pictures,
                       const ScreenFade& fade) {
    media.setBlendMode(BlendMode::Light);
    walkList(particles, [&](MenuParticle& particle) {
        media.setDrawColour(particle.red, particle.green, particle.blue);
        media.setDrawScale(particle.scale, particle.scale);
        media.setDrawAlpha(particle.alpha);
        media.drawImage(pictures, particle.x, particle.y, particle.frame);
        particle.alpha -= 0.01f;
        particle.scale += 0.01f;
        particle.y += particle.speed;
    });
    restoreDrawState(media);
    setFadeColour(media, fade);
}
