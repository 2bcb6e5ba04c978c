#include <duskhall/PixelTypes.h>

#include "convert/ConvertFrame.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

using namespace duskhall;

namespace {

constexpr std::uint8_t Untouched = 0xAB;

// A 3 x 2 frame converted to RGB888 (9 bytes a row) into rows 12 bytes apart:
// each row lands at its pitch and the gap after it is left alone.
TEST(ConvertFrame, WritesEachRowAtTheDestinationPitchAndLeavesTheGaps) {
    const PackedPixel frame[6] = {0x00102030, 0x00405060, 0x00708090,
                                  0x00A0B0C0, 0x00D0E0F0, 0x00010203};
    std::vector<std::uint8_t> surface(24, Untouched);
    ASSERT_TRUE(convertFrame(PixelFormat::XRGB8888, frame, 3 * sizeof(PackedPixel),
                             PixelFormat::RGB888, surface.data(), 12, 3, 2));
    const std::vector<std::uint8_t> expected = {
        0x10, 0x20, 0x30, 0x40, 0x50, 0x60, 0x70, 0x80, 0x90, Untouched, Untouched, Untouched,
        0xA0, 0xB0, 0xC0, 0xD0, 0xE0, 0xF0, 0x01, 0x02, 0x03, Untouched, Untouched, Untouched};
    EXPECT_EQ(surface, expected);
}

// Rows of the source may be wider than the frame (a window into a larger
// image): only the first width pixels of each row are read.
TEST(ConvertFrame, StepsTheSourceByItsOwnPitch) {
    const PackedPixel image[2][4] = {{1, 2, 0xDEAD, 0xDEAD}, {3, 4, 0xBEEF, 0xBEEF}};
    PackedPixel copied[4] = {};
    ASSERT_TRUE(convertFrame(PixelFormat::XRGB8888, image, sizeof image[0], PixelFormat::XRGB8888,
                             copied, 2 * sizeof(PackedPixel), 2, 2));
    EXPECT_EQ(copied[0], 1u);
    EXPECT_EQ(copied[1], 2u);
    EXPECT_EQ(copied[2], 3u);
    EXPECT_EQ(copied[3], 4u);
}

TEST(ConvertFrame, FloatFramesGoThroughTheFloatConverters) {
    const FloatPixel frame[2] = {{1.0f, 1.0f, 0.0f, 0.0f}, {1.0f, 0.0f, 0.0f, 1.0f}};
    PackedPixel converted[2] = {};
    ASSERT_TRUE(convertFrame(PixelFormat::FloatingPoint, frame, sizeof frame, PixelFormat::XRGB8888,
                             converted, sizeof converted, 2, 1));
    EXPECT_EQ(converted[0] & 0xFFFFFFu, 0x0000FFu);
    EXPECT_EQ(converted[1] & 0xFFFFFFu, 0xFF0000u);
}

// A red-first float surface gets both frame kinds red, green, blue, alpha, in
// every row at its pitch (the float after each row is a gap that stays as it was);
// the default order and the integer surfaces are left as the converters write them.
TEST(ConvertFrame, FloatSurfaceOrderIsAppliedToEveryRowOfBothFrameKinds) {
    constexpr float Gap = -7.0f;
    const FloatPixel floats[2] = {{0.25f, 0.0f, 0.5f, 1.0f}, {0.75f, 1.0f, 0.0f, 0.125f}};
    const PackedPixel packed[2] = {0xFFFF8000u, 0xFF0000FFu};
    struct Case {
        const char* what;
        PixelFormat source;
        const void* frame;
        std::ptrdiff_t sourcePitch;
        FloatElementOrder order;
        float expected[2][5]; // each row: the four elements, then the gap
    };
    const Case cases[] = {
        {"float frame, red first",
         PixelFormat::FloatingPoint,
         floats,
         sizeof(FloatPixel),
         FloatElementOrder::RedGreenBlueAlpha,
         {{1.0f, 0.5f, 0.0f, 0.25f, Gap}, {0.125f, 0.0f, 1.0f, 0.75f, Gap}}},
        {"float frame, FloatPixel order",
         PixelFormat::FloatingPoint,
         floats,
         sizeof(FloatPixel),
         FloatElementOrder::AlphaBlueGreenRed,
         {{0.25f, 0.0f, 0.5f, 1.0f, Gap}, {0.75f, 1.0f, 0.0f, 0.125f, Gap}}},
        // The true-colour converter leaves the alpha element as the surface held it.
        {"integer frame, red first",
         PixelFormat::XRGB8888,
         packed,
         sizeof(PackedPixel),
         FloatElementOrder::RedGreenBlueAlpha,
         {{1.0f, 128 * (1.0f / 255), 0.0f, Gap, Gap}, {0.0f, 0.0f, 1.0f, Gap, Gap}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        float surface[2][5];
        std::fill(&surface[0][0], &surface[0][0] + 10, Gap);
        ASSERT_TRUE(convertFrame(c.source, c.frame, c.sourcePitch, PixelFormat::FloatingPoint,
                                 surface, sizeof surface[0], 1, 2, c.order));
        for (int row = 0; row < 2; ++row) {
            for (int element = 0; element < 5; ++element) {
                EXPECT_EQ(surface[row][element], c.expected[row][element])
                    << row << ", " << element;
            }
        }
    }
    PackedPixel copied[2] = {};
    ASSERT_TRUE(convertFrame(PixelFormat::XRGB8888, packed, sizeof packed, PixelFormat::XRGB8888,
                             copied, sizeof copied, 2, 1, FloatElementOrder::RedGreenBlueAlpha));
    EXPECT_EQ(copied[0], packed[0]);
    EXPECT_EQ(copied[1], packed[1]);
}

TEST(ConvertFrame, APairWithoutConverterOrANullPointerConvertsNothing) {
    const PackedPixel frame[1] = {0x00FFFFFF};
    std::uint8_t surface[4] = {Untouched, Untouched, Untouched, Untouched};
    EXPECT_FALSE(
        convertFrame(PixelFormat::RGB565, frame, 4, PixelFormat::XRGB8888, surface, 4, 1, 1));
    EXPECT_FALSE(
        convertFrame(PixelFormat::XRGB8888, frame, 4, PixelFormat::NoFormat, surface, 4, 1, 1));
    EXPECT_FALSE(
        convertFrame(PixelFormat::XRGB8888, nullptr, 4, PixelFormat::XRGB8888, surface, 4, 1, 1));
    EXPECT_FALSE(
        convertFrame(PixelFormat::XRGB8888, frame, 4, PixelFormat::XRGB8888, nullptr, 4, 1, 1));
    for (std::uint8_t byte : surface) {
        EXPECT_EQ(byte, Untouched);
    }
}

} // namespace
