#include "renderer/draw/ColumnThings.h"

#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/draw/SpanRows.h"
#include "renderer/level/PngLoader.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr float vOne = 65536.0f; // texel rows in 16.16 fixed point
constexpr std::uint32_t vBits = 16;
constexpr float noWall = std::numeric_limits<float>::infinity();

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

// Whether all of a thing's rows in [top, bottom) are covered, whichever its column.
bool allRowsCovered(const ProjectedThing& thing, std::int32_t top, std::int32_t bottom,
                    const CoveredRows& covered) {
    return top <= thing.firstRow && thing.firstRow >= covered.top &&
           std::min(bottom, thing.pictureEndRow) <= covered.bottom;
}

// The piece of one thing's picture in column x, inside rows [top, bottom): the
// rows of its image column from the first opaque texel to the last, less the ends
// that nearer solid pieces cover; a solid one adds its rows to them.
bool thingPiece(const ProjectedThing& thing, const ColumnState& state, std::int32_t x,
                std::int32_t top, std::int32_t bottom, CoveredRows& covered, MiddlePiece& piece,
                bool& solid) {
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
    const std::uint32_t skip = thing.rowsBefore(vfix, std::uint32_t{run.first} << vBits);
    const std::uint32_t rows = thing.rowsBefore(vfix, std::uint32_t{run.end} << vBits);
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

// A thing's piece shown in the column, with the middles that lie nearer than it.
struct ShownPiece {
    MiddlePiece piece;
    bool solid; // its piece has no clear texel
    std::int32_t middles;
};

// The things one column works out together; more are taken in turns, farthest
// first.
constexpr std::int32_t columnThingsAtOnce = 64;

// Things list[0, count) of the column, far to near (all of them covering it where
// the frame lists things by column): worked out nearest first, so that the walls
// nearer than each only get more and the rows nearer solid pieces cover only
// grow; then the pieces kept drawn farthest first, the middles farther than each
// before it.
void drawThingsOfColumn(const FrameThings& things, const std::int32_t* list, std::int32_t count,
                        const ColumnState& state, std::int32_t column,
                        const ColumnCrossings& crossings, const ColumnMiddles& middles,
                        std::int32_t& undrawn) {
    CoveredRows covered;
    ShownPiece shown[columnThingsAtOnce];
    std::int32_t shownCount = 0;
    std::int32_t nearer = 0; // walls nearer than the thing
    ColumnCrossing open{0.0f, crossings.top, crossings.bottom, 0};
    float nextWall = crossings.count > 0 ? crossings.list[0].depth : noWall;
    // The window only shrinks farther away: once it is closed or covered, no
    // farther thing shows.
    const auto nothingFartherShows = [&open, &covered] {
        return open.top >= open.bottom ||
               (open.top >= covered.top && open.bottom <= covered.bottom);
    };
    // Nor where the farther ones all have this window, which none of their tops
    // is above, and their rows in it are covered: each would be left out as all
    // covered. (A window that cuts a thing's top works its rows out afresh, and
    // they may end a row past its picture's.)
    const ProjectedThing& farthest = things.entries[static_cast<std::size_t>(list[0])];
    const auto fartherAllCovered = [&](const ProjectedThing& thing) {
        return !(farthest.depth > nextWall) && open.top <= thing.fartherTop &&
               covered.top <= thing.fartherTop &&
               covered.bottom >= std::min(open.bottom, thing.fartherEnd);
    };
    for (std::int32_t i = count - 1; i >= 0; --i) {
        const ProjectedThing& thing = things.entries[static_cast<std::size_t>(list[i])];
        if (!things.byColumn &&
            static_cast<std::uint32_t>(column - thing.firstColumn) >=
                static_cast<std::uint32_t>(thing.endColumn - thing.firstColumn)) {
            continue;
        }
        if (thing.depth > nextWall) {
            do {
                ++nearer;
            } while (nearer < crossings.count && crossings.list[nearer].depth < thing.depth);
            open = crossings.list[nearer - 1];
            nextWall = nearer < crossings.count ? crossings.list[nearer].depth : noWall;
            if (nothingFartherShows()) {
                break;
            }
        }
        if (allRowsCovered(thing, open.top, open.bottom, covered)) {
            continue;
        }
        ShownPiece& next = shown[shownCount];
        if (thingPiece(thing, state, column, open.top, open.bottom, covered, next.piece,
                       next.solid)) {
            next.middles = open.middles;
            ++shownCount;
            if (next.solid && (nothingFartherShows() || fartherAllCovered(thing))) {
                break;
            }
        }
    }
    for (std::int32_t k = shownCount - 1; k >= 0; --k) {
        const ShownPiece& s = shown[k];
        if (s.middles < undrawn) {
            middles.draw(s.middles, undrawn);
            undrawn = s.middles;
        }
        drawThingRows(s.piece.count, s.piece.column,
                      {s.piece.vfix, s.piece.step, s.piece.texelRows, s.solid}, s.piece.keep,
                      s.piece.out, s.piece.stride);
    }
}

} // namespace

void drawColumnThings(const FrameThings& things, const ColumnState& state, std::int32_t column,
                      const ColumnCrossings& crossings, const ColumnMiddles& middles) {
    std::int32_t undrawn = middles.count; // middles [0, undrawn) wait for nearer things
    const std::int32_t* list;
    std::int32_t listCount;
    things.forColumn(column, list, listCount);
    for (std::int32_t from = 0; from < listCount; from += columnThingsAtOnce) {
        drawThingsOfColumn(things, list + from, std::min(columnThingsAtOnce, listCount - from),
                           state, column, crossings, middles, undrawn);
    }
    middles.draw(0, undrawn);
}
