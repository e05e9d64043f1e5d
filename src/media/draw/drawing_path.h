#pragma once
// The one interface every way of drawing frames implements: SDL's renderer (a GPU, or
// OpenGL) and the CPU compositor. The machine layer picks one when the screen opens and
// sends it every clear, picture and rectangle of a frame, then asks it to show the frame.
// A new way of drawing is a new class with these few operations.

#include <string>

#include "media/draw/draw_state.h"
#include "media/pictures/image.h"

// What drawing one frame asked of the path.
struct DrawStats {
    int quads = 0;      // pictures and rectangles that reached it
    int drawCalls = 0;  // batches or compositing calls it made
};

// A point in the window's own pixels.
struct WindowPoint {
    int x = 0, y = 0;
};

class DrawingPath {
public:
    virtual ~DrawingPath() = default;

    // The whole frame black.
    virtual void clear() = 0;
    // One frame of a picture as a quad about its handle, with the given drawing state.
    virtual void drawImage(const Image& image, float x, float y, int frame, const DrawState& draw) = 0;
    // The rectangle (0,0)-(width,height) relative to (x, y), transformed like a picture.
    virtual void drawRect(float x, float y, float width, float height, const DrawState& draw) = 0;
    // The frame drawn so far as RGBA rows of the 800 x 600 screen (tests; before present).
    virtual PixelBlock readFrame() = 0;
    // Everything a frame needs before it can be shown (batches sent, the composed frame
    // copied towards the window), so that showing it at its moment costs little.
    virtual void finishFrame() = 0;
    // Shows the finished frame, at once: pacing is the caller's, between the two.
    virtual void present() = 0;

    // Where a screen point lands in the window (the screen may be letterboxed in it).
    virtual WindowPoint windowPoint(int x, int y) const = 0;
    // True when presents wait for the display's refresh and really come 1000/refreshHz ms
    // apart; otherwise presents never wait and the caller paces by the clock.
    virtual bool refreshPacesPresents(int /*refreshHz*/) { return false; }
    // The cost of the frames drawn since the previous call.
    virtual DrawStats takeStats() = 0;
    // True when frames are composed in memory by the CPU.
    virtual bool composes() const = 0;
    // The renderer behind it ("opengl", "software" ...).
    virtual std::string rendererName() const = 0;
};
