#pragma once

#include <cstdint>

namespace duskhall {

// Describes where red, green and blue sit in one destination pixel. `bytes` is the pixel size in
// memory; for packed formats the word is stored little-endian and its lowest `bytes` bytes are
// kept, so a 24-bit format is a 32-bit word with the top byte dropped. Each channel keeps its
// top `bits` bits at bit `position` and above. Every bit not covered by a channel is zero.
template <int Bytes, int RedBits, int RedPosition, int GreenBits, int GreenPosition, int BlueBits,
          int BluePosition>
struct PackedLayout {
    static constexpr int bytes = Bytes;
    static constexpr int redBits = RedBits;
    static constexpr int redPosition = RedPosition;
    static constexpr int greenBits = GreenBits;
    static constexpr int greenPosition = GreenPosition;
    static constexpr int blueBits = BlueBits;
    static constexpr int bluePosition = BluePosition;
};

using XRGB8888Layout = PackedLayout<4, 8, 16, 8, 8, 8, 0>;
using XBGR8888Layout = PackedLayout<4, 8, 0, 8, 8, 8, 16>;
using RGB888Layout = PackedLayout<3, 8, 0, 8, 8, 8, 16>; // memory order red, green, blue
using BGR888Layout = PackedLayout<3, 8, 16, 8, 8, 8, 0>; // memory order blue, green, red
using RGB565Layout = PackedLayout<2, 5, 11, 6, 5, 5, 0>;
using BGR565Layout = PackedLayout<2, 5, 0, 6, 5, 5, 11>;
using XRGB1555Layout = PackedLayout<2, 5, 10, 5, 5, 5, 0>;
using XBGR1555Layout = PackedLayout<2, 5, 0, 5, 5, 5, 10>;

// Four floats per pixel, memory order alpha, blue, green, red; only the colour elements are
// written.
struct FloatLayout {
    static constexpr int bytes = 16;
};

// The two source kinds.
struct TrueColourSource {
    static constexpr int bytes = 4; // 0xAARRGGBB
};
struct FloatSource {
    static constexpr int bytes = 16; // alpha, blue, green, red
};

} // namespace duskhall
