#pragma once

#include "renderer/level/LevelDescription.h"
#include "renderer/level/LevelWarnings.h"
#include "renderer/level/wad/WadMap.h"

#include <cstdint>
#include <vector>

// The map line and side an edge of an imported sector was traced from.
struct WadEdgeSide {
    std::int32_t line;
    bool front;
};

// Gives the level the doors, lifts and trigger lines the map's line specials
// make: manual doors act on the sector behind their line, switched and walked
// lines on every sector with their tag (each piece of it). mapSectors and
// edgeSides run with level.sectors: the map sector of each, and the line side of
// each of its edges. A walk line that is no edge is drawn between its own points
// (map vertex indices, as level.vertexX has them before any are dropped).
// Specials that open no door and lower no lift are reported once each; so are
// lines and sectors left without a part in the level.
void addWadMovers(const WadMap& map, const std::vector<std::int32_t>& mapSectors,
                  const std::vector<std::vector<WadEdgeSide>>& edgeSides, LevelDescription& level,
                  LevelWarnings& warnings);
