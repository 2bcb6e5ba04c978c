#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/level/BuiltInLevel.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelFile.h"
#include "renderer/level/LevelGeometry.h"

#include <cmath>
#include <cstring>
#include <vector>

namespace {

bool sameBits(float a, float b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// The file must describe the built-in level to the bit: it is drawn the same.
TEST(LevelFileTest, DuskhallJsonDescribesTheBuiltInLevel) {
    LevelDescription file;
    std::string error;
    ASSERT_TRUE(readLevelFile(DUSKHALL_SOURCE_DIR "/levels/duskhall.json", file, error)) << error;
    const LevelDescription built = builtInLevel();
    EXPECT_EQ(file.name, built.name);
    ASSERT_EQ(file.textures.size(), built.textures.size());
    for (std::size_t i = 0; i < built.textures.size(); ++i) {
        EXPECT_EQ(file.textures[i].name, built.textures[i].name);
        EXPECT_EQ(file.textures[i].file, built.textures[i].file);
    }
    ASSERT_EQ(file.vertexX.size(), built.vertexX.size());
    for (std::size_t i = 0; i < built.vertexX.size(); ++i) {
        EXPECT_TRUE(sameBits(file.vertexX[i], built.vertexX[i]) &&
                    sameBits(file.vertexY[i], built.vertexY[i]))
            << i;
    }
    ASSERT_EQ(file.sectors.size(), built.sectors.size());
    for (std::size_t s = 0; s < built.sectors.size(); ++s) {
        SCOPED_TRACE(s);
        const SectorDescription& a = file.sectors[s];
        const SectorDescription& b = built.sectors[s];
        EXPECT_EQ(a.outline, b.outline);
        EXPECT_EQ(a.holes, b.holes);
        EXPECT_TRUE(sameBits(a.floor, b.floor) && sameBits(a.ceiling, b.ceiling));
        EXPECT_TRUE(a.wallTexture == b.wallTexture && a.floorTexture == b.floorTexture &&
                    a.ceilingTexture == b.ceilingTexture);
        ASSERT_EQ(a.sides.size(), b.sides.size());
        for (std::size_t i = 0; i < b.sides.size(); ++i) {
            EXPECT_TRUE(
                a.sides[i].edge == b.sides[i].edge && a.sides[i].texture == b.sides[i].texture &&
                a.sides[i].lower == b.sides[i].lower && a.sides[i].upper == b.sides[i].upper);
        }
        EXPECT_EQ(a.motion.moves, b.motion.moves);
        EXPECT_TRUE(sameBits(a.motion.amplitude, b.motion.amplitude) &&
                    sameBits(a.motion.speed, b.motion.speed) &&
                    sameBits(a.motion.floor, b.motion.floor) &&
                    sameBits(a.motion.ceiling, b.motion.ceiling));
    }
    EXPECT_TRUE(sameBits(file.startX, built.startX) && sameBits(file.startY, built.startY) &&
                sameBits(file.startAngle, built.startAngle));
    EXPECT_EQ(file.scriptedCamera, built.scriptedCamera);
}

// An L-shaped room with a pillar: not convex, and a hole. Each wall has a texture
// of its own (the coded textures name themselves), seen from the arm of the L.
const char* const lShapedRoom = R"({ "duskhall-level": 1,
  "textures": { "a": "wall1.png", "b": "wall2.png", "c": "wall3.png", "d": "floor1.png",
                "e": "floor2.png", "f": "floor3.png", "g": "floor4.png" },
  "vertices": [[0, 0], [8, 0], [8, 3], [3, 3], [3, 8], [0, 8], [1, 1], [1, 2], [2, 2], [2, 1]],
  "sectors": [{ "outline": [0, 1, 2, 3, 4, 5], "holes": [[6, 7, 8, 9]],
    "floor": 0, "ceiling": 3, "wall-texture": "g", "floor-texture": "a", "ceiling-texture": "a",
    "sides": [{ "edge": 0, "texture": "a" }, { "edge": 1, "texture": "b" },
              { "edge": 2, "texture": "c" }, { "edge": 3, "texture": "d" },
              { "edge": 4, "texture": "e" }, { "edge": 5, "texture": "f" }] }],
  "start": { "x": 6.5, "y": 1.2, "angle": 2.7 } })";

struct Segment {
    double ax, ay, bx, by;
    std::int32_t texture; // the coded texture's number
};

// The nearest wall along a ray, worked out in double precision apart from the
// renderer; -1 where two walls are too close to tell (a corner, a grazing ray).
std::int32_t nearestWall(const std::vector<Segment>& walls, double ox, double oy, double dx,
                         double dy) {
    double best = 1e30;
    double second = 1e30;
    std::int32_t texture = -1;
    for (const Segment& w : walls) {
        const double ex = w.bx - w.ax;
        const double ey = w.by - w.ay;
        const double denominator = dx * ey - dy * ex;
        if (std::fabs(denominator) < 1e-12) {
            continue;
        }
        const double t = ((w.ax - ox) * ey - (w.ay - oy) * ex) / denominator;
        const double u = ((w.ax - ox) * dy - (w.ay - oy) * dx) / denominator;
        if (t <= 0.0 || u < -1e-3 || u > 1.0 + 1e-3) {
            continue;
        }
        if (t < best) {
            second = best;
            best = t;
            texture = w.texture;
        } else if (t < second) {
            second = t;
        }
    }
    return second - best < 1e-3 ? -1 : texture;
}

TEST(LevelFileTest, ANonConvexRoomShowsTheNearestWallInEveryColumn) {
    std::string error;
    ASSERT_TRUE(loadLevel(writeTestLevel("LShaped", lShapedRoom).string(), error)) << error;
    std::vector<PackedPixel> pixels(screenPixels, 0);
    prepareFrames(pixels.data());
    drawFrame();
    const std::vector<Segment> walls = {
        {0, 0, 8, 0, 0}, {8, 0, 8, 3, 1}, {8, 3, 3, 3, 2}, {3, 3, 3, 8, 3}, {3, 8, 0, 8, 4},
        {0, 8, 0, 0, 5}, {1, 1, 1, 2, 6}, {1, 2, 2, 2, 6}, {2, 2, 2, 1, 6}, {2, 1, 1, 1, 6}};
    std::int32_t checked = 0;
    std::vector<bool> seen(7, false);
    for (std::int32_t x = 0; x < screenWidth; ++x) {
        const double dx = static_cast<double>(viewDir.x) + viewSide.x * columnSlopes[x];
        const double dy = static_cast<double>(viewDir.y) + viewSide.y * columnSlopes[x];
        const std::int32_t expected = nearestWall(walls, cameraPos.x, cameraPos.y, dx, dy);
        if (expected < 0) {
            continue;
        }
        // Row 120 is at eye height: always a wall, never a floor or ceiling.
        const PackedPixel shown = pixels[static_cast<std::size_t>(120 * screenWidth + x)];
        EXPECT_EQ(static_cast<std::int32_t>(shown >> 16 & 0xFF), expected) << "column " << x;
        seen[static_cast<std::size_t>(expected)] = true;
        ++checked;
    }
    EXPECT_GT(checked, 300);
    // The view takes in the near wall, the wall the inner corner ends, the far wall
    // of the other arm past that corner, and the pillar.
    EXPECT_TRUE(seen[0] && seen[2] && seen[5] && seen[6]);
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
}

// One sector whose outline runs through the given points in the given order.
LevelDescription oneSector(const std::vector<std::vector<float>>& points,
                           const std::vector<std::int32_t>& outline) {
    LevelDescription level;
    for (const std::vector<float>& point : points) {
        level.vertexX.push_back(point[0]);
        level.vertexY.push_back(point[1]);
    }
    SectorDescription sector;
    sector.outline = outline;
    sector.ceiling = 3.0f;
    level.sectors.push_back(sector);
    return level;
}

// A regular polygon of the given number of corners around (0, 0), counter-clockwise.
LevelDescription polygonSector(std::int32_t corners) {
    std::vector<std::vector<float>> points;
    std::vector<std::int32_t> outline;
    for (std::int32_t i = 0; i < corners; ++i) {
        const double angle = 6.283185307179586 * i / corners;
        points.push_back({static_cast<float>(1000.0 * std::cos(angle)),
                          static_cast<float>(1000.0 * std::sin(angle))});
        outline.push_back(i);
    }
    return oneSector(points, outline);
}

TEST(LevelGeometryTest, CrossingsEitherWayRoundAndTheWallLimitAreFound) {
    // A loop whose first and third edges cross; started two corners on, the pair
    // meets the other way round.
    const std::vector<std::vector<float>> crossed = {{0, 0}, {2, 2}, {2, 0}, {0, 4}};
    const struct {
        const char* name;
        LevelDescription level;
        const char* problem; // empty: accepted
    } cases[] = {
        {"crossed", oneSector(crossed, {0, 1, 2, 3}),
         "sectors[0].outline[2]: the edge from vertex 2 to vertex 3 crosses or touches the edge "
         "from vertex 0 to vertex 1"},
        {"crossed from the third corner", oneSector(crossed, {2, 3, 0, 1}),
         "sectors[0].outline[2]: the edge from vertex 0 to vertex 1 crosses or touches the edge "
         "from vertex 2 to vertex 3"},
        {"1024 walls", polygonSector(1024), ""},
        {"1025 walls", polygonSector(1025),
         "sectors[0]: has 1025 walls in its outline and holes; a sector may have at most 1024"},
    };
    for (const auto& c : cases) {
        std::string problem;
        EXPECT_EQ(checkLevelGeometry(c.level, problem), c.problem[0] == '\0') << c.name;
        EXPECT_EQ(problem.rfind(c.problem, 0), 0u) << c.name << ": " << problem;
    }
}

TEST(LevelFileTest, AnOutlineNamesOnlyTheVerticesThereAre) {
    std::string text = lShapedRoom;
    const std::string outline = "[0, 1, 2, 3, 4, 5]";
    text.replace(text.find(outline), outline.size(), "[0, 1, 2, 3, 4, 10]");
    LevelDescription level;
    std::string error;
    EXPECT_FALSE(parseLevelText(text, "ten.json", level, error));
    EXPECT_NE(error.find("sectors[0].outline[5]: vertex 10 does not exist (the file has 10)"),
              std::string::npos)
        << error;
}

TEST(LevelFileTest, APortalsStepsTakeTheTexturesNamedForThem) {
    // Edge 1 of the first room is the portal; edges 0 and 2 show the two textures
    // named for its steps.
    const char* const twoRooms = R"({ "duskhall-level": 1,
  "textures": { "a": "wall1.png", "b": "wall2.png", "c": "wall3.png" },
  "vertices": [[0, 0], [4, 0], [4, 4], [0, 4], [8, 0], [8, 4]],
  "sectors": [
    { "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 3,
      "wall-texture": "a", "floor-texture": "a", "ceiling-texture": "a",
      "sides": [{ "edge": 0, "texture": "b" }, { "edge": 1, "lower": "b", "upper": "c" },
                { "edge": 2, "texture": "c" }] },
    { "outline": [1, 4, 5, 2], "floor": 0.5, "ceiling": 2.5,
      "wall-texture": "a", "floor-texture": "a", "ceiling-texture": "a" }],
  "start": { "x": 2, "y": 2, "angle": 0 } })";
    std::string error;
    ASSERT_TRUE(loadLevel(writeTestLevel("PortalSteps", twoRooms).string(), error)) << error;
    const Wall* walls = sectors[0].walls;
    ASSERT_EQ(walls[1].neighbour, 1);
    EXPECT_EQ(walls[1].lowerTexture, walls[0].lowerTexture);
    EXPECT_EQ(walls[1].upperTexture, walls[2].lowerTexture);
    EXPECT_NE(walls[0].lowerTexture, walls[2].lowerTexture);
    freeLevel();
    HKFreeAll();
}

} // namespace
