#include "renderer/output/MapView.h"

#include "renderer/draw/FixedPoint.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

constexpr float marginShare = 0.05f; // of the smaller side, on every side
constexpr float fieldShare = 0.12f;  // the view's edges drawn this long, of the smaller side
// The outermost columns look along dir -/+ side: a quarter turn wide.
constexpr float halfField = 0.78539819f;
constexpr float gridSpacingPixels = 16.0f;

// Digits 0 to 9, three pixels wide and five high: bit 14 is the top left.
constexpr std::uint16_t digitRows[10] = {0x7B6F, 0x2C97, 0x73E7, 0x73CF, 0x5BC9,
                                         0x79CF, 0x79EF, 0x7249, 0x7BEF, 0x7BCF};

// The centroid of a sector's walls (outline and holes, which count negative).
bool sectorCentroid(const Sector& sector, float& x, float& y) {
    double area = 0.0, cx = 0.0, cy = 0.0;
    for (std::int32_t w = 0; w < sector.wallCount; ++w) {
        const Vec3 a = sector.walls[w].a;
        const Vec3 b = sector.walls[w].b;
        const double cross = static_cast<double>(a.x) * b.y - static_cast<double>(b.x) * a.y;
        area += cross;
        cx += (static_cast<double>(a.x) + b.x) * cross;
        cy += (static_cast<double>(a.y) + b.y) * cross;
    }
    if (area == 0.0) {
        return false;
    }
    x = static_cast<float>(cx / (3.0 * area));
    y = static_cast<float>(cy / (3.0 * area));
    return true;
}

} // namespace

MapView::MapView(const Sector* sectors, std::int32_t sectorCount, std::int32_t width,
                 std::int32_t height)
    : sectors_(sectors), sectorCount_(sectorCount), width_(width), height_(height) {
    float left = 0.0f, right = 0.0f, bottom = 0.0f, top = 0.0f;
    bool any = false;
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        for (std::int32_t w = 0; w < sectors[s].wallCount; ++w) {
            const Vec3 a = sectors[s].walls[w].a;
            if (!any) {
                left = right = a.x;
                bottom = top = a.y;
                any = true;
            }
            left = std::min(left, a.x);
            right = std::max(right, a.x);
            bottom = std::min(bottom, a.y);
            top = std::max(top, a.y);
        }
    }
    const float margin = marginShare * static_cast<float>(std::min(width, height));
    const float spanX = std::max(right - left, 1e-3f);
    const float spanY = std::max(top - bottom, 1e-3f);
    scale_ = std::min((static_cast<float>(width) - 2.0f * margin) / spanX,
                      (static_cast<float>(height) - 2.0f * margin) / spanY);
    scale_ = std::max(scale_, 1e-6f);
    centreX_ = (left + right) * 0.5f;
    centreY_ = (bottom + top) * 0.5f;
}

void MapView::toPixel(float x, float y, std::int32_t& column, std::int32_t& row) const {
    column = roundToInt((x - centreX_) * scale_ + static_cast<float>(width_) * 0.5f);
    row = roundToInt(static_cast<float>(height_) * 0.5f - (y - centreY_) * scale_);
}

void MapView::line(PackedPixel* pixels, float x0, float y0, float x1, float y1,
                   PackedPixel colour) const {
    std::int32_t c0, r0, c1, r1;
    toPixel(x0, y0, c0, r0);
    toPixel(x1, y1, c1, r1);
    // Bresenham's steps, each pixel checked against the edges of the buffer.
    const std::int64_t dc = std::llabs(static_cast<std::int64_t>(c1) - c0);
    const std::int64_t dr = -std::llabs(static_cast<std::int64_t>(r1) - r0);
    const std::int32_t stepC = c0 < c1 ? 1 : -1;
    const std::int32_t stepR = r0 < r1 ? 1 : -1;
    std::int64_t error = dc + dr;
    std::int64_t c = c0, r = r0;
    // Far off the buffer a line is not worth walking: nothing of a plan fitted to
    // it lies there.
    const std::int64_t longest = 4 * (static_cast<std::int64_t>(width_) + height_);
    for (std::int64_t steps = 0; steps <= longest; ++steps) {
        if (c >= 0 && c < width_ && r >= 0 && r < height_) {
            pixels[r * width_ + c] = colour;
        }
        if (c == c1 && r == r1) {
            break;
        }
        const std::int64_t twice = 2 * error;
        if (twice >= dr) {
            error += dr;
            c += stepC;
        }
        if (twice <= dc) {
            error += dc;
            r += stepR;
        }
    }
}

void MapView::dot(PackedPixel* pixels, std::int32_t column, std::int32_t row, std::int32_t radius,
                  PackedPixel colour) const {
    for (std::int32_t r = row - radius; r <= row + radius; ++r) {
        for (std::int32_t c = column - radius; c <= column + radius; ++c) {
            if (c >= 0 && c < width_ && r >= 0 && r < height_) {
                pixels[r * width_ + c] = colour;
            }
        }
    }
}

void MapView::draw(PackedPixel* pixels, const MapEye& at, bool overPicture) const {
    const std::int32_t count = width_ * height_;
    for (std::int32_t i = 0; i < count; ++i) {
        pixels[i] = overPicture ? 0xFF000000u | ((pixels[i] >> 2) & 0x003F3F3Fu) : background;
    }
    drawLines(pixels, at);
}

void MapView::drawPlan(PackedPixel* pixels, const MapEye& at) const {
    std::fill(pixels, pixels + width_ * height_, background);
    drawGrid(pixels);
    for (std::int32_t s = 0; s < sectorCount_; ++s) {
        float x = 0.0f, y = 0.0f;
        if (sectorCentroid(sectors_[s], x, y)) {
            std::int32_t column, row;
            toPixel(x, y, column, row);
            drawNumber(pixels, s, column, row);
        }
    }
    // The walls and the eye over the numbers: in a small sector the number would
    // hide where the eye stands.
    drawLines(pixels, at);
}

float MapView::gridStep() const {
    float step = 1.0f;
    for (int k = 0; step * scale_ < gridSpacingPixels && k < 30; ++k) {
        step *= k % 3 == 1 ? 2.5f : 2.0f; // 1, 2, 5, 10, 20, 50, ...
    }
    return step;
}

void MapView::drawGrid(PackedPixel* pixels) const {
    const float step = gridStep();
    const float halfWidth = static_cast<float>(width_) * 0.5f / scale_;
    const float halfHeight = static_cast<float>(height_) * 0.5f / scale_;
    const float left = centreX_ - halfWidth, right = centreX_ + halfWidth;
    const float bottom = centreY_ - halfHeight, top = centreY_ + halfHeight;
    for (float x = std::ceil(left / step) * step; x <= right; x += step) {
        line(pixels, x, bottom, x, top, std::fabs(x) < step * 0.5f ? axis : grid);
    }
    for (float y = std::ceil(bottom / step) * step; y <= top; y += step) {
        line(pixels, left, y, right, y, std::fabs(y) < step * 0.5f ? axis : grid);
    }
}

// The number centred on (column, row), its digits as large as the plan allows
// them to stay small: one pixel a dot below 480 rows, more on larger plans.
void MapView::drawNumber(PackedPixel* pixels, std::int32_t number, std::int32_t column,
                         std::int32_t row) const {
    const std::int32_t dot = std::max(1, std::min(width_, height_) / 240);
    char digits[12];
    const int count = std::snprintf(digits, sizeof digits, "%d", static_cast<int>(number));
    const std::int32_t advance = 4 * dot;
    std::int32_t left = column - (count * advance - dot) / 2;
    const std::int32_t top = row - 5 * dot / 2;
    for (int i = 0; i < count; ++i, left += advance) {
        const std::uint16_t bits = digitRows[digits[i] - '0'];
        for (std::int32_t r = 0; r < 5 * dot; ++r) {
            for (std::int32_t c = 0; c < 3 * dot; ++c) {
                const std::int32_t x = left + c, y = top + r;
                if ((bits >> (14 - (r / dot) * 3 - c / dot) & 1u) != 0 && x >= 0 && x < width_ &&
                    y >= 0 && y < height_) {
                    pixels[y * width_ + x] = label;
                }
            }
        }
    }
}

void MapView::drawLines(PackedPixel* pixels, const MapEye& at) const {
    // Portals first, so solid walls meeting them keep their colour at the shared
    // corner.
    for (std::int32_t s = 0; s < sectorCount_; ++s) {
        for (std::int32_t w = 0; w < sectors_[s].wallCount; ++w) {
            const Wall& wall = sectors_[s].walls[w];
            if (wall.neighbour >= 0) {
                line(pixels, wall.a.x, wall.a.y, wall.b.x, wall.b.y, portal);
            }
        }
    }
    for (std::int32_t s = 0; s < sectorCount_; ++s) {
        for (std::int32_t w = 0; w < sectors_[s].wallCount; ++w) {
            const Wall& wall = sectors_[s].walls[w];
            if (wall.neighbour == -1) {
                line(pixels, wall.a.x, wall.a.y, wall.b.x, wall.b.y, solidWall);
            }
        }
    }
    const float reach = fieldShare * static_cast<float>(std::min(width_, height_)) / scale_;
    for (float edge : {at.angle - halfField, at.angle + halfField}) {
        line(pixels, at.x, at.y, at.x + reach * cosineOf(edge), at.y + reach * sineOf(edge),
             fieldOfView);
    }
    std::int32_t column, row;
    toPixel(at.x, at.y, column, row);
    dot(pixels, column, row, std::max(1, std::min(width_, height_) / 160), eye);
}
