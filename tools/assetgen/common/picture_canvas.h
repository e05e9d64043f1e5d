#pragma once
// Drawing surfaces for the picture generator: cairo ARGB32 canvases, straight-RGBA
// pixel blocks for the writers, and the few pixel operations the artwork needs.

#include <cairo.h>

#include <functional>

#include "media/pictures/image.h"

// A premultiplied ARGB32 cairo surface with its context, owned for its lifetime. Drawing is
// in logical pixels, those of the game's 800 x 600 screen: at scale k the surface holds k x k
// pixels for each (cairo's device scale), so the same shapes, strokes and letters come out k
// times as large and as sharp as at scale 1. A canvas drawn into another one is drawn at
// its own logical size, so canvases of one picture share its scale.
class Canvas {
public:
    Canvas(int width, int height, int scale);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;

    cairo_t* cr() const { return context; }
    cairo_surface_t* surface() const { return target; }
    // Size in pixels: the logical size times the scale.
    int width() const { return cairo_image_surface_get_width(target); }
    int height() const { return cairo_image_surface_get_height(target); }
    int scale() const { return pixelsPerUnit; }
    // The pixels as straight (un-premultiplied) RGBA, top row first.
    PixelBlock pixels() const;

private:
    cairo_surface_t* target;
    cairo_t* context;
    int pixelsPerUnit;
};

// The scale of the canvas a context draws on, for the canvases a drawing makes of its own.
int scaleOf(cairo_t* cr);

// Blurs the canvas in place with three box passes (close to a gaussian of the given radius,
// in logical pixels).
void blurCanvas(Canvas& canvas, int radius);

// Draws `source` over `target` at (x, y), additively, so glows brighten what lies below.
void addCanvas(Canvas& target, const Canvas& source, double x, double y, double alpha = 1.0);

// Draws `count` cells of cellWidth x cellHeight (logical pixels), `perRow` to a row, at the
// given scale, each through drawCell with the origin moved to the cell's corner and drawing
// clipped to the cell.
PixelBlock drawStrip(int cellWidth, int cellHeight, int count, int perRow, int scale,
                     const std::function<void(cairo_t*, int)>& drawCell);

// Makes every pixel opaque and lifts pure black to (1,1,1): pictures without alpha get
// their pure black pixels masked out by the game's loader.
void makeOpaqueWithoutBlack(PixelBlock& pixels);

// Colour helper: sets an RGB source from 0..255 components and an alpha 0..1.
void setColour(cairo_t* cr, int red, int green, int blue, double alpha = 1.0);

// A rectangle with corners rounded by `radius`, as the current path.
void roundedRectangle(cairo_t* cr, double x, double y, double width, double height, double radius);
