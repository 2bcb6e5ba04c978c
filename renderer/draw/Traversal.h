#pragma once

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/Ray.h"
#include "renderer/level/Level.h"

#include <cstdint>

// Where a ray meets a wall: the point and the distance from the wall's start
// point towards its end point.
struct WallHit {
    Vec3 point;
    float along;
};

// A ray crosses each portal at most once, so it visits at most one sector more than
// the level has portals. A ray through an end point shared by two portals can be
// handed back and forth at the same point for ever (the animation meets one in
// frame 6566). Each round draws the same pieces at the same depth, so the column
// stops changing after the first; the bound ends it. The level sets it when it is
// built: minSectorVisits, or more for a level with more portals.
constexpr std::int32_t minSectorVisits = 64;
extern std::int32_t maxSectorVisits;

// The most sectors any column has visited since the caller last reset it to 0.
extern std::int32_t deepestColumnVisits;

// True when the ray meets the wall from its front side (end points included).
bool intersectWall(const Ray& ray, const Wall& wall, WallHit& hit);

// Draws one screen column of the view (its level, eye and flat depths) into the
// caller's column and window by following the ray from sector to sector through
// portals while part of the column is still open; returns the number of sectors
// visited.
std::int32_t renderColumn(const View& view, ColumnState& state, std::int32_t column,
                          std::int32_t sector, const Ray& ray);
