#pragma once
// Everything the running game owns, in one plain struct passed by reference.

#include <memory>

#include "board/board.h"
#include "media/media_layer.h"
#include "persist/progress.h"
#include "persist/settings.h"
#include "play/effects.h"
#include "play/input_sample.h"
#include "play/level_state.h"
#include "play/resources.h"
#include "play/screen_fade.h"
#include "play/sprite_font.h"
#include "play/track_player.h"

// The layers count levels and ranks each for their own purpose; they must agree.
static_assert(RecordCount == LevelCount, "one best time per level");
static_assert(SavedRankCount == RankCount, "the saved game holds every rank and no other");

struct PointerAnimation {
    int frame = 0;
    int tick = 0;
};

// The fixed tables built once at start-up.
struct GameTables {
    ConnectorTable connectors;
    AnimationTable animations{};
};

// What the HUD, the pointer tips and the click read of a frame of play: the board, the
// level, the pointer and the control it is over (which the music buttons set).
struct SceneView {
    const Board& board;
    const LevelState& level;
    const InputSample& input;
    int& hoveredControl;
};

struct Game {
    explicit Game(MediaLayer& mediaLayer) : media(mediaLayer) {}

    MediaLayer& media;
    Resources res;
    ScreenFade fade;
    InputSample input;
    int hoveredControl = NoControl;
    PointerAnimation pointer;

    Progress progress;
    Settings settings;
    SettingsFile settingsFile;
    SpriteFont font;
    GameTables tables;
    Effects effects;
    TrackPlayer music;

    MapData mapData;
    Board board;
    LevelState level;
    PointerTip tip;
    RankUpNotice rankUp;

    SceneView scene() { return SceneView{board, level, input, hoveredControl}; }
};

// Draws the mouse pointer at the sampled position; the cleaning cursor when asked.
void drawPointer(MediaLayer& media, const Resources& res, PointerAnimation& anim, const InputSample& input,
                 bool cleaningCursor);
