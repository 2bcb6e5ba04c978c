#include "renderer/draw/WallAnchors.h"

#include <algorithm>

WallAnchors anchorWall(const Wall& wall, float along, const Sector& sector, const Sector& behind,
                       std::int32_t middleRows) {
    const TextureAlignment& alignment = levelAlignment;
    const float texels = alignment.wallTexels;
    WallAnchors anchors;
    // Seen from the room the wall's first point is on the right: room-aligned
    // images count from the other end, so they read left to right. Either way
    // they count from the end of the run of straight walls the wall is part of.
    const float run =
        alignment.roomAligned ? wall.length - along + wall.chainAfter : along + wall.chainBefore;
    anchors.u = run * texels + wall.offsetX;
    // A row r texels below the line a piece counts from shows row r + shift, so
    // a piece anchored at height h shifts by (h - line) x texels.
    const float ceiling = sector.ceilingHeight;
    if (wall.neighbour < 0) {
        const float anchor = wall.lowerUnpegged      ? sector.floorHeight
                             : alignment.roomAligned ? ceiling
                                                     : 0.0f;
        anchors.lowerShift = anchor * texels + wall.offsetY;
        anchors.upperShift = anchors.lowerShift;
    } else {
        anchors.lowerShift = wall.lowerUnpegged
                                 ? (ceiling - behind.floorHeight) * texels + wall.offsetY
                                 : wall.offsetY;
        anchors.upperShift = wall.upperUnpegged
                                 ? (ceiling - behind.ceilingHeight) * texels + wall.offsetY
                                 : wall.offsetY;
    }
    // A middle hangs from the lower ceiling or stands on the higher floor.
    const float top = wall.lowerUnpegged ? std::max(sector.floorHeight, behind.floorHeight) +
                                               static_cast<float>(middleRows) / texels
                                         : std::min(ceiling, behind.ceilingHeight);
    anchors.middleTop = top + wall.offsetY / texels;
    return anchors;
}
