#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FramePng.h"

#include <cmath>
#include <string>
#include <vector>

namespace {

// The sky's texels name themselves with red 201, which no coded texture has.
constexpr std::int32_t skyRed = 201;

// A room (ceiling near) open at x = 2 into a room with ceiling far; far walls wall3,
// the face above the opening wall2 unless the sky goes on there.
std::string skyRooms(const std::string& nearCeiling, const std::string& farCeiling) {
    return R"({ "duskhall-level": 1, "sky": "dusk",
  "textures": { "w1": "wall1.png", "w2": "wall2.png", "w3": "wall3.png", "f": "floor1.png",
                "c": "floor2.png", "dusk": "sky.png" },
  "vertices": [[-6, -2], [2, -2], [2, 2], [-6, 2], [6, -2], [6, 2]],
  "sectors": [
    { "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 4, "wall-texture": "w1",
      "floor-texture": "f", "ceiling-texture": ")" +
           nearCeiling + R"(", "sides": [{ "edge": 1, "upper": "w2" }] },
    { "outline": [1, 4, 5, 2], "floor": 0, "ceiling": 3, "wall-texture": "w3",
      "floor-texture": "f", "ceiling-texture": ")" +
           farCeiling + R"(" } ],
  "start": { "x": -5.5, "y": 0, "angle": 0 } })";
}

class SkyTest : public ::testing::Test {
  protected:
    void load(const std::string& name, const std::string& json) {
        const std::filesystem::path path = writeTestLevel(name, json);
        std::vector<PackedPixel> sky(64 * 64);
        for (std::int32_t i = 0; i < 64 * 64; ++i) {
            sky[i] = codedTexel(skyRed, i % 64, i / 64);
        }
        ASSERT_TRUE(
            writeFramePng((path.parent_path() / "sky.png").string().c_str(), sky.data(), 64, 64));
        std::string error;
        ASSERT_TRUE(loadLevel(path.string(), error)) << error;
        frame.assign(screenPixels, 0);
        prepareFrames(frame.data());
    }
    // One frame from (x, y) looking along angle.
    void look(float x, float y, float angle) {
        advanceAnimation();
        cameraPos = Vec3(x, y, 1.5f);
        viewDir = Vec3(std::cos(angle), std::sin(angle), 0.0f);
        viewSide = Vec3(viewDir.y, -viewDir.x, 0.0f);
        drawView();
    }
    void TearDown() override {
        freeLevel();
        HKFreeAll();
        framebuffer = nullptr;
    }
    PackedPixel at(std::int32_t x, std::int32_t y) const {
        return frame[static_cast<std::size_t>(y * screenWidth + x)];
    }
    std::vector<PackedPixel> frame;
};

std::int32_t channel(PackedPixel p, std::int32_t shift) {
    return static_cast<std::int32_t>(p >> shift & 0xFF);
}

} // namespace

TEST_F(SkyTest, ItsColumnsStayWithTheDirectionAndItsRowsWithTheHorizon) {
    load("SkyColumns", skyRooms("dusk", "dusk"));
    // 1024 texel columns a turn, growing clockwise: 64 wide, it repeats 16 times.
    const struct {
        float angle;
        std::int32_t column;
    } views[] = {{0.0f, 0}, {-0.1f, 16}, {0.5f, 46}, {3.0f, 23}, {-1.5707964f, 0}, {1.2f, 56}};
    std::int32_t checked = 0;
    for (const auto& view : views) {
        for (const float x : {-5.5f, -3.0f}) {
            look(x, x == -5.5f ? 0.0f : 1.0f, view.angle);
            // Row 50 of 64 (100 of 128) on the horizon, one texel a row at 320 x 240;
            // above the sky's top its first row goes on.
            const struct {
                std::int32_t screenRow, texelRow;
            } rows[] = {{120, 50}, {100, 30}, {71, 1}, {70, 0}, {0, 0}};
            for (const auto& row : rows) {
                const PackedPixel p = at(screenWidth / 2, row.screenRow);
                if (row.screenRow == 120 || channel(p, 16) != skyRed) {
                    continue; // the wall stands there
                }
                ++checked;
                EXPECT_EQ(channel(p, 8), view.column) << view.angle << " from x " << x;
                EXPECT_EQ(channel(p, 0), row.texelRow) << view.angle << " row " << row.screenRow;
            }
        }
    }
    EXPECT_GE(checked, 12); // where no wall stands in front of the sky
}

TEST_F(SkyTest, TheFaceBetweenTwoSkiesIsNotDrawn) {
    const struct {
        const char* near;
        const char* far;
        bool faceShown;
    } cases[] = {{"dusk", "dusk", false}, {"c", "dusk", true}, {"dusk", "c", true}};
    for (const auto& c : cases) {
        load(std::string("SkyFace") + c.near + c.far, skyRooms(c.near, c.far));
        look(-5.5f, 0.0f, 0.0f);
        std::int32_t face = 0, sky = 0;
        for (const PackedPixel p : frame) {
            face += channel(p, 16) == 1 ? 1 : 0;
            sky += channel(p, 16) == skyRed ? 1 : 0;
        }
        EXPECT_EQ(face > 0, c.faceShown) << c.near << " " << c.far;
        EXPECT_GT(sky, 500) << c.near << " " << c.far;
        TearDown();
    }
}
