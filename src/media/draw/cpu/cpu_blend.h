#pragma once
// Rows of premultiplied 0xAARRGGBB pixels blended onto rows of the frame: the compositor's
// commonest quads (tiles, their shadows, lights, a faded backdrop) without pixman's set-up for
// every call, which cost more than the blending itself on a strip of a small picture. The
// arithmetic is pixman's to the bit: x times y over 255 is t = x * y + 128, (t + t / 256) / 256,
// and sums saturate at 255.

#include <cstdint>

// Multipliers for the four channels of a source pixel, as a pixel: 0xAARRGGBB, each channel
// scaling the source's own (white at full alpha leaves it as it is).
using ChannelScale = uint32_t;
constexpr ChannelScale Unscaled = 0xFFFFFFFFu;
// Colour times alpha in each colour channel and the alpha itself: a tint at part strength.
ChannelScale tintScale(int red, int green, int blue, int alpha);

// frame = source + frame * (1 - source alpha), the source first scaled by `scale`.
void blendRowOver(uint32_t* frame, const uint32_t* source, int count, ChannelScale scale = Unscaled);
// frame = frame + source, saturated, the source first scaled by `scale`.
void blendRowAdd(uint32_t* frame, const uint32_t* source, int count, ChannelScale scale = Unscaled);
// Black of alpha `alpha` times each alpha byte laid over the frame: it darkens by that much.
void blendRowShadow(uint32_t* frame, const uint8_t* alphas, int count, int alpha);
