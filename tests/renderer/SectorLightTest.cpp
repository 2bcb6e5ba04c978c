#include "TestLevels.h"

#include "renderer/draw/FrameGeometry.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FramePng.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

TEST(SectorLightTest, ShadesFollowTheLightAndTheDepth) {
    // Worked by hand from: dark = 4 (15 - step), wall lift = min(47, 80 x 256 / D) / 2,
    // flat lift = 80 / (min(127, 2D / 256) + 1), D the depth in 1/256 units.
    const struct {
        std::int32_t light, contrast;
        float depth;
        std::int32_t wall, flat;
    } cases[] = {
        {255, 0, 0.5f, 0, 0},     {255, 0, 1000.0f, 0, 0}, {240, 0, 1000.0f, 0, 0},
        {239, 0, 1000.0f, 4, 4},  {48, 0, 0.0f, 25, 0},    {0, 0, 1000.0f, 31, 31},
        {128, 0, 4.0f, 18, 20},   {128, 0, 2.5f, 12, 15},  {100, 0, 0.75f, 13, 0},
        {100, 0, 3.999f, 26, 26}, {160, 0, 40.0f, 19, 20}, {160, 0, 41.0f, 20, 20},
        {128, 0, -1.0f, 5, 0},    {128, -1, 4.0f, 22, 20}, {128, 1, 4.0f, 14, 20},
        {255, -1, 1000.0f, 4, 0}, {255, 1, 1000.0f, 0, 0}, {0, -1, 1000.0f, 31, 31},
        {15, 1, 1000.0f, 31, 31}, {16, 0, 9.0f, 31, 31},   {200, 0, 9.0f, 8, 8},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.light) + " " + std::to_string(c.contrast) + " " +
                     std::to_string(c.depth));
        EXPECT_EQ(shadeOf(darkOf(c.light, c.contrast), wallLift(c.depth)), c.wall);
        EXPECT_EQ(shadeOf(darkOf(c.light, 0), flatLift(c.depth)), c.flat);
    }
}

TEST(SectorLightTest, AShadeKeepsItsShareOfEachChannelAndTheAlpha) {
    for (std::uint32_t keep = 1; keep <= keepAll; ++keep) {
        for (std::uint32_t c = 0; c < 256; ++c) {
            const PackedPixel pixel = (c ^ 0xA5u) << 24 | c << 16 | (255 - c) << 8 | (c ^ 0x5Au);
            const auto part = [&](std::uint32_t value) { return (value * keep + 16) / 32; };
            const PackedPixel expected =
                (c ^ 0xA5u) << 24 | part(c) << 16 | part(255 - c) << 8 | part(c ^ 0x5Au);
            ASSERT_EQ(shadePixel(pixel, keep), expected) << keep << " " << c;
        }
    }
}

// Walls red 255, the floor red 100, the sky red 0: every channel well above zero, so
// a shade one off shows.
PackedPixel wallTexel(std::int32_t x, std::int32_t y) {
    return 0xFFFF0000u | static_cast<PackedPixel>((128 + x) << 8 | (64 + 2 * y));
}
PackedPixel floorTexel(std::int32_t x, std::int32_t y) {
    return 0xFF640000u | static_cast<PackedPixel>((190 + y) << 8 | (4 * x));
}
PackedPixel skyTexel(std::int32_t x, std::int32_t y) {
    return 0xFF000000u | static_cast<PackedPixel>((4 * x) << 8 | (2 * y + 100));
}

// A square room 16 across, the eye at its middle; lightFields are added to the sector
// and topFields to the level.
std::vector<PackedPixel> drawRoom(const std::string& lightFields, const std::string& topFields,
                                  float angle, std::int32_t width, std::int32_t height) {
    // A folder of its own for each test: ctest runs them side by side.
    const std::string folder = std::string("SectorLight.") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name();
    const std::filesystem::path path =
        writeTestLevel(folder, R"({ "duskhall-level": 1, "sky": "sky", )" + topFields + R"(
  "textures": { "wall": "lit-wall.png", "floor": "lit-floor.png", "sky": "lit-sky.png" },
  "vertices": [[-8, -8], [8, -8], [8, 8], [-8, 8]],
  "sectors": [{ "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 4, "wall-texture": "wall",
                "floor-texture": "floor", "ceiling-texture": "sky" )" +
                                   lightFields + R"( }],
  "start": { "x": 0, "y": 0, "angle": )" +
                                   std::to_string(angle) + " } }");
    const struct {
        const char* name;
        PackedPixel (*texel)(std::int32_t, std::int32_t);
    } images[] = {
        {"lit-wall.png", wallTexel}, {"lit-floor.png", floorTexel}, {"lit-sky.png", skyTexel}};
    std::vector<PackedPixel> image(64 * 64);
    for (const auto& made : images) {
        for (std::int32_t i = 0; i < 64 * 64; ++i) {
            image[static_cast<std::size_t>(i)] = made.texel(i % 64, i / 64);
        }
        EXPECT_TRUE(
            writeFramePng((path.parent_path() / made.name).string().c_str(), image.data(), 64, 64));
    }
    std::string error;
    EXPECT_TRUE(loadLevel(path.string(), error)) << error;
    EXPECT_TRUE(resizeFrames(width, height));
    std::vector<PackedPixel> frame(static_cast<std::size_t>(width) * height, 0);
    prepareFrames(frame.data());
    drawFrame();
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
    resizeFrames(320, 240);
    return frame;
}

TEST(SectorLightTest, ADarkRoomShowsItsTexelsShadedByDepthAtEverySize) {
    // The far wall is 8 away in the middle column: lift min(47, 10) / 2 = 5. Light 160
    // is step 10, dark 20; fake contrast moves a wall along y (seen looking along +x)
    // a step brighter and one along x (looking along +y) a step darker.
    const struct {
        const char* top;
        float angle;
        std::int32_t width, height, wallShade;
    } cases[] = {
        {"", 0.0f, 320, 240, 15},
        {"", 0.0f, 1280, 720, 15},
        {R"("fake-contrast": true,)", 0.0f, 320, 240, 11},
        {R"("fake-contrast": true,)", 1.5707964f, 320, 240, 19},
        {R"("fake-contrast": true,)", 1.5707964f, 1920, 1080, 19},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.top) + " " + std::to_string(c.width));
        const std::vector<PackedPixel> full = drawRoom("", c.top, c.angle, c.width, c.height);
        const std::vector<PackedPixel> dark =
            drawRoom(R"(, "light": 160)", c.top, c.angle, c.width, c.height);
        ASSERT_TRUE(resizeFrames(c.width, c.height));
        std::int32_t walls = 0, floors = 0, skies = 0;
        for (std::int32_t y = 0; y < c.height; ++y) {
            // The floor row's depth as the flat rows take it: eye 1.5 over floor 0.
            const float depth = 1.5f / rowSlopes[static_cast<std::size_t>(y)];
            const auto flatKeep = keepAll - shadeOf(darkOf(160, 0), flatLift(depth));
            for (const std::int32_t x : {0, c.width / 2 - 1, c.width / 2, c.width - 1}) {
                const std::size_t at = static_cast<std::size_t>(y) * c.width + x;
                const PackedPixel seen = full[at];
                if (seen >> 16 == 0xFF64u) {
                    ASSERT_EQ(dark[at], shadePixel(seen, flatKeep)) << x << "," << y;
                    ++floors;
                } else if (seen >> 16 == 0xFF00u) {
                    ASSERT_EQ(dark[at], seen) << x << "," << y; // the sky is never shaded
                    ++skies;
                } else if (x == c.width / 2) {
                    ASSERT_EQ(seen >> 16, 0xFFFFu) << x << "," << y;
                    ASSERT_EQ(dark[at], shadePixel(seen, keepAll - c.wallShade)) << x << "," << y;
                    ++walls;
                }
            }
        }
        resizeFrames(320, 240);
        EXPECT_GT(walls, c.height / 10);
        EXPECT_GT(floors, c.height / 2);
        EXPECT_GT(skies, c.height / 2);
    }
}

TEST(SectorLightTest, FullLightWrittenOutDrawsTheFrameOfNoLight) {
    const std::vector<PackedPixel> plain = drawRoom("", "", 0.3f, 320, 240);
    EXPECT_EQ(drawRoom(R"(, "light": 255)", R"("fake-contrast": false,)", 0.3f, 320, 240), plain);
    EXPECT_EQ(drawRoom(R"(, "light": 240)", "", 0.3f, 320, 240), plain);
    EXPECT_NE(drawRoom(R"(, "light": 239)", "", 0.3f, 320, 240), plain);
}

} // namespace
