#include "renderer/ColumnDrawing.h"

#include "renderer/FixedPoint.h"
#include "renderer/FrameLoop.h"
#include "renderer/Level.h"

#include <algorithm>

std::int32_t clipTop = 0;
std::int32_t clipBottom = screenHeight;
FlatCacheEntry flatCache[flatCacheEntries];

namespace {

constexpr float focalScale = 1.3333334f;    // bits 0x3FAAAAAB: 160 pixels per unit at depth 1
constexpr float wallRowScale = 0.13333334f; // bits 0x3E088889: 16 texels per unit
constexpr float flatFixedOne = 8192.0f;     // flat world coordinates carry 13 fraction bits
constexpr float depthFixedOne = 256.0f;     // row depths carry 8
constexpr float wallFixedOne = 65536.0f;    // wall texture rows carry 16
constexpr std::int32_t textureMask = 63;
constexpr std::int32_t textureSize = 64;

// Nothing in a real view projects this far off screen; the bound keeps the row
// arithmetic of a degenerate depth (a wall touching the eye) inside 32 bits.
constexpr std::int32_t projectionLimit = 1 << 24;

float projectionScale(float depth) {
    return focalScale / depth;
}

std::int32_t rowAt(float height, float k) {
    const std::int32_t offset = roundToInt((height - cameraPos.z) * k * 120.0f);
    return centreRow - std::clamp(offset, -projectionLimit, projectionLimit);
}

// Moves the window's edge past a piece already clipped to it: a floor-side piece
// takes the bottom, a ceiling-side piece the top. A piece with no rows inside the
// window leaves it as it is.
void narrowWindow(std::uint8_t side, std::int32_t start, std::int32_t end) {
    if (side != floorSide) {
        if (end > clipTop) {
            clipTop = end;
        }
    } else if (start < clipBottom) {
        clipBottom = start;
    }
}

void drawFlatSpan(std::int32_t x, float height, std::uint8_t side, std::int32_t texture,
                  std::int32_t key, std::int32_t start, std::int32_t end) {
    start = std::max(start, clipTop);
    end = std::min(end, clipBottom);
    narrowWindow(side, start, end);
    FlatCacheEntry& entry = flatCache[key];
    if (!entry.valid) {
        fillFlatCache(key, height);
    }
    if (start >= end) {
        return;
    }
    const float slope = columnSlopes[x];
    // 64-bit products give the same low bits as the 32-bit products of the usual
    // range and stay defined beyond it.
    const std::int64_t dx = roundToInt((viewSide.x * slope + viewDir.x) * flatFixedOne);
    const std::int64_t dy = roundToInt((viewSide.y * slope + viewDir.y) * flatFixedOne);
    const std::int64_t ox = roundToInt(cameraPos.x * flatFixedOne);
    const std::int64_t oy = roundToInt(cameraPos.y * flatFixedOne);
    const PackedPixel* texels = textures[texture].pixels;
    PackedPixel* out = framebuffer + start * screenWidth + x;
    for (std::int32_t r = start; r < end; ++r) {
        const std::int64_t t = entry.rowDepth[r];
        const std::int64_t wx = ((t * dx) >> 8) + ox;
        const std::int64_t wy = ((t * dy) >> 8) + oy;
        *out = texels[((wy >> 8) & textureMask) * textureSize + ((wx >> 8) & textureMask)];
        out += screenWidth;
    }
}

void drawWallPiece(std::int32_t x, std::int32_t y, float k, std::uint8_t side, std::int32_t texture,
                   float u, std::int32_t start, std::int32_t end) {
    const PackedPixel* texels =
        textures[texture].pixels + (roundToInt(u) & textureMask) * textureSize;
    const float s = wallRowScale / k;
    // Texture row 0 sits on the boundary line y on both sides.
    float v = side != floorSide ? static_cast<float>(-y) * s : 0.0f;
    if (start < clipTop) {
        v = v + static_cast<float>(clipTop - start) * s;
        start = clipTop;
    }
    if (end > clipBottom) {
        end = clipBottom;
    }
    narrowWindow(side, start, end);
    if (start >= end) {
        return;
    }
    const std::int64_t step = roundToInt(s * wallFixedOne);
    std::int64_t vfix = roundToInt(v * wallFixedOne);
    PackedPixel* out = framebuffer + start * screenWidth + x;
    for (std::int32_t r = start; r < end; ++r) {
        *out = texels[(vfix >> 16) & textureMask];
        vfix += step;
        out += screenWidth;
    }
}

} // namespace

std::int32_t projectRow(float height, float depth) {
    return rowAt(height, projectionScale(depth));
}

void drawColumnPart(std::int32_t x, float height, float depth, std::uint8_t side,
                    std::int32_t texture, std::int32_t kind, float u, std::int32_t key) {
    if (kind != wallPiece && kind != flatSpan) {
        return;
    }
    const float k = projectionScale(depth);
    const std::int32_t y = rowAt(height, k);
    const std::int32_t start = side != floorSide ? 0 : y;
    const std::int32_t end = side != floorSide ? y : screenHeight;
    if (kind == flatSpan) {
        drawFlatSpan(x, height, side, texture, key, start, end);
    } else {
        drawWallPiece(x, y, k, side, texture, u, start, end);
    }
}

void fillFlatCache(std::int32_t key, float height) {
    FlatCacheEntry& entry = flatCache[key];
    for (std::int32_t i = 0; i < screenHeight; ++i) {
        entry.rowDepth[i] = rowSlopes[i] == 0.0f
                                ? 0
                                : roundToInt((cameraPos.z - height) / rowSlopes[i] * depthFixedOne);
    }
    entry.valid = 1;
}

void invalidateFlatCache() {
    for (FlatCacheEntry& entry : flatCache) {
        entry.valid = 0;
    }
}
