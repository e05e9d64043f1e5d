#pragma once
// The two machine layers the frame benchmark drives the game through: the real SDL
// backend (one drawing path per process) and the scripted one with drawing left out.
// Both take the pointer from the scene script and report every presented frame.

#include <functional>
#include <memory>

#include "media/desktop/sdl_media.h"
#include "media/scripted/scripted_media.h"

// What a scene script does to the input, and what it hears of every present.
struct BenchScript {
    int pointerX = 400, pointerY = 300;
    bool pressLeft = false;  // held down until the script lets go
    std::function<void()> onPresent;
};

// The real SDL backend, its screen opened full screen as the game opens it (the 800 x 600
// picture scaled into a window the size of the X screen), unpaced, so every frame costs
// what it costs.
class BenchSdlMedia : public SdlMedia {
public:
    BenchSdlMedia(BenchScript& script, PathChoice path) : SdlMedia(path), script(script) {}
    bool openScreen(int width, int height, int depth, int, int flags) override {
        return SdlMedia::openScreen(width, height, depth, 0, flags);
    }

protected:
    void showFrame() override;
    void pumpEvents() override;

private:
    BenchScript& script;
};

// The game logic alone: pictures are loaded, draw calls are counted and dropped.
class BenchLogicMedia : public ScriptedMedia {
public:
    explicit BenchLogicMedia(BenchScript& script) : script(script) {}
    void drawImage(const Image&, float, float, int) override { quads += 1; }
    void drawRect(float, float, float, float) override { quads += 1; }
    int quads = 0;

protected:
    void showFrame() override;
    void pumpEvents() override;

private:
    BenchScript& script;
};

// Moves the scripted pointer and button into the input state.
void applyScript(const BenchScript& script, InputState& input);
