#include "renderer/draw/SpanRows.h"

#include "renderer/draw/SectorLight.h"
#include "renderer/level/PngLoader.h"

#include <algorithm>

namespace {

constexpr std::uint32_t textureMask = 63;
constexpr std::uint32_t rowMask = textureMask << 6;

using FlatRows = void (*)(const std::int32_t*, std::int32_t, const PackedPixel*, FlatRowStep,
                          PackedPixel*, std::int32_t);

using ShadedFlatRows = void (*)(const std::int32_t*, FlatRowLight, std::int32_t, const PackedPixel*,
                                FlatRowStep, PackedPixel*, std::int32_t);

// Chosen once, before main, from what the processor offers.
const FlatRows flatRows = wideRowsAvailable() ? drawFlatRowsWide : drawFlatRowsPlain;
const ShadedFlatRows shadedFlatRows =
    wideRowsAvailable() ? drawFlatRowsShadedWide : drawFlatRowsShadedPlain;
const auto texelShades = wideRowsAvailable() ? shadeTexelsWide : shadeTexelsPlain;
const auto thingRows = wideRowsAvailable() ? drawThingRowsWide : drawThingRowsPlain;

constexpr std::uint32_t thingRowBits = 16;
// A shaded piece shades its texels together first (shadeTexels), unless its rows
// skip over more than this many a row.
constexpr std::int32_t preShadedTexelsPerRow = 4;
const std::int32_t shadedTogether = wideRowsAvailable() ? 8 : 1;

template <bool shaded, bool solid>
void thingRowsOneByOne(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                       std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    std::uint32_t v = step.vfix;
    for (PackedPixel* const end = out + count * stride; out != end; out += stride, v += step.step) {
        const PackedPixel texel = column[v >> thingRowBits];
        if (solid || texel > 0x00FFFFFFu) {
            *out = shaded ? shadePixel(texel, keep) : texel;
        }
    }
}

} // namespace

void drawFlatRows(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                  FlatRowStep step, PackedPixel* out, std::int32_t stride) {
    flatRows(depths, count, texels, step, out, stride);
}

void drawFlatRowsShaded(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                        const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                        std::int32_t stride) {
    shadedFlatRows(depths, light, count, texels, step, out, stride);
}

void shadeTexels(const PackedPixel* in, std::int32_t count, std::uint32_t keep, PackedPixel* out) {
    texelShades(in, count, keep, out);
}

void drawThingRows(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                   std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    thingRows(count, column, step, keep, out, stride);
}

// A shaded piece shades the texels its rows reach once (a few more, to whole
// groups where they are shaded eight at once), unless its rows skip over most of
// them.
void drawThingRowsPlain(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                        std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    PackedPixel shaded[maxTextureSide];
    if (keep != keepAll) {
        const std::uint32_t first = step.vfix >> thingRowBits;
        const std::uint32_t last =
            (step.vfix + static_cast<std::uint32_t>(count - 1) * step.step) >> thingRowBits;
        const auto texels = static_cast<std::int32_t>(last - first + 1);
        if (texels > preShadedTexelsPerRow * count) {
            step.solid ? thingRowsOneByOne<true, true>(count, column, step, keep, out, stride)
                       : thingRowsOneByOne<true, false>(count, column, step, keep, out, stride);
            return;
        }
        const auto height = static_cast<std::int32_t>(step.rows);
        const std::int32_t padded =
            std::min(height, (texels + shadedTogether - 1) / shadedTogether * shadedTogether);
        const std::int32_t from = std::min(static_cast<std::int32_t>(first), height - padded);
        shadeTexels(column + from, padded, keep, shaded);
        column = shaded;
        step.vfix -= static_cast<std::uint32_t>(from) << thingRowBits;
    }
    step.solid ? thingRowsOneByOne<false, true>(count, column, step, keepAll, out, stride)
               : thingRowsOneByOne<false, false>(count, column, step, keepAll, out, stride);
}

void shadeTexelsPlain(const PackedPixel* in, std::int32_t count, std::uint32_t keep,
                      PackedPixel* out) {
    for (std::int32_t i = 0; i < count; ++i) {
        out[i] = shadePixel(in[i], keep);
    }
}

void drawFlatRowsPlain(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                       FlatRowStep step, PackedPixel* out, std::int32_t stride) {
    const std::uint32_t rowShift = step.shift - 6;
    for (std::int32_t i = 0; i < count; ++i, out += stride) {
        const std::uint32_t t = static_cast<std::uint32_t>(depths[i]);
        const std::uint32_t wx = t * step.dx + step.ox;
        const std::uint32_t wy = t * step.dy + step.oy;
        *out = texels[((wy >> rowShift) & rowMask) | ((wx >> step.shift) & textureMask)];
    }
}

namespace {

bool powerOfTwo(std::uint32_t value) {
    return (value & (value - 1)) == 0;
}

// One add, shift and mask a row: eight lanes would only add the cost of spreading
// them down the column. A height of another kind takes a compare and a subtract
// instead of the mask. Each texel goes out through light.
// A height of two to a power, with the fraction bits known when compiled: a
// shift by a number held in a register would tie up the one register x86 shifts
// by, and cost two moves a row.
template <std::uint32_t shift, typename Light>
void maskedWallRows(std::int32_t count, const PackedPixel* column, WallRowStep step,
                    PackedPixel* out, std::int32_t stride, Light light) {
    std::uint32_t v = step.vfix;
    const std::uint32_t mask = step.rows - 1;
#pragma GCC unroll 4
    for (std::int32_t i = 0; i < count; ++i, out += stride, v += step.step) {
        *out = light(column[(v >> shift) & mask]);
    }
}

template <typename Light>
void wallRows(std::int32_t count, const PackedPixel* column, WallRowStep step, PackedPixel* out,
              std::int32_t stride, Light light) {
    std::uint32_t v = step.vfix;
    const std::uint32_t shift = step.shift;
    if (powerOfTwo(step.rows)) {
        // The fraction bits of every frame size (16 at 320 wide, one more for each
        // doubling of the width).
        switch (shift) {
        case 16:
            return maskedWallRows<16>(count, column, step, out, stride, light);
        case 17:
            return maskedWallRows<17>(count, column, step, out, stride, light);
        case 18:
            return maskedWallRows<18>(count, column, step, out, stride, light);
        case 19:
            return maskedWallRows<19>(count, column, step, out, stride, light);
        case 20:
            return maskedWallRows<20>(count, column, step, out, stride, light);
        default:
            break;
        }
        const std::uint32_t mask = step.rows - 1;
#pragma GCC unroll 4
        for (std::int32_t i = 0; i < count; ++i, out += stride, v += step.step) {
            *out = light(column[(v >> shift) & mask]);
        }
        return;
    }
    const std::uint32_t repeat = step.rows << shift;
    for (std::int32_t i = 0; i < count; ++i, out += stride) {
        *out = light(column[v >> shift]);
        v += step.step;
        v -= v >= repeat ? repeat : 0;
    }
}

} // namespace

WallRowStep wallRowStep(std::int64_t start, std::uint32_t step, std::uint32_t shift,
                        std::uint32_t rows) {
    if (powerOfTwo(rows)) {
        // The repeat divides 2^32, so the wrapped bits are the true ones.
        return {static_cast<std::uint32_t>(start), step, shift, rows};
    }
    // Below 1024 << 20 = 2^30, so v + step never wraps.
    const std::int64_t repeat = std::int64_t{rows} << shift;
    const std::int64_t first = ((start % repeat) + repeat) % repeat;
    return {static_cast<std::uint32_t>(first), static_cast<std::uint32_t>(step % repeat), shift,
            rows};
}

void drawWallRows(std::int32_t count, const PackedPixel* column, WallRowStep step, PackedPixel* out,
                  std::int32_t stride) {
    wallRows(count, column, step, out, stride, [](PackedPixel texel) { return texel; });
}

void drawFlatRowsShadedPlain(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                             const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                             std::int32_t stride) {
    const std::uint32_t rowShift = step.shift - 6;
    for (std::int32_t i = 0; i < count; ++i, out += stride) {
        const std::uint32_t t = static_cast<std::uint32_t>(depths[i]);
        const std::uint32_t wx = t * step.dx + step.ox;
        const std::uint32_t wy = t * step.dy + step.oy;
        const auto shade = static_cast<std::uint32_t>(shadeOf(light.dark, light.lifts[i]));
        *out =
            texels[shade << 12 | ((wy >> rowShift) & rowMask) | ((wx >> step.shift) & textureMask)];
    }
}

void drawWallRowsShaded(std::int32_t count, const PackedPixel* column, WallRowStep step,
                        std::uint32_t keep, PackedPixel* out, std::int32_t stride) {
    wallRows(count, column, step, out, stride,
             [keep](PackedPixel texel) { return shadePixel(texel, keep); });
}
