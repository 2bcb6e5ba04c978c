#pragma once

#include <cstdint>

// Pixel layouts of the two source kinds and of every device surface we can fill.
enum class PixelFormat : std::int32_t {
    NoFormat = 0,
    XRGB8888 = 1,
    XBGR8888 = 2,
    RGB888 = 3,
    BGR888 = 4,
    RGB565 = 5,
    BGR565 = 6,
    XRGB1555 = 7,
    XBGR1555 = 8,
    FloatingPoint = 9,
};
