#pragma once
// What one level of play keeps from frame to frame, and the pointer tip that outlives levels.

#include <array>
#include <string>

#include "board/board.h"
#include "play/board_tools.h"

enum class LevelPhase { Starting, Playing, Completed };

// The hint boxes of the first levels: fades in, stays, fades out.
struct HintOverlay {
    bool visible = false;
    int page = 0;  // 0..4
    float alpha = 0.0f;
    int direction = 1;  // +1 fading in, -1 fading out
};

struct LevelState {
    LevelPhase phase = LevelPhase::Starting;
    int phaseFrames = 0;
    int levelFrames = 0;    // level time; runs in every phase
    VirusWatch virusWatch;  // its clock is deliberately not reset between levels
    HintOverlay hint;
    CellPosition hoverCell;             // cell under the pointer this frame, or none
    bool pointerOverCleanable = false;  // shows the cleaning cursor
    bool quitRequested = false;         // Escape was held: fade out and leave
    bool endProgram = false;            // the program is to end: leave at once
    bool completionUnsaved = false;     // a level just ended; its progress is saved this frame
    BoardTools tools;                   // locks and the turns of this board
    int cleanings = 0;                  // computers cleaned on this board
};

// A rise in rank, shown on a plate for a while where the player asks for the level summary.
struct RankUpNotice {
    int rankIndex = 0;
    int framesLeft = 0;
};

// The label that appears beside a pointer resting over a device or a music button.
struct PointerTip {
    int idleFrames = 0;
    int timer = 0;  // frames left to show; 0 hidden
    std::string text;
    int segments = 0;  // middle pieces of the bubble
    int x = 0, y = 0;  // top-left of the bubble
    float alpha = 0.0f;
};

constexpr int RankCount = 10;
// The rank titles, lowest first.
extern const std::array<std::string, RankCount> RankNames;
// A saved rank outside the table reads as the nearest title instead of past the table.
const std::string& rankName(int rankIndex);
