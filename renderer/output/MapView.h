#pragma once

#include "renderer/level/Level.h"
#include "renderer/level/Pixel.h"

#include <cstdint>

// Where the eye stands on the plan and where it looks (radians, 0 along +x).
struct MapEye {
    float x;
    float y;
    float angle;
};

// The level seen from above, so an author can check what a file describes: every
// solid wall, the portals in a colour of their own, and the eye with the edges of
// its field of view. It draws into any pixel buffer; showing it is the caller's.
class MapView {
  public:
    static constexpr PackedPixel background = 0xFF101820u;
    static constexpr PackedPixel solidWall = 0xFFE8E0D0u;
    static constexpr PackedPixel portal = 0xFFE08020u;
    static constexpr PackedPixel eye = 0xFFFF4040u;
    static constexpr PackedPixel fieldOfView = 0xFF60D060u;
    static constexpr PackedPixel grid = 0xFF26323Cu;
    static constexpr PackedPixel axis = 0xFF3A4C5Cu; // the grid lines through (0, 0)
    static constexpr PackedPixel label = 0xFF90B8F0u;

    // Fits the whole level into width x height pixels with a margin, north up,
    // with the same scale across and down.
    MapView(const Sector* sectors, std::int32_t sectorCount, std::int32_t width,
            std::int32_t height);

    // Draws into pixels (width x height, row-major): on the background colour, or
    // over the picture already there, darkened so the lines stand out.
    void draw(PackedPixel* pixels, const MapEye& at, bool overPicture) const;

    // The author's plan: on the background, a grid of whole units under the lines
    // (every 1, 2, 5, 10, 20, ... units, whichever first keeps its lines at least
    // 16 pixels apart) and each sector's number at its centroid, under the walls
    // and the eye.
    void drawPlan(PackedPixel* pixels, const MapEye& at) const;

    // The grid's spacing in level units.
    float gridStep() const;

    // The pixel column and row of a plan point.
    void toPixel(float x, float y, std::int32_t& column, std::int32_t& row) const;

  private:
    void drawLines(PackedPixel* pixels, const MapEye& at) const;
    void drawGrid(PackedPixel* pixels) const;
    void drawNumber(PackedPixel* pixels, std::int32_t number, std::int32_t column,
                    std::int32_t row) const;
    void line(PackedPixel* pixels, float x0, float y0, float x1, float y1,
              PackedPixel colour) const;
    void dot(PackedPixel* pixels, std::int32_t column, std::int32_t row, std::int32_t radius,
             PackedPixel colour) const;

    const Sector* sectors_;
    std::int32_t sectorCount_;
    std::int32_t width_;
    std::int32_t height_;
    float scale_ = 1.0f; // pixels per unit
    float centreX_ = 0.0f;
    float centreY_ = 0.0f;
};
