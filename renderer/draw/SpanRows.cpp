#include "renderer/draw/SpanRows.h"

#include "renderer/draw/SectorLight.h"

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

// One add, shift and mask a row: eight lanes would only add the cost of spreading
// them down the column.
void drawWallRows(std::int32_t count, const PackedPixel* column, WallRowStep step, PackedPixel* out,
                  std::int32_t stride) {
    std::uint32_t v = step.vfix;
    const std::uint32_t shift = step.shift;
#pragma GCC unroll 4
    for (std::int32_t i = 0; i < count; ++i, out += stride, v += step.step) {
        *out = column[(v >> shift) & textureMask];
    }
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
    std::uint32_t v = step.vfix;
    const std::uint32_t shift = step.shift;
#pragma GCC unroll 4
    for (std::int32_t i = 0; i < count; ++i, out += stride, v += step.step) {
        *out = shadePixel(column[(v >> shift) & textureMask], keep);
    }
}
