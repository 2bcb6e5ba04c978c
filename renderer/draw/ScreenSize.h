#pragma once

#include <cstdint>

// The animation's own picture, the size frames have until resizeFrames picks
// another: 320 x 240 pixels, centre at column 160, row 120.
constexpr std::int32_t screenWidth = 320;
constexpr std::int32_t screenHeight = 240;
constexpr std::int32_t screenPixels = screenWidth * screenHeight;
constexpr std::int32_t centreColumn = 160;
constexpr std::int32_t centreRow = 120;
