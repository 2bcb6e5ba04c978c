#include "tests/convert/ConversionPaths.h"
#include "tests/convert/ReferencePixels.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <random>
#include <vector>

namespace {

const PackedShape& shapeOf(PixelFormat format) {
    for (const PackedShape& shape : packedShapes()) {
        if (shape.format == format) {
            return shape;
        }
    }
    ADD_FAILURE() << "no packed shape for format " << static_cast<int>(format);
    return packedShapes().front();
}

float elementAt(const std::uint8_t* pixel, int index) {
    float x;
    std::memcpy(&x, pixel + 4 * index, sizeof x);
    return x;
}

// What one destination pixel must hold, given its source pixel and what it held before.
std::vector<std::uint8_t> expectedPixel(const ConversionPath& path, const std::uint8_t* source,
                                        const std::uint8_t* before) {
    if (path.destination == PixelFormat::FloatingPoint) {
        if (path.source == PixelFormat::FloatingPoint) {
            return std::vector<std::uint8_t>(source, source + 16);
        }
        const std::uint32_t v = readPixel(source, 4);
        std::vector<std::uint8_t> out(before, before + 4);
        for (int shift : {0, 8, 16}) {
            const float channel = static_cast<float>((v >> shift) & 0xff) * reciprocal255();
            const auto bytes = pixelBytes(floatBits(channel), 4);
            out.insert(out.end(), bytes.begin(), bytes.end());
        }
        return out;
    }
    const PackedShape& shape = shapeOf(path.destination);
    const std::uint32_t word = path.source == PixelFormat::XRGB8888
                                   ? referenceFromTrueColour(shape, readPixel(source, 4))
                                   : referenceFromFloat(shape, elementAt(source, 3),
                                                        elementAt(source, 2), elementAt(source, 1));
    return pixelBytes(word, shape.bytes);
}

std::uint32_t randomFloatPattern(std::mt19937& random) {
    static const std::uint32_t specials[] = {0x00000000u, 0x80000000u, 0x3f7fffffu, 0x3f7ffffeu,
                                             0x3f800000u, 0x7f800000u, 0xff800000u, 0x7fc00000u,
                                             0xffc00000u, 0x3b7fffffu, 0x00000001u, 0xbe800000u};
    const std::uint32_t pick = random() % 16;
    if (pick < 12) {
        return specials[pick];
    }
    std::uniform_real_distribution<float> nominal(-0.25f, 1.25f);
    return floatBits(nominal(random));
}

std::vector<std::uint8_t> randomSource(PixelFormat source, std::uint32_t count,
                                       std::mt19937& random) {
    std::vector<std::uint8_t> bytes;
    for (std::uint32_t i = 0; i < count; ++i) {
        const int words = source == PixelFormat::FloatingPoint ? 4 : 1;
        for (int w = 0; w < words; ++w) {
            const std::uint32_t word =
                source == PixelFormat::FloatingPoint ? randomFloatPattern(random) : random();
            const auto b = pixelBytes(word, 4);
            bytes.insert(bytes.end(), b.begin(), b.end());
        }
    }
    return bytes;
}

constexpr std::uint8_t guard = 0xa5;
constexpr std::size_t guardBytes = 64;

// Converts `count` pixels between buffers that start `sourceOffset` and `destinationOffset`
// bytes past an aligned block, with guard bytes on both sides of the destination.
void checkRun(const ConversionPath& path, std::uint32_t count, std::size_t sourceOffset,
              std::size_t destinationOffset, std::mt19937& random) {
    const int in = bytesPerPixel(path.source);
    const int out = bytesPerPixel(path.destination);
    const std::vector<std::uint8_t> pixels = randomSource(path.source, count, random);
    // The source ends exactly where its last pixel does, so the sanitizer build catches any read
    // past it.
    std::vector<std::uint8_t> sourceBlock(sourceOffset + pixels.size());
    alignas(64) static std::uint8_t destinationBlock[128 * 16 + 64 + 2 * guardBytes];
    ASSERT_LE(count * out + destinationOffset + 2 * guardBytes, sizeof destinationBlock);
    if (!pixels.empty()) {
        std::memcpy(sourceBlock.data() + sourceOffset, pixels.data(), pixels.size());
    }
    std::uint8_t* destination = destinationBlock + guardBytes + destinationOffset;
    std::memset(destinationBlock, guard, sizeof destinationBlock);
    // Distinct old contents per pixel, so a pixel that keeps its alpha element is told apart
    // from one that got a neighbour's.
    for (std::uint32_t i = 0; i < count * out; ++i) {
        destination[i] = static_cast<std::uint8_t>(i * 7 + 1);
    }
    const std::vector<std::uint8_t> before(destination, destination + count * out);

    path.run(sourceBlock.data() + sourceOffset, destination, count);

    for (std::size_t i = 0; i < guardBytes + destinationOffset; ++i) {
        ASSERT_EQ(destinationBlock[i], guard) << path.name << " wrote before the run";
    }
    for (std::size_t i = 0; i < guardBytes; ++i) {
        ASSERT_EQ(destination[count * out + i], guard)
            << path.name << " wrote " << i << " bytes past the last of " << count << " pixels";
    }
    for (std::uint32_t i = 0; i < count; ++i) {
        const auto expected = expectedPixel(path, pixels.data() + i * in, before.data() + i * out);
        const std::vector<std::uint8_t> actual(destination + i * out, destination + (i + 1) * out);
        ASSERT_EQ(actual, expected) << path.name << " pixel " << i << " of " << count
                                    << ", offsets " << sourceOffset << "/" << destinationOffset;
    }
}

TEST(ConverterRuns, CountZeroReadsAndWritesNothing) {
    for (const ConversionPath& path : conversionPaths()) {
        path.run(nullptr, nullptr, 0);
        std::uint8_t source[64];
        std::uint8_t destination[64];
        std::memset(source, 0x3c, sizeof source);
        std::memset(destination, guard, sizeof destination);
        path.run(source, destination, 0);
        for (std::uint8_t byte : destination) {
            ASSERT_EQ(byte, guard) << path.name;
        }
    }
}

TEST(ConverterRuns, EveryLengthAndAlignmentConvertsExactlyItsPixels) {
    std::mt19937 random(20261207);
    for (const ConversionPath& path : conversionPaths()) {
        for (std::uint32_t count = 1; count <= 70; ++count) {
            for (std::size_t offset = 0; offset < 4; ++offset) {
                checkRun(path, count, offset, (offset * 3) % 4, random);
                if (testing::Test::HasFatalFailure()) {
                    return;
                }
            }
        }
    }
}

TEST(ConverterRuns, LongRowsMatchTheReference) {
    std::mt19937 random(320);
    for (const ConversionPath& path : conversionPaths()) {
        for (std::uint32_t count : {120u, 127u, 128u}) {
            checkRun(path, count, 0, 0, random);
            checkRun(path, count, 1, 3, random);
            if (testing::Test::HasFatalFailure()) {
                return;
            }
        }
    }
}

} // namespace
