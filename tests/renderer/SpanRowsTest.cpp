#include "renderer/draw/SpanRows.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/draw/SectorLight.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <random>
#include <vector>

namespace {

// The texel addresses as first written: 64-bit products, arithmetic shifts.
std::int32_t flatTexel(std::int32_t t, std::int32_t dx, std::int32_t dy, std::int32_t ox,
                       std::int32_t oy) {
    const std::int64_t wx = ((static_cast<std::int64_t>(t) * dx) >> 8) + ox;
    const std::int64_t wy = ((static_cast<std::int64_t>(t) * dy) >> 8) + oy;
    return static_cast<std::int32_t>(((wy >> 8) & 63) * 64 + ((wx >> 8) & 63));
}

std::int32_t wallTexel(std::int32_t vfix, std::int32_t step, std::int32_t row) {
    const std::int64_t v = static_cast<std::int64_t>(vfix) + static_cast<std::int64_t>(step) * row;
    return static_cast<std::int32_t>((v >> 16) & 63);
}

// Every texel names its own index, so a pixel tells which texel was read.
std::vector<PackedPixel> indexTexture() {
    std::vector<PackedPixel> texels(64 * 64);
    for (std::size_t i = 0; i < texels.size(); ++i) {
        texels[i] = static_cast<PackedPixel>(i) | 0xFF000000u;
    }
    return texels;
}

struct Column {
    std::vector<PackedPixel> pixels = std::vector<PackedPixel>(screenPixels, 0u);
    PackedPixel at(std::int32_t row) const { return pixels[row * screenWidth + 7]; }
    PackedPixel* start() { return pixels.data() + 7; }
};

} // namespace

TEST(SpanRowsTest, FlatRowsReadTheTexelsOfTheWideArithmetic) {
    // Depths and steps well beyond the built-in level's, negative ones included,
    // where the 32-bit products wrap: the texel bits must still be those of the
    // 64-bit computation. Counts cover whole groups of eight and remainders.
    const std::vector<PackedPixel> texels = indexTexture();
    std::mt19937 random(13);
    std::uniform_int_distribution<std::int32_t> depth(-(1 << 24), 1 << 24);
    std::uniform_int_distribution<std::int32_t> slope(-(1 << 16), 1 << 16);
    std::uniform_int_distribution<std::int32_t> origin(-(1 << 22), 1 << 22);
    std::uniform_int_distribution<std::int32_t> rows(0, screenHeight);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::int32_t> depths(screenHeight);
        for (std::int32_t& t : depths) {
            t = depth(random);
        }
        const std::int32_t dx = slope(random), dy = slope(random);
        const std::int32_t ox = origin(random), oy = origin(random);
        const std::int32_t count = rows(random);
        const FlatRowStep step = {static_cast<std::uint32_t>(dx), static_cast<std::uint32_t>(dy),
                                  static_cast<std::uint32_t>(ox) << 8,
                                  static_cast<std::uint32_t>(oy) << 8};
        Column plain, wide;
        drawFlatRowsPlain(depths.data(), count, texels.data(), step, plain.start());
        drawFlatRowsWide(depths.data(), count, texels.data(), step, wide.start());
        for (std::int32_t r = 0; r < screenHeight; ++r) {
            const PackedPixel expected =
                r < count ? texels[flatTexel(depths[r], dx, dy, ox, oy)] : 0u;
            ASSERT_EQ(plain.at(r), expected) << "round " << round << " row " << r;
            ASSERT_EQ(wide.at(r), expected) << "round " << round << " row " << r;
        }
    }
}

TEST(SpanRowsTest, WallRowsReadTheTexelsOfTheWideArithmetic) {
    // Start values near the ends of the 32-bit range, where the running sum wraps.
    const std::vector<PackedPixel> texels = indexTexture();
    std::mt19937 random(31);
    std::uniform_int_distribution<std::int32_t> start(INT32_MIN, INT32_MAX);
    std::uniform_int_distribution<std::int32_t> step(0, 1 << 24);
    std::uniform_int_distribution<std::int32_t> rows(0, screenHeight);
    for (int round = 0; round < 200; ++round) {
        const std::int32_t vfix = round % 3 == 0 ? INT32_MAX - round : start(random);
        const std::int32_t advance = step(random);
        const std::int32_t count = rows(random);
        const PackedPixel* column = texels.data() + 64 * (round % 64);
        const WallRowStep rowStep = {static_cast<std::uint32_t>(vfix),
                                     static_cast<std::uint32_t>(advance)};
        Column drawn;
        drawWallRows(count, column, rowStep, drawn.start());
        for (std::int32_t r = 0; r < screenHeight; ++r) {
            const PackedPixel expected = r < count ? column[wallTexel(vfix, advance, r)] : 0u;
            ASSERT_EQ(drawn.at(r), expected) << "round " << round << " row " << r;
        }
    }
}

TEST(SpanRowsTest, ShadedRowsAreTheUnshadedRowsEachInItsShade) {
    // Every lift and darkness a sector can give, and counts that leave remainders.
    const std::vector<PackedPixel> texels = [] {
        std::vector<PackedPixel> bright(64 * 64);
        for (std::size_t i = 0; i < bright.size(); ++i) {
            bright[i] = 0xFF000000u | static_cast<PackedPixel>(i * 2654435761u >> 8 & 0xFFFFFFu);
        }
        return bright;
    }();
    std::vector<PackedPixel> shades(texels.size() * 32);
    fillShades(texels.data(), 64 * 64, shades.data());
    std::mt19937 random(47);
    std::uniform_int_distribution<std::uint32_t> word;
    std::uniform_int_distribution<std::int32_t> lift(0, 80);
    std::uniform_int_distribution<std::int32_t> dark(0, 15);
    std::uniform_int_distribution<std::int32_t> rows(0, screenHeight);
    for (int round = 0; round < 200; ++round) {
        std::vector<std::int32_t> depths(screenHeight);
        std::vector<std::uint8_t> lifts(screenHeight);
        for (std::int32_t r = 0; r < screenHeight; ++r) {
            depths[r] = static_cast<std::int32_t>(word(random) >> 8);
            lifts[r] = static_cast<std::uint8_t>(lift(random));
        }
        const FlatRowStep step = {word(random) >> 12, word(random) >> 12, word(random),
                                  word(random)};
        const FlatRowLight light = {lifts.data(), 4 * dark(random)};
        const std::int32_t count = rows(random);
        Column unshaded, plain, wide;
        drawFlatRowsPlain(depths.data(), count, texels.data(), step, unshaded.start());
        drawFlatRowsShadedPlain(depths.data(), light, count, shades.data(), step, plain.start());
        drawFlatRowsShadedWide(depths.data(), light, count, shades.data(), step, wide.start());
        const std::uint32_t wallKeep = 1 + word(random) % keepAll;
        const WallRowStep wallStep = {word(random), word(random) >> 8};
        const PackedPixel* column = texels.data() + 64 * (round % 64);
        Column wall, shadedWall;
        drawWallRows(count, column, wallStep, wall.start());
        drawWallRowsShaded(count, column, wallStep, wallKeep, shadedWall.start());
        // A wall's image column shaded at once, counts with remainders included.
        std::vector<PackedPixel> column8(64, 0u);
        shadeTexelsWide(column, 64 - round % 9, wallKeep, column8.data());
        for (std::int32_t i = 0; i < 64; ++i) {
            ASSERT_EQ(column8[i], i < 64 - round % 9 ? shadePixel(column[i], wallKeep) : 0u)
                << "round " << round << " texel " << i;
        }
        for (std::int32_t r = 0; r < screenHeight; ++r) {
            const auto keep = keepAll - shadeOf(light.dark, lifts[r]);
            const PackedPixel expected = r < count ? shadePixel(unshaded.at(r), keep) : 0u;
            ASSERT_EQ(plain.at(r), expected) << "round " << round << " row " << r;
            ASSERT_EQ(wide.at(r), expected) << "round " << round << " row " << r;
            ASSERT_EQ(shadedWall.at(r), r < count ? shadePixel(wall.at(r), wallKeep) : 0u)
                << "round " << round << " row " << r;
        }
    }
}

// A column of any height: row i shows texel floor((start + i x step) / 2^shift)
// taken round the height, worked out in 64 bits, whatever the start's sign and
// however far one step goes (a far wall steps past the whole texture a row).
TEST(SpanRowsTest, WallRowsOfAnyHeightWrapRoundIt) {
    std::mt19937 random(47);
    std::uniform_int_distribution<std::int64_t> start(-(std::int64_t{1} << 40),
                                                      std::int64_t{1} << 40);
    for (const std::uint32_t height : {40u, 72u, 1000u, 1u, 128u}) {
        std::vector<PackedPixel> column(height);
        for (std::uint32_t i = 0; i < height; ++i) {
            column[i] = 0xFF000000u | i;
        }
        for (const std::uint32_t shift : {16u, 20u}) {
            std::uniform_int_distribution<std::uint32_t> step(0, (height + 3) << shift);
            for (int round = 0; round < 50; ++round) {
                const std::int64_t first = start(random);
                const std::uint32_t advance = step(random);
                const WallRowStep rows = wallRowStep(first, advance, shift, height);
                Column drawn, shaded;
                drawWallRows(screenHeight, column.data(), rows, drawn.start());
                drawWallRowsShaded(screenHeight, column.data(), rows, keepAll / 2, shaded.start());
                for (std::int32_t r = 0; r < screenHeight; ++r) {
                    const std::int64_t v = first + std::int64_t{advance} * r;
                    const std::int64_t texel = v >> shift; // floor, also below 0
                    const std::int64_t wanted = ((texel % height) + height) % height;
                    const PackedPixel texelWanted = column[static_cast<std::size_t>(wanted)];
                    ASSERT_EQ(drawn.at(r), texelWanted)
                        << "height " << height << " shift " << shift << " row " << r;
                    ASSERT_EQ(shaded.at(r), shadePixel(texelWanted, keepAll / 2))
                        << "height " << height << " shift " << shift << " row " << r;
                }
            }
        }
    }
}

// A thing's rows, plain and eight at a time, down a framebuffer's column or along
// a run of memory: each row its texel, shaded, except where the texel is clear and
// the piece not solid. Counts below, at and past a group of eight; steps that skip
// texels and that stay on one; every kind of keep.
TEST(SpanRowsTest, ThingRowsShowEachRowsTexelInItsShade) {
    constexpr std::uint32_t height = 100;
    std::vector<PackedPixel> column(height);
    for (std::uint32_t i = 0; i < height; ++i) {
        // Every third texel clear, with colour bits that must not show.
        column[i] = (i % 3 == 0 ? 0x00000000u : 0xFF000000u) | (i * 2654435761u >> 8 & 0xFFFFFFu);
    }
    std::mt19937 random(61);
    std::uniform_int_distribution<std::int32_t> rows(1, 40);
    for (const std::int32_t stride : {screenWidth, 1}) {
        for (const std::uint32_t keep : {keepAll, 1u, 17u}) {
            for (const bool solid : {true, false}) {
                for (int round = 0; round < 40; ++round) {
                    const std::int32_t count = round < 12 ? 1 + round : rows(random);
                    // The last row's texel inside the column, as a piece's always is.
                    const std::uint32_t step = std::uniform_int_distribution<std::uint32_t>(
                        1, (height << 16) / count)(random);
                    const std::uint32_t last = static_cast<std::uint32_t>(count - 1) * step;
                    const std::uint32_t vfix = std::uniform_int_distribution<std::uint32_t>(
                        0, (height << 16) - 1 - last)(random);
                    const ThingRowStep rowStep = {vfix, step, height, solid};
                    std::vector<PackedPixel> plain(screenPixels, 0x12345678u);
                    std::vector<PackedPixel> wide = plain;
                    drawThingRowsPlain(count, column.data(), rowStep, keep, plain.data() + 7,
                                       stride);
                    drawThingRowsWide(count, column.data(), rowStep, keep, wide.data() + 7, stride);
                    for (std::int32_t r = 0; r < screenHeight; ++r) {
                        PackedPixel expected = 0x12345678u;
                        if (r < count) {
                            const PackedPixel texel =
                                column[(vfix + static_cast<std::uint32_t>(r) * step) >> 16];
                            expected =
                                solid || texel >> 24 != 0 ? shadePixel(texel, keep) : expected;
                        }
                        const std::size_t at = 7 + static_cast<std::size_t>(r * stride);
                        ASSERT_EQ(plain[at], expected)
                            << "stride " << stride << " keep " << keep << " solid " << solid
                            << " round " << round << " row " << r;
                        ASSERT_EQ(wide[at], expected)
                            << "stride " << stride << " keep " << keep << " solid " << solid
                            << " round " << round << " row " << r;
                    }
                }
            }
        }
    }
}

TEST(SpanRowsTest, WideRowsAreUsedWhereTheProcessorHasThem) {
#if defined(__x86_64__) && !defined(_WIN32)
    EXPECT_EQ(wideRowsAvailable(), __builtin_cpu_supports("avx2") != 0);
#else
    EXPECT_FALSE(wideRowsAvailable());
#endif
}
