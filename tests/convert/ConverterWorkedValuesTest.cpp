#include <duskhall/PixelConverter.h>

#include "tests/convert/ReferencePixels.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

using namespace duskhall;

namespace {

std::vector<std::uint8_t> convertOne(PixelFormat source, PixelFormat destination,
                                     const void* pixel) {
    PixelConverter* converter = lookupConverter(source, destination);
    EXPECT_NE(converter, nullptr);
    std::vector<std::uint8_t> out(static_cast<std::size_t>(bytesPerPixel(destination)), 0xcc);
    if (converter != nullptr) {
        converter->convertRun(pixel, out.data(), 1);
    }
    return out;
}

float element(const std::vector<std::uint8_t>& pixel, int index) {
    float x;
    std::memcpy(&x, pixel.data() + 4 * index, sizeof x);
    return x;
}

std::uint32_t word(const std::vector<std::uint8_t>& pixel) {
    return readPixel(pixel.data(), static_cast<int>(pixel.size()));
}

TEST(TrueColourWorkedValues, Pixel123456InEveryFormat) {
    const std::uint32_t v = 0xff123456u;
    const auto convert = [&](PixelFormat destination) {
        return convertOne(PixelFormat::XRGB8888, destination, &v);
    };
    EXPECT_EQ(word(convert(PixelFormat::XRGB8888)), 0xff123456u);
    EXPECT_EQ(word(convert(PixelFormat::XBGR8888)), 0x00563412u);
    EXPECT_EQ(convert(PixelFormat::RGB888), (std::vector<std::uint8_t>{0x12, 0x34, 0x56}));
    EXPECT_EQ(convert(PixelFormat::BGR888), (std::vector<std::uint8_t>{0x56, 0x34, 0x12}));
    EXPECT_EQ(word(convert(PixelFormat::RGB565)), 0x11aau);
    EXPECT_EQ(word(convert(PixelFormat::BGR565)), 0x51a2u);
    EXPECT_EQ(word(convert(PixelFormat::XRGB1555)), 0x08cau);
    EXPECT_EQ(word(convert(PixelFormat::XBGR1555)), 0x28c2u);

    const std::vector<std::uint8_t> f = convert(PixelFormat::FloatingPoint);
    EXPECT_EQ(std::vector<std::uint8_t>(f.begin(), f.begin() + 4),
              (std::vector<std::uint8_t>{0xcc, 0xcc, 0xcc, 0xcc}))
        << "alpha element must keep what the destination held";
    EXPECT_EQ(element(f, 1), 0.33725491f);
    EXPECT_EQ(element(f, 2), 0.20392159f);
    EXPECT_EQ(element(f, 3), 0.070588239f);
}

TEST(TrueColourWorkedValues, OnlyThePlainCopyKeepsAlpha) {
    for (std::uint32_t alpha : {0x00u, 0x80u, 0xffu}) {
        const std::uint32_t v = alpha << 24 | 0x00808080u;
        for (const PackedShape& shape : packedShapes()) {
            const std::uint32_t out = word(convertOne(PixelFormat::XRGB8888, shape.format, &v));
            const std::uint32_t channelBits =
                placeChannels(shape, (1u << shape.redBits) - 1u, (1u << shape.greenBits) - 1u,
                              (1u << shape.blueBits) - 1u);
            if (shape.format == PixelFormat::XRGB8888) {
                EXPECT_EQ(out, v);
            } else {
                EXPECT_EQ(out & ~channelBits, 0u) << shape.name << " alpha " << alpha;
            }
        }
    }
}

TEST(TrueColourWorkedValues, KIsTheSinglePrecisionReciprocalOf255) {
    EXPECT_EQ(floatBits(reciprocal255()), 0x3b808081u);
    EXPECT_EQ(reciprocal255(), static_cast<float>(1.0 / 255.0));
}

TEST(TrueColourWorkedValues, EveryLevelRoundTripsThroughFloatingPoint) {
    PixelConverter* toFloat = lookupConverter(PixelFormat::XRGB8888, PixelFormat::FloatingPoint);
    PixelConverter* back = lookupConverter(PixelFormat::FloatingPoint, PixelFormat::XRGB8888);
    ASSERT_NE(toFloat, nullptr);
    ASSERT_NE(back, nullptr);
    std::vector<std::uint32_t> levels(256);
    for (std::uint32_t c = 0; c < 256; ++c) {
        // Red, green and blue carry different levels so a channel mix-up shows.
        levels[c] = 0xff000000u | c << 16 | ((c + 85) & 0xff) << 8 | ((c + 170) & 0xff);
    }
    std::vector<float> floats(4 * 256, 0.0f);
    std::vector<std::uint32_t> result(256, 0xdeadbeefu);
    toFloat->convertRun(levels.data(), floats.data(), 256);
    back->convertRun(floats.data(), result.data(), 256);
    for (std::uint32_t c = 0; c < 256; ++c) {
        EXPECT_EQ(result[c], levels[c] & 0x00ffffffu) << "level " << c;
        EXPECT_EQ(floats[4 * c + 3], static_cast<float>(c) * reciprocal255());
    }
    EXPECT_EQ(floats[4 * 128 + 3], 0.50196081f);
    EXPECT_EQ(floats[4 * 255 + 3], 1.0f);
    EXPECT_EQ(floats[4 * 0 + 3], 0.0f);
    EXPECT_FALSE(std::signbit(floats[4 * 0 + 3]));
}

struct FloatPixelValue {
    float alpha, blue, green, red;
};

TEST(FloatWorkedValues, MixedPixelInEveryPackedFormat) {
    for (float alpha : {0.0f, 1.0f, std::numeric_limits<float>::quiet_NaN(), -7.0f}) {
        const FloatPixelValue p{alpha, 0.5f, 1.0f, -0.25f};
        const auto convert = [&](PixelFormat destination) {
            return word(convertOne(PixelFormat::FloatingPoint, destination, &p));
        };
        EXPECT_EQ(convert(PixelFormat::XRGB8888), 0x0000ff80u);
        EXPECT_EQ(convert(PixelFormat::XBGR8888), 0x0080ff00u);
        EXPECT_EQ(convert(PixelFormat::RGB888), 0x80ff00u); // bytes 00 ff 80
        EXPECT_EQ(convert(PixelFormat::BGR888), 0x00ff80u); // bytes 80 ff 00
        EXPECT_EQ(convert(PixelFormat::RGB565), 0x07f0u);
        EXPECT_EQ(convert(PixelFormat::BGR565), 0x87e0u);
        EXPECT_EQ(convert(PixelFormat::XRGB1555), 0x03f0u);
        EXPECT_EQ(convert(PixelFormat::XBGR1555), 0x43e0u);
    }
}

// One value in all three colour channels, through the 565 format (5 and 6 bits) and XRGB8888
// (8 bits).
struct Quantised {
    std::uint32_t q5, q6, q8;
};

Quantised quantiseEverywhere(float x) {
    const FloatPixelValue p{0.0f, x, x, x};
    const std::uint32_t w565 =
        word(convertOne(PixelFormat::FloatingPoint, PixelFormat::RGB565, &p));
    const std::uint32_t w8888 =
        word(convertOne(PixelFormat::FloatingPoint, PixelFormat::XRGB8888, &p));
    EXPECT_EQ(w565 >> 11, w565 & 0x1f) << "red and blue differ for " << x;
    EXPECT_EQ(w8888 & 0xff, (w8888 >> 16) & 0xff) << "red and blue differ for " << x;
    EXPECT_EQ(w8888 >> 24, 0u);
    return {w565 & 0x1f, (w565 >> 5) & 0x3f, w8888 & 0xff};
}

TEST(FloatWorkedValues, SpecialValuesGiveZeroOrFullScale) {
    const float inf = std::numeric_limits<float>::infinity();
    for (float x : {0.0f, -0.0f, -1.0f, -inf, floatFromBits(0xffc00000u),
                    floatFromBits(0x80000001u), floatFromBits(0xff800001u)}) {
        const Quantised q = quantiseEverywhere(x);
        EXPECT_EQ(q.q5, 0u) << x;
        EXPECT_EQ(q.q6, 0u) << x;
        EXPECT_EQ(q.q8, 0u) << x;
    }
    for (float x : {0.99999994f, 1.0f, 1.5f, inf, floatFromBits(0x7fc00000u),
                    floatFromBits(0x7f800001u), std::numeric_limits<float>::max()}) {
        const Quantised q = quantiseEverywhere(x);
        EXPECT_EQ(q.q5, 31u) << x;
        EXPECT_EQ(q.q6, 63u) << x;
        EXPECT_EQ(q.q8, 255u) << x;
    }
}

TEST(FloatWorkedValues, ScaleIsPowerOfTwoAndTheAdditionRounds) {
    const Quantised half = quantiseEverywhere(0.5f);
    EXPECT_EQ(half.q8, 128u);
    EXPECT_EQ(half.q6, 32u);
    EXPECT_EQ(half.q5, 16u);
    EXPECT_EQ(quantiseEverywhere(0.25f).q8, 64u);
    EXPECT_EQ(quantiseEverywhere(0.99f).q8, 253u);
    EXPECT_EQ(quantiseEverywhere(0.003906249f).q8, 1u);
    EXPECT_EQ(quantiseEverywhere(0.0039f).q8, 0u);
    const Quantised tenth = quantiseEverywhere(0.1f);
    EXPECT_EQ(tenth.q8, 25u);
    EXPECT_EQ(tenth.q6, 6u);
    EXPECT_EQ(tenth.q5, 3u);
    // Just below the threshold the sum stays under 2.0 and its mantissa is all ones.
    EXPECT_EQ(quantiseEverywhere(floatFromBits(0x3f7ffffeu)).q8, 255u);
    EXPECT_EQ(quantiseEverywhere(floatFromBits(0x00000001u)).q8, 0u);
}

TEST(FloatWorkedValues, FloatCopyKeepsAlphaAndEveryBit) {
    PixelConverter* copy = lookupConverter(PixelFormat::FloatingPoint, PixelFormat::FloatingPoint);
    ASSERT_NE(copy, nullptr);
    const std::uint32_t source[8] = {0x7fc00001u, 0x3f000000u, 0xbf800000u, 0x00000001u,
                                     0xdeadbeefu, 0x80000000u, 0x7f800000u, 0x12345678u};
    std::uint32_t destination[8] = {};
    copy->convertRun(source, destination, 2);
    EXPECT_EQ(std::memcmp(source, destination, sizeof source), 0);
}

TEST(FloatWorkedValues, FloatConversionsNeverWriteBits24To31OrBit15) {
    const FloatPixelValue white{1.0f, 1.0f, 1.0f, 1.0f};
    EXPECT_EQ(word(convertOne(PixelFormat::FloatingPoint, PixelFormat::XRGB8888, &white)),
              0x00ffffffu);
    EXPECT_EQ(word(convertOne(PixelFormat::FloatingPoint, PixelFormat::XBGR8888, &white)),
              0x00ffffffu);
    EXPECT_EQ(word(convertOne(PixelFormat::FloatingPoint, PixelFormat::XRGB1555, &white)), 0x7fffu);
    EXPECT_EQ(word(convertOne(PixelFormat::FloatingPoint, PixelFormat::XBGR1555, &white)), 0x7fffu);
    EXPECT_EQ(word(convertOne(PixelFormat::FloatingPoint, PixelFormat::RGB565, &white)), 0xffffu);
}

} // namespace
