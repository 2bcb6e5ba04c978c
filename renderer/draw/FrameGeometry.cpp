#include "renderer/draw/FrameGeometry.h"

#include "renderer/draw/ScreenSize.h"

#include <cmath>

namespace {

constexpr std::int32_t baseWidth = 320;
constexpr float baseWallRowScale = 0.13333334f; // bits 0x3E088889: 16 texels per unit at 320
constexpr std::int32_t baseDepthBits = 8;
constexpr std::int32_t baseRayBits = 13;
constexpr std::int32_t baseWallBits = 16;

std::int32_t doublingsPast(std::int32_t base, std::int32_t width) {
    std::int32_t doublings = 0;
    for (std::int32_t reach = base; reach < width; reach *= 2) {
        ++doublings;
    }
    return doublings;
}

} // namespace

bool frameSizeAllowed(std::int32_t width, std::int32_t height) {
    return width >= minFrameWidth && width <= maxFrameWidth && height >= minFrameHeight &&
           height <= maxFrameHeight;
}

FrameGeometry frameGeometryFor(std::int32_t width, std::int32_t height) {
    FrameGeometry geometry;
    geometry.width = width;
    geometry.height = height;
    geometry.centreColumn = width / 2;
    geometry.centreRow = height / 2;
    const float widthF = static_cast<float>(width);
    // 2 / 320 rounds to the bits 0x3BCCCCCD the animation has always used.
    geometry.columnSlopeStep = 2.0f / widthF;
    geometry.rowSlopeStep = std::nextafter(geometry.columnSlopeStep, 0.0f);
    geometry.projectionRows = 0.375f * widthF;
    // Times exactly 1 at 320.
    geometry.wallRowScale = baseWallRowScale * (static_cast<float>(baseWidth) / widthF);
    const std::int32_t extra = doublingsPast(baseWidth, width);
    geometry.depthBits = baseDepthBits + extra;
    geometry.rayBits = baseRayBits + extra;
    geometry.wallBits = baseWallBits + extra;
    return geometry;
}

FrameGeometry frameGeometry = frameGeometryFor(screenWidth, screenHeight);
std::vector<float> columnSlopes(screenWidth);
std::vector<float> rowSlopes(screenHeight);
