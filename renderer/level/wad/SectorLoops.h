#pragma once

#include "renderer/level/LevelWarnings.h"

#include <cstdint>
#include <vector>

// A map line as the map gives it: its two end points and the sector on each side
// (-1 for none). The front side lies to the right of from -> to.
struct MapLine {
    std::int32_t from;
    std::int32_t to;
    std::int32_t front;
    std::int32_t back;
};

// One closed loop of a region: its vertices in order and, for the edge leaving
// each, the line it lies on and whether that is the line's front side.
struct TracedLoop {
    std::vector<std::int32_t> vertices;
    std::vector<std::int32_t> lines;
    std::vector<bool> frontSides;
};

// A connected piece of one map sector: counter-clockwise outline, clockwise holes.
struct TracedRegion {
    std::int32_t mapSector;
    TracedLoop outline;
    std::vector<TracedLoop> holes;
};

// Traces, for every map sector, the closed loops of the sides facing it and groups
// them into regions: each outline with the holes directly inside it (an island in a
// hole is a region of its own). Points at the same place count as one (the lowest
// index). Lines with the same sector on both sides are no walls; zero-length lines,
// repeated lines and sides that close no loop are left out, each noted once.
std::vector<TracedRegion> traceSectorLoops(const std::vector<float>& x, const std::vector<float>& y,
                                           const std::vector<MapLine>& lines,
                                           std::int32_t sectorCount, LevelWarnings& warnings);
