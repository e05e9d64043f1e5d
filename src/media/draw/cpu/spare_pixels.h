#pragma once
// The pixel memory of the pictures a screen lets go, kept for a few frames for the pictures of
// the screen that replaces it. Writing a large picture into memory already in hand is copying;
// into fresh memory it is also a page fault every 4 KiB (at 3840 x 2160 a background of 25 MB
// cost about 15 ms of the frame that opened a level). Kept only briefly, so nothing is held
// beside a screen that did not need it.

#include <cstddef>
#include <cstdint>
#include <vector>

class SparePixels {
public:
    // Smaller buffers are cheap to make anew.
    static constexpr size_t SmallestBytes = size_t{1} << 20;
    // Frames that draw something before what is left is freed.
    static constexpr int FramesKept = 4;

    // Keeps a buffer let go (a small one is freed at once).
    void keep(std::vector<uint32_t>&& pixels);
    // A buffer that holds `words` without growing and is not half as large again (the
    // smallest such: a smaller picture never takes the one a larger will want), or an empty
    // one. Its size is what it was: its words are stale.
    std::vector<uint32_t> take(size_t words);
    // A frame that drew something has been composed.
    void frameComposed();
    size_t bytesHeld() const;

private:
    std::vector<std::vector<uint32_t>> buffers;
    int framesLeft = 0;
};
