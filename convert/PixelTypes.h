#pragma once

#include <cstdint>

// One true-colour pixel, 0xAARRGGBB: memory order blue, green, red, alpha.
using PackedPixel = std::uint32_t;

// One floating-point pixel: four floats in memory order alpha, blue, green, red.
struct FloatPixel {
    float alpha;
    float blue;
    float green;
    float red;
};
static_assert(sizeof(FloatPixel) == 16, "FloatPixel is four packed floats");
