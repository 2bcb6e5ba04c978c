#pragma once

#include "renderer/draw/View.h"
#include "renderer/level/Level.h"

#include <cstdint>
#include <vector>

// A thing as one frame sees it: where its picture falls on screen, worked out
// once a frame before the columns are drawn.
struct ProjectedThing {
    float depth;              // measured as walls are: (foot - eye) . view direction
    float leftColumn;         // the picture's left edge, in columns (fractional)
    float texelsPerColumn;    // across
    float topRow;             // its top edge, in rows (fractional)
    float texelsPerRow;       // down
    std::int32_t firstColumn; // the columns it covers, [first, end)
    std::int32_t endColumn;
    const Texture* image; // column order, transparent texels of alpha 0
    bool mirrored;
    std::uint32_t keep; // of each channel, in 32nds (shadePixel)
    std::int32_t thing; // the level's index, which decides between equal depths
};

// The things of the current frame that it shows, far to near. Sized to the
// level's things when it is built; a frame only fills it.
struct FrameThings {
    std::vector<ProjectedThing> entries;
    std::int32_t count = 0;

    void resize(std::int32_t things);
};

extern FrameThings frameThings; // the current view's

// Projects every thing of the level in front of the eye and inside the view, at
// its picture for the viewing side and for the clock's frame, lit by its sector
// at its depth; sorts them far to near.
void projectThings(const View& view, float clock, FrameThings& out);
