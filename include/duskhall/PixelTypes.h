#pragma once

#include <cstdint>

namespace duskhall {

/// One true-colour pixel, 0xAARRGGBB (memory order blue, green, red, alpha); the
/// display ignores alpha. Its layout is PixelFormat::XRGB8888.
using PackedPixel = std::uint32_t;

/// One floating-point pixel: four floats in memory order alpha, blue, green, red,
/// colours from 0 to 1; alpha is ignored. Its layout is PixelFormat::FloatingPoint.
struct FloatPixel {
    float alpha; ///< ignored
    float blue;  ///< 0 to 1
    float green; ///< 0 to 1
    float red;   ///< 0 to 1
};
static_assert(sizeof(FloatPixel) == 16, "FloatPixel is four packed floats");

} // namespace duskhall
