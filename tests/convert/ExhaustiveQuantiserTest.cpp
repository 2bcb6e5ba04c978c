#include <duskhall/PixelConverter.h>

#include "tests/convert/ConversionPaths.h"
#include "tests/convert/ReferencePixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

using namespace duskhall;

namespace {

constexpr std::uint32_t chunk = 1u << 16;

std::uint32_t rotate(std::uint32_t x, int by) {
    return x << by | x >> (32 - by);
}

// Channel patterns of pixel p: each is a one-to-one map of p, so over all 2^32 values of p every
// channel sees every bit pattern, and the three channels of one pixel differ.
std::uint32_t redPattern(std::uint32_t p) {
    return p;
}
std::uint32_t greenPattern(std::uint32_t p) {
    return rotate(p, 16);
}
std::uint32_t bluePattern(std::uint32_t p) {
    return ~p;
}

struct QuantiserPaths {
    const ConversionPath* to565 = nullptr;
    const ConversionPath* to8888 = nullptr;
};

QuantiserPaths pathsOf(const std::string& build) {
    QuantiserPaths found;
    for (const ConversionPath& path : conversionPaths()) {
        if (path.source == PixelFormat::FloatingPoint && path.name.rfind(build + ":", 0) == 0) {
            if (path.destination == PixelFormat::RGB565) {
                found.to565 = &path;
            } else if (path.destination == PixelFormat::XRGB8888) {
                found.to8888 = &path;
            }
        }
    }
    return found;
}

// The 5-, 6- and 8-bit quantiser over the patterns [first, first + span), through the 565 and
// XRGB8888 conversions of each build, all checked against the integer definition.
void checkPatterns(const std::vector<std::string>& builds, std::uint64_t first,
                   std::uint64_t span) {
    std::vector<QuantiserPaths> paths;
    for (const std::string& build : builds) {
        paths.push_back(pathsOf(build));
        ASSERT_NE(paths.back().to565, nullptr) << build;
        ASSERT_NE(paths.back().to8888, nullptr) << build;
    }

    std::vector<std::uint32_t> source(4 * static_cast<std::size_t>(chunk));
    std::vector<std::uint16_t> actual565(chunk), expected565(chunk);
    std::vector<std::uint32_t> actual8888(chunk), expected8888(chunk);
    for (std::uint64_t base = first; base < first + span; base += chunk) {
        for (std::uint32_t i = 0; i < chunk; ++i) {
            const auto p = static_cast<std::uint32_t>(base + i);
            const std::uint32_t r = redPattern(p), g = greenPattern(p), b = bluePattern(p);
            source[4 * i] = p ^ 0x5a5a5a5au; // alpha, never looked at
            source[4 * i + 1] = b;
            source[4 * i + 2] = g;
            source[4 * i + 3] = r;
            const std::uint32_t rs = referenceSteps(r), gs = referenceSteps(g),
                                bs = referenceSteps(b);
            expected565[i] =
                static_cast<std::uint16_t>((rs >> 18) << 11 | (gs >> 17) << 5 | bs >> 18);
            expected8888[i] = (rs >> 15) << 16 | (gs >> 15) << 8 | bs >> 15;
        }
        for (std::size_t k = 0; k < paths.size(); ++k) {
            paths[k].to565->run(source.data(), actual565.data(), chunk);
            paths[k].to8888->run(source.data(), actual8888.data(), chunk);
            if (actual565 != expected565 || actual8888 != expected8888) {
                for (std::uint32_t i = 0; i < chunk; ++i) {
                    ASSERT_EQ(actual565[i], expected565[i])
                        << builds[k] << " RGB565, pixel pattern 0x" << std::hex << base + i;
                    ASSERT_EQ(actual8888[i], expected8888[i])
                        << builds[k] << " XRGB8888, pixel pattern 0x" << std::hex << base + i;
                }
            }
        }
    }
}

// Eight slices of the 2^32 patterns, so a parallel test run spreads them over the cores.
class ExhaustiveQuantiser : public testing::TestWithParam<int> {};

TEST_P(ExhaustiveQuantiser, ConvertersMatchTheDefinitionOnEveryBitPattern) {
    const std::uint64_t span = (std::uint64_t{1} << 32) / 8;
    // The converters as handed out and the SSE2 baseline, which this machine's converters may
    // not pick. (The one-pixel form that finishes each run meets the special values in the
    // single-pixel tests.)
#if defined(__SSE2__)
    checkPatterns({"converter", "sse2"}, span * GetParam(), span);
#else
    checkPatterns({"converter"}, span * GetParam(), span);
#endif
}

INSTANTIATE_TEST_SUITE_P(Slices, ExhaustiveQuantiser, testing::Range(0, 8));

} // namespace
