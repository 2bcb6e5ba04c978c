#pragma once

#include <duskhall/PixelFormat.h>

#include <array>
#include <cstddef>

namespace duskhall {

// The device formats an output tries, best first: floating point for float
// frames, then the frame's own layout (a plain copy), then the other layouts
// from the most to the least exact.
constexpr std::array<PixelFormat, 6> formatPreference = {
    PixelFormat::FloatingPoint, PixelFormat::XRGB8888, PixelFormat::XBGR8888,
    PixelFormat::RGB888,        PixelFormat::RGB565,   PixelFormat::XRGB1555,
};
// Outputs of integer frames skip the floating-point entry.
constexpr std::size_t integerPreferenceStart = 1;

} // namespace duskhall
