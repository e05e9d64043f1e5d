#include "media/draw/cpu/spare_pixels.h"

#include <utility>

void SparePixels::keep(std::vector<uint32_t>&& pixels) {
    if (pixels.capacity() * sizeof(uint32_t) < SmallestBytes) return;
    buffers.push_back(std::move(pixels));
    framesLeft = FramesKept;
}

std::vector<uint32_t> SparePixels::take(size_t words) {
    auto best = buffers.end();
    for (auto buffer = buffers.begin(); buffer != buffers.end(); ++buffer)
        if (buffer->capacity() >= words && buffer->capacity() <= words + words / 2 &&
            (best == buffers.end() || buffer->capacity() < best->capacity()))
            best = buffer;
    if (best == buffers.end()) return {};
    std::vector<uint32_t> taken = std::move(*best);
    buffers.erase(best);
    return taken;
}

void SparePixels::frameComposed() {
    if (framesLeft > 0 && --framesLeft == 0) buffers.clear();
}

size_t SparePixels::bytesHeld() const {
    size_t bytes = 0;
    for (const std::vector<uint32_t>& buffer : buffers) bytes += buffer.capacity() * sizeof(uint32_t);
    return bytes;
}
