#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/camera/FreeCamera.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelFile.h"
#include "renderer/level/LevelFileWriter.h"
#include "renderer/level/LevelThings.h"

#include <png.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

// Pictures 16 wide that name themselves as the coded textures do, with red 220 +
// the picture's number; every fourth column is transparent.
constexpr std::int32_t pictureRed = 220;
bool pictureOpaque(std::int32_t column) {
    return column % 4 != 3;
}

// A grille's columns are clear in every third band of four rows as well.
void writePicture(const std::filesystem::path& path, std::int32_t number, std::int32_t rows,
                  bool grille = false) {
    std::vector<PackedPixel> texels(static_cast<std::size_t>(16 * rows));
    for (std::int32_t i = 0; i < 16 * rows; ++i) {
        const bool opaque = pictureOpaque(i % 16) && !(grille && i / 16 / 4 % 3 == 2);
        texels[static_cast<std::size_t>(i)] =
            opaque ? codedTexel(pictureRed + number, i % 16, i / 16) : 0x00FFFFFFu;
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = 16;
    image.height = static_cast<png_uint_32>(rows);
    image.format = PNG_FORMAT_BGRA;
    ASSERT_TRUE(
        png_image_write_to_file(&image, path.string().c_str(), 0, texels.data(), 0, nullptr));
}

bool isPicture(PackedPixel p) {
    return (p >> 16 & 0xFF) >= pictureRed;
}

bool isWall3(PackedPixel p) {
    return (p >> 16 & 0xFF) == 2; // wall3.png, the third coded texture
}

// A room from x = -6 to 10 (a hole for a pillar when given) looking east from
// (-5, 0), with a step down in the ceiling at x = 2 when lowCeiling; the pillar and
// the step wear wall3. Things are JSON objects wearing "tall" (16 x 64 texels,
// 1 x 4 units), "grille" (the same with rows clear), "short" (16 x 32) or "hung"
// (tall, hanging from its top).
std::string room(bool pillar, bool lowCeiling, const std::string& things) {
    const std::string second = lowCeiling ? "2.5" : "6";
    return R"({ "duskhall-level": 1,
  "textures": { "w1": "wall1.png", "w2": "wall2.png", "w3": "wall3.png", "f": "floor1.png",
                "c": "floor2.png", "tall": "tall.png", "short": "short.png",
                "grille": "grille.png" },
  "vertices": [[-6, -4], [2, -4], [2, 4], [-6, 4], [10, -4], [10, 4],
               [0, -0.5], [0, 0.5], [1, 0.5], [1, -0.5]],
  "sectors": [
    { "outline": [0, 1, 2, 3], )" +
           std::string(pillar ? R"("holes": [[6, 7, 8, 9]], )" : "") +
           R"("floor": 0, "ceiling": 6, "wall-texture": "w1",
      "floor-texture": "f", "ceiling-texture": "c",
      "sides": [{ "edge": 1, "upper": "w3" })" +
           std::string(pillar ? R"(, { "edge": 4, "texture": "w3" }, { "edge": 5, "texture": "w3" },
                { "edge": 6, "texture": "w3" }, { "edge": 7, "texture": "w3" })"
                              : "") +
           R"(] },
    { "outline": [1, 4, 5, 2], "floor": 0, "ceiling": )" +
           second + R"(, "wall-texture": "w2",
      "floor-texture": "f", "ceiling-texture": "c" } ],
  "sprites": [{ "name": "tall", "frames": [[{ "texture": "tall", "foot": [8, 64] }]] },
              { "name": "short", "frames": [[{ "texture": "short", "foot": [8, 32] }]] },
              { "name": "grille", "frames": [[{ "texture": "grille", "foot": [8, 64] }]] },
              { "name": "hung", "frames": [[{ "texture": "tall", "foot": [8, 0] }]] }],
  "things": [)" +
           things + R"(],
  "start": { "x": -5, "y": 0, "angle": 0 } })";
}

std::vector<PackedPixel> drawLevel(const std::string& json) {
    // A folder of the running test's own: ctest runs the tests side by side.
    const std::filesystem::path path = writeTestLevel(
        std::string("Things") + ::testing::UnitTest::GetInstance()->current_test_info()->name(),
        json);
    writePicture(path.parent_path() / "tall.png", 0, 64);
    writePicture(path.parent_path() / "short.png", 1, 32);
    writePicture(path.parent_path() / "grille.png", 2, 64, true);
    return drawFirstFrame(path);
}

} // namespace

// Where a nearer wall (the pillar, the step down of a lower ceiling) shows, the
// thing is hidden; everywhere else its opaque texels show over what lies behind it,
// as the same thing stands in the same room without the nearer wall.
TEST(ThingsTest, NearerWallsHideAThingPixelExactly) {
    const struct {
        const char* name;
        bool pillar;
        bool lowCeiling;
        const char* thing;
        bool wallNearer;
    } cases[] = {
        {"behind the pillar", true, false, R"({ "x": 3, "y": 0.6, "sprite": "tall" })", true},
        {"before the pillar", true, false, R"({ "x": -2, "y": 0.3, "sprite": "tall" })", false},
        {"across the portal", false, true, R"({ "x": 4, "y": 0.2, "sprite": "tall" })", true},
    };
    for (const auto& c : cases) {
        const std::vector<PackedPixel> walls = drawLevel(room(c.pillar, c.lowCeiling, ""));
        const std::vector<PackedPixel> shown = drawLevel(room(c.pillar, c.lowCeiling, c.thing));
        const std::vector<PackedPixel> alone = drawLevel(room(false, false, c.thing));
        std::int32_t hidden = 0, seen = 0;
        for (std::size_t p = 0; p < shown.size(); ++p) {
            const bool covered = c.wallNearer && isWall3(walls[p]);
            const PackedPixel expected = isPicture(alone[p]) && !covered ? alone[p] : walls[p];
            ASSERT_EQ(shown[p], expected)
                << c.name << " at " << p % screenWidth << "," << p / screenWidth;
            hidden += isPicture(alone[p]) && covered ? 1 : 0;
            seen += isPicture(shown[p]) ? 1 : 0;
        }
        EXPECT_GT(seen, 200) << c.name;
        EXPECT_EQ(hidden > 100, c.wallNearer) << c.name;
    }
}

// Seen alone, a picture shows whole and upright: in each column one texel column,
// its rows from the top texel to the bottom one in order; the texel columns run
// left to right across the screen, right to left when mirrored, every opaque one
// shown and no clear one.
TEST(ThingsTest, APictureShowsWholeAndUprightOrMirrored) {
    for (const bool mirrored : {false, true}) {
        std::string json = room(false, false, R"({ "x": 3, "y": 0, "sprite": "tall" })");
        if (mirrored) {
            json.replace(json.find(R"("texture": "tall", )"), 19,
                         R"("texture": "tall", "mirrored": true, )");
        }
        const std::vector<PackedPixel> frame = drawLevel(json);
        std::int32_t previous = -1;
        std::vector<bool> shown(16, false);
        for (std::int32_t x = 0; x < screenWidth; ++x) {
            std::int32_t column = -1, lastRow = -1, firstRow = -1;
            for (std::int32_t y = 0; y < screenHeight; ++y) {
                const PackedPixel p = frame[static_cast<std::size_t>(y * screenWidth + x)];
                if (!isPicture(p)) {
                    continue;
                }
                const std::int32_t u = p >> 8 & 0xFF, v = p & 0xFF;
                ASSERT_TRUE(column < 0 || column == u) << x << "," << y;
                ASSERT_GE(v, lastRow) << x << "," << y;
                column = u;
                firstRow = firstRow < 0 ? v : firstRow;
                lastRow = v;
            }
            if (column < 0) {
                continue;
            }
            EXPECT_TRUE(pictureOpaque(column)) << x;
            EXPECT_EQ(firstRow, 0) << x;
            EXPECT_EQ(lastRow, 63) << x;
            if (previous >= 0) {
                EXPECT_TRUE(mirrored ? column <= previous : column >= previous) << x;
            }
            previous = column;
            shown[static_cast<std::size_t>(column)] = true;
        }
        for (std::int32_t u = 0; u < 16; ++u) {
            EXPECT_EQ(shown[static_cast<std::size_t>(u)], pictureOpaque(u)) << u;
        }
    }
}

// Of things that overlap on screen, each pixel shows the nearest one whose texel
// there is opaque, whichever the file lists first: through the holes of a grille,
// under a lower ceiling that cuts their tops, in dim light as in full.
TEST(ThingsTest, TheNearestOpaqueTexelOfOverlappingThingsShows) {
    const struct {
        const char* name;
        bool lowCeiling;
        bool dim;
        std::vector<std::string> nearToFar;
    } cases[] = {
        {"short before tall",
         false,
         false,
         {R"({ "x": 0, "y": -1.1, "sprite": "short" })",
          R"({ "x": 4, "y": -1.5, "sprite": "tall" })"}},
        {"grille before tall before short",
         false,
         true,
         {R"({ "x": -1, "y": -0.4, "sprite": "grille" })",
          R"({ "x": 1.5, "y": -0.6, "sprite": "tall" })",
          R"({ "x": 6, "y": -0.9, "sprite": "short" })"}},
        {"tall before grille, tops cut",
         true,
         false,
         {R"({ "x": 3, "y": 0.3, "sprite": "tall" })",
          R"({ "x": 5, "y": 0.1, "sprite": "grille" })",
          R"({ "x": 8, "y": 0.5, "sprite": "tall" })"}},
        {"hanging before standing, its foot below the nearer one",
         false,
         false,
         {R"({ "x": -2, "y": -0.3, "sprite": "hung", "hanging": true })",
          R"({ "x": 1.5, "y": -0.6, "sprite": "tall" })"}},
        {"two talls, tops cut, dim",
         true,
         true,
         {R"({ "x": 3.5, "y": -0.2, "sprite": "tall" })",
          R"({ "x": 7, "y": -0.1, "sprite": "tall" })"}},
    };
    for (const auto& c : cases) {
        const auto level = [&c](const std::string& things) {
            std::string json = room(false, c.lowCeiling, things);
            for (std::size_t at = 0;
                 c.dim && (at = json.find(R"("floor": 0,)", at)) != std::string::npos; at += 20) {
                json.insert(at, R"("light": 120, )");
            }
            return drawLevel(json);
        };
        const std::vector<PackedPixel> walls = level("");
        std::vector<std::vector<PackedPixel>> alone;
        std::string nearFirst, farFirst;
        for (const std::string& thing : c.nearToFar) {
            alone.push_back(level(thing));
            nearFirst += (nearFirst.empty() ? "" : ",") + thing;
            farFirst = thing + (farFirst.empty() ? "" : ",") + farFirst;
        }
        for (const std::string& things : {nearFirst, farFirst}) {
            const std::vector<PackedPixel> together = level(things);
            std::int32_t overlap = 0;
            for (std::size_t p = 0; p < together.size(); ++p) {
                PackedPixel expected = walls[p];
                std::int32_t showing = 0;
                for (auto one = alone.rbegin(); one != alone.rend(); ++one) {
                    if ((*one)[p] != walls[p]) { // shaded, a texel is no longer coded
                        expected = (*one)[p];
                        ++showing;
                    }
                }
                ASSERT_EQ(together[p], expected) << c.name << ": " << things << " at "
                                                 << p % screenWidth << "," << p / screenWidth;
                overlap += showing > 1 ? 1 : 0;
            }
            EXPECT_GT(overlap, 100) << c.name;
        }
    }
}

// A thing facing east seen from eight sides in turn shows its eight pictures in
// order, counter-clockwise round it, from whatever distance.
TEST(ThingsTest, TheRotationFollowsTheSideItIsSeenFrom) {
    const float pi = 3.14159265f;
    for (const float facing : {0.0f, 1.0f, -2.5f}) {
        const Thing thing = {3.0f, -2.0f, facing, 0, 0, false, false, false, 0.0f};
        for (std::int32_t side = 0; side < 8; ++side) {
            for (const float off : {-0.35f, 0.0f, 0.35f}) { // inside the 45 degrees of a side
                const double seen = facing + (static_cast<float>(side) + off) * pi / 4.0f;
                const float d = 5.0f + static_cast<float>(side);
                const float eyeX = thing.x + d * static_cast<float>(std::cos(seen));
                const float eyeY = thing.y + d * static_cast<float>(std::sin(seen));
                EXPECT_EQ(thingRotation(thing, eyeX, eyeY), side)
                    << "facing " << facing << ", side " << side << ", off " << off;
            }
        }
    }
}

// A solid thing stops the walker at its radius and the body's; one that is not
// solid, or lies off its path, lets it by.
TEST(ThingsTest, ASolidThingStopsTheWalker) {
    const struct {
        const char* thing;
        float stopsAt; // 0: walks on into the second room
    } cases[] = {
        {R"({ "x": 0, "y": 0, "sprite": "short", "solid": true, "radius": 0.5 })", -0.75f},
        {R"({ "x": 0, "y": 0, "sprite": "short", "radius": 0.5 })", 0.0f},
        {R"({ "x": 0, "y": 1, "sprite": "short", "solid": true, "radius": 0.5 })", 0.0f},
    };
    for (const auto& c : cases) {
        const std::filesystem::path path =
            writeTestLevel("ThingsWalk", room(false, false, c.thing));
        writePicture(path.parent_path() / "tall.png", 0, 64);
        writePicture(path.parent_path() / "short.png", 1, 32);
        writePicture(path.parent_path() / "grille.png", 2, 64, true);
        std::string error;
        ASSERT_TRUE(loadLevel(path.string(), error)) << error;
        FreeCamera camera = cameraFromView(-5.0f, 0.0f, 1.0f, 0.0f, 0, sectors);
        MoveInput forward;
        forward.forward = true;
        for (int step = 0; step < 150; ++step) {
            camera = stepFreeCamera(camera, forward, 1.0f / 60.0f, sectors);
        }
        if (c.stopsAt != 0.0f) {
            EXPECT_NEAR(camera.x, c.stopsAt, 1e-3f) << c.thing;
            EXPECT_EQ(camera.y, 0.0f) << c.thing;
        } else {
            EXPECT_EQ(camera.sector, 1) << c.thing;
        }
        freeLevel();
        HKFreeAll();
    }
}

TEST(ThingsTest, FramesCycleAtTheirRate) {
    const struct {
        std::int32_t frames;
        float perSecond;
        float clock;
        std::int32_t shown;
    } cases[] = {
        {4, 2.0f, 5.0f, 2}, // frame 10 of the clock, round twice and two more
        {4, 2.0f, 5.49f, 2},  {4, 2.0f, 5.51f, 3}, {4, 2.0f, 6.0f, 0},
        {3, 10.0f, 0.25f, 2}, {1, 10.0f, 7.3f, 0}, // one frame: still
        {4, 0.0f, 7.3f, 0},                        // no rate: its first frame
    };
    for (const auto& c : cases) {
        const ThingSprite sprite = {0, c.frames, c.perSecond, 16.0f};
        EXPECT_EQ(spriteFrame(sprite, c.clock), c.shown)
            << c.frames << " frames at " << c.perSecond << " at " << c.clock;
    }
}

// Every field of the sprites and things is written and read back as it was.
TEST(ThingsTest, SpritesAndThingsReadBackAsWritten) {
    const std::string text =
        room(false, false,
             R"({ "x": 3, "y": 0.6, "angle": 1.25, "sprite": "tall", "hanging": true,
                  "bright": true, "solid": true, "radius": 0.5 },
                { "x": 4, "y": -1, "sprite": "short" })");
    LevelDescription level;
    std::string error;
    ASSERT_TRUE(parseLevelText(text, "things.json", level, error)) << error;
    level.sprites[1].framesPerSecond = 3.5f;
    level.sprites[1].texelsPerUnit = 24.0f;
    level.sprites[1].frames.push_back(level.sprites[1].frames[0]);
    level.sprites[1].frames[1].pictures.assign(8, level.sprites[1].frames[0].pictures[0]);
    level.sprites[1].frames[1].pictures[5].mirrored = true;
    level.sprites[1].frames[1].pictures[5].footX = 2.25f;
    LevelDescription back;
    ASSERT_TRUE(parseLevelText(levelFileText(level), "back.json", back, error)) << error;
    ASSERT_EQ(back.sprites.size(), level.sprites.size());
    for (std::size_t s = 0; s < level.sprites.size(); ++s) {
        const SpriteDescription& a = level.sprites[s];
        const SpriteDescription& b = back.sprites[s];
        EXPECT_TRUE(a.name == b.name && a.framesPerSecond == b.framesPerSecond &&
                    a.texelsPerUnit == b.texelsPerUnit && a.frames.size() == b.frames.size());
        for (std::size_t f = 0; f < a.frames.size() && f < b.frames.size(); ++f) {
            ASSERT_EQ(a.frames[f].pictures.size(), b.frames[f].pictures.size());
            for (std::size_t p = 0; p < a.frames[f].pictures.size(); ++p) {
                const SpritePicture& x = a.frames[f].pictures[p];
                const SpritePicture& y = b.frames[f].pictures[p];
                EXPECT_TRUE(x.texture == y.texture && x.mirrored == y.mirrored &&
                            x.footX == y.footX && x.footY == y.footY)
                    << s << " " << f << " " << p;
            }
        }
    }
    ASSERT_EQ(back.things.size(), 2u);
    for (std::size_t t = 0; t < 2; ++t) {
        const ThingDescription& a = level.things[t];
        const ThingDescription& b = back.things[t];
        EXPECT_TRUE(a.x == b.x && a.y == b.y && a.angle == b.angle && a.sprite == b.sprite &&
                    a.hanging == b.hanging && a.bright == b.bright && a.solid == b.solid &&
                    a.radius == b.radius)
            << t;
    }
    EXPECT_TRUE(back.things[0].hanging && back.things[0].solid && !back.things[1].bright);
}
