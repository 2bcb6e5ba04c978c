#pragma once

#include "renderer/draw/FlatCache.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/level/Level.h"
#include "renderer/level/Pixel.h"
#include "renderer/level/Vec3.h"

#include <cstdint>

class WallSpans;
struct FrameThings;

// Everything the columns of one frame are drawn from. The camera, level and
// framebuffer the program keeps make the current view; a frame drawn alongside
// another has a view of its own.
struct View {
    Vec3 eye;              // z is the eye height
    Vec3 dir;              // (cos A, sin A, 0) for the view angle A
    Vec3 side;             // dir turned by -90 degrees
    std::int32_t sector;   // the eye's sector
    const Sector* sectors; // the level's sectors as they stand in this frame
    std::int32_t sectorCount;
    FlatCacheEntry* flats; // flatCount entries for this eye height
    PackedPixel* pixels;   // the frame's width x height, row-major
    std::int32_t flatCount;
    // The walls each sector's columns may meet in this frame, or null for every
    // wall of every sector entered.
    WallSpans* spans = nullptr;
    // The things this frame shows, far to near, or null for none.
    const FrameThings* things = nullptr;
};
