#pragma once

#include "renderer/Level.h"
#include "renderer/Pixel.h"
#include "renderer/ScreenSize.h"
#include "renderer/Vec3.h"

#include <cstdint>

// Depth at which every screen row sees one flat surface, in 24.8 fixed point.
struct FlatCacheEntry {
    std::uint8_t valid; // filled during the current frame
    std::int32_t rowDepth[screenHeight];
};

// Keyed by 2 x sector + 0 for the floor, + 1 for the ceiling.
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
    FlatCacheEntry* flats; // flatCacheEntries entries for this eye height
    PackedPixel* pixels;   // 320 x 240, row-major
};
