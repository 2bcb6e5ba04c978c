#pragma once

#include "renderer/draw/ScreenSize.h"
#include "renderer/level/Pixel.h"

#include <cstdint>

// The inner loops of the column drawing: texels written down one column of the
// framebuffer, rows stride pixels apart. All arithmetic is unsigned 32-bit and
// wraps; only the bits the texel address needs are read, and those come out as a
// wider computation would give them.

// A floor or ceiling: for each row, t = its cached depth, and the texel is
// ((t x dy + oy) bits shift to shift + 5) x 64 + ((t x dx + ox) bits shift to
// shift + 5) of the row-major texture. The shift is 16 for the animation's frames
// and grows with the fraction bits of wider ones.
struct FlatRowStep {
    std::uint32_t dx;
    std::uint32_t dy;
    std::uint32_t ox;
    std::uint32_t oy;
    std::uint32_t shift = 16;
};

// A wall piece: texel (v >> shift) of one image column of rows texels, taken
// round the column's height, with v starting at vfix and growing by step each
// row. For a height of a power of two v wraps freely and only its low bits are
// read; for any other v and step stay below rows << shift (wallRowStep).
struct WallRowStep {
    std::uint32_t vfix;
    std::uint32_t step;
    std::uint32_t shift = 16;
    std::uint32_t rows = 64;
};

// The rows of a piece whose first row has texel row start (fixed point, shift
// fraction bits, any sign) and steps by step, for a column of rows texels.
WallRowStep wallRowStep(std::int64_t start, std::uint32_t step, std::uint32_t shift,
                        std::uint32_t rows);

void drawFlatRows(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                  FlatRowStep step, PackedPixel* out, std::int32_t stride = screenWidth);
void drawWallRows(std::int32_t count, const PackedPixel* column, WallRowStep step, PackedPixel* out,
                  std::int32_t stride = screenWidth);

// The same rows in a sector's light. A flat row i gets the shade s = clamp(dark -
// lifts[i], 0, 31) (lifts: the rows' flatLift, from the same place as depths): its
// texels are read from the flat's shades (fillShades), s x 4096 on; a wall piece
// keeps keep / 32 of every texel's channels (shadePixel).
struct FlatRowLight {
    const std::uint8_t* lifts;
    std::int32_t dark;
};
void drawFlatRowsShaded(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                        const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                        std::int32_t stride = screenWidth);
void drawWallRowsShaded(std::int32_t count, const PackedPixel* column, WallRowStep step,
                        std::uint32_t keep, PackedPixel* out, std::int32_t stride = screenWidth);

// A thing's piece: row i shows texel (vfix + i x step) >> 16 of its image column
// of rows texels, which the rows never pass. A texel of alpha 0 leaves its pixel,
// unless the piece is solid (has none); every texel keeps keep / 32 of its
// channels (shadePixel).
struct ThingRowStep {
    std::uint32_t vfix;
    std::uint32_t step;
    std::uint32_t rows;
    bool solid;
};
void drawThingRows(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                   std::uint32_t keep, PackedPixel* out, std::int32_t stride);

// out[i] = shadePixel(in[i], keep) for count texels: a wall piece taller than its
// image column shades the column once instead of every row.
void shadeTexels(const PackedPixel* in, std::int32_t count, std::uint32_t keep, PackedPixel* out);

// The two ways the flat and thing loops are done: one row at a time on any
// processor, and eight at once where the processor has AVX2 (the one drawFlatRows
// and drawThingRows use when it is present). Exposed so they can be checked against each other.
bool wideRowsAvailable();
void drawFlatRowsPlain(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                       FlatRowStep step, PackedPixel* out, std::int32_t stride = screenWidth);
void drawFlatRowsWide(const std::int32_t* depths, std::int32_t count, const PackedPixel* texels,
                      FlatRowStep step, PackedPixel* out, std::int32_t stride = screenWidth);
void drawFlatRowsShadedPlain(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                             const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                             std::int32_t stride = screenWidth);
void drawFlatRowsShadedWide(const std::int32_t* depths, FlatRowLight light, std::int32_t count,
                            const PackedPixel* texels, FlatRowStep step, PackedPixel* out,
                            std::int32_t stride = screenWidth);
void shadeTexelsPlain(const PackedPixel* in, std::int32_t count, std::uint32_t keep,
                      PackedPixel* out);
void shadeTexelsWide(const PackedPixel* in, std::int32_t count, std::uint32_t keep,
                     PackedPixel* out);
void drawThingRowsPlain(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                        std::uint32_t keep, PackedPixel* out, std::int32_t stride);
void drawThingRowsWide(std::int32_t count, const PackedPixel* column, ThingRowStep step,
                       std::uint32_t keep, PackedPixel* out, std::int32_t stride);
