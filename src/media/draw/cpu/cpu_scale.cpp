#include "media/draw/cpu/cpu_scale.h"

#include <algorithm>
#include <utility>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace {

// Pixels are mixed in parts of 128, as pixman's smooth sampling mixes them.
constexpr int PartBits = 7, Whole = 1 << PartBits, Half = Whole / 2;

struct Neighbours {
    int first = 0, second = 0;  // the pixel on the left (above) and the one after it
    int part = 0;               // of the second, out of Whole
};

// The picture pixels either side of frame pixel `index`'s centre along one axis.
Neighbours neighboursOf(int index, int32_t scale, int32_t offset, int size) {
    const int64_t centre = (static_cast<int64_t>(index) << 16) + 0x8000;
    // Picture pixel centres lie half a pixel in.
    const int64_t position = ((static_cast<int64_t>(scale) * centre + 0x8000) >> 16) + offset - 0x8000;
    const int64_t whole = position >> 16;  // rounds down below zero too
    Neighbours n;
    n.first = static_cast<int>(std::clamp<int64_t>(whole, 0, size - 1));
    n.second = static_cast<int>(std::clamp<int64_t>(whole + 1, 0, size - 1));
    n.part = static_cast<int>((position >> (16 - PartBits)) & (Whole - 1));
    return n;
}

inline uint16_t mix(uint32_t a, uint32_t b, int part) {
    return static_cast<uint16_t>((a * (Whole - part) + b * part + Half) >> PartBits);
}

}  // namespace

void SmoothScaler::mixAcross(const PictureRows& picture, int row, std::vector<uint16_t>& into, int width) {
    const uint32_t* pixels = picture.pixels + static_cast<size_t>(row) * picture.stride;
    int i = 0;
#if defined(__SSE2__)
    // Two frame columns at a time: their four picture pixels widened to 16-bit channels.
    const __m128i zero = _mm_setzero_si128(), whole = _mm_set1_epi16(Whole), half = _mm_set1_epi16(Half);
    for (; i + 2 <= width; i += 2) {
        const __m128i left =
            _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(pixels[leftColumn[i]])),
                                                 _mm_cvtsi32_si128(static_cast<int>(pixels[leftColumn[i + 1]]))),
                              zero);
        const __m128i right =
            _mm_unpacklo_epi8(_mm_unpacklo_epi32(_mm_cvtsi32_si128(static_cast<int>(pixels[rightColumn[i]])),
                                                 _mm_cvtsi32_si128(static_cast<int>(pixels[rightColumn[i + 1]]))),
                              zero);
        const __m128i part = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&rightParts[i * 4]));
        const __m128i sum = _mm_add_epi16(
            _mm_add_epi16(_mm_mullo_epi16(left, _mm_sub_epi16(whole, part)), _mm_mullo_epi16(right, part)), half);
        _mm_storeu_si128(reinterpret_cast<__m128i*>(&into[i * 4]), _mm_srli_epi16(sum, PartBits));
    }
#endif
    for (; i < width; ++i) {
        const uint32_t left = pixels[leftColumn[i]], right = pixels[rightColumn[i]];
        const int part = rightParts[i * 4];
        for (int c = 0; c < 4; ++c) into[i * 4 + c] = mix((left >> (8 * c)) & 0xFF, (right >> (8 * c)) & 0xFF, part);
    }
}

void SmoothScaler::scale(const PictureRows& picture, const UprightMapping& mapping, int x0, int y0, int width,
                         int height, uint32_t* into, int intoStride, bool straightToMemory) {
    if (width <= 0 || height <= 0 || picture.width <= 0 || picture.height <= 0) return;
    leftColumn.resize(width), rightColumn.resize(width), rightParts.resize(static_cast<size_t>(width) * 4);
    for (int i = 0; i < width; ++i) {
        const Neighbours n = neighboursOf(x0 + i, mapping.scaleX, mapping.offsetX, picture.width);
        leftColumn[i] = n.first, rightColumn[i] = n.second;
        std::fill_n(&rightParts[static_cast<size_t>(i) * 4], 4, static_cast<uint16_t>(n.part));
    }
    const size_t channels = static_cast<size_t>(width) * 4;
    if (upper.size() < channels) upper.resize(channels), lower.resize(channels);
    int upperRow = -1, lowerRow = -1;
    for (int j = 0; j < height; ++j) {
        const Neighbours n = neighboursOf(y0 + j, mapping.scaleY, mapping.offsetY, picture.height);
        if (upperRow != n.first) {
            if (lowerRow == n.first) {
                std::swap(upper, lower);
                lowerRow = -1;
            } else {
                mixAcross(picture, n.first, upper, width);
            }
            upperRow = n.first;
        }
        if (lowerRow != n.second) {
            mixAcross(picture, n.second, lower, width);
            lowerRow = n.second;
        }
        // Then down between the two rows.
        uint32_t* out = into + static_cast<size_t>(j) * intoStride;
        const int part = n.part;
        size_t c = 0;
#if defined(__SSE2__)
        const __m128i keep = _mm_set1_epi16(static_cast<int16_t>(Whole - part));
        const __m128i take = _mm_set1_epi16(static_cast<int16_t>(part)), half = _mm_set1_epi16(Half);
        auto mixed = [&](size_t at) {
            const __m128i a = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&upper[at]));
            const __m128i b = _mm_loadu_si128(reinterpret_cast<const __m128i*>(&lower[at]));
            const __m128i sum = _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(a, keep), _mm_mullo_epi16(b, take)), half);
            return _mm_srli_epi16(sum, PartBits);
        };
        if (straightToMemory) {
            // Pixels one at a time up to a 16-byte boundary, then four at a time past the
            // cache: the frame is not read again here, and a store that missed would first
            // read its line from memory.
            for (; c < channels && reinterpret_cast<uintptr_t>(out + c / 4) % 16 != 0; c += 4) {
                uint32_t pixel = 0;
                for (int k = 0; k < 4; ++k)
                    pixel |= static_cast<uint32_t>(mix(upper[c + k], lower[c + k], part)) << (8 * k);
                out[c / 4] = pixel;
            }
            for (; c + 16 <= channels; c += 16)
                _mm_stream_si128(reinterpret_cast<__m128i*>(out + c / 4), _mm_packus_epi16(mixed(c), mixed(c + 8)));
        }
        for (; c + 16 <= channels; c += 16)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(out + c / 4), _mm_packus_epi16(mixed(c), mixed(c + 8)));
#endif
        for (; c < channels; c += 4) {
            uint32_t pixel = 0;
            for (int k = 0; k < 4; ++k)
                pixel |= static_cast<uint32_t>(mix(upper[c + k], lower[c + k], part)) << (8 * k);
            out[c / 4] = pixel;
        }
    }
#if defined(__SSE2__)
    if (straightToMemory) _mm_sfence();  // seen by the other threads and the X server after this
#endif
}

void sampleTurnedRow(const PictureRows& picture, const TurnedMapping& mapping, int row, int first, int end,
                     uint32_t* into) {
    if (picture.width <= 0 || picture.height <= 0) return;
    const int64_t x = (static_cast<int64_t>(first) << 16) + 0x8000, y = (static_cast<int64_t>(row) << 16) + 0x8000;
    // Picture pixel centres lie half a pixel in.
    int64_t u = ((mapping.xx * x + mapping.xy * y + 0x8000) >> 16) + mapping.x0 - 0x8000;
    int64_t v = ((mapping.yx * x + mapping.yy * y + 0x8000) >> 16) + mapping.y0 - 0x8000;
    const int lastColumn = picture.width - 1, lastRow = picture.height - 1;
    for (int i = 0; i < end - first; ++i, u += mapping.xx, v += mapping.yx) {
        const int64_t column = u >> 16, line = v >> 16;
        const int left = static_cast<int>(std::clamp<int64_t>(column, 0, lastColumn));
        const int right = static_cast<int>(std::clamp<int64_t>(column + 1, 0, lastColumn));
        const int top = static_cast<int>(std::clamp<int64_t>(line, 0, lastRow));
        const int bottom = static_cast<int>(std::clamp<int64_t>(line + 1, 0, lastRow));
        const uint32_t* upperRow = picture.pixels + static_cast<size_t>(top) * picture.stride;
        const uint32_t* lowerRow = picture.pixels + static_cast<size_t>(bottom) * picture.stride;
        const uint64_t across = static_cast<uint64_t>((u >> (16 - PartBits)) & (Whole - 1));
        const uint64_t down = static_cast<uint64_t>((v >> (16 - PartBits)) & (Whole - 1));
        // Each pixel's share of the four, out of 128 * 128, applied at once to two channels
        // held 32 bits apart (the largest sum, 255 * 16384, fits in 32 bits).
        const uint64_t shares[4] = {(Whole - across) * (Whole - down), across * (Whole - down), (Whole - across) * down,
                                    across * down};
        const uint32_t corners[4] = {upperRow[left], upperRow[right], lowerRow[left], lowerRow[right]};
        uint64_t evenChannels = 0, oddChannels = 0;
        for (int k = 0; k < 4; ++k) {
            const uint64_t pixel = corners[k];
            evenChannels += ((pixel & 0xFF) | (pixel & 0xFF0000) << 16) * shares[k];
            oddChannels += ((pixel >> 8 & 0xFF) | (pixel >> 24) << 32) * shares[k];
        }
        constexpr uint64_t Round = (uint64_t{1} << 13) * 0x100000001u, Lanes = 0xFF000000FFu;
        evenChannels = (evenChannels + Round) >> (2 * PartBits) & Lanes;
        oddChannels = (oddChannels + Round) >> (2 * PartBits) & Lanes;
        into[i] = static_cast<uint32_t>(evenChannels | evenChannels >> 16 | oddChannels << 8 | oddChannels >> 8);
    }
}
