#include "renderer/draw/ColumnThings.h"

#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/draw/SpanRows.h"
#include "renderer/level/PngLoader.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr float vOne = 65536.0f; // texel rows in 16.16 fixed point
constexpr std::uint32_t vBits = 16;

// The rows of one thing's piece: each row's texel lies inside the image (the piece
// ends at the column's last opaque texel), so only alpha is tested. A piece is a
// few rows of few texels: each is shaded as it is drawn.
template <bool shaded> void drawThingRows(const MiddlePiece& piece) {
    std::uint32_t v = piece.vfix;
    PackedPixel* out = piece.out;
    for (std::int32_t i = 0; i < piece.count; ++i, out += piece.stride, v += piece.step) {
        const PackedPixel texel = piece.column[v >> vBits];
        if ((texel >> 24) != 0) {
            *out = shaded ? shadePixel(texel, piece.keep) : texel;
        }
    }
}

// A shaded piece of many rows to its texels shades those texels once first.
void drawShadedThingRows(MiddlePiece piece) {
    const std::uint32_t first = piece.vfix >> vBits;
    const std::uint32_t last =
        (piece.vfix + static_cast<std::uint32_t>(piece.count - 1) * piece.step) >> vBits;
    const auto texels = static_cast<std::int32_t>(last - first + 1);
    if (piece.count < 2 * texels) {
        drawThingRows<true>(piece);
        return;
    }
    PackedPixel shaded[maxTextureSide];
    shadeTexels(piece.column + first, texels, piece.keep, shaded);
    piece.column = shaded;
    piece.vfix -= first << vBits;
    drawThingRows<false>(piece);
}

// The first i >= 0 at which v + i x step reaches limit. Every value stays below
// 2^27 (1024 texel rows of 16 fraction bits, the step at most the image's height),
// so 32 bits hold them.
std::uint32_t rowsBefore(std::uint32_t v, std::uint32_t step, std::uint32_t limit) {
    return v >= limit ? 0 : (limit - v + step - 1) / step;
}

// The piece of one thing's picture in column x, inside rows [top, bottom): the
// rows of its image column from the first opaque texel to the last.
bool thingPiece(const ProjectedThing& thing, const ColumnState& state, std::int32_t x,
                std::int32_t top, std::int32_t bottom, MiddlePiece& piece) {
    const Texture& image = *thing.image;
    const float across = (static_cast<float>(x) - thing.leftColumn) * thing.texelsPerColumn;
    std::int32_t u = std::clamp(static_cast<std::int32_t>(std::floor(across)), 0, image.width - 1);
    u = thing.mirrored ? image.width - 1 - u : u;
    const std::uint32_t firstOpaque = thing.opaqueRows[2 * u];
    const std::uint32_t endOpaque = thing.opaqueRows[2 * u + 1];
    if (firstOpaque >= endOpaque) {
        return false;
    }
    // Rows far outside the frame are clamped before they become whole numbers.
    const std::int32_t firstRow =
        static_cast<std::int32_t>(std::clamp(std::ceil(thing.topRow), -65536.0f, 65536.0f));
    std::int32_t start = std::max(top, firstRow);
    if (start >= bottom) {
        return false;
    }
    const float step = std::min(thing.texelsPerRow, static_cast<float>(image.height));
    const float v = (static_cast<float>(start) - thing.topRow) * thing.texelsPerRow;
    if (!(v < static_cast<float>(image.height))) {
        return false; // the picture ends above the window
    }
    const auto vfix = static_cast<std::uint32_t>(roundToInt(std::max(v, 0.0f) * vOne));
    const auto stepFix = static_cast<std::uint32_t>(std::max(1, roundToInt(step * vOne)));
    // Where the rows' texels reach the opaque ones and pass them, worked out from
    // the same whole numbers the drawing steps through.
    const std::uint32_t skip = rowsBefore(vfix, stepFix, firstOpaque << vBits);
    const std::uint32_t rows = rowsBefore(vfix, stepFix, endOpaque << vBits);
    const std::int32_t end =
        static_cast<std::int32_t>(std::min<std::int64_t>(bottom, std::int64_t{start} + rows));
    start = static_cast<std::int32_t>(std::min<std::int64_t>(end, std::int64_t{start} + skip));
    if (start >= end) {
        return false;
    }
    piece = {image.pixels + u * image.height,
             static_cast<std::uint32_t>(image.height),
             state.pixels + start * state.stride,
             state.stride,
             end - start,
             vfix + skip * stepFix,
             stepFix,
             vBits,
             thing.keep};
    return true;
}

} // namespace

void drawColumnThings(const FrameThings& things, const ColumnState& state, std::int32_t column,
                      const ColumnCrossings& crossings, const ColumnMiddles& middles) {
    std::int32_t undrawn = middles.count; // middles [0, undrawn) wait for nearer things
    std::int32_t nearer = crossings.count;
    const std::int32_t* list = nullptr;
    std::int32_t listCount = 0;
    things.forColumn(column, list, listCount);
    for (std::int32_t i = 0; i < listCount; ++i) {
        const ProjectedThing& thing =
            things.entries[static_cast<std::size_t>(list != nullptr ? list[i] : i)];
        if (column < thing.firstColumn || column >= thing.endColumn) {
            continue;
        }
        // Far to near, so the walls nearer than the thing only ever get fewer.
        while (nearer > 0 && !(crossings.list[nearer - 1].depth < thing.depth)) {
            --nearer;
        }
        const ColumnCrossing open = nearer > 0
                                        ? crossings.list[nearer - 1]
                                        : ColumnCrossing{0.0f, crossings.top, crossings.bottom, 0};
        middles.draw(open.middles, undrawn);
        undrawn = std::min(undrawn, open.middles);
        MiddlePiece piece;
        if (open.top < open.bottom &&
            thingPiece(thing, state, column, open.top, open.bottom, piece)) {
            if (piece.keep == keepAll) {
                drawThingRows<false>(piece);
            } else {
                drawShadedThingRows(piece);
            }
        }
    }
    middles.draw(0, undrawn);
}
