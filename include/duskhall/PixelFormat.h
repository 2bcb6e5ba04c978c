#pragma once

#include <cstdint>

namespace duskhall {

/// Pixel layouts of the two frame kinds and of every device surface the library
/// can fill. Packed formats name their channels from the most significant bit
/// down; the 24-bit ones name their bytes in memory order.
enum class PixelFormat : std::int32_t {
    NoFormat = 0,
    XRGB8888 = 1,      ///< 32-bit word 0x--RRGGBB: PackedPixel
    XBGR8888 = 2,      ///< 32-bit word 0x00BBGGRR
    RGB888 = 3,        ///< bytes red, green, blue
    BGR888 = 4,        ///< bytes blue, green, red
    RGB565 = 5,        ///< 16-bit word, red 5, green 6, blue 5 bits
    BGR565 = 6,        ///< 16-bit word, blue 5, green 6, red 5 bits
    XRGB1555 = 7,      ///< 16-bit word, top bit 0, red, green, blue 5 bits each
    XBGR1555 = 8,      ///< 16-bit word, top bit 0, blue, green, red 5 bits each
    FloatingPoint = 9, ///< four floats alpha, blue, green, red: FloatPixel
};

} // namespace duskhall
