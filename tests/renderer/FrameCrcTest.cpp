#include "renderer/output/FrameCrc.h"

#include <zlib.h>

#include <gtest/gtest.h>

#include <vector>

TEST(FrameCrcTest, WordsAreHashedAsLittleEndianBytes) {
    // "abcd" read as one little-endian word; its CRC-32 is a published value.
    const PackedPixel word = 0x64636261u;
    EXPECT_EQ(frameCrc(&word, 1), 0xED82CD11u);
    // A whole frame, longer than any internal buffer, equals one pass over its bytes.
    std::vector<PackedPixel> pixels(76800);
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i < pixels.size(); ++i) {
        pixels[i] = static_cast<PackedPixel>(i * 2654435761u);
        for (int b = 0; b < 4; ++b) {
            bytes.push_back(static_cast<unsigned char>(pixels[i] >> (8 * b)));
        }
    }
    EXPECT_EQ(frameCrc(pixels.data(), pixels.size()),
              crc32(0L, bytes.data(), static_cast<uInt>(bytes.size())));
}

TEST(FrameCrcTest, LinesCarryEightUpperCaseHexDigitsAndTheWholeFrameNumber) {
    EXPECT_STREQ(frameCrcLine(1, 0xABCDEF01u).text, "frame 1 crc32 ABCDEF01\n");
    // Leading zeros are kept; the largest frame number fits.
    EXPECT_STREQ(frameCrcLine(2147483647LL, 0x0000002Fu).text, "frame 2147483647 crc32 0000002F\n");
}
