#pragma once

#include "renderer/level/Level.h"
#include "renderer/level/Pixel.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/level/Vec3.h"

#include <atomic>
#include <cstdint>
#include <vector>

constexpr std::uint8_t flatEmpty = 0;
constexpr std::uint8_t flatReady = 1;
constexpr std::uint8_t flatFilling = 2; // one column's thread is filling it

// Depth at which every screen row sees one flat surface, in 24.8 fixed point.
// Filled the first time a frame's column needs it, by whichever thread gets there
// first: a frame costs the surfaces it shows, not every surface of the level.
struct FlatCacheEntry {
    std::atomic<std::uint8_t> valid{flatEmpty}; // flatReady once filled this frame
    std::vector<std::int32_t> rowDepth;         // one a frame row, sized with the frame
};

// Keyed by the sectors' floorKey and ceilingKey; a level has at least this many.
constexpr std::int32_t flatCacheEntries = 16;

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
};
