#pragma once
// Every picture and sound of the game, loaded once at start-up and kept for the run.
// The two font pictures belong to the SpriteFont. Start-up loads every picture or stops
// naming the one that failed, so drawing code takes them as given and never checks.

#include <array>
#include <memory>

#include "media/pictures/image.h"
#include "media/sound/sound.h"

struct Resources {
    std::unique_ptr<Image> pointer;                // gfx/pointer.spr, 2 of 23 x 32
    std::unique_ptr<Image> sphere;                 // gfx/sphere.spr, centred
    std::unique_ptr<Image> lights;                 // gfx/lights.spr, 2 of 64 x 64
    std::unique_ptr<Image> buttons;                // gfx/buttons.spr, 8 of 32 x 32, centred
    std::unique_ptr<Image> icon;                   // gfx/icon.spr
    std::unique_ptr<Image> hint;                   // gfx/hint.spr, 3 of 13 x 16
    std::unique_ptr<Image> background;             // gfx/back/b1.vvx .. b6.vvx, centred; replaced per level
    std::unique_ptr<Image> logo;                   // gfx/logocw.spr, centred
    std::unique_ptr<Image> tiles;                  // gfx/complete.spr, TileSheetFrames of 56 x 56, centred
    std::unique_ptr<Image> panel;                  // gfx/panel.spr
    std::array<std::unique_ptr<Image>, 4> canvas;  // gfx/back/canvas0..3.spr, centred
    std::unique_ptr<Image> publisherLogo;          // gfx/logo_Pelmar.png
    std::unique_ptr<Image> crest;                  // gfx/crest.spr, 34 of 32 x 32, centred
    std::unique_ptr<Image> particle;               // gfx/01.spr, 2 of 64 x 64, centred
    std::unique_ptr<Image> menuBack;               // gfx/back/menuback.vvx, centred
    std::unique_ptr<Image> menuButtons;            // gfx/menubuttons.spr, 7 of 281 x 57, centred
    std::unique_ptr<Image> menuButtonsGlow;        // gfx/menubuttonsglow.spr, 7 of 281 x 57, centred
    std::unique_ptr<Image> menuLinkGlows;          // gfx/linkglow.spr, 2 of 90 x 30, centred
    std::unique_ptr<Image> toolButtons;            // gfx/toolbuttons.spr, 4 of 32 x 32, centred
    std::unique_ptr<Image> padlock;                // gfx/padlock.spr, 16 x 16, centred

    SoundPtr click, start, complete, virus, starUse, rankUp, menuTheme;
};
