#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/camera/FreeCamera.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <png.h>

#include <string>
#include <vector>

namespace {

// The grate: a bar along its top row band and every eighth column pair; the rest
// transparent. Its opaque texels name themselves as the coded textures do, with
// red 200, which no coded texture has.
constexpr std::int32_t grateRed = 200;
bool grateOpaque(std::int32_t column, std::int32_t row) {
    return row < 4 || column % 8 < 2;
}

void writeGrate(const std::filesystem::path& path) {
    std::vector<PackedPixel> texels(64 * 64);
    for (std::int32_t i = 0; i < 64 * 64; ++i) {
        const std::int32_t column = i % 64, row = i / 64;
        texels[i] = grateOpaque(column, row) ? codedTexel(grateRed, column, row)
                                             : 0x00FFFFFFu; // a colour that must not show
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = 64;
    image.height = 64;
    image.format = PNG_FORMAT_BGRA; // PackedPixel's bytes in memory
    ASSERT_TRUE(
        png_image_write_to_file(&image, path.string().c_str(), 0, texels.data(), 0, nullptr));
}

// How the two rooms are lit: the lights of the near and the far room, and the
// level's fake contrast.
struct RoomLights {
    int near = 255;
    int far = 255;
    bool contrast = false;
};

// A room (ceiling 6) looking east from 7.5 away through an opening at x = 2 into a lower room
// (ceiling 5) whose far wall is wall3; side is the opening's side in the first room.
std::string twoRooms(const std::string& side, const std::string& farSide = "",
                     const RoomLights& lights = {}) {
    return R"({ "duskhall-level": 1, "fake-contrast": )" +
           std::string(lights.contrast ? "true" : "false") + R"(,
  "textures": { "w1": "wall1.png", "w2": "wall2.png", "w3": "wall3.png", "f": "floor1.png",
                "c": "floor2.png", "grate": "grate.png" },
  "vertices": [[-6, -2], [2, -2], [2, 2], [-6, 2], [6, -2], [6, 2]],
  "sectors": [
    { "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 6, "wall-texture": "w1",
      "floor-texture": "f", "ceiling-texture": "c", "light": )" +
           std::to_string(lights.near) + R"(, "sides": [)" + side + R"(] },
    { "outline": [1, 4, 5, 2], "floor": 0, "ceiling": 5, "wall-texture": "w2",
      "floor-texture": "f", "ceiling-texture": "c", "light": )" +
           std::to_string(lights.far) + R"(,
      "sides": [{ "edge": 1, "texture": "w3" })" +
           farSide + R"(] } ],
  "start": { "x": -5.5, "y": 0, "angle": 0 } })";
}

std::vector<PackedPixel> drawLevel(const std::string& name, const std::string& json) {
    const std::filesystem::path path = writeTestLevel(name, json);
    writeGrate(path.parent_path() / "grate.png");
    return drawFirstFrame(path);
}

std::int32_t channel(PackedPixel p, std::int32_t shift) {
    return static_cast<std::int32_t>(p >> shift & 0xFF);
}

} // namespace

// The grate shows its opaque texels, once, hung from the lower ceiling, in the
// near room's shade at its depth (7.5 for every column: lift min(47, 80 / 7.5) / 2
// = 5); through its transparent ones the rooms behind show as they do without it.
TEST(SeeThroughMiddleTest, TheGrateCoversWhatLiesBehindOnlyWithItsOpaqueTexels) {
    const struct {
        const char* name;
        RoomLights lights;
        std::uint32_t keep; // of 32, the grate's shade kept
    } cases[] = {
        {"FullLight", {}, 32},
        {"Dim", {160, 255, false}, 17},          // step 10: shade 4 x 5 - 5 = 15
        {"DimBehindToo", {200, 96, false}, 25},  // step 12: shade 12 - 5 = 7
        {"ContrastAlongY", {160, 96, true}, 21}, // a step brighter: 16 - 5 = 11
    };
    const std::string grating = R"({ "edge": 1, "middle": "grate" })";
    const std::vector<PackedPixel> lit = drawLevel("MiddleLit", twoRooms(grating));
    for (const auto& c : cases) {
        const std::vector<PackedPixel> open =
            drawLevel(std::string("MiddleOpen") + c.name,
                      twoRooms(R"({ "edge": 1, "lower": "w2" })", "", c.lights));
        const std::vector<PackedPixel> grated =
            drawLevel(std::string("MiddleGrated") + c.name, twoRooms(grating, "", c.lights));
        std::int32_t grateShown = 0, seenThrough = 0;
        for (std::int32_t x = 0; x < screenWidth; ++x) {
            std::int32_t top = -1, bottom = -1;
            for (std::int32_t y = 0; y < screenHeight; ++y) {
                const std::size_t i = static_cast<std::size_t>(y * screenWidth + x);
                const PackedPixel p = lit[i];
                if (channel(p, 16) != grateRed) {
                    // Everywhere else the frame is the one without the grate.
                    ASSERT_EQ(grated[i], open[i]) << c.name << " " << x << "," << y;
                    seenThrough += top >= 0 && bottom < 0 ? 1 : 0;
                    continue;
                }
                ASSERT_EQ(grated[i], shadePixel(p, c.keep)) << c.name << " " << x << "," << y;
                ASSERT_TRUE(grateOpaque(channel(p, 8), channel(p, 0))) << x << "," << y;
                if (top < 0) {
                    top = y;
                    // Hung from the lower ceiling: above its first row, the face down to it.
                    EXPECT_EQ(channel(p, 0), 0) << "column " << x;
                    EXPECT_EQ(channel(lit[i - screenWidth], 16), 1) << "column " << x;
                }
                ++grateShown;
                if (channel(p, 0) == 63) {
                    bottom = y;
                }
            }
            if (bottom >= 0) {
                // Once, not repeated: below its last row the far room shows again.
                const std::size_t below = static_cast<std::size_t>((bottom + 1) * screenWidth + x);
                EXPECT_EQ(open[below], grated[below]) << c.name;
            }
        }
        EXPECT_GT(grateShown, 2000) << c.name;
        EXPECT_GT(seenThrough, 2000) << c.name;
    }
}

TEST(SeeThroughMiddleTest, ABlockingSideStopsTheWalkerFromEitherRoom) {
    const struct {
        const char* near;
        const char* far;
        bool passes;
    } cases[] = {
        {R"({ "edge": 1 })", "", true},
        {R"({ "edge": 1, "blocking": true })", "", false},
        {R"({ "edge": 1 })", R"(, { "edge": 3, "blocking": true })", false},
    };
    for (const auto& c : cases) {
        const std::filesystem::path path = writeTestLevel("Blocking", twoRooms(c.near, c.far));
        writeGrate(path.parent_path() / "grate.png");
        std::string error;
        ASSERT_TRUE(loadLevel(path.string(), error)) << error;
        FreeCamera camera = cameraFromView(-5.5f, 0.0f, 1.0f, 0.0f, 0, sectors);
        MoveInput forward;
        forward.forward = true;
        for (int step = 0; step < 180; ++step) {
            camera = stepFreeCamera(camera, forward, 1.0f / 60.0f, sectors);
        }
        EXPECT_EQ(camera.sector, c.passes ? 1 : 0) << c.near << c.far;
        if (!c.passes) {
            EXPECT_NEAR(camera.x, 2.0f - wallClearance, 2e-3f) << c.near << c.far;
        }
        freeLevel();
        HKFreeAll();
    }
}
