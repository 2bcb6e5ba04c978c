#include "tests/convert/ConversionPaths.h"
#include "tests/convert/ReferencePixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

constexpr std::uint32_t chunk = 1u << 16;

// Every one of the 2^24 colours, under the given alpha bytes, through one conversion path,
// compared chunk by chunk with the per-channel definition.
void checkAllColours(const ConversionPath& path, std::initializer_list<std::uint32_t> alphas) {
    const int out = bytesPerPixel(path.destination);
    const bool toFloat = path.destination == PixelFormat::FloatingPoint;
    const PackedShape* shape = nullptr;
    for (const PackedShape& s : packedShapes()) {
        if (s.format == path.destination) {
            shape = &s;
        }
    }
    ASSERT_TRUE(toFloat || shape != nullptr);

    std::uint32_t channelBits[256];
    for (std::uint32_t c = 0; c < 256; ++c) {
        channelBits[c] = floatBits(static_cast<float>(c) * reciprocal255());
    }
    constexpr std::uint32_t untouched = 0x7fa5a5a5u; // a NaN no conversion produces
    std::vector<std::uint32_t> source(chunk);
    std::vector<std::uint8_t> actual(static_cast<std::size_t>(chunk) * out);
    std::vector<std::uint8_t> expected(actual.size());

    for (std::uint32_t alpha : alphas) {
        for (std::uint32_t first = 0; first < (1u << 24); first += chunk) {
            for (std::uint32_t i = 0; i < chunk; ++i) {
                const std::uint32_t v = alpha << 24 | (first + i);
                source[i] = v;
                std::uint8_t* e = expected.data() + static_cast<std::size_t>(i) * out;
                if (toFloat) {
                    const std::uint32_t elements[4] = {untouched, channelBits[v & 0xff],
                                                       channelBits[(v >> 8) & 0xff],
                                                       channelBits[(v >> 16) & 0xff]};
                    std::memcpy(e, elements, sizeof elements);
                } else {
                    const std::uint32_t word = referenceFromTrueColour(*shape, v);
                    for (int b = 0; b < out; ++b) {
                        e[b] = static_cast<std::uint8_t>(word >> (8 * b));
                    }
                }
            }
            if (toFloat) {
                for (std::uint32_t i = 0; i < chunk; ++i) {
                    std::memcpy(actual.data() + 16 * static_cast<std::size_t>(i), &untouched, 4);
                }
            }
            path.run(source.data(), actual.data(), chunk);
            if (actual != expected) {
                for (std::uint32_t i = 0; i < chunk; ++i) {
                    const std::size_t at = static_cast<std::size_t>(i) * out;
                    ASSERT_EQ(std::memcmp(actual.data() + at, expected.data() + at, out), 0)
                        << path.name << " differs for source 0x" << std::hex << source[i];
                }
            }
        }
    }
}

TEST(ExhaustiveTrueColour, EveryConverterOverAllColoursAndSeveralAlphas) {
    for (const ConversionPath& path : conversionPathsFrom(PixelFormat::XRGB8888)) {
        if (path.name.rfind("converter:", 0) == 0) {
            checkAllColours(path, {0x00u, 0x7fu, 0x80u, 0xffu});
        } else {
            checkAllColours(path, {0xa5u});
        }
        if (HasFatalFailure()) {
            return;
        }
    }
}

} // namespace
