#include "media/draw/cpu/cpu_blend.h"

#include <algorithm>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__)
#include <immintrin.h>
#define CW_ROW_BLENDS_AVX2 1
#endif

namespace {

// x * y / 255, rounded as pixman rounds it.
inline uint32_t times(uint32_t x, uint32_t y) {
    const uint32_t t = x * y + 128;
    return (t + (t >> 8)) >> 8;
}

inline uint32_t channel(uint32_t pixel, int shift) { return (pixel >> shift) & 0xFF; }

inline uint32_t scaled(uint32_t pixel, ChannelScale scale) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8) out |= times(channel(pixel, shift), channel(scale, shift)) << shift;
    return out;
}

inline uint32_t over(uint32_t frame, uint32_t source) {
    const uint32_t keep = 255 - (source >> 24);
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::min(255u, channel(source, shift) + times(channel(frame, shift), keep)) << shift;
    return out;
}

inline uint32_t added(uint32_t frame, uint32_t source) {
    uint32_t out = 0;
    for (int shift = 0; shift < 32; shift += 8)
        out |= std::min(255u, channel(source, shift) + channel(frame, shift)) << shift;
    return out;
}

#if defined(__SSE2__)
// Four pixels at a time, each channel widened to 16 bits.
inline __m128i times16(__m128i x, __m128i y) {
    const __m128i t = _mm_add_epi16(_mm_mullo_epi16(x, y), _mm_set1_epi16(0x80));
    return _mm_mulhi_epu16(t, _mm_set1_epi16(0x0101));  // (t + t / 256) / 256 for any 16-bit t
}

inline __m128i alphasOf16(__m128i pixels) {
    return _mm_shufflehi_epi16(_mm_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

inline __m128i scaled4(__m128i pixels, __m128i scale16) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = times16(_mm_unpacklo_epi8(pixels, zero), scale16);
    const __m128i high = times16(_mm_unpackhi_epi8(pixels, zero), scale16);
    return _mm_packus_epi16(low, high);
}

inline bool allZero(__m128i pixels) { return _mm_movemask_epi8(_mm_cmpeq_epi8(pixels, _mm_setzero_si128())) == 0xFFFF; }

inline bool allOpaque(__m128i pixels) {
    const __m128i ones = _mm_set1_epi32(-1);
    return _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_or_si128(pixels, _mm_set1_epi32(0x00FFFFFF)), ones)) == 0xFFFF;
}

// The frame's four pixels kept by 255 minus the alphas given (16-bit, two pixels a half).
inline __m128i kept4(__m128i frame, __m128i keepLow, __m128i keepHigh) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i low = times16(_mm_unpacklo_epi8(frame, zero), keepLow);
    const __m128i high = times16(_mm_unpackhi_epi8(frame, zero), keepHigh);
    return _mm_packus_epi16(low, high);
}

inline __m128i over4(__m128i frame, __m128i source) {
    if (allOpaque(source)) return source;
    const __m128i zero = _mm_setzero_si128(), all = _mm_set1_epi16(0xFF);
    const __m128i keepLow = _mm_xor_si128(alphasOf16(_mm_unpacklo_epi8(source, zero)), all);
    const __m128i keepHigh = _mm_xor_si128(alphasOf16(_mm_unpackhi_epi8(source, zero)), all);
    return _mm_adds_epu8(source, kept4(frame, keepLow, keepHigh));
}

inline __m128i add4(__m128i frame, __m128i source) { return _mm_adds_epu8(frame, source); }

inline __m128i scale16Of(ChannelScale scale) {
    return _mm_unpacklo_epi8(_mm_set1_epi32(static_cast<int>(scale)), _mm_setzero_si128());
}
#endif

#if defined(CW_ROW_BLENDS_AVX2)
// Eight pixels at a time where the processor has AVX2: the same steps as four at a time,
// each 128-bit half of a register on its own pixels (pixels 0, 1, 4, 5 widened low, 2, 3, 6,
// 7 high).
#define AVX2_ONLY __attribute__((target("avx2"), always_inline)) inline
AVX2_ONLY __m256i times16x2(__m256i x, __m256i y) {
    const __m256i t = _mm256_add_epi16(_mm256_mullo_epi16(x, y), _mm256_set1_epi16(0x80));
    return _mm256_mulhi_epu16(t, _mm256_set1_epi16(0x0101));
}

AVX2_ONLY __m256i alphasOf16x2(__m256i pixels) {
    return _mm256_shufflehi_epi16(_mm256_shufflelo_epi16(pixels, _MM_SHUFFLE(3, 3, 3, 3)), _MM_SHUFFLE(3, 3, 3, 3));
}

AVX2_ONLY __m256i scaled8(__m256i pixels, __m256i scale16) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(times16x2(_mm256_unpacklo_epi8(pixels, zero), scale16),
                               times16x2(_mm256_unpackhi_epi8(pixels, zero), scale16));
}

AVX2_ONLY bool allZero8(__m256i pixels) { return _mm256_testz_si256(pixels, pixels); }

AVX2_ONLY bool allOpaque8(__m256i pixels) {
    const __m256i alphas = _mm256_set1_epi32(static_cast<int>(0xFF000000u));
    return _mm256_testc_si256(pixels, alphas);  // every alpha bit set
}

AVX2_ONLY __m256i kept8(__m256i frame, __m256i keepLow, __m256i keepHigh) {
    const __m256i zero = _mm256_setzero_si256();
    return _mm256_packus_epi16(times16x2(_mm256_unpacklo_epi8(frame, zero), keepLow),
                               times16x2(_mm256_unpackhi_epi8(frame, zero), keepHigh));
}

AVX2_ONLY __m256i scale16x2Of(ChannelScale scale) {
    return _mm256_unpacklo_epi8(_mm256_set1_epi32(static_cast<int>(scale)), _mm256_setzero_si256());
}

AVX2_ONLY __m256i over8(__m256i frame, __m256i source) {
    if (allOpaque8(source)) return source;
    const __m256i zero = _mm256_setzero_si256(), all = _mm256_set1_epi16(0xFF);
    const __m256i keepLow = _mm256_xor_si256(alphasOf16x2(_mm256_unpacklo_epi8(source, zero)), all);
    const __m256i keepHigh = _mm256_xor_si256(alphasOf16x2(_mm256_unpackhi_epi8(source, zero)), all);
    return _mm256_adds_epu8(source, kept8(frame, keepLow, keepHigh));
}

AVX2_ONLY __m256i add8(__m256i frame, __m256i source) { return _mm256_adds_epu8(frame, source); }

// Each returns how many pixels it blended, a multiple of eight.
template <__m256i (*combine)(__m256i, __m256i)>
__attribute__((target("avx2"))) int eightAtATime(uint32_t* frame, const uint32_t* source, int count,
                                                 ChannelScale scale) {
    const __m256i scale16 = scale16x2Of(scale);
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        __m256i s = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(source + i));
        if (scale != Unscaled) s = scaled8(s, scale16);
        if (allZero8(s)) continue;  // clear pixels change nothing either way
        auto* into = reinterpret_cast<__m256i*>(frame + i);
        _mm256_storeu_si256(into, combine(_mm256_loadu_si256(into), s));
    }
    return i;
}

__attribute__((target("avx2"))) int shadowEightAtATime(uint32_t* frame, const uint8_t* alphas, int count, int alpha) {
    const __m256i all = _mm256_set1_epi16(0xFF), alpha16 = _mm256_set1_epi16(static_cast<int16_t>(alpha));
    const __m256i alphaLanes = _mm256_set1_epi64x(static_cast<int64_t>(0xFFFF000000000000u));
    int i = 0;
    for (; i + 8 <= count; i += 8) {
        int64_t eight;
        std::memcpy(&eight, alphas + i, 8);
        if (eight == 0) continue;
        // Each alpha byte in all four lanes of its pixel, times the shadow's alpha.
        const __m256i bytes = _mm256_cvtepu8_epi32(_mm_cvtsi64_si128(eight));
        const __m256i pairs = _mm256_or_si256(bytes, _mm256_slli_epi32(bytes, 16));
        const __m256i low = times16x2(_mm256_unpacklo_epi32(pairs, pairs), alpha16);
        const __m256i high = times16x2(_mm256_unpackhi_epi32(pairs, pairs), alpha16);
        auto* into = reinterpret_cast<__m256i*>(frame + i);
        const __m256i kept = kept8(_mm256_loadu_si256(into), _mm256_xor_si256(low, all), _mm256_xor_si256(high, all));
        const __m256i black =
            _mm256_packus_epi16(_mm256_and_si256(low, alphaLanes), _mm256_and_si256(high, alphaLanes));
        _mm256_storeu_si256(into, _mm256_adds_epu8(kept, black));
    }
    return i;
}

const bool HasAvx2 = __builtin_cpu_supports("avx2");
#endif

}  // namespace

ChannelScale tintScale(int red, int green, int blue, int alpha) {
    auto part = [alpha](int colour) { return static_cast<uint32_t>(colour * alpha / 255); };
    return static_cast<uint32_t>(alpha) << 24 | part(red) << 16 | part(green) << 8 | part(blue);
}

namespace {

inline uint32_t scaledBy(uint32_t pixel, ChannelScale scale) {
    return scale == Unscaled ? pixel : scaled(pixel, scale);
}

template <int (*eightAtATime)(uint32_t*, const uint32_t*, int, ChannelScale), __m128i (*combine4)(__m128i, __m128i),
          uint32_t (*combine)(uint32_t, uint32_t)>
void blendRow(uint32_t* frame, const uint32_t* source, int count, ChannelScale scale) {
    int i = 0;
#if defined(CW_ROW_BLENDS_AVX2)
    if (HasAvx2) i = eightAtATime(frame, source, count, scale);
#endif
#if defined(__SSE2__)
    const __m128i scale16 = scale16Of(scale);
    for (; i + 4 <= count; i += 4) {
        __m128i s = _mm_loadu_si128(reinterpret_cast<const __m128i*>(source + i));
        if (scale != Unscaled) s = scaled4(s, scale16);
        if (allZero(s)) continue;
        auto* into = reinterpret_cast<__m128i*>(frame + i);
        _mm_storeu_si128(into, combine4(_mm_loadu_si128(into), s));
    }
#endif
    for (; i < count; ++i) frame[i] = combine(frame[i], scaledBy(source[i], scale));
}

}  // namespace

void blendRowOver(uint32_t* frame, const uint32_t* source, int count, ChannelScale scale) {
    blendRow<eightAtATime<over8>, over4, over>(frame, source, count, scale);
}

void blendRowAdd(uint32_t* frame, const uint32_t* source, int count, ChannelScale scale) {
    blendRow<eightAtATime<add8>, add4, added>(frame, source, count, scale);
}

void blendRowShadow(uint32_t* frame, const uint8_t* alphas, int count, int alpha) {
    int i = 0;
#if defined(CW_ROW_BLENDS_AVX2)
    if (HasAvx2) i = shadowEightAtATime(frame, alphas, count, alpha);
#endif
#if defined(__SSE2__)
    const __m128i zero = _mm_setzero_si128(), all = _mm_set1_epi16(0xFF);
    const __m128i alpha16 = _mm_set1_epi16(static_cast<int16_t>(alpha));
    const __m128i alphaLanes = _mm_set_epi16(-1, 0, 0, 0, -1, 0, 0, 0);
    for (; i + 4 <= count; i += 4) {
        int32_t four;
        std::memcpy(&four, alphas + i, 4);
        if (four == 0) continue;
        // Each alpha byte in all four lanes of its pixel, times the shadow's alpha.
        const __m128i pairs = _mm_unpacklo_epi16(_mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero),
                                                 _mm_unpacklo_epi8(_mm_cvtsi32_si128(four), zero));
        const __m128i low = times16(_mm_unpacklo_epi32(pairs, pairs), alpha16);
        const __m128i high = times16(_mm_unpackhi_epi32(pairs, pairs), alpha16);
        auto* into = reinterpret_cast<__m128i*>(frame + i);
        const __m128i kept = kept4(_mm_loadu_si128(into), _mm_xor_si128(low, all), _mm_xor_si128(high, all));
        // The black source brings only its alpha.
        const __m128i black = _mm_packus_epi16(_mm_and_si128(low, alphaLanes), _mm_and_si128(high, alphaLanes));
        _mm_storeu_si128(into, _mm_adds_epu8(kept, black));
    }
#endif
    for (; i < count; ++i) frame[i] = over(frame[i], times(alphas[i], static_cast<uint32_t>(alpha)) << 24);
}
