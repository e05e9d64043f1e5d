#pragma once
// A game ready to play in a scratch folder: pictures made in memory, a small map data file,
// background pictures on disk, and helpers to drive play frame by frame.

#include <memory>
#include <string>
#include <vector>

#include "media/scripted/scripted_media.h"
#include "play/game.h"
#include "play/play.h"
#include "support/fake_pictures.h"
#include "support/test_support.h"

// A sound long enough that its channel outlives the test (no device ever mixes it).
SoundPtr fakeSound();

// Level 0 of the test map: Server at (0,0)/(0,1), a straight, a corner and one computer
// on a 4 x 5 board; every level is the same except level 2, which has no computer.
std::vector<uint8_t> testMapData();

struct PlayFixture {
    PlayFixture();

    ScratchFolder scratch{"play"};
    WorkingFolder working{scratch.path()};
    ScriptedMedia media;
    Game game{media};

    // Schedules a pointer move and a single left click for the next frame.
    void clickCell(int column, int row);
    // Runs frames until the predicate holds or the budget is spent; returns the frames run.
    template <typename Done>
    int runUntil(Done done, int budget = 5000) {
        int frames = 0;
        while (!done() && frames < budget) {
            playFrame(game);
            ++frames;
        }
        return frames;
    }
    void runFrames(int count) {
        for (int i = 0; i < count; ++i) playFrame(game);
    }
    // Clicks that connect every computer, found by trying the turns of the cable cells.
    std::vector<CellPosition> solution() const;
    // The small-font texts of the last presented frame, with where and in which colour.
    std::vector<DrawnText> texts() const;
    // The same, one string per line drawn.
    std::vector<std::string> textsDrawn() const;
    bool textShown(const std::string& text) const;
};
