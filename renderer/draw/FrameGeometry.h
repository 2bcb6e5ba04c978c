#pragma once

#include <cstdint>
#include <vector>

// The sizes a frame may have. 320 x 240 is the animation's own; every other size
// sees the same view: the horizontal field of view is 90 degrees, one unit of slope
// is half the width in pixels across and down, about the centre (width / 2,
// height / 2), and the height only decides how far up and down the picture reaches.
constexpr std::int32_t minFrameWidth = 160;
constexpr std::int32_t minFrameHeight = 120;
constexpr std::int32_t maxFrameWidth = 3840;
constexpr std::int32_t maxFrameHeight = 2160;

// What the drawing takes from the frame's size.
struct FrameGeometry {
    std::int32_t width;
    std::int32_t height;
    std::int32_t centreColumn;
    std::int32_t centreRow;
    float columnSlopeStep; // 2 / width
    // One unit in the last place below the column step, as at 320 x 240, where every
    // frame depends on those exact bits.
    float rowSlopeStep;
    // Rows per unit of height at projection scale k = 4/3 / depth: 3/8 of the width,
    // so that k times it is half the width at depth 1, the same focal length as across.
    float projectionRows;
    float wallRowScale; // wall texture rows per screen row, times k
    // Texture coordinates are fixed point with more fraction bits the wider the
    // frame, so that a texel keeps its share of a pixel: one more bit for each
    // doubling of the width past 320. At 320 and below the bits are 8 for a flat
    // row's depth, 13 for its ray and 16 for a wall's texture row.
    std::int32_t depthBits;
    std::int32_t rayBits;
    std::int32_t wallBits;
};

bool frameSizeAllowed(std::int32_t width, std::int32_t height);

// The geometry of a frame size; the size must be allowed.
FrameGeometry frameGeometryFor(std::int32_t width, std::int32_t height);

// The size frames are drawn at (320 x 240 at first) and its two slope tables, one
// entry a column and one a row; resizeFrames changes all three together.
extern FrameGeometry frameGeometry;
extern std::vector<float> columnSlopes;
extern std::vector<float> rowSlopes;
