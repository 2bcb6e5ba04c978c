// Built with -mavx2 where DUSKHALL_AVX2_ROWS is set; elsewhere the wide loops are
// the plain ones and wideRowsAvailable answers false.
#include "renderer/draw/SpanRows.h"

#include "renderer/draw/SectorLight.h"

#if defined(DUSKHALL_AVX2_ROWS)

#include <algorithm>
#include <immintrin.h>

namespace {

constexpr std::int32_t lanes = 8;

__m256i splat(std::uint32_t value) {
    return _mm256_set1_epi32(static_cast<int>(value));
}

// Eight pixels each kept keep / 32 (lanes of 1 to 32) as shadePixel keeps one: red
// with blue and green with alpha as 16-bit pairs, alpha's keep 32, which leaves it.
__m256i shadeLanes(__m256i c, __m256i keep) {
    const __m256i pairMask = splat(0x00FF00FFu);
    const __m256i half = splat(0x00100010u);
    const __m256i keepPair = _mm256_or_si256(keep, _mm256_slli_epi32(keep, 16));
    const __m256i keepGreen = _mm256_or_si256(keep, splat(32u << 16));
    const __m256i redBlue = _mm256_srli_epi16(
        _mm256_add_epi16(_mm256_mullo_epi16(_mm256_and_si256(c, pairMask), keepPair), half), 5);
    const __m256i greenAlpha = _mm256_srli_epi16(
        _mm256_add_epi16(
            _mm256_mullo_epi16(_mm256_and_si256(_mm256_srli_epi32(c, 8), pairMask), keepGreen),
            half),
        5);
    return _mm256_or_si256(redBlue, _mm256_slli_epi32(greenAlpha, 8));
}

// A thing's rows eight at a time: their texels' rows worked out together, the
// texels read one by one (quicker than a gather here too) and shaded together,
// then written: at once where the rows follow one another in memory (the clear
// ones masked out), else one by one. The last group ends on the last row, writing
// again rows already written with the same texels.
template <bool shaded, bool solid, bool contiguous>
void thingRowsWide(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                   std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    const __m256i laneSteps =
        _mm256_mullo_epi32(_mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7), splat(step.step));
    const __m256i keepLanes = splat(keep);
    alignas(32) std::uint32_t index[lanes];
    alignas(32) PackedPixel texel[lanes];
    for (std::int32_t i = 0; i < count;) {
        i = std::min(i, count - lanes);
        const __m256i v = _mm256_add_epi32(
            splat(step.vfix + static_cast<std::uint32_t>(i) * step.step), laneSteps);
        _mm256_store_si256(reinterpret_cast<__m256i*>(index), _mm256_srli_epi32(v, 16));
        PackedPixel* row = out + i * stride;
        if (shaded || contiguous) {
            __m256i read = _mm256_setr_epi32(
                static_cast<int>(column[index[0]]), static_cast<int>(column[index[1]]),
                static_cast<int>(column[index[2]]), static_cast<int>(column[index[3]]),
                static_cast<int>(column[index[4]]), static_cast<int>(column[index[5]]),
                static_cast<int>(column[index[6]]), static_cast<int>(column[index[7]]));
            if (shaded) {
                read = shadeLanes(read, keepLanes);
            }
            if (contiguous) {
                auto* to = reinterpret_cast<__m256i*>(row);
                if (solid) {
                    _mm256_storeu_si256(to, read);
                } else {
                    const __m256i clear =
                        _mm256_cmpeq_epi32(_mm256_srli_epi32(read, 24), _mm256_setzero_si256());
                    _mm256_maskstore_epi32(reinterpret_cast<int*>(to),
                                           _mm256_xor_si256(clear, splat(~0u)), read);
                }
                i += lanes;
                continue;
            }
            _mm256_store_si256(reinterpret_cast<__m256i*>(texel), read);
        }
#pragma GCC unroll 8
        for (std::int32_t lane = 0; lane < lanes; ++lane) {
            const PackedPixel t = shaded ? texel[lane] : column[index[lane]];
            if (solid || t > 0x00FFFFFFu) {
                row[lane * stride] = t;
            }
        }
        i += lanes;
    }
}

template <bool shaded, bool solid>
void thingRowsWide(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                   std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    stride == 1 ? thingRowsWide<shaded, solid, true>(count, column, step, keep, out, stride)
                : thingRowsWide<shaded, solid, false>(count, column, step, keep, out, stride);
}

} // namespace

bool wideRowsAvailable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

void drawFlatRowsWide(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                      FlatRowStep step, PackedPixel* out, std::int32_t stride) {
    if (count < lanes) {
        drawFlatRowsPlain(depths, count, texels, step, out, stride);
        return;
    }
    const __m128i columnShift = _mm_cvtsi32_si128(static_cast<int>(step.shift));
    const __m128i rowShift = _mm_cvtsi32_si128(static_cast<int>(step.shift - 6));
    const __m256i dx = splat(step.dx);
    const __m256i dy = splat(step.dy);
    const __m256i ox = splat(step.ox);
    const __m256i oy = splat(step.oy);
    const __m256i columnMask = splat(63);
    const __m256i rowMask = splat(63 << 6);
    // The texel addresses are worked out eight at a time; the texels are then read
    // one by one, which is quicker than a gather on the processors measured.
    alignas(32) std::uint32_t index[lanes];
    for (std::int32_t i = 0; i < count;) {
        // The last group ends on the last row, overlapping rows already written
        // with the same texels, so no row is left to a slower loop.
        i = std::min(i, count - lanes);
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depths + i));
        const __m256i wx = _mm256_add_epi32(_mm256_mullo_epi32(t, dx), ox);
        const __m256i wy = _mm256_add_epi32(_mm256_mullo_epi32(t, dy), oy);
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(index),
            _mm256_or_si256(_mm256_and_si256(_mm256_srl_epi32(wy, rowShift), rowMask),
                            _mm256_and_si256(_mm256_srl_epi32(wx, columnShift), columnMask)));
        PackedPixel* row = out + i * stride;
        // Unrolled, each lane is one index read, one texel read and one store.
#pragma GCC unroll 8
        for (std::int32_t lane = 0; lane < lanes; ++lane) {
            row[lane * stride] = texels[index[lane]];
        }
        i += lanes;
    }
}

// The unshaded loop with each row's shade, from its lift, put above the texel's
// index: the texels are read from that shade's copy of the flat.
void drawFlatRowsShadedWide(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                            const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                            std::int32_t stride) {
    if (count < lanes) {
        drawFlatRowsShadedPlain(depths, light, count, texels, step, out, stride);
        return;
    }
    const __m128i columnShift = _mm_cvtsi32_si128(static_cast<int>(step.shift));
    const __m128i rowShift = _mm_cvtsi32_si128(static_cast<int>(step.shift - 6));
    const __m256i dx = splat(step.dx);
    const __m256i dy = splat(step.dy);
    const __m256i ox = splat(step.ox);
    const __m256i oy = splat(step.oy);
    const __m256i columnMask = splat(63);
    const __m256i rowMask = splat(63 << 6);
    const __m256i dark = splat(static_cast<std::uint32_t>(light.dark));
    const __m256i zero = _mm256_setzero_si256();
    const __m256i darkest = splat(31);
    alignas(32) std::uint32_t index[lanes];
    for (std::int32_t i = 0; i < count;) {
        i = std::min(i, count - lanes);
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depths + i));
        const __m256i wx = _mm256_add_epi32(_mm256_mullo_epi32(t, dx), ox);
        const __m256i wy = _mm256_add_epi32(_mm256_mullo_epi32(t, dy), oy);
        const __m256i lift = _mm256_cvtepu8_epi32(
            _mm_loadl_epi64(reinterpret_cast<const __m128i*>(light.lifts + i)));
        const __m256i shade =
            _mm256_min_epi32(_mm256_max_epi32(_mm256_sub_epi32(dark, lift), zero), darkest);
        _mm256_store_si256(
            reinterpret_cast<__m256i*>(index),
            _mm256_or_si256(
                _mm256_slli_epi32(shade, 12),
                _mm256_or_si256(_mm256_and_si256(_mm256_srl_epi32(wy, rowShift), rowMask),
                                _mm256_and_si256(_mm256_srl_epi32(wx, columnShift), columnMask))));
        PackedPixel* row = out + i * stride;
#pragma GCC unroll 8
        for (std::int32_t lane = 0; lane < lanes; ++lane) {
            row[lane * stride] = texels[index[lane]];
        }
        i += lanes;
    }
}

void drawThingRowsWide(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                       std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    if (count < lanes) {
        drawThingRowsPlain(count, column, step, keep, out, stride);
    } else if (keep == keepAll) {
        step.solid ? thingRowsWide<false, true>(count, column, step, keep, out, stride)
                   : thingRowsWide<false, false>(count, column, step, keep, out, stride);
    } else {
        step.solid ? thingRowsWide<true, true>(count, column, step, keep, out, stride)
                   : thingRowsWide<true, false>(count, column, step, keep, out, stride);
    }
}

void shadeTexelsWide(const PackedPixel* in, std::int32_t count, std::uint32_t keep,
                     PackedPixel* out) {
    const __m256i keepLanes = splat(keep);
    std::int32_t i = 0;
    for (; i + lanes <= count; i += lanes) {
        const __m256i c = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(in + i));
        _mm256_storeu_si256(reinterpret_cast<__m256i*>(out + i), shadeLanes(c, keepLanes));
    }
    shadeTexelsPlain(in + i, count - i, keep, out + i);
}

#else

bool wideRowsAvailable() {
    return false;
}

void drawFlatRowsWide(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                      FlatRowStep step, PackedPixel* out, std::int32_t stride) {
    drawFlatRowsPlain(depths, count, texels, step, out, stride);
}

void drawFlatRowsShadedWide(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                            const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                            std::int32_t stride) {
    drawFlatRowsShadedPlain(depths, light, count, texels, step, out, stride);
}

void shadeTexelsWide(const PackedPixel* in, std::int32_t count, std::uint32_t keep,
                     PackedPixel* out) {
    shadeTexelsPlain(in, count, keep, out);
}

void drawThingRowsWide(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                       std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    drawThingRowsPlain(count, column, step, keep, out, stride);
}

#endif
