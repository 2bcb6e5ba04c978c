#include "renderer/level/PngLoader.h"

#include "ResourceProbe.h"
#include "TempDir.h"
#include "TestPng.h"

#include <gtest/gtest.h>
#include <png.h>

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

namespace {

using Samples = std::vector<std::uint16_t>;

struct Load {
    PackedPixel* result;
    PackedPixel* pixelsOut;
    std::int32_t width;
    std::int32_t height;
};

// Starts the outputs with garbage so a failed load must actively clear them.
Load load(const std::string& path, bool flat = false) {
    static PackedPixel stale = 0;
    Load l{nullptr, &stale, -1, -1};
    l.result = loadPng(path.c_str(), l.width, l.height, l.pixelsOut, false, flat);
    return l;
}

// Checks that a failed load left nothing behind: heap bytes and open files
// are as they were before it.
void expectNullWithoutLeftovers(const std::string& path, bool flat = false) {
    const long long heapBefore = resource_probe::allocatedBytes();
    const long filesBefore = resource_probe::openFileCount();
    const Load l = load(path, flat);
    EXPECT_EQ(l.result, nullptr);
    EXPECT_EQ(l.pixelsOut, nullptr);
    EXPECT_NEAR(resource_probe::allocatedBytes(), heapBefore,
                resource_probe::allocatedBytesSlack());
    EXPECT_EQ(resource_probe::openFileCount(), filesBefore);
    std::free(l.result);
}

PackedPixel rgb(unsigned r, unsigned g, unsigned b) {
    return 0xFF000000u | r << 16 | g << 8 | b;
}

TestPng solid(int colourType, Samples sample) {
    TestPng png;
    png.colourType = colourType;
    png.samples = [sample](std::uint32_t, std::uint32_t) { return sample; };
    return png;
}

TEST(PngLoaderPacking, RgbAndRgbaGiveTheSameOpaquePixel) {
    TempDir dir;
    png_bytes::writeFile(dir.file("rgb.png"),
                         solid(PNG_COLOR_TYPE_RGB, {0x12, 0x34, 0x56}).encode());
    png_bytes::writeFile(dir.file("clear.png"),
                         solid(PNG_COLOR_TYPE_RGB_ALPHA, {0x12, 0x34, 0x56, 0x00}).encode());
    png_bytes::writeFile(dir.file("half.png"),
                         solid(PNG_COLOR_TYPE_RGB_ALPHA, {0x12, 0x34, 0x56, 0x80}).encode());
    for (const char* name : {"rgb.png", "clear.png", "half.png"}) {
        SCOPED_TRACE(name);
        const Load l = load(dir.file(name));
        ASSERT_NE(l.result, nullptr);
        EXPECT_EQ(l.pixelsOut, l.result);
        EXPECT_EQ(l.width, 64);
        EXPECT_EQ(l.height, 64);
        EXPECT_EQ(l.result[0], 0xFF123456u);
        EXPECT_EQ(l.result[4095], 0xFF123456u);
        std::free(l.result);
    }
}

TEST(PngLoaderFailure, MissingFileGivesNull) {
    TempDir dir;
    expectNullWithoutLeftovers(dir.file("absent.png"));
    expectNullWithoutLeftovers(dir.path().string()); // a directory, not a file
}

// ---- Every sample layout libpng can store, expanded to the same packing.

struct FormatCase {
    const char* name;
    int colourType;
    int bitDepth;
    bool interlaced;
    bool transparency;
};

unsigned red(std::uint32_t x, std::uint32_t) {
    return (x * 4) & 0xFF;
}
unsigned green(std::uint32_t, std::uint32_t y) {
    return (y * 4) & 0xFF;
}
unsigned blue(std::uint32_t x, std::uint32_t y) {
    return (x * 7 + y * 13) & 0xFF;
}
unsigned alpha(std::uint32_t x, std::uint32_t y) {
    return (x + y * 3) & 0xFF;
}
unsigned paletteIndex(const FormatCase& f, std::uint32_t x, std::uint32_t y) {
    return (x + y * 5) & ((1u << f.bitDepth) - 1);
}
PackedPixel paletteColour(unsigned i) {
    return rgb(i, 255 - i, (i * 3) & 0xFF);
}

// An 8-bit value at the case's depth: 16-bit samples get a low byte that the
// loader must drop, sub-byte grey keeps the top bits.
std::uint16_t atDepth(const FormatCase& f, unsigned value) {
    if (f.bitDepth == 16) {
        return static_cast<std::uint16_t>(value << 8 | 0x5A);
    }
    return static_cast<std::uint16_t>(value >> (8 - f.bitDepth));
}

// What libpng's expansion makes of a sample written with atDepth.
unsigned expanded(const FormatCase& f, unsigned value) {
    if (f.bitDepth >= 8) {
        return value;
    }
    const unsigned max = (1u << f.bitDepth) - 1;
    return (value >> (8 - f.bitDepth)) * (255 / max);
}

Samples samplesOf(const FormatCase& f, std::uint32_t x, std::uint32_t y) {
    const auto d = [&](unsigned v) { return atDepth(f, v); };
    switch (f.colourType) {
    case PNG_COLOR_TYPE_PALETTE:
        return {static_cast<std::uint16_t>(paletteIndex(f, x, y))};
    case PNG_COLOR_TYPE_GRAY:
        return {d(red(x, y))};
    case PNG_COLOR_TYPE_GRAY_ALPHA:
        return {d(red(x, y)), d(alpha(x, y))};
    case PNG_COLOR_TYPE_RGB:
        return {d(red(x, y)), d(green(x, y)), d(blue(x, y))};
    default:
        return {d(red(x, y)), d(green(x, y)), d(blue(x, y)), d(alpha(x, y))};
    }
}

PackedPixel expectedPixel(const FormatCase& f, std::uint32_t x, std::uint32_t y) {
    switch (f.colourType) {
    case PNG_COLOR_TYPE_PALETTE:
        return paletteColour(paletteIndex(f, x, y));
    case PNG_COLOR_TYPE_GRAY:
    case PNG_COLOR_TYPE_GRAY_ALPHA: {
        const unsigned v = expanded(f, red(x, y));
        return rgb(v, v, v);
    }
    default:
        return rgb(red(x, y), green(x, y), blue(x, y));
    }
}

TestPng imageOf(const FormatCase& f) {
    TestPng png;
    png.colourType = f.colourType;
    png.bitDepth = f.bitDepth;
    png.interlaced = f.interlaced;
    png.samples = [f](std::uint32_t x, std::uint32_t y) { return samplesOf(f, x, y); };
    const unsigned entries = f.colourType == PNG_COLOR_TYPE_PALETTE ? 1u << f.bitDepth : 0;
    for (unsigned i = 0; i < entries; ++i) {
        const PackedPixel c = paletteColour(i);
        png.palette.insert(png.palette.end(),
                           {static_cast<std::uint8_t>(c >> 16), static_cast<std::uint8_t>(c >> 8),
                            static_cast<std::uint8_t>(c)});
        if (f.transparency) {
            png.transparency.push_back(static_cast<std::uint16_t>(i * 7 & 0xFF));
        }
    }
    if (f.transparency && entries == 0) {
        const Samples key = samplesOf(f, 3, 3);
        png.transparency.assign(key.begin(), key.end());
    }
    return png;
}

class PngLoaderFormats : public ::testing::TestWithParam<FormatCase> {};

TEST_P(PngLoaderFormats, ExpandToOpaqueRowMajorPixels) {
    const FormatCase& f = GetParam();
    TempDir dir;
    const std::string path = dir.file("image.png");
    png_bytes::writeFile(path, imageOf(f).encode());

    const long long heapBefore = resource_probe::allocatedBytes();
    const Load l = load(path);
    ASSERT_NE(l.result, nullptr);
    EXPECT_EQ(l.pixelsOut, l.result);
    EXPECT_EQ(l.width, 64);
    EXPECT_EQ(l.height, 64);
    int mismatches = 0;
    for (std::uint32_t y = 0; y < 64; ++y) {
        for (std::uint32_t x = 0; x < 64; ++x) {
            const PackedPixel want = expectedPixel(f, x, y);
            if (l.result[y * 64 + x] != want && ++mismatches <= 3) {
                ADD_FAILURE() << "pixel (" << x << ", " << y << "): " << std::hex
                              << l.result[y * 64 + x] << " instead of " << want;
            }
        }
    }
    EXPECT_EQ(mismatches, 0);
    std::free(l.result);
    EXPECT_NEAR(resource_probe::allocatedBytes(), heapBefore,
                resource_probe::allocatedBytesSlack());
}

INSTANTIATE_TEST_SUITE_P(
    AllLayouts, PngLoaderFormats,
    ::testing::Values(FormatCase{"Rgb8", PNG_COLOR_TYPE_RGB, 8, false, false},
                      FormatCase{"Rgba8", PNG_COLOR_TYPE_RGB_ALPHA, 8, false, false},
                      FormatCase{"Rgb16", PNG_COLOR_TYPE_RGB, 16, false, false},
                      FormatCase{"Rgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, false, false},
                      FormatCase{"RgbKey", PNG_COLOR_TYPE_RGB, 8, false, true},
                      FormatCase{"Grey1", PNG_COLOR_TYPE_GRAY, 1, false, false},
                      FormatCase{"Grey2", PNG_COLOR_TYPE_GRAY, 2, false, false},
                      FormatCase{"Grey4", PNG_COLOR_TYPE_GRAY, 4, false, false},
                      FormatCase{"Grey8", PNG_COLOR_TYPE_GRAY, 8, false, false},
                      FormatCase{"Grey16", PNG_COLOR_TYPE_GRAY, 16, false, false},
                      FormatCase{"GreyKey", PNG_COLOR_TYPE_GRAY, 8, false, true},
                      FormatCase{"GreyAlpha8", PNG_COLOR_TYPE_GRAY_ALPHA, 8, false, false},
                      FormatCase{"GreyAlpha16", PNG_COLOR_TYPE_GRAY_ALPHA, 16, false, false},
                      FormatCase{"Palette1", PNG_COLOR_TYPE_PALETTE, 1, false, false},
                      FormatCase{"Palette4", PNG_COLOR_TYPE_PALETTE, 4, false, false},
                      FormatCase{"Palette8", PNG_COLOR_TYPE_PALETTE, 8, false, false},
                      FormatCase{"PaletteAlpha", PNG_COLOR_TYPE_PALETTE, 8, false, true},
                      FormatCase{"InterlacedRgb8", PNG_COLOR_TYPE_RGB, 8, true, false},
                      FormatCase{"InterlacedRgba16", PNG_COLOR_TYPE_RGB_ALPHA, 16, true, false},
                      FormatCase{"InterlacedGrey2", PNG_COLOR_TYPE_GRAY, 2, true, false},
                      FormatCase{"InterlacedPalette4", PNG_COLOR_TYPE_PALETTE, 4, true, true}),
    [](const ::testing::TestParamInfo<FormatCase>& info) { return info.param.name; });

// Any size from 1 to 1024 on each side loads at that size, row by row; a flat only
// at 64 x 64.
TEST(PngLoaderSizes, EverySideFromOneTo1024LoadsRowByRow) {
    const struct {
        std::uint32_t width;
        std::uint32_t height;
    } sizes[] = {{1, 1}, {24, 40}, {64, 72}, {1024, 3}, {3, 1024}};
    for (const auto& size : sizes) {
        TempDir dir;
        const std::string path = dir.file("sized.png");
        TestPng png = imageOf(FormatCase{"", PNG_COLOR_TYPE_RGB, 8, false, false});
        png.width = size.width;
        png.height = size.height;
        png_bytes::writeFile(path, png.encode());
        const Load l = load(path);
        ASSERT_NE(l.result, nullptr) << size.width << " x " << size.height;
        EXPECT_EQ(l.width, static_cast<std::int32_t>(size.width));
        EXPECT_EQ(l.height, static_cast<std::int32_t>(size.height));
        const FormatCase f{"", PNG_COLOR_TYPE_RGB, 8, false, false};
        const std::uint32_t x = size.width - 1, y = size.height - 1;
        EXPECT_EQ(l.result[y * size.width + x], expectedPixel(f, x, y));
        std::free(l.result);
        EXPECT_EQ(load(path, true).result, nullptr) << size.width << " x " << size.height;
    }
}

// ---- Damaged and unwanted files: each must give null and leave nothing behind.

struct HostileCase {
    const char* name;
    std::function<std::vector<std::uint8_t>()> bytes;
    bool flat = false; // loaded as a floor or ceiling, which must be 64 x 64
};

std::vector<std::uint8_t> gradient(std::uint32_t width = 64, std::uint32_t height = 64) {
    FormatCase f{"", PNG_COLOR_TYPE_RGB, 8, false, false};
    TestPng png = imageOf(f);
    png.width = width;
    png.height = height;
    return png.encode();
}

std::vector<std::uint8_t> truncated(std::function<long(const std::vector<std::uint8_t>&)> at) {
    std::vector<std::uint8_t> png = gradient();
    png.resize(static_cast<std::size_t>(at(png)));
    return png;
}

// Rewrites one field of a chunk and keeps its CRC valid, so only the field's
// value is wrong.
std::vector<std::uint8_t> patched(const char* chunk, long field, std::uint32_t value) {
    std::vector<std::uint8_t> png = gradient();
    const long offset = png_bytes::findChunk(png, chunk);
    png_bytes::putBigEndian32(png, offset + 8 + field, value);
    png_bytes::fixCrc(png, offset);
    return png;
}

std::vector<std::uint8_t> flipped(const char* chunk, long at, bool keepCrc) {
    std::vector<std::uint8_t> png = gradient();
    const long offset = png_bytes::findChunk(png, chunk);
    png.at(offset + at) ^= 0x5A;
    if (keepCrc) {
        png_bytes::fixCrc(png, offset);
    }
    return png;
}

long imageDataLength(const std::vector<std::uint8_t>& png) {
    const long idat = png_bytes::findChunk(png, "IDAT");
    return long{png[idat]} << 24 | long{png[idat + 1]} << 16 | long{png[idat + 2]} << 8 |
           png[idat + 3];
}

// A text chunk whose length field claims nearly 2 GiB, in a file of a few bytes.
std::vector<std::uint8_t> oversizedChunk() {
    std::vector<std::uint8_t> png = gradient();
    const std::vector<std::uint8_t> chunk{0x7F, 0xFF, 0xFF, 0xF0, 't', 'E', 'X', 't', 'k', 0, 'v'};
    png.insert(png.begin() + 33, chunk.begin(), chunk.end());
    return png;
}

class PngLoaderHostile : public ::testing::TestWithParam<HostileCase> {};

TEST_P(PngLoaderHostile, GivesNullAndLeavesNothingBehind) {
    TempDir dir;
    const std::string path = dir.file("hostile.png");
    png_bytes::writeFile(path, GetParam().bytes());
    expectNullWithoutLeftovers(path, GetParam().flat);
}

INSTANTIATE_TEST_SUITE_P(
    DamagedOrUnwanted, PngLoaderHostile,
    ::testing::Values(
        HostileCase{"Empty", [] { return std::vector<std::uint8_t>{}; }},
        HostileCase{"WrongSignature",
                    [] {
                        std::vector<std::uint8_t> png = gradient();
                        png[1] = 'Q';
                        return png;
                    }},
        HostileCase{"TruncatedInSignature", [] { return truncated([](auto&) { return 4L; }); }},
        HostileCase{"TruncatedAfterSignature", [] { return truncated([](auto&) { return 8L; }); }},
        HostileCase{"TruncatedInHeader", [] { return truncated([](auto&) { return 20L; }); }},
        HostileCase{"TruncatedAfterHeader", [] { return truncated([](auto&) { return 33L; }); }},
        HostileCase{"TruncatedInImageData",
                    [] {
                        return truncated([](auto& png) {
                            return png_bytes::findChunk(png, "IDAT") + 8 + imageDataLength(png) / 2;
                        });
                    }},
        HostileCase{"TruncatedBeforeEnd",
                    [] { return truncated([](auto& png) { return long(png.size()) - 12; }); }},
        HostileCase{"TruncatedLastByte",
                    [] { return truncated([](auto& png) { return long(png.size()) - 1; }); }},
        HostileCase{"BadHeaderCrc", [] { return flipped("IHDR", 8 + 13, false); }},
        HostileCase{"BadImageDataCrc", [] { return flipped("IDAT", 9, false); }},
        HostileCase{"CorruptImageData", [] { return flipped("IDAT", 8, true); }},
        HostileCase{"Width1025", [] { return gradient(1025, 64); }},
        HostileCase{"Height1025", [] { return gradient(64, 1025); }},
        // Sizes within libpng's limit of 1024 reach the loader's own check of a flat.
        HostileCase{"FlatWidth65", [] { return gradient(65, 64); }, true},
        HostileCase{"FlatHeight65", [] { return gradient(64, 65); }, true},
        HostileCase{"FlatHeight63", [] { return gradient(64, 63); }, true},
        HostileCase{"FlatHeight32", [] { return gradient(64, 32); }, true},
        HostileCase{"FlatOneByOne", [] { return gradient(1, 1); }, true},
        HostileCase{"Declared4096",
                    [] {
                        std::vector<std::uint8_t> png = patched("IHDR", 0, 4096);
                        png_bytes::putBigEndian32(png, 16 + 4, 4096);
                        png_bytes::fixCrc(png, 8);
                        return png;
                    }},
        HostileCase{"OversizedChunk", oversizedChunk},
        HostileCase{"DeclaredZeroWidth", [] { return patched("IHDR", 0, 0); }},
        HostileCase{"DeclaredHugeHeight", [] { return patched("IHDR", 4, 0x7FFFFFFFu); }}),
    [](const ::testing::TestParamInfo<HostileCase>& info) { return info.param.name; });

// The chunk's length field must not decide how much memory the load takes.
TEST(PngLoaderFailure, OversizedChunkReservesNoMemory) {
    TempDir dir;
    const std::string path = dir.file("oversized.png");
    png_bytes::writeFile(path, oversizedChunk());
    const long long peakBefore = resource_probe::peakVirtualBytes();
    if (peakBefore < 0) {
        GTEST_SKIP() << "no address-space statistics on this platform";
    }
    EXPECT_EQ(load(path).result, nullptr);
    EXPECT_LT(resource_probe::peakVirtualBytes() - peakBefore, 256ll << 20);
}

} // namespace
