#include "renderer/level/wad/WadImport.h"
#include "TestWad.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

// Every texture and flat the map names exists, in one colour, but the one missing.
class PlainPixels : public WadTexturePixels {
  public:
    explicit PlainPixels(std::string missing = "") : missing_(std::move(missing)) {}
    bool wall(const std::string& name, std::vector<PackedPixel>& pixels,
              ImportedSize& size) override {
        pixels.assign(64 * 64, 0xFF804020u);
        size = {64, 64};
        return name != missing_;
    }
    bool flat(const std::string&, std::vector<PackedPixel>& pixels) override {
        pixels.assign(64 * 64, 0xFF204080u);
        return true;
    }

  private:
    std::string missing_;
};

// The level sector whose first corner is at map x, y.
std::int32_t sectorAt(const LevelDescription& level, float x, float y) {
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        for (const std::int32_t v : level.sectors[s].outline) {
            const auto i = static_cast<std::size_t>(v);
            if (level.vertexX[i] * 32.0f == x && level.vertexY[i] * 32.0f == y) {
                return static_cast<std::int32_t>(s);
            }
        }
    }
    return -1;
}

// Manual doors become doors acted on through their own line, a switch the lift of
// the sector its tag names; specials that move nothing do nothing, each said once.
TEST(WadImport, DoorAndLiftLinesBecomeMoversWithTheirTriggers) {
    PlainPixels pixels;
    ImportedLevel imported;
    LevelWarnings warnings;
    std::string error;
    ASSERT_TRUE(importWadMap(wad_bytes::doorRooms(62, 11, 11), pixels, imported, warnings, error))
        << error;
    const LevelDescription& level = imported.level;
    const std::int32_t roomA = sectorAt(level, 0, 0);
    const std::int32_t roomB = sectorAt(level, 272, 0);
    std::int32_t door = -1;
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        door = level.sectors[s].ceiling - level.sectors[s].floor < 0.01f
                   ? static_cast<std::int32_t>(s)
                   : door;
    }
    ASSERT_GE(roomA, 0);
    ASSERT_GE(roomB, 0);
    ASSERT_GE(door, 0);
    ASSERT_EQ(level.movers.size(), 2u);
    EXPECT_EQ(level.movers[0].sector, door);
    EXPECT_FALSE(level.movers[0].lift);
    EXPECT_FALSE(level.movers[0].stays);
    EXPECT_EQ(level.movers[0].speed, doorSpeed);
    EXPECT_EQ(level.movers[1].sector, roomB);
    EXPECT_TRUE(level.movers[1].lift);
    ASSERT_EQ(level.triggers.size(), 3u);
    // In line order: the switch on A's west wall, then the door's two lines.
    const struct {
        std::int32_t sector;
        float x0, y0, x1, y1;
        std::int32_t target;
    } expected[] = {{roomA, 0, 0, 0, 128, roomB},
                    {roomA, 128, 128, 128, 0, door},
                    {roomB, 144, 0, 144, 128, door}};
    for (std::size_t t = 0; t < 3; ++t) {
        const TriggerDescription& trigger = level.triggers[t];
        EXPECT_EQ(trigger.sector, expected[t].sector) << t;
        EXPECT_FALSE(trigger.walk) << t;
        EXPECT_EQ(trigger.targets, std::vector<std::int32_t>{expected[t].target}) << t;
        std::int32_t from = 0;
        std::int32_t to = 0;
        level.sectors[static_cast<std::size_t>(trigger.sector)].edgeEnds(trigger.edge, from, to);
        const auto a = static_cast<std::size_t>(from);
        const auto b = static_cast<std::size_t>(to);
        // The edge runs with its room on the left: the line's own direction reversed.
        EXPECT_EQ(level.vertexX[a] * 32.0f, expected[t].x1) << t;
        EXPECT_EQ(level.vertexY[a] * 32.0f, expected[t].y1) << t;
        EXPECT_EQ(level.vertexX[b] * 32.0f, expected[t].x0) << t;
        EXPECT_EQ(level.vertexY[b] * 32.0f, expected[t].y0) << t;
    }
    // A walk line inside room A, the same sector on both sides, is drawn between its
    // own points.
    WadMap crossed = wad_bytes::doorRooms(0, 0, 0);
    crossed.vertexes.insert(crossed.vertexes.end(), {{64, 0}, {64, 128}});
    crossed.linedefs.push_back({8, 9, wadLineTwoSided, 88, 5,
                                static_cast<std::int32_t>(crossed.sidedefs.size()),
                                static_cast<std::int32_t>(crossed.sidedefs.size())});
    crossed.sidedefs.push_back({0, 0, "-", "-", "-", 0});
    ImportedLevel withLine;
    ASSERT_TRUE(importWadMap(crossed, pixels, withLine, warnings, error)) << error;
    ASSERT_EQ(withLine.level.triggers.size(), 3u);
    const TriggerDescription& drawn = withLine.level.triggers.back();
    EXPECT_TRUE(drawn.walk);
    ASSERT_GE(drawn.from, 0);
    EXPECT_EQ(withLine.level.vertexX[static_cast<std::size_t>(drawn.from)] * 32.0f, 64.0f);
    EXPECT_EQ(withLine.level.vertexY[static_cast<std::size_t>(drawn.to)] * 32.0f, 128.0f);
    EXPECT_EQ(drawn.targets, std::vector<std::int32_t>{sectorAt(withLine.level, 272, 0)});
    const auto exits =
        std::count_if(warnings.all().begin(), warnings.all().end(),
                      [](const LevelWarning& w) { return w.text.find("special 11 ") == 0; });
    EXPECT_EQ(exits, 1);
}

// Walk-over lines act either way; a locked door opens all the same; a tag naming no
// sector, and a door line with nothing behind it, act on nothing and are reported.
TEST(WadImport, LinesThatCannotActAreReportedAndLeftOut) {
    PlainPixels pixels;
    const struct {
        std::uint16_t west, south, door;
        std::size_t triggers;
        bool walk;
        const char* warning; // the start of one warning given
    } cases[] = {
        {88, 0, 1, 2 + 1, true, nullptr},
        {10, 0, 26, 2 + 1, true, "locked doors open"},
        {29, 0, 1, 2, false, "a door or lift line has no sector"},
        {0, 1, 1, 2, false, "a door line with no sector behind"},
        {0, 0, 118, 2, false, nullptr},
    };
    for (const auto& c : cases) {
        WadMap map = wad_bytes::doorRooms(c.west, c.south, 0, c.door);
        if (c.west == 29) {
            map.sectors[2].tag = 6; // the switch's tag 5 now names no sector
        }
        ImportedLevel imported;
        LevelWarnings warnings;
        std::string error;
        ASSERT_TRUE(importWadMap(map, pixels, imported, warnings, error)) << error;
        EXPECT_EQ(imported.level.triggers.size(), c.triggers) << c.west << " " << c.south;
        EXPECT_EQ(imported.level.triggers[0].walk, c.walk) << c.west;
        if (c.warning != nullptr) {
            EXPECT_TRUE(
                std::any_of(warnings.all().begin(), warnings.all().end(),
                            [&](const LevelWarning& w) { return w.text.find(c.warning) == 0; }))
                << c.warning;
        }
    }
}

// A hostile map whose switches each name hundreds of rooms stops giving them
// targets at the level's bound of edges, and says so.
TEST(WadImport, TheTargetsOfAllLinesStayWithinTheLevelsBound) {
    WadMap map;
    map.name = "MAP01";
    constexpr int rooms = 512;
    for (int r = 0; r < rooms; ++r) {
        const auto x = static_cast<std::int16_t>((r % 32) * 64);
        const auto y = static_cast<std::int16_t>((r / 32) * 64);
        const auto v = static_cast<std::uint16_t>(map.vertexes.size());
        map.vertexes.insert(map.vertexes.end(),
                            {{x, y},
                             {static_cast<std::int16_t>(x + 32), y},
                             {static_cast<std::int16_t>(x + 32), static_cast<std::int16_t>(y + 32)},
                             {x, static_cast<std::int16_t>(y + 32)}});
        map.sectors.push_back({0, 128, "FLOOR", "CEIL", 160, 0, 5});
        for (int i = 0; i < 4; ++i) {
            map.linedefs.push_back({static_cast<std::uint16_t>(v + (i + 1) % 4),
                                    static_cast<std::uint16_t>(v + i), 0, 0, 0,
                                    static_cast<std::int32_t>(map.sidedefs.size()), noWadSide});
            map.sidedefs.push_back({0, 0, "-", "-", "WALL", static_cast<std::uint16_t>(r)});
        }
    }
    // Each wall of the rooms a lift switch for all of them: 2048 x 512 targets.
    for (WadLinedef& line : map.linedefs) {
        line.special = 62;
        line.tag = 5;
    }
    map.things = {{16, 16, 0, 1, 7}};
    PlainPixels pixels;
    ImportedLevel imported;
    LevelWarnings warnings;
    std::string error;
    ASSERT_TRUE(importWadMap(map, pixels, imported, warnings, error)) << error;
    std::size_t targets = 0;
    for (const TriggerDescription& trigger : imported.level.triggers) {
        targets += trigger.targets.size();
    }
    EXPECT_EQ(imported.level.triggers.size(), static_cast<std::size_t>(maxLevelEdges / rooms));
    EXPECT_LE(targets, static_cast<std::size_t>(maxLevelEdges));
    EXPECT_TRUE(
        std::any_of(warnings.all().begin(), warnings.all().end(), [](const LevelWarning& w) {
            return w.text.find("more than") != std::string::npos;
        }));
}

// F_SKY1 shows the sky of the map's episode or number; without that texture in
// the file it stays a flat.
TEST(WadImport, SkyFlatsShowTheSkyOfTheMap) {
    const struct {
        const char* map;
        const char* missing;
        const char* sky;
    } cases[] = {{"E3M1", "", "SKY3"}, {"MAP15", "", "SKY2"}, {"MAP01", "SKY1", ""}};
    for (const auto& c : cases) {
        WadMap map = wad_bytes::doorRooms(0, 0, 0);
        map.name = c.map;
        map.sectors[0].ceilingFlat = "F_SKY1";
        map.sectors[2].floorFlat = "F_SKY1";
        PlainPixels pixels(c.missing);
        ImportedLevel imported;
        LevelWarnings warnings;
        std::string error;
        ASSERT_TRUE(importWadMap(map, pixels, imported, warnings, error)) << error;
        const LevelDescription& level = imported.level;
        EXPECT_EQ(level.sky, c.sky) << c.map;
        const std::string shown = level.sky.empty() ? "flat:F_SKY1" : level.sky;
        const auto a = static_cast<std::size_t>(sectorAt(level, 0, 0));
        const auto b = static_cast<std::size_t>(sectorAt(level, 272, 0));
        EXPECT_EQ(level.sectors[a].ceilingTexture, shown) << c.map;
        EXPECT_EQ(level.sectors[b].floorTexture, shown) << c.map;
        EXPECT_EQ(level.sectors[a].floorTexture, "flat:FLOOR") << c.map;
    }
}

// The rooms keep their light, kept within 0 to 255 with a warning each time it is
// not; the level shades walls by direction, as the game does.
TEST(WadImport, SectorsKeepTheirLightAndTheLevelItsContrast) {
    WadMap map = wad_bytes::doorRooms(0, 0, 0);
    map.sectors[0].light = -20;
    map.sectors[1].light = 144;
    map.sectors[2].light = 300;
    PlainPixels pixels;
    ImportedLevel imported;
    LevelWarnings warnings;
    std::string error;
    ASSERT_TRUE(importWadMap(map, pixels, imported, warnings, error)) << error;
    const LevelDescription& level = imported.level;
    EXPECT_TRUE(level.fakeContrast);
    EXPECT_EQ(level.sectors[static_cast<std::size_t>(sectorAt(level, 0, 0))].light, 0);
    EXPECT_EQ(level.sectors[static_cast<std::size_t>(sectorAt(level, 272, 0))].light, 255);
    std::size_t outside = 0;
    for (const LevelWarning& warning : warnings.all()) {
        outside += warning.text.find("is outside 0 to 255") != std::string::npos ? 1 : 0;
    }
    EXPECT_EQ(outside, 2u);
    bool kept = false;
    for (const SectorDescription& sector : level.sectors) {
        kept = kept || sector.light == 144;
    }
    EXPECT_TRUE(kept);
}

} // namespace
