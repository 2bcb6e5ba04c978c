#pragma once

#include "renderer/level/Level.h"

// Where a hit wall's texture sits. The pieces count texel rows from the line they
// share with the sector behind (the floor behind for the lower piece, the ceiling
// behind for the upper, height 0 for both halves of a solid wall), as walls always
// have; the anchoring rules move each piece's rows by a number of texels.
struct WallAnchors {
    float u;          // the texel column the hit shows
    float lowerShift; // texel rows added to the lower piece's
    float upperShift; // and to the upper piece's
    float middleTop;  // the height of a see-through middle's first row
};

// The anchors of wall, hit along its length from its first point, between the
// sector it bounds and the one behind (solidSector for a solid wall), as the
// level's alignment says; middleRows is the height of its see-through middle.
WallAnchors anchorWall(const Wall& wall, float along, const Sector& sector, const Sector& behind,
                       std::int32_t middleRows);
