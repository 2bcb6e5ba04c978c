#pragma once

#include "renderer/level/LevelDescription.h"

#include <cstdint>
#include <vector>

// Where an edge stands in its run of straight solid walls: a wall split into
// several edges shows one texture, running on from edge to edge instead of
// starting afresh at every point.
struct WallChainPlace {
    float before = 0.0f;   // length of the run before the edge's first point
    float after = 0.0f;    // and after its end
    std::int32_t head = 0; // the run's first edge, whose side's offset it wears
};

// Two edges whose directions differ by a sine of at most this (about 0.06
// degrees) go on one run: points written to four decimals still join edges from
// 0.2 units long, while the turns of a round room of 1024 edges (0.35 degrees)
// stay corners.
constexpr double wallChainSine = 1.0e-3;

// The places of every edge of the sector (numbered as its walls, outline then
// holes), given which are portals (neighbours, -1 for solid). A run goes on along
// consecutive solid edges of one loop that keep the direction of its first edge,
// and ends at a portal, at a turn and before a side that gives an offset.
std::vector<WallChainPlace> chainWalls(const LevelDescription& level,
                                       const SectorDescription& sector,
                                       const std::vector<std::int32_t>& neighbours);
