#include "media/draw/cpu/pixel_runs.h"

#include <algorithm>
#include <cstring>
#include <utility>

namespace {

// Each run starts with a word: its kind in the top two bits, its length in words below.
enum RunKind : uint32_t { AsTheyAre = 0, AsAbove = 1, Repeated = 2 };
constexpr int KindShift = 30;
constexpr uint32_t LengthMask = (1u << KindShift) - 1;
// A repeat shorter than this is cheaper kept among the words as they are.
constexpr int ShortestRun = 3;

uint32_t runWord(RunKind kind, int length) { return kind << KindShift | static_cast<uint32_t>(length); }

// How many words from x on match the row above (none on the first row), or repeat row[x].
int runAbove(const uint32_t* row, const uint32_t* above, int x, int width) {
    if (!above) return 0;
    int end = x;
    while (end < width && row[end] == above[end]) ++end;
    return end - x;
}

int runRepeated(const uint32_t* row, int x, int width) {
    int end = x + 1;
    while (end < width && row[end] == row[x]) ++end;
    return end - x;
}

}  // namespace

PackedPixels packPixels(const uint32_t* pixels, int width, int height) {
    PixelPacker packer(width);
    packer.addRows(pixels, height);
    return packer.finish();
}

PackedPixels PixelPacker::finish() {
    packed.runs.shrink_to_fit();
    lastRow.clear();
    return std::move(packed);
}

void PixelPacker::addRows(const uint32_t* pixels, int count) {
    for (int y = 0; y < count; ++y) {
        const uint32_t* row = pixels + static_cast<size_t>(y) * width;
        const uint32_t* above = y > 0 ? row - width : packed.height > 0 ? lastRow.data() : nullptr;
        int x = 0;
        size_t literalRun = 0;  // index of the open run of words as they are, 0 when none
        bool literalOpen = false;
        while (x < width) {
            const int same = runAbove(row, above, x, width);
            const int repeated = same >= ShortestRun ? 0 : runRepeated(row, x, width);
            if (same >= ShortestRun || repeated >= ShortestRun) {
                literalOpen = false;
                const int length = std::max(same, repeated);
                packed.runs.push_back(runWord(same >= ShortestRun ? AsAbove : Repeated, length));
                if (same < ShortestRun) packed.runs.push_back(row[x]);
                x += length;
                continue;
            }
            if (!literalOpen) {
                literalRun = packed.runs.size();
                packed.runs.push_back(runWord(AsTheyAre, 0));
                literalOpen = true;
            }
            packed.runs[literalRun] += 1;
            packed.runs.push_back(row[x++]);
        }
    }
    if (count > 0)
        lastRow.assign(pixels + static_cast<size_t>(count - 1) * width, pixels + static_cast<size_t>(count) * width);
    packed.height += count;
}

std::vector<uint32_t> unpackPixels(const PackedPixels& packed) {
    std::vector<uint32_t> pixels;
    unpackPixelsInto(packed, pixels);
    return pixels;
}

void unpackPixelsInto(const PackedPixels& packed, std::vector<uint32_t>& pixels) {
    pixels.resize(static_cast<size_t>(packed.width) * packed.height);
    const uint32_t* run = packed.runs.data();
    const uint32_t* const end = run + packed.runs.size();
    for (int y = 0; y < packed.height; ++y) {
        uint32_t* row = pixels.data() + static_cast<size_t>(y) * packed.width;
        int x = 0;
        while (x < packed.width && run < end) {
            const uint32_t kind = *run >> KindShift;
            // A damaged run never writes past its row.
            const int length = std::min(static_cast<int>(*run++ & LengthMask), packed.width - x);
            if (kind == AsAbove && y > 0) {
                std::memcpy(row + x, row + x - packed.width, static_cast<size_t>(length) * sizeof(uint32_t));
            } else if (kind == Repeated && run < end) {
                std::fill(row + x, row + x + length, *run++);
            } else if (kind == AsTheyAre) {
                const int words = std::min(length, static_cast<int>(end - run));
                std::memcpy(row + x, run, static_cast<size_t>(words) * sizeof(uint32_t));
                std::fill(row + x + words, row + x + length, 0u);
                run += words;
            } else {
                std::fill(row + x, row + x + length, 0u);
            }
            x += length;
        }
        // Runs that end short leave words clear, whatever the memory held.
        if (x < packed.width) std::fill(row + x, row + packed.width, 0u);
    }
}
