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
// Shading texels together, eight at once, costs a fraction of shading them one row
// at a time.
const std::int32_t shadedTogether = wideRowsAvailable() ? 8 : 1;
const std::int32_t preShadedTexelsPerRow = wideRowsAvailable() ? 4 : 1;

// The rows of one thing's piece: each row's texel lies inside the image (the piece
// ends at the column's last opaque texel), so only alpha is tested, and not even
// that in a solid run.
template <bool shaded, bool solid> void drawThingRows(const MiddlePiece& piece) {
    // Copied out: a pixel written could otherwise be the piece's own fields.
    const PackedPixel* const column = piece.column;
    const std::int32_t stride = piece.stride;
    const std::uint32_t step = piece.step;
    const std::uint32_t keep = piece.keep;
    std::uint32_t v = piece.vfix;
    PackedPixel* out = piece.out;
    for (PackedPixel* const end = out + piece.count * stride; out != end;
         out += stride, v += step) {
        const PackedPixel texel = column[v >> vBits];
        if (solid || texel > 0x00FFFFFFu) {
            *out = shaded ? shadePixel(texel, keep) : texel;
        }
    }
}

template <bool solid> void drawPlainThingRows(const MiddlePiece& piece) {
    drawThingRows<false, solid>(piece);
}

// A shaded piece shades the texels its rows reach once first (a few more, to whole
// eights, where they are shaded eight at once), unless it skips over most of them.
template <bool solid> void drawShadedThingRows(MiddlePiece piece) {
    const std::uint32_t first = piece.vfix >> vBits;
    const std::uint32_t last =
        (piece.vfix + static_cast<std::uint32_t>(piece.count - 1) * piece.step) >> vBits;
    const auto texels = static_cast<std::int32_t>(last - first + 1);
    if (texels > preShadedTexelsPerRow * piece.count) {
        drawThingRows<true, solid>(piece);
        return;
    }
    const auto height = static_cast<std::int32_t>(piece.texelRows);
    const std::int32_t padded =
        std::min(height, (texels + shadedTogether - 1) / shadedTogether * shadedTogether);
    const std::int32_t from = std::min(static_cast<std::int32_t>(first), height - padded);
    PackedPixel shaded[maxTextureSide];
    shadeTexels(piece.column + from, padded, piece.keep, shaded);
    piece.column = shaded;
    piece.vfix -= static_cast<std::uint32_t>(from) << vBits;
    drawThingRows<false, solid>(piece);
}

// The first i >= 0 at which v + i x step reaches limit. Every value stays below
// 2^27 (1024 texel rows of 16 fraction bits, the step at most the image's height),
// so 32 bits hold them and the division is exact.
std::uint32_t rowsBefore(std::uint32_t v, const ProjectedThing& thing, std::uint32_t limit) {
    return v >= limit ? 0 : thing.perRowStep.divide(limit - v + thing.rowStep - 1);
}

// The rows [top, bottom) of a column that nearer solid pieces already cover; what
// is drawn there now is drawn over.
struct CoveredRows {
    std::int32_t top = 0;
    std::int32_t bottom = 0;

    // A solid piece's rows: joined when they meet, else the taller kept.
    void add(std::int32_t from, std::int32_t to) {
        if (top == bottom || (from <= bottom && to >= top)) {
            top = top == bottom ? from : std::min(top, from);
            bottom = std::max(bottom, to);
        } else if (to - from > bottom - top) {
            top = from;
            bottom = to;
        }
    }
};

// The piece of one thing's picture in column x, inside rows [top, bottom): the
// rows of its image column from the first opaque texel to the last, less the ends
// that nearer solid pieces cover; a solid one adds its rows to them.
bool thingPiece(const ProjectedThing& thing, const ColumnState& state, std::int32_t x,
                std::int32_t top, std::int32_t bottom, CoveredRows& covered, MiddlePiece& piece,
                bool& solid) {
    if (top <= thing.firstRow && thing.firstRow >= covered.top &&
        std::min(bottom, thing.firstRow + thing.pictureRows) <= covered.bottom) {
        return false; // all its rows are covered, whichever its column
    }
    const Texture& image = *thing.image;
    // Not below 0: x is at or right of the left edge.
    const float across = (static_cast<float>(x) - thing.leftColumn) * thing.texelsPerColumn;
    std::int32_t u =
        static_cast<std::int32_t>(std::min(across, static_cast<float>(image.width - 1)));
    u = thing.mirrored ? image.width - 1 - u : u;
    const OpaqueRun run = thing.opaqueRuns[u];
    if (run.first >= run.end) {
        return false;
    }
    std::int32_t start = thing.firstRow;
    std::uint32_t vfix = thing.firstRowTexel;
    if (top > start) {
        start = top;
        const float v = (static_cast<float>(start) - thing.topRow) * thing.texelsPerRow;
        if (!(v < static_cast<float>(image.height))) {
            return false; // the picture ends above the window
        }
        vfix = static_cast<std::uint32_t>(roundToInt(std::max(v, 0.0f) * vOne));
    } else if (!thing.firstRowInside) {
        return false;
    }
    if (start >= bottom) {
        return false;
    }
    // Where the rows' texels reach the opaque ones and pass them, worked out from
    // the same whole numbers the drawing steps through.
    const std::uint32_t skip = rowsBefore(vfix, thing, std::uint32_t{run.first} << vBits);
    const std::uint32_t rows = rowsBefore(vfix, thing, std::uint32_t{run.end} << vBits);
    const std::int32_t end =
        static_cast<std::int32_t>(std::min<std::int64_t>(bottom, std::int64_t{start} + rows));
    const std::int32_t opaqueStart =
        static_cast<std::int32_t>(std::min<std::int64_t>(end, std::int64_t{start} + skip));
    if (opaqueStart >= end) {
        return false;
    }
    std::int32_t drawnStart = opaqueStart;
    std::int32_t drawnEnd = end;
    if (drawnStart >= covered.top && drawnStart < covered.bottom) {
        drawnStart = std::min(end, covered.bottom);
    }
    if (drawnEnd > covered.top && drawnEnd <= covered.bottom) {
        drawnEnd = std::max(drawnStart, covered.top);
    }
    solid = run.solid;
    if (solid) {
        covered.add(opaqueStart, end);
    }
    if (drawnStart >= drawnEnd) {
        return false;
    }
    piece = {image.pixels + u * image.height,
             static_cast<std::uint32_t>(image.height),
             state.pixels + drawnStart * state.stride,
             state.stride,
             drawnEnd - drawnStart,
             vfix + static_cast<std::uint32_t>(drawnStart - start) * thing.rowStep,
             thing.rowStep,
             vBits,
             thing.keep};
    return true;
}

// One thing covering the column: the window the walls nearer than it leave, and
// its piece where it shows one.
struct ColumnThing {
    ColumnCrossing open;
    const ProjectedThing* thing;
    bool solid; // its piece has no clear texel
    MiddlePiece piece;
};

// The things one column works out together; more are taken in turns.
constexpr std::int32_t columnThingsAtOnce = 64;

} // namespace

void drawColumnThings(const FrameThings& things, const ColumnState& state, std::int32_t column,
                      const ColumnCrossings& crossings, const ColumnMiddles& middles) {
    std::int32_t undrawn = middles.count; // middles [0, undrawn) wait for nearer things
    std::int32_t nearer = crossings.count;
    const std::int32_t* list;
    std::int32_t listCount;
    things.forColumn(column, list, listCount);
    ColumnThing covering[columnThingsAtOnce];
    for (std::int32_t from = 0; from < listCount;) {
        // The ones covering the column, kept without a branch: which they are
        // follows no pattern a processor could guess. Far to near, so the walls
        // nearer than each thing only ever get fewer (the ones between take
        // no more walls off than the next one covering would).
        std::int32_t count = 0;
        for (; from < listCount && count < columnThingsAtOnce; ++from) {
            const ProjectedThing& thing = things.entries[static_cast<std::size_t>(list[from])];
            while (nearer > 0 && !(crossings.list[nearer - 1].depth < thing.depth)) {
                --nearer;
            }
            ColumnThing& c = covering[count];
            c.thing = &thing;
            c.open = nearer > 0 ? crossings.list[nearer - 1]
                                : ColumnCrossing{0.0f, crossings.top, crossings.bottom, 0};
            count += static_cast<std::uint32_t>(column - thing.firstColumn) <
                     static_cast<std::uint32_t>(thing.endColumn - thing.firstColumn);
        }
        // Near to far, so that rows a nearer solid piece covers are not drawn twice.
        CoveredRows covered;
        std::int32_t shown[columnThingsAtOnce];
        std::int32_t shownCount = 0;
        for (std::int32_t i = count - 1; i >= 0; --i) {
            ColumnThing& c = covering[i];
            shown[shownCount] = i;
            shownCount +=
                c.open.top < c.open.bottom && thingPiece(*c.thing, state, column, c.open.top,
                                                         c.open.bottom, covered, c.piece, c.solid);
        }
        // Far to near again, the middles between them in turn.
        for (std::int32_t k = shownCount - 1, i = 0; i < count; ++i) {
            const ColumnThing& c = covering[i];
            if (c.open.middles < undrawn) {
                middles.draw(c.open.middles, undrawn);
                undrawn = c.open.middles;
            }
            if (k < 0 || shown[k] != i) {
                continue;
            }
            --k;
            if (c.piece.keep == keepAll) {
                c.solid ? drawPlainThingRows<true>(c.piece) : drawPlainThingRows<false>(c.piece);
            } else {
                c.solid ? drawShadedThingRows<true>(c.piece) : drawShadedThingRows<false>(c.piece);
            }
        }
    }
    middles.draw(0, undrawn);
}
