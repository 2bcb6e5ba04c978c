#include "TestLevels.h"

#include "renderer/camera/FreeCamera.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// A round room of 24 walls around four square pillars, one sector: every column
// of a view has walls in front, behind and to both sides to leave out.
std::string pillaredRoom() {
    std::string vertices;
    for (int i = 0; i < 24; ++i) {
        const double angle = 6.283185307179586 * i / 24;
        vertices += (i == 0 ? "[" : ", [") + std::to_string(10.0 * std::cos(angle)) + ", " +
                    std::to_string(10.0 * std::sin(angle)) + "]";
    }
    std::string holes;
    for (int p = 0; p < 4; ++p) {
        const double x = p % 2 == 0 ? -4.0 : 4.0;
        const double y = p < 2 ? -4.0 : 4.0;
        for (const auto& corner : {std::pair{x, y}, {x, y + 1}, {x + 1, y + 1}, {x + 1, y}}) {
            vertices +=
                ", [" + std::to_string(corner.first) + ", " + std::to_string(corner.second) + "]";
        }
        const int b = 24 + 4 * p;
        holes += (p == 0 ? "[" : ", [") + std::to_string(b) + ", " + std::to_string(b + 1) + ", " +
                 std::to_string(b + 2) + ", " + std::to_string(b + 3) + "]";
    }
    std::string outline;
    for (int i = 0; i < 24; ++i) {
        outline += (i == 0 ? "" : ", ") + std::to_string(i);
    }
    return R"({ "duskhall-level": 1,
  "textures": { "side": "wall1.png", "floor": "floor1.png", "ceiling": "floor2.png" },
  "vertices": [)" +
           vertices + R"(],
  "sectors": [{ "outline": [)" +
           outline + R"(], "holes": [)" + holes +
           R"(], "floor": 0, "ceiling": 3, "wall-texture": "side",
                "floor-texture": "floor", "ceiling-texture": "ceiling" }],
  "start": { "x": 0, "y": 0, "angle": 0 } })";
}

// Frames drawn by the frame loop, which leaves out the walls a column cannot meet,
// against the same view's columns drawn trying every wall of the room: the same
// pixels, from eyes between the pillars, near a pillar and near the outer wall,
// at two frame sizes.
TEST(WallSpansTest, FramesAreThoseThatTryingEveryWallGives) {
    std::string error;
    ASSERT_TRUE(loadLevel(writeTestLevel("PillaredRoom", pillaredRoom()).string(), error)) << error;
    const struct {
        float x, y;
    } eyes[] = {{0.0f, 0.0f}, {-4.5f, -2.9f}, {8.9f, 0.3f}, {3.2f, 5.6f}};
    for (const auto& size : {std::pair{320, 240}, {1920, 1080}}) {
        ASSERT_TRUE(resizeFrames(size.first, size.second));
        const std::size_t count = static_cast<std::size_t>(size.first) * size.second;
        std::vector<PackedPixel> culled(count), whole(count);
        prepareFrames(culled.data());
        for (const auto& eye : eyes) {
            for (int k = 0; k < 16; ++k) {
                const float angle = static_cast<float>(k) * 0.3926991f + 0.1f;
                cameraSector = 0;
                cameraPos = Vec3(eye.x, eye.y, eyeHeightIn(sectors[0], levelBody));
                viewDir = Vec3(cosineOf(angle), sineOf(angle), 0.0f);
                viewSide = Vec3(sineOf(angle), -viewDir.x, 0.0f);
                drawView();
                View view = currentView();
                view.pixels = whole.data();
                drawViewColumns(view, 0, size.first);
                EXPECT_TRUE(culled == whole)
                    << size.first << " wide, eye (" << eye.x << ", " << eye.y << ") heading " << k;
            }
        }
        setFramebuffer(nullptr);
    }
    resizeFrames(320, 240);
    freeLevel();
    HKFreeAll();
}

} // namespace
