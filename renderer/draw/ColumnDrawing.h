#pragma once

#include "renderer/draw/ColumnMiddles.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/draw/SpanRows.h"
#include "renderer/draw/View.h"
#include "renderer/level/Level.h"
#include "renderer/level/Pixel.h"

#include <cstdint>

// One column being drawn: where its pixels go and its open rows [top, bottom).
// Each column has its own, so columns can be drawn on several threads at once.
struct ColumnState {
    PackedPixel* pixels; // the column's pixel in row 0; rows are stride pixels apart
    std::int32_t top;
    std::int32_t bottom;
    std::int32_t stride = screenWidth;
    const PackedPixel* sky = nullptr; // the sky's image column this column shows, if any
};

// The image column of the sky a ray along (dx, dy) shows: fixed to the direction,
// 1024 texel columns to a turn (a 256-wide sky four times round), growing to the
// right; -1 for a level without a sky.
std::int32_t skyColumnFor(float dx, float dy);

constexpr std::uint8_t floorSide = 0;
constexpr std::uint8_t ceilingSide = 1;
constexpr std::int32_t wallPiece = 1;
constexpr std::int32_t flatSpan = 2;
constexpr std::int32_t skySpan = 3; // drawn by drawHit only

// Rows per unit of height, over the frame's projectionRows, at the given depth.
float projectionScaleAt(float depth);

// Screen row at which the given height is seen at the given depth from the view's eye.
std::int32_t projectRow(const View& view, float height, float depth);

// Draws one piece of a column of the view and narrows the column's open window: a
// wall piece (u is its horizontal texture coordinate) or a floor/ceiling span (key
// names its depth cache entry); x picks the column's ray. The floor side covers rows
// from the projected line down, the ceiling side rows from the top down to the line.
void drawColumnPart(const View& view, ColumnState& column, std::int32_t x, float height,
                    float depth, std::uint8_t side, std::int32_t texture, std::int32_t kind,
                    float u, std::int32_t key);

// Column x's ray and the camera in the fixed point of the flat rows: the same for
// every flat span of the column, so worked out once per column.
FlatRowStep flatColumnRay(const View& view, std::int32_t x);

// The textures of a hit wall's lower and upper pieces, the light steps the wall
// adds to its sector's (Wall::contrast), and the texel rows each piece's texture
// is moved down by (WallAnchors').
struct PieceTextures {
    std::int32_t lower;
    std::int32_t upper;
    std::int32_t contrast = 0;
    float lowerShift = 0.0f;
    float upperShift = 0.0f;
};

// Draws what a column shows of one hit at the given depth, in this order: the
// floor and ceiling spans of the sector and the lower and upper wall pieces, the
// floor and ceiling steps of the sector behind the wall, at horizontal texture
// coordinate u, all in the sector's light (the sky at full brightness). Where the
// sector is at full light, the same as four drawColumnPart calls for the column whose
// flatColumnRay is given, with the projection worked out once.
void drawHit(const View& view, ColumnState& state, const FlatRowStep& flatRay, float depth,
             const Sector& sector, const Sector& behind, PieceTextures pieces, float u);

// Keeps, for drawing once the column behind is done, the rows of the see-through
// middle hung in an opening of sector, hit at the given depth and horizontal
// texture coordinate u: the texture once, its top row at height top, inside the
// column's window as drawHit left it, in the sector's light with the wall's
// contrast.
void keepMiddle(const View& view, const ColumnState& state, float depth, const Sector& sector,
                float top, std::int32_t texture, std::int32_t contrast, float u,
                ColumnMiddles& middles);

// Fills the view's flat entry key for a surface at the given height, seen from the
// view's eye, and marks it valid.
void fillFlatCache(const View& view, std::int32_t key, float height);

// Forgets every surface of the view's cache before a frame: columns, on whichever
// thread, fill what they need, each surface once.
void prepareFlatCache(const View& view);
