#pragma once

namespace duskhall {

// How a surface of four-float pixels orders the elements of each pixel in memory.
// FloatPixel's own order is alpha, blue, green, red; Direct3D's A32B32G32R32F
// surface holds red, green, blue, alpha.
enum class FloatElementOrder {
    AlphaBlueGreenRed,
    RedGreenBlueAlpha,
};

} // namespace duskhall
