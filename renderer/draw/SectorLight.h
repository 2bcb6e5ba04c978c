#pragma once

#include "renderer/level/Pixel.h"

#include <algorithm>
#include <cstdint>

// How a sector's light (0 to 255) and the depth of a surface make its shade: 0 is
// full brightness, 31 the darkest. The light counts in 16 steps; the nearer a
// surface, the more it is lifted out of the dark. All whole numbers, so every build
// shades alike.

constexpr std::int32_t fullLight = 255;
constexpr std::int32_t darkestShade = 31;
// A pixel keeps (32 - shade) / 32 of each channel: 32 keeps it as it is.
constexpr std::uint32_t keepAll = 32;

// The shade a surface at no lift would get: 4 x (15 - step), where step is the
// light's sixteenth moved by contrast steps (fake contrast) and kept to 0..15.
// 0 for every light from 240 up, with no contrast: those surfaces are never shaded.
inline std::int32_t darkOf(std::int32_t light, std::int32_t contrast) {
    const std::int32_t step = std::clamp(light / 16 + contrast, 0, 15);
    return 4 * (15 - step);
}

// A depth in 1/256 units, truncated; negative as 0, past 256 units as 256 (no lift
// changes beyond). The float depth is scaled exactly, so this is the same number
// whatever the frame size.
std::int32_t depthSteps(float depth);

// The lift of a wall (and its middle) at the given depth: min(47, 80 / d) / 2,
// 80 / d being the whole quotient of 80 x 256 by the depth in 1/256 units (47 at 0).
std::int32_t wallLift(float depth);
// The lift of a floor or ceiling row: 80 / (min(127, 2d) + 1), 2d truncated.
std::int32_t flatLift(float depth);

// The shades of count texels, 0 to 31 one after another: shades[s x count + i] is
// texel i in shade s.
void fillShades(const PackedPixel* texels, std::int32_t count, PackedPixel* shades);

// clamp(dark - lift, 0, 31).
inline std::int32_t shadeOf(std::int32_t dark, std::int32_t lift) {
    const std::int32_t shade = dark - lift;
    return shade < 0 ? 0 : (shade > darkestShade ? darkestShade : shade);
}

// Each colour channel c becomes (c x keep + 16) / 32; alpha stays. Red and blue
// are worked out together, 16 bits apart: no product reaches the other's bits.
inline PackedPixel shadePixel(PackedPixel c, std::uint32_t keep) {
    const std::uint32_t redBlue = ((c & 0x00FF00FFu) * keep + 0x00100010u) >> 5 & 0x00FF00FFu;
    const std::uint32_t green = ((c & 0x0000FF00u) * keep + 0x00001000u) >> 5 & 0x0000FF00u;
    return (c & 0xFF000000u) | redBlue | green;
}
