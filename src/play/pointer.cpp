#include "play/game.h"

namespace {

constexpr int BlinkTicks = 25;  // normal pointer: each of its two pictures shows 25 frames
constexpr int CrestTicks = 2;   // cleaning cursor: two frames per picture
constexpr int CrestFrames = 34;

void drawNormalPointer(MediaLayer& media, const Image& pointer, PointerAnimation& anim, const InputSample& input) {
    // The cleaning cursor may have left a frame the two-picture pointer does not have.
    if (anim.frame > 1) anim.frame = 0;
    media.drawImage(pointer, input.x, input.y, anim.frame);
    // ">=" rather than "==": the tick may arrive here above the limit from the cursor.
    if (++anim.tick >= BlinkTicks) {
        anim.tick = 0;
        anim.frame = anim.frame == 0 ? 1 : 0;
    }
}

void drawCleaningCursor(MediaLayer& media, const Image& crest, PointerAnimation& anim, const InputSample& input) {
    media.drawImage(crest, input.x, input.y, anim.frame);
    // The tick may arrive from the normal pointer as high as 24: ">=" keeps the cursor turning.
    if (++anim.tick >= CrestTicks) {
        anim.tick = 0;
        if (++anim.frame >= CrestFrames) anim.frame = 0;
    }
}

}  // namespace

void drawPointer(MediaLayer& media, const Resources& res, PointerAnimation& anim, const InputSample& input,
                 bool cleaningCursor) {
    if (cleaningCursor)
        drawCleaningCursor(media, *res.crest, anim, input);
    else
        drawNormalPointer(media, *res.pointer, anim, input);
}
