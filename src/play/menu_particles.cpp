#include "play/menu_particles.h"

#include "play/game.h"

void addMenuParticle(Game& game) {
    MediaLayer& media = game.media;
    MenuParticle particle;
    // The draws come in this order; it decides the look of every run from a seed.
    particle.x = static_cast<float>(media.randomInt(1, 450));
    particle.y = static_cast<float>(media.randomInt(1, 800) - 200);
    particle.alpha = 1.0f;
    particle.scale = static_cast<float>(media.randomInt(0, 10) / 10.0);
    particle.red = media.randomInt(0, 255);
    particle.green = 255;
    particle.blue = media.randomInt(0, 255);
    particle.frame = media.randomInt(0, 1);
    particle.speed = static_cast<float>(media.randomInt(1, 30) / 10.0);
    game.effects.particles.push_back(particle);
}

void drawMenuParticles(Game& game) {
    MediaLayer& media = game.media;
    auto& particles = game.effects.particles;
    for (size_t i = 0; i < particles.size();) {
        MenuParticle& p = particles[i];
        media.setBlendMode(BlendMode::Light);
        media.setDrawColour(p.red, p.green, p.blue);
        media.setDrawScale(p.scale, p.scale);
        media.setDrawAlpha(p.alpha);
        media.drawImage(*game.res.particle, p.x, p.y, p.frame);
        p.alpha -= 0.01f;
        p.scale += 0.01f;
        p.y += p.speed;
        if (p.alpha <= 0.0f) {
            particles.erase(particles.begin() + static_cast<long>(i));
        } else {
            ++i;
        }
    }
    media.setBlendMode(BlendMode::Alpha);
    media.setDrawAlpha(1.0f);
    media.setDrawScale(1.0f, 1.0f);
    setFadeColour(media, game.fade);
}
