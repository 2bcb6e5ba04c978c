#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FramePng.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace {

// Textures of sizes no power of two divides evenly, each texel naming itself as
// the coded ones do (red the texture, green its column, blue its row).
constexpr std::int32_t tallRed = 40; // 24 x 40
constexpr std::int32_t doorRed = 41; // 64 x 72
constexpr std::int32_t tallWidth = 24, tallHeight = 40;

void writeNumbered(const std::filesystem::path& path, std::int32_t red, std::int32_t width,
                   std::int32_t height) {
    std::vector<PackedPixel> texels(static_cast<std::size_t>(width * height));
    for (std::int32_t i = 0; i < width * height; ++i) {
        texels[static_cast<std::size_t>(i)] = codedTexel(red, i % width, i / width);
    }
    ASSERT_TRUE(writeFramePng(path.string().c_str(), texels.data(), width, height));
}

// A room (floor 0.5, ceiling 6) seen from 7.5 away, looking east at its wall at
// x = 2, 4 long, made of the given number of edges 4 / pieces long (points 1 to
// pieces + 1); with a portal, the room behind has floor 1.25 and ceiling 4.
// level adds top-level fields, side is the wall's side entries; the room's outline
// starts at point firstPoint (the edge from point p is edge p - firstPoint, round
// the pieces + 3 points).
std::string facingWall(const std::string& level, const std::string& side, bool portal,
                       int pieces = 1,
                       const std::string& start = "\"x\": -5.5, \"y\": 0, \"angle\": 0",
                       int firstPoint = 0) {
    std::string points = "[-6, -2], [2, -2]";
    for (int k = 1; k < pieces; ++k) {
        points += ", [2, " + std::to_string(-2.0 + 4.0 * k / pieces) + "]";
    }
    const std::string wallEnd = std::to_string(pieces + 1);
    points += ", [2, 2], [-6, 2], [6, -2], [6, 2]";
    std::string outline;
    for (int k = 0; k < pieces + 3; ++k) {
        outline += (k > 0 ? ", " : "") + std::to_string((firstPoint + k) % (pieces + 3));
    }
    return R"({ "duskhall-level": 1, )" + level + R"(
  "textures": { "w1": "wall1.png", "w3": "wall3.png", "f": "floor1.png", "c": "floor2.png",
                "tall": "tall.png", "door": "door.png" },
  "vertices": [)" +
           points + R"(],
  "sectors": [
    { "outline": [)" +
           outline + R"(], "floor": 0.5, "ceiling": 6, "wall-texture": "w1",
      "floor-texture": "f", "ceiling-texture": "c", "sides": [)" +
           side + R"(] })" +
           (portal ? R"(,
    { "outline": [1, )" + std::to_string(pieces + 3) +
                         ", " + std::to_string(pieces + 4) + ", " + wallEnd +
                         R"(], "floor": 1.25, "ceiling": 4, "wall-texture": "w3",
      "floor-texture": "f", "ceiling-texture": "c" })"
                   : "") +
           R"( ],
  "start": { )" +
           start + " } }";
}

std::vector<PackedPixel> drawLevel(const std::string& name, const std::string& json) {
    const std::filesystem::path path = writeTestLevel(name, json);
    writeNumbered(path.parent_path() / "tall.png", tallRed, tallWidth, tallHeight);
    writeNumbered(path.parent_path() / "door.png", doorRed, 64, 72);
    return drawFirstFrame(path);
}

std::int32_t channel(PackedPixel p, std::int32_t shift) {
    return static_cast<std::int32_t>(p >> shift & 0xFF);
}

PackedPixel pixelAt(const std::vector<PackedPixel>& frame, std::int32_t x, std::int32_t y) {
    return frame[static_cast<std::size_t>(y * screenWidth + x)];
}

// The rows of the centre column showing the given texture, top first, in runs of
// consecutive rows.
std::vector<std::vector<PackedPixel>> runsOf(const std::vector<PackedPixel>& frame,
                                             std::int32_t red) {
    std::vector<std::vector<PackedPixel>> runs;
    bool inside = false;
    for (std::int32_t y = 0; y < screenHeight; ++y) {
        const PackedPixel p = pixelAt(frame, screenWidth / 2, y);
        const bool shows = channel(p, 16) == red;
        if (shows && !inside) {
            runs.emplace_back();
        }
        if (shows) {
            runs.back().push_back(p);
        }
        inside = shows;
    }
    return runs;
}

// How far texel row shown (covering [shown, shown + 1)) is from row want, round a
// texture of the given height.
float distanceRound(std::int32_t shown, float want, std::int32_t height) {
    const float d =
        std::fmod(std::fabs(static_cast<float>(shown) + 0.5f - want), static_cast<float>(height));
    return std::fmin(d, static_cast<float>(height) - d);
}

} // namespace

// Each rule is checked at the edge it anchors: the texel row the face shows at its
// first row under a ceiling or its last above a floor is (anchor - edge) x texels a
// unit + the offset, round the texture's 40 rows.
TEST(WallAlignmentTest, EachFaceIsAnchoredWhereItsRuleSays) {
    const struct {
        const char* name;
        const char* level;
        const char* side;
        bool portal;
        std::size_t run;     // of the tall texture's runs in the centre column, top first
        bool lastRow;        // the run's last row rather than its first
        float want;          // the texel row at that edge
        std::int32_t column; // the texel column the wall's middle shows
    } cases[] = {
        // A solid wall counts from height 0 unless room-aligned, when it hangs from
        // its ceiling; lower-unpegged stands it on the floor.
        {"SolidAtZero", "", R"({ "edge": 1, "texture": "tall" })", false, 0, false, -6 * 16.0f, 8},
        {"SolidAtZeroFoot", "", R"({ "edge": 1, "texture": "tall" })", false, 0, true, -8.0f, 8},
        {"SolidHangs", R"("room-aligned-walls": true,)", R"({ "edge": 1, "texture": "tall" })",
         false, 0, false, 0.0f, 8},
        {"SolidStands", "", R"({ "edge": 1, "texture": "tall", "lower-unpegged": true })", false, 0,
         true, 0.0f, 8},
        {"SolidOffset", R"("room-aligned-walls": true,)",
         R"({ "edge": 1, "texture": "tall", "offset": [3, 7] })", false, 0, false, 7.0f, 11},
        {"SolidTexels32", R"("room-aligned-walls": true, "texels-per-unit": 32,)",
         R"({ "edge": 1, "texture": "tall" })", false, 0, true, 5.5f * 32.0f, 16},
        // An upper face hangs down to the ceiling behind, or from this one.
        {"UpperHangs", "", R"({ "edge": 1, "upper": "tall" })", true, 0, true, 0.0f, 8},
        {"UpperUnpegged", "", R"({ "edge": 1, "upper": "tall", "upper-unpegged": true })", true, 0,
         false, 0.0f, 8},
        // A lower face starts at the floor behind, or counts from this ceiling.
        {"LowerStarts", "", R"({ "edge": 1, "lower": "tall" })", true, 0, false, 0.0f, 8},
        {"LowerUnpegged", "", R"({ "edge": 1, "lower": "tall", "lower-unpegged": true })", true, 0,
         false, (6.0f - 1.25f) * 16.0f, 8},
        // A see-through middle hangs from the lower ceiling, or stands on the higher floor.
        {"MiddleHangs", "", R"({ "edge": 1, "middle": "tall" })", true, 0, false, 0.0f, 8},
        {"MiddleStands", "", R"({ "edge": 1, "middle": "tall", "lower-unpegged": true })", true, 0,
         true, 40.0f, 8},
        {"MiddleOffset", "", R"({ "edge": 1, "middle": "tall", "offset": [0, 9] })", true, 0, false,
         9.0f, 8},
    };
    for (const auto& c : cases) {
        const std::vector<PackedPixel> frame =
            drawLevel(std::string("Alignment") + c.name, facingWall(c.level, c.side, c.portal));
        const std::vector<std::vector<PackedPixel>> runs = runsOf(frame, tallRed);
        ASSERT_GT(runs.size(), c.run) << c.name;
        const std::vector<PackedPixel>& run = runs[c.run];
        ASSERT_GT(run.size(), 8u) << c.name;
        const std::int32_t shown = channel(c.lastRow ? run.back() : run.front(), 0);
        EXPECT_EQ(channel(run[run.size() / 2], 8), c.column) << c.name;
        const float want = c.lastRow ? c.want - 0.5f : c.want + 0.5f;
        EXPECT_LE(distanceRound(shown, want, tallHeight), 1.0f)
            << c.name << ": row " << shown << " shown, " << std::fmod(want + 400.0f, 40.0f)
            << " wanted";
    }
}

// Down the centre column and across the middle row the texel rows and columns
// step by at most one and wrap round the texture's own size, never past it.
TEST(WallAlignmentTest, TexturesOfAnySizeWrapByTheirOwnWidthAndHeight) {
    const struct {
        const char* name;
        const char* level;
        const char* texture;
        std::int32_t red;
        std::int32_t width;
        std::int32_t height;
        std::int32_t rightward; // the column's step from one screen column to the next
    } cases[] = {
        {"Tall", "", "tall", tallRed, tallWidth, tallHeight, -1},
        {"Door", "", "door", doorRed, 64, 72, -1},
        {"TallFacingTheRoom", R"("room-aligned-walls": true,)", "tall", tallRed, tallWidth,
         tallHeight, 1},
    };
    for (const auto& c : cases) {
        const std::string side = std::string(R"({ "edge": 1, "texture": ")") + c.texture + "\" }";
        const std::vector<PackedPixel> frame =
            drawLevel(std::string("Wrap") + c.name, facingWall(c.level, side, false));
        std::int32_t wrapsDown = 0, wrapsAcross = 0;
        const std::int32_t middleRow = screenHeight / 2;
        for (std::int32_t y = 1; y < screenHeight; ++y) {
            const PackedPixel above = pixelAt(frame, screenWidth / 2, y - 1);
            const PackedPixel here = pixelAt(frame, screenWidth / 2, y);
            if (channel(above, 16) != c.red || channel(here, 16) != c.red) {
                continue;
            }
            ASSERT_LT(channel(here, 0), c.height) << c.name << " row " << y;
            const std::int32_t step = (channel(here, 0) - channel(above, 0) + c.height) % c.height;
            ASSERT_LE(step, 1) << c.name << " row " << y;
            wrapsDown += channel(here, 0) < channel(above, 0) ? 1 : 0;
        }
        for (std::int32_t x = 1; x < screenWidth; ++x) {
            const PackedPixel left = pixelAt(frame, x - 1, middleRow);
            const PackedPixel here = pixelAt(frame, x, middleRow);
            if (channel(left, 16) != c.red || channel(here, 16) != c.red) {
                continue;
            }
            ASSERT_LT(channel(here, 8), c.width) << c.name << " column " << x;
            const std::int32_t step =
                (c.rightward * (channel(here, 8) - channel(left, 8)) + c.width) % c.width;
            ASSERT_LE(step, 1) << c.name << " column " << x;
            wrapsAcross += step == 1 && c.rightward * (channel(here, 8) - channel(left, 8)) < 0;
        }
        // 5.5 units of wall at 16 texels a unit, 4 units across.
        EXPECT_EQ(wrapsDown, 88 / c.height) << c.name;
        EXPECT_GE(wrapsAcross, 63 / c.width) << c.name;
    }
}

// A straight wall split into eight edges draws the frame the whole wall draws: the
// texture runs on from edge to edge, from either end, wearing the first side's
// offset; where each side gives an offset, each edge starts afresh. The eye stands
// where no column's ray meets the wall on a texel's edge, where either texel is
// right and the two walls' roundings may choose differently.
TEST(WallAlignmentTest, AWallSplitIntoStraightEdgesShowsOneTexture) {
    const char* facing = R"("x": -5.5, "y": 0.0123, "angle": 0)";
    const char* aslant = R"("x": -2, "y": -1.5, "angle": 0.6)";
    const char* pinned = R"("offset": [0, 0])";
    const struct {
        const char* name;
        const char* level;
        const char* start;
        const char* headSide; // the entries for the whole wall's edge and the split one's first
        const char* eachSide; // added to each split edge's entry but the first
        int firstPoint;       // of the split room's outline
    } cases[] = {
        {"Facing", "", facing, "", nullptr, 0},
        {"Aslant", "", aslant, "", nullptr, 0},
        {"RoomAligned", R"("room-aligned-walls": true,)", aslant, "", nullptr, 0},
        {"OffsetRunsOn", "", aslant, R"("offset": [5, 3])", nullptr, 0},
        {"OffsetRunsOnRoomAligned", R"("room-aligned-walls": true,)", facing,
         R"("offset": [5, 3], "lower-unpegged": true)", R"("lower-unpegged": true)", 0},
        {"OutlineFromMidWall", "", aslant, R"("offset": [5, 3])", nullptr, 5},
        {"EachOffsetRestarts", "", facing, pinned, pinned, 0},
    };
    const auto entry = [](int edge, const std::string& fields) {
        return "{ \"edge\": " + std::to_string(edge) + (fields.empty() ? "" : ", " + fields) + " }";
    };
    for (const auto& c : cases) {
        const std::vector<PackedPixel> whole =
            drawLevel(std::string("Whole") + c.name,
                      facingWall(c.level, entry(1, c.headSide), false, 1, c.start));
        // The split wall's edges start at points 1 to 8.
        const auto splitEdge = [&](int point) { return (point - c.firstPoint + 11) % 11; };
        std::string sides = entry(splitEdge(1), c.headSide);
        for (int point = 2; c.eachSide != nullptr && point <= 8; ++point) {
            sides += ", " + entry(splitEdge(point), c.eachSide);
        }
        const std::vector<PackedPixel> split =
            drawLevel(std::string("Split") + c.name,
                      facingWall(c.level, sides, false, 8, c.start, c.firstPoint));
        if (c.eachSide != pinned) {
            std::int32_t columnsDiffering = 0;
            for (std::int32_t x = 0; x < screenWidth; ++x) {
                for (std::int32_t y = 0; y < screenHeight; ++y) {
                    if (pixelAt(split, x, y) != pixelAt(whole, x, y)) {
                        ++columnsDiffering;
                        break;
                    }
                }
            }
            EXPECT_EQ(columnsDiffering, 0) << c.name;
            continue;
        }
        // Half a unit an edge, 8 texels: across the wall's middle columns only the
        // first eight image columns over and over (the ninth's edge where a ray
        // meets an edge's end).
        std::int32_t widest = 0;
        for (std::int32_t x = 130; x < 190; ++x) {
            widest = std::max(widest, channel(pixelAt(split, x, screenHeight / 2), 8));
        }
        EXPECT_LE(widest, 8) << c.name;
    }
}
