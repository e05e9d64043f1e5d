#pragma once
// A MediaLayer for tests: virtual clock, input scripted per frame, recorded draw
// calls, no window and no sound device. Files are the real files of the working folder.

#include <functional>
#include <map>
#include <stdexcept>
#include <string>
#include <vector>

#include "media/media_layer.h"
#include "media/media_parts.h"

// fatalError in tests: the message travels in the exception.
struct FatalError : std::runtime_error {
    using std::runtime_error::runtime_error;
};

// Thrown by presentFrame when the script's frame budget is spent.
struct ScriptEnded : std::runtime_error {
    ScriptEnded() : std::runtime_error("script ended") {}
};

// Thrown where the shipping layer would end the program at once with status 0 (a request to
// end that came while an earlier one was being handled).
struct EndedAtOnce : std::runtime_error {
    EndedAtOnce() : std::runtime_error("ended at once") {}
};

struct DrawCall {
    enum class Kind { Image, Rect } kind = Kind::Image;
    const Image* image = nullptr;
    int frame = 0;
    float x = 0, y = 0, width = 0, height = 0;
    DrawState state;
};

class ScriptedMedia : public MediaLayer {
public:
    // Music decoding by hand (decodeAhead) unless a test or benchmark asks for the thread.
    explicit ScriptedMedia(MusicDecoding musicDecoding = MusicDecoding::ByHand);

    bool openScreen(int width, int height, int depth, int refreshHz, int flags) override;
    void clearScreen() override;
    void drawImage(const Image& image, float x, float y, int frame) override;
    void drawRect(float x, float y, float width, float height) override;
    void movePointer(int x, int y) override;
    void hidePointer() override { pointerHidden = true; }
    void setWindowIcon(const PixelBlock& picture) override { windowIcon = picture; }
    int millisecs() override { return static_cast<int>(clockMs); }
    [[noreturn]] void fatalError(const std::string& message) override;
    void warning(const std::string& message) override { warnings.push_back(message); }

    // ---- Script: events take effect at the first input query of the given frame.
    // Frame 0 is the frame before the first presentFrame.
    void pressKey(int frame, Key key);
    void releaseKey(int frame, Key key);
    void tapKey(int frame, Key key);  // down in this frame, up in the next
    void pressMouse(int frame, MouseButton button);
    void releaseMouse(int frame, MouseButton button);
    void click(int frame, MouseButton button = MouseButton::Left);  // press in this frame, release in the next
    void moveMouse(int frame, int x, int y);
    void loseFocus(int frame);
    // A request to end the program as a termination, hang-up or interrupt signal brings it,
    // or as the window's close button does.
    void requestQuit(int frame);
    void closeWindow(int frame);
    // A request arriving this very moment (from a write hook, say), as a signal would.
    void requestQuitNow() { noteQuitRequest(); }
    // Runs at the end of every presentFrame, with the number of the frame just presented.
    std::function<void(int)> onFrame;
    // presentFrame throws ScriptEnded once this many frames have been presented.
    int frameLimit = 1'000'000;

    // ---- What happened
    int framesPresented = 0;
    uint32_t clockMs = 1000;
    bool screenOpen = false;
    bool pointerHidden = false;
    PixelBlock windowIcon;               // as last set
    std::vector<DrawCall> currentDraws;  // the frame being drawn
    std::vector<DrawCall> lastFrame;     // the frame last presented
    std::vector<std::pair<int, int>> pointerMoves;
    std::vector<std::string> warnings;

    // Draw calls of the last presented frame that used the given picture.
    std::vector<DrawCall> drawsOf(const Image* image) const;

protected:
    void showFrame() override;
    void pumpEvents() override;
    [[noreturn]] void endAtOnce() override { throw EndedAtOnce(); }

private:
    void addEvent(int frame, std::function<void(InputState&)> event);
    std::multimap<int, std::function<void(InputState&)>> script;
};
