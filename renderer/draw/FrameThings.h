#pragma once

#include "renderer/draw/ExactDivisor.h"
#include "renderer/draw/View.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelThings.h"

#include <cstdint>
#include <vector>

// A thing as one frame sees it: where its picture falls on screen, worked out
// once a frame before the columns are drawn.
struct ProjectedThing {
    // What a column looks at first, for every thing it lists.
    float depth;              // measured as walls are: (foot - eye) . view direction
    std::int32_t firstColumn; // the columns it covers, [first, end)
    std::int32_t endColumn;
    // The first whole row at or below the top edge, and the row past the picture's
    // last from there (firstRow itself where the picture has no rows).
    std::int32_t firstRow;
    std::int32_t pictureEndRow;
    // No thing farther than it in the frame's order has a row of its picture
    // outside [fartherTop, fartherEnd).
    std::int32_t fartherTop;
    std::int32_t fartherEnd;

    float leftColumn;      // the picture's left edge, in columns (fractional)
    float texelsPerColumn; // across
    float topRow;          // its top edge, in rows (fractional)
    float texelsPerRow;    // down
    // The first row's texel row in 16.16 fixed point; firstRowInside is false where
    // that row is below the picture.
    std::uint32_t firstRowTexel;
    bool firstRowInside;
    std::uint32_t rowStep; // texel rows a row, 16.16
    ExactDivisor perRowStep;

    const Texture* image;        // column order, transparent texels of alpha 0
    const OpaqueRun* opaqueRuns; // of each image column (ThingPicture's)
    bool mirrored;
    std::uint32_t keep; // of each channel, in 32nds (shadePixel)
    std::int32_t thing; // the level's index, which decides between equal depths

    // The first i >= 0 at which v + i x rowStep reaches limit. Every value stays
    // below 2^27 (1024 texel rows of 16 fraction bits, the step at most the image's
    // height), so 32 bits hold them and the division is exact.
    std::uint32_t rowsBefore(std::uint32_t v, std::uint32_t limit) const {
        return v >= limit ? 0 : perRowStep.divide(limit - v + rowStep - 1);
    }
};

// The things of the current frame that it shows, their order far to near, and for
// each column the ones covering it, far to near too. Sized to the level's things
// when it is built; a frame only fills it.
struct FrameThings {
    std::vector<ProjectedThing> entries; // as projected
    std::int32_t count = 0;
    std::vector<std::int32_t> order; // far to near: entries[order[0]] is the farthest
    // The level's things in the order they are projected: the last frame's far to
    // near first, so that a frame's list comes nearly sorted.
    std::vector<std::int32_t> visits;
    std::vector<std::int32_t> nextVisits;
    // Column x's things are columnThings[columnFirst[x]...columnFirst[x + 1]).
    std::vector<std::int32_t> columnFirst;
    std::vector<std::int32_t> columnThings;
    std::vector<std::int32_t> columnCursor; // for filling them
    bool byColumn = false; // false: more than columnThings holds; every column looks at all

    void resize(std::int32_t things);
    // The things column x looks at, far to near: entries[list[i]] for i in
    // [0, listCount).
    void forColumn(std::int32_t x, const std::int32_t*& list, std::int32_t& listCount) const {
        if (!byColumn) {
            list = order.data();
            listCount = count;
            return;
        }
        const auto at = static_cast<std::size_t>(x);
        list = columnThings.data() + columnFirst[at];
        listCount = columnFirst[at + 1] - columnFirst[at];
    }
};

extern FrameThings frameThings; // the current view's

// Projects every thing of the level in front of the eye and inside the view, at
// its picture for the viewing side and for the clock's frame, lit by its sector
// at its depth; sorts them far to near.
void projectThings(const View& view, float clock, FrameThings& out);
