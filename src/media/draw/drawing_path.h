#pragma once
// The one interface every way of drawing frames implements: SDL's renderer (a GPU, or
// OpenGL) and the CPU compositor. The machine layer picks one when the screen opens and
// sends it every clear, picture and rectangle of a frame, then asks it to show the frame.
// A new way of drawing is a new class with these few operations.

#include <string>

#include "media/draw/draw_state.h"
#include "media/draw/viewport.h"
#include "media/pictures/image.h"

// What drawing one frame asked of the path.
struct DrawStats {
    int quads = 0;      // pictures and rectangles that reached it
    int drawCalls = 0;  // batches or compositing calls it made
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
    // Where the logical screen lies in the window and how large: the path draws every quad at
    // the window's own pixels. Given when the screen opens and whenever the window changes.
    virtual void setViewport(const Viewport& viewport) = 0;
    // The frame drawn so far as RGBA rows of the screen's part of the window (tests; before present).
    virtual PixelBlock readFrame() = 0;
    // Everything a frame needs before it can be shown (batches sent, the composed frame
    // copied towards the window), so that showing it at its moment costs little.
    virtual void finishFrame() = 0;
    // Told between finishFrame and present how far after its time the frame is shown, in
    // milliseconds (its drawing ran past the moment it was due; 0 when in time), for a path
    // that judges its cost by that.
    virtual void frameShownLate(double /*lateMs*/) {}
    // Shows the finished frame, at once: pacing is the caller's, between the two.
    virtual void present() = 0;

    // True when presents wait for the display's refresh and really come 1000/refreshHz ms
    // apart; otherwise presents never wait and the caller paces by the clock.
    virtual bool refreshPacesPresents(int /*refreshHz*/) { return false; }
    // A picture the game will draw soon (the next screen's background): a path may make its
    // own form of it now, off the frame's thread, so that the frame that first draws it does
    // not wait. Copies what it keeps; the picture itself may go after the call.
    virtual void prepareSoon(const Image& /*image*/) {}
    // The cost of the frames drawn since the previous call.
    virtual DrawStats takeStats() = 0;
    // Pixels of the frame as drawn per logical pixel: the viewport's scale, or less where the
    // finished frame is stretched to the window.
    virtual float drawingScale() const = 0;
    // Frames keep being drawn at the window's own scale however long they take (benchmarks).
    virtual void keepScale() {}
    // True when frames are composed in memory by the CPU.
    virtual bool composes() const = 0;
    // The renderer behind it ("opengl", "software" ...).
    virtual std::string rendererName() const = 0;
};
