#pragma once

#include <duskhall/PixelFormat.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace duskhall;

// Plain, one-channel-at-a-time definitions of every conversion, written independently of the
// converters' own code so the tests compare two separate readings of the pixel formats.

struct PackedShape {
    PixelFormat format;
    const char* name;
    int bytes;
    int redBits, redLow;
    int greenBits, greenLow;
    int blueBits, blueLow;
};

// The eight packed destinations. Fields not listed are zero. For the 24-bit formats the
// little-endian word's three low bytes are the memory bytes, in order.
inline const std::vector<PackedShape>& packedShapes() {
    static const std::vector<PackedShape> shapes = {
        {PixelFormat::XRGB8888, "XRGB8888", 4, 8, 16, 8, 8, 8, 0},
        {PixelFormat::XBGR8888, "XBGR8888", 4, 8, 0, 8, 8, 8, 16},
        {PixelFormat::RGB888, "RGB888", 3, 8, 0, 8, 8, 8, 16},
        {PixelFormat::BGR888, "BGR888", 3, 8, 16, 8, 8, 8, 0},
        {PixelFormat::RGB565, "RGB565", 2, 5, 11, 6, 5, 5, 0},
        {PixelFormat::BGR565, "BGR565", 2, 5, 0, 6, 5, 5, 11},
        {PixelFormat::XRGB1555, "XRGB1555", 2, 5, 10, 5, 5, 5, 0},
        {PixelFormat::XBGR1555, "XBGR1555", 2, 5, 0, 5, 5, 5, 10},
    };
    return shapes;
}

inline int bytesPerPixel(PixelFormat format) {
    switch (format) {
    case PixelFormat::XRGB8888:
    case PixelFormat::XBGR8888:
        return 4;
    case PixelFormat::RGB888:
    case PixelFormat::BGR888:
        return 3;
    case PixelFormat::RGB565:
    case PixelFormat::BGR565:
    case PixelFormat::XRGB1555:
    case PixelFormat::XBGR1555:
        return 2;
    case PixelFormat::FloatingPoint:
        return 16;
    default:
        return 0;
    }
}

inline std::uint32_t placeChannels(const PackedShape& shape, std::uint32_t red, std::uint32_t green,
                                   std::uint32_t blue) {
    return red << shape.redLow | green << shape.greenLow | blue << shape.blueLow;
}

// True colour to a packed format: the top bits of each 8-bit channel, no rounding.
inline std::uint32_t referenceFromTrueColour(const PackedShape& shape, std::uint32_t v) {
    if (shape.format == PixelFormat::XRGB8888) {
        return v; // the plain copy keeps the alpha byte
    }
    const std::uint32_t red = (v >> 16) & 0xff;
    const std::uint32_t green = (v >> 8) & 0xff;
    const std::uint32_t blue = v & 0xff;
    return placeChannels(shape, red >> (8 - shape.redBits), green >> (8 - shape.greenBits),
                         blue >> (8 - shape.blueBits));
}

inline std::uint32_t floatBits(float x) {
    std::uint32_t b;
    std::memcpy(&b, &x, sizeof b);
    return b;
}

inline float floatFromBits(std::uint32_t b) {
    float x;
    std::memcpy(&x, &b, sizeof x);
    return x;
}

// The quantiser by its meaning, on the bit pattern and in integers only: 0 for anything not
// above zero (and NaNs with the sign set), full scale from 0.99999994 up (and NaNs with the sign
// clear), otherwise x rounded to a whole number of steps of 2^-23 (halves to even) and scaled by
// 2^bits, truncated.
// The quantised value at 23 bits (x scaled by 2^23), from which every narrower width is a shift.
inline std::uint32_t referenceSteps(std::uint32_t pattern) {
    const bool negative = (pattern >> 31) != 0;
    const std::uint32_t exponent = (pattern >> 23) & 0xff;
    const std::uint32_t mantissa = pattern & 0x7fffff;
    if (negative || pattern == 0) {
        return 0u; // also -0.0, -inf and NaNs with the sign set
    }
    if (pattern >= 0x3f7fffffu) {
        return 0x7fffffu; // 0.99999994 and above, +inf, NaNs with the sign clear
    }
    // x * 2^23 = significand * 2^(exponent - 127), with exponent below 127 here.
    const std::uint32_t significand = exponent == 0 ? mantissa : (mantissa | 0x800000u);
    const std::uint32_t drop = exponent == 0 ? 126u : 127u - exponent;
    if (drop > 24) {
        return 0u; // below half a step: rounds to zero
    }
    std::uint32_t steps = significand >> drop;
    const std::uint32_t rest = significand & ((1u << drop) - 1u);
    const std::uint32_t half = 1u << (drop - 1);
    if (rest > half || (rest == half && (steps & 1u) != 0)) {
        ++steps;
    }
    return steps;
}

inline std::uint32_t referenceQuantiseBits(std::uint32_t pattern, int bits) {
    return referenceSteps(pattern) >> (23 - bits);
}

inline std::uint32_t referenceQuantise(float x, int bits) {
    std::uint32_t pattern;
    std::memcpy(&pattern, &x, sizeof pattern);
    return referenceQuantiseBits(pattern, bits);
}

inline std::uint32_t referenceFromFloat(const PackedShape& shape, float red, float green,
                                        float blue) {
    return placeChannels(shape, referenceQuantise(red, shape.redBits),
                         referenceQuantise(green, shape.greenBits),
                         referenceQuantise(blue, shape.blueBits));
}

// The low `bytes` bytes of a word, lowest first: a packed pixel as it sits in memory.
inline std::vector<std::uint8_t> pixelBytes(std::uint32_t word, int bytes) {
    std::vector<std::uint8_t> out;
    for (int i = 0; i < bytes; ++i) {
        out.push_back(static_cast<std::uint8_t>(word >> (8 * i)));
    }
    return out;
}

inline std::uint32_t readPixel(const std::uint8_t* p, int bytes) {
    std::uint32_t word = 0;
    for (int i = 0; i < bytes; ++i) {
        word |= static_cast<std::uint32_t>(p[i]) << (8 * i);
    }
    return word;
}

// 1/255 in single precision, from its bit pattern.
inline float reciprocal255() {
    return floatFromBits(0x3b808081u);
}
