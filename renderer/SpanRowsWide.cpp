// Built with -mavx2 where DUSKHALL_AVX2_ROWS is set; elsewhere the wide loops are
// the plain ones and wideRowsAvailable answers false.
#include "renderer/ScreenSize.h"
#include "renderer/SpanRows.h"

#if defined(DUSKHALL_AVX2_ROWS)

#include <immintrin.h>

namespace {

constexpr std::int32_t lanes = 8;

// Eight pixels down the column, one per row.
void storeDown(PackedPixel* out, __m256i pixels) {
    const __m128i low = _mm256_castsi256_si128(pixels);
    const __m128i high = _mm256_extracti128_si256(pixels, 1);
    out[0 * screenWidth] = static_cast<PackedPixel>(_mm_cvtsi128_si32(low));
    out[1 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(low, 1));
    out[2 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(low, 2));
    out[3 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(low, 3));
    out[4 * screenWidth] = static_cast<PackedPixel>(_mm_cvtsi128_si32(high));
    out[5 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(high, 1));
    out[6 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(high, 2));
    out[7 * screenWidth] = static_cast<PackedPixel>(_mm_extract_epi32(high, 3));
}

__m256i splat(std::uint32_t value) {
    return _mm256_set1_epi32(static_cast<int>(value));
}

} // namespace

bool wideRowsAvailable() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

void drawFlatRowsWide(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                      FlatRowStep step, PackedPixel* out) {
    const __m256i dx = splat(step.dx);
    const __m256i dy = splat(step.dy);
    const __m256i ox = splat(step.ox);
    const __m256i oy = splat(step.oy);
    const __m256i columnMask = splat(63);
    const __m256i rowMask = splat(63 << 6);
    const int* table = reinterpret_cast<const int*>(texels);
    std::int32_t i = 0;
    for (; i + lanes <= count; i += lanes, out += lanes * screenWidth) {
        const __m256i t = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(depths + i));
        const __m256i wx = _mm256_add_epi32(_mm256_mullo_epi32(t, dx), ox);
        const __m256i wy = _mm256_add_epi32(_mm256_mullo_epi32(t, dy), oy);
        const __m256i index =
            _mm256_or_si256(_mm256_and_si256(_mm256_srli_epi32(wy, 10), rowMask),
                            _mm256_and_si256(_mm256_srli_epi32(wx, 16), columnMask));
        storeDown(out, _mm256_i32gather_epi32(table, index, 4));
    }
    drawFlatRowsPlain(depths + i, count - i, texels, step, out);
}

void drawWallRowsWide(std::int32_t count, const PackedPixel* column, WallRowStep step,
                      PackedPixel* out) {
    const __m256i mask = splat(63);
    const __m256i advance = splat(step.step * lanes);
    __m256i v = _mm256_add_epi32(splat(step.vfix),
                                 _mm256_mullo_epi32(splat(step.step),
                                                    _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7)));
    const int* table = reinterpret_cast<const int*>(column);
    std::int32_t i = 0;
    for (; i + lanes <= count; i += lanes, out += lanes * screenWidth) {
        const __m256i index = _mm256_and_si256(_mm256_srli_epi32(v, 16), mask);
        storeDown(out, _mm256_i32gather_epi32(table, index, 4));
        v = _mm256_add_epi32(v, advance);
    }
    drawWallRowsPlain(count - i, column, {step.vfix + step.step * static_cast<std::uint32_t>(i), step.step},
                      out);
}

#else

bool wideRowsAvailable() {
    return false;
}

void drawFlatRowsWide(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                      FlatRowStep step, PackedPixel* out) {
    drawFlatRowsPlain(depths, count, texels, step, out);
}

void drawWallRowsWide(std::int32_t count, const PackedPixel* column, WallRowStep step,
                      PackedPixel* out) {
    drawWallRowsPlain(count, column, step, out);
}

#endif
