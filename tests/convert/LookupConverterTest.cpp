#include <duskhall/PixelConverter.h>

#include "convert/PixelConverters.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>
#include <set>
#include <typeinfo>

using namespace duskhall;

namespace {

constexpr std::array<PixelFormat, 9> destinations = {
    PixelFormat::XRGB8888, PixelFormat::XBGR8888, PixelFormat::RGB888,
    PixelFormat::BGR888,   PixelFormat::RGB565,   PixelFormat::BGR565,
    PixelFormat::XRGB1555, PixelFormat::XBGR1555, PixelFormat::FloatingPoint};

PixelFormat code(int value) {
    return static_cast<PixelFormat>(value);
}

TEST(LookupConverter, EveryPairGivesItsOwnConverterOfTheNamedClass) {
    const std::array<const std::type_info*, 9> fromTrueColour = {
        &typeid(XRGB8888ToXRGB8888Converter),     &typeid(XRGB8888ToXBGR8888Converter),
        &typeid(XRGB8888ToRGB888Converter),       &typeid(XRGB8888ToBGR888Converter),
        &typeid(XRGB8888ToRGB565Converter),       &typeid(XRGB8888ToBGR565Converter),
        &typeid(XRGB8888ToXRGB1555Converter),     &typeid(XRGB8888ToXBGR1555Converter),
        &typeid(XRGB8888ToFloatingPointConverter)};
    const std::array<const std::type_info*, 9> fromFloat = {
        &typeid(FloatingPointToXRGB8888Converter),     &typeid(FloatingPointToXBGR8888Converter),
        &typeid(FloatingPointToRGB888Converter),       &typeid(FloatingPointToBGR888Converter),
        &typeid(FloatingPointToRGB565Converter),       &typeid(FloatingPointToBGR565Converter),
        &typeid(FloatingPointToXRGB1555Converter),     &typeid(FloatingPointToXBGR1555Converter),
        &typeid(FloatingPointToFloatingPointConverter)};

    std::set<PixelConverter*> seen;
    for (std::size_t i = 0; i < destinations.size(); ++i) {
        PixelConverter* a = lookupConverter(PixelFormat::XRGB8888, destinations[i]);
        PixelConverter* b = lookupConverter(PixelFormat::FloatingPoint, destinations[i]);
        ASSERT_NE(a, nullptr);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(typeid(*a), *fromTrueColour[i]) << "destination " << i + 1;
        EXPECT_EQ(typeid(*b), *fromFloat[i]) << "destination " << i + 1;
        seen.insert(a);
        seen.insert(b);
    }
    EXPECT_EQ(seen.size(), 18u);
}

TEST(LookupConverter, SamePairAlwaysGivesTheSameObject) {
    for (PixelFormat destination : destinations) {
        for (PixelFormat source : {PixelFormat::XRGB8888, PixelFormat::FloatingPoint}) {
            EXPECT_EQ(lookupConverter(source, destination), lookupConverter(source, destination));
        }
    }
}

TEST(LookupConverter, CopiesAndTheFloatTargetSitAtTheirPairs) {
    EXPECT_NE(dynamic_cast<XRGB8888ToXRGB8888Converter*>(
                  lookupConverter(PixelFormat::XRGB8888, PixelFormat::XRGB8888)),
              nullptr);
    EXPECT_NE(dynamic_cast<FloatingPointToFloatingPointConverter*>(
                  lookupConverter(PixelFormat::FloatingPoint, PixelFormat::FloatingPoint)),
              nullptr);
    EXPECT_NE(dynamic_cast<XRGB8888ToFloatingPointConverter*>(
                  lookupConverter(PixelFormat::XRGB8888, PixelFormat::FloatingPoint)),
              nullptr);
}

TEST(LookupConverter, UnsupportedPairsGiveNull) {
    EXPECT_EQ(lookupConverter(code(1), code(0)), nullptr);
    EXPECT_EQ(lookupConverter(code(9), code(10)), nullptr);
    EXPECT_EQ(lookupConverter(code(1), code(-1)), nullptr);
    EXPECT_EQ(lookupConverter(code(2), code(5)), nullptr);
    EXPECT_EQ(lookupConverter(code(9), code(0)), nullptr);
    EXPECT_EQ(lookupConverter(code(1), code(0x7fffffff)), nullptr);
    EXPECT_EQ(lookupConverter(code(9), code(-0x7fffffff - 1)), nullptr);
    // Only XRGB8888 and FloatingPoint are sources, whatever the destination.
    for (int source : {-1, 0, 2, 3, 4, 5, 6, 7, 8, 10}) {
        for (int destination = -1; destination <= 10; ++destination) {
            EXPECT_EQ(lookupConverter(code(source), code(destination)), nullptr)
                << source << " -> " << destination;
        }
    }
}

TEST(LookupConverter, StartAndFinishChangeNothing) {
    PixelConverter* converter = lookupConverter(PixelFormat::XRGB8888, PixelFormat::RGB565);
    ASSERT_NE(converter, nullptr);
    const std::uint32_t source[2] = {0xff123456u, 0x00abcdefu};
    std::uint16_t before[2] = {};
    std::uint16_t after[2] = {};
    converter->convertRun(source, before, 2);
    converter->finishRun();
    converter->finishRun();
    converter->startRun();
    converter->finishRun();
    converter->startRun();
    converter->startRun();
    converter->convertRun(source, after, 2);
    EXPECT_EQ(std::memcmp(before, after, sizeof before), 0);
    EXPECT_EQ(after[0], 0x11aa);
    EXPECT_EQ(lookupConverter(PixelFormat::XRGB8888, PixelFormat::RGB565), converter);
}

} // namespace
