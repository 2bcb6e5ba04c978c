#include "renderer/level/wad/WadMap.h"

#include "TestWad.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

namespace {

WadFile openWad(const TestWad& builder, const char* kind = "PWAD") {
    WadFile wad;
    std::string error;
    EXPECT_TRUE(wad.openBytes(builder.bytes(kind), "test.wad", error)) << error;
    return wad;
}

TEST(WadFile, NamesCompareWithoutCaseAndLaterLumpsReplaceEarlierOnes) {
    TestWad builder;
    builder.lump("PlayPal", {1}).lump("colormap", {2, 3}).lump("PLAYPAL", {4, 5, 6});
    const WadFile wad = openWad(builder, "IWAD");
    EXPECT_TRUE(wad.isIwad());
    ASSERT_EQ(wad.lumpCount(), 3u);
    EXPECT_EQ(wad.lump(0).name, "PLAYPAL");
    EXPECT_EQ(wad.find("playpal"), 2);
    EXPECT_EQ(wad.lump(2).size, 3u);
    EXPECT_EQ(wad.lumpData(2)[2], 6);
    EXPECT_EQ(wad.findIn("PLAYPAL", 0, 3), 0);
    EXPECT_EQ(wad.find("COLORMAP"), 1);
    EXPECT_EQ(wad.find("COLORMAP2"), -1);
}

TEST(WadFile, RangesRunBetweenMarkersWithNestedOnesInside) {
    TestWad builder;
    builder.marker("F_START").marker("F1_START").lump("A", {1}).marker("F1_END");
    builder.marker("F_END").lump("B", {2}).marker("FF_START").lump("C", {3}).marker("FF_END");
    const WadFile wad = openWad(builder);
    std::vector<WadRange> ranges;
    std::string error;
    ASSERT_TRUE(wad.ranges("F_START", "FF_START", "F_END", "FF_END", ranges, error)) << error;
    ASSERT_EQ(ranges.size(), 2u);
    EXPECT_EQ(ranges[0].first, 1u);
    EXPECT_EQ(ranges[0].end, 4u);
    EXPECT_EQ(ranges[1].first, 7u);
    EXPECT_EQ(ranges[1].end, 8u);
}

// Every field of every record type lands where the format puts it.
TEST(WadMap, EveryRecordReadsBackWithItsFields) {
    WadMap room = wad_bytes::squareRoom("E2M7");
    room.sectors[0] = {-24, 200, "nukage1", "F_SKY1", 255, 9, 12};
    room.sidedefs[2] = {-3, 17, "STARTAN", "BROWN96", "MIDGRATE", 0};
    room.linedefs[1] = {2, 1, 0x0019, 117, 12, 2, 0};
    room.things.push_back({-100, 300, 270, 3004, 0x000F});
    TestWad builder;
    builder.lump("DEMO1", {0, 1}).map(wad_bytes::squareRoom("MAP01")).map(room);
    const WadFile wad = openWad(builder);
    EXPECT_EQ(wadMapNames(wad), (std::vector<std::string>{"MAP01", "E2M7"}));

    WadMap map;
    std::string error;
    ASSERT_TRUE(readWadMap(wad, "e2m7", map, error)) << error;
    EXPECT_EQ(map.name, "E2M7");
    ASSERT_EQ(map.vertexes.size(), 4u);
    EXPECT_EQ(map.vertexes[2].x, 256);
    EXPECT_EQ(map.vertexes[2].y, 256);
    ASSERT_EQ(map.sectors.size(), 1u);
    const WadSector& s = map.sectors[0];
    EXPECT_EQ(s.floorHeight, -24);
    EXPECT_EQ(s.ceilingHeight, 200);
    EXPECT_EQ(s.floorFlat, "NUKAGE1");
    EXPECT_EQ(s.ceilingFlat, wadSkyFlat);
    EXPECT_EQ(s.light, 255);
    EXPECT_EQ(s.special, 9);
    EXPECT_EQ(s.tag, 12);
    const WadSidedef& side = map.sidedefs[2];
    EXPECT_EQ(side.xOffset, -3);
    EXPECT_EQ(side.yOffset, 17);
    EXPECT_EQ(side.upper, "STARTAN");
    EXPECT_EQ(side.lower, "BROWN96");
    EXPECT_EQ(side.middle, "MIDGRATE");
    EXPECT_EQ(map.sidedefs[0].upper, "-");
    const WadLinedef& line = map.linedefs[1];
    EXPECT_EQ(line.start, 2);
    EXPECT_EQ(line.end, 1);
    EXPECT_EQ(line.flags, wadLineBlocking | wadLineUpperUnpegged | wadLineLowerUnpegged);
    EXPECT_EQ(line.special, 117);
    EXPECT_EQ(line.tag, 12);
    EXPECT_EQ(line.right, 2);
    EXPECT_EQ(line.left, 0);
    EXPECT_EQ(map.linedefs[0].left, noWadSide);
    ASSERT_EQ(map.things.size(), 2u);
    EXPECT_EQ(map.things[1].x, -100);
    EXPECT_EQ(map.things[1].y, 300);
    EXPECT_EQ(map.things[1].angle, 270);
    EXPECT_EQ(map.things[1].type, 3004);
    EXPECT_EQ(map.things[1].flags, 0x000F);
}

TEST(WadMap, PlayerStartAndSkyFollowTheMap) {
    WadMap map = wad_bytes::squareRoom("MAP01");
    map.things = {{1, 2, 0, 1, 7}, {3, 4, 180, 2001, 7}, {5, 6, 45, 1, 7}, {7, 8, 90, 2, 7}};
    const WadThing* start = wadPlayerStart(map);
    ASSERT_NE(start, nullptr);
    EXPECT_EQ(start->x, 5); // the last start is the one the player gets
    EXPECT_EQ(start->angle, 45);
    map.things.clear();
    EXPECT_EQ(wadPlayerStart(map), nullptr);

    const std::vector<std::pair<std::string, std::string>> skies = {
        {"E1M1", "SKY1"},  {"E2M9", "SKY2"},  {"E3M3", "SKY3"},  {"e4m1", "SKY4"},
        {"MAP01", "SKY1"}, {"MAP11", "SKY1"}, {"MAP12", "SKY2"}, {"MAP20", "SKY2"},
        {"MAP21", "SKY3"}, {"MAP32", "SKY3"}};
    for (const auto& [name, sky] : skies) {
        EXPECT_EQ(wadSkyTexture(name), sky) << name;
    }
}

// One damaged or hostile file per row: each is refused with one line naming the
// file, the place and the problem.
TEST(WadFaults, EachIsRefusedWithOneLineNamingTheFileAndTheLump) {
    using Bytes = std::vector<std::uint8_t>;
    const auto room = [] { return wad_bytes::squareRoom("E1M1"); };
    const auto withMap = [](const WadMap& map) { return TestWad().map(map).bytes(); };
    struct Case {
        const char* what;
        std::function<Bytes()> make;
        const char* map; // read this map after opening, or null
        const char* expected;
    };
    const std::vector<Case> cases = {
        {"truncated header",
         [] {
             return Bytes{'P', 'W', 'A', 'D', 0};
         },
         nullptr, "test.wad: header: 5 bytes"},
        {"wrong kind", [] { return Bytes(12, 'X'); }, nullptr, "test.wad: header: starts with"},
        {"negative lump count",
         [] {
             Bytes b = TestWad().bytes();
             wad_bytes::set32(b, 4, -1);
             return b;
         },
         nullptr, "test.wad: header: -1 lumps"},
        {"too many lumps",
         [] {
             Bytes b = TestWad().bytes();
             wad_bytes::set32(b, 4, 70000);
             return b;
         },
         nullptr, "test.wad: header: 70000 lumps, the limit"},
        {"directory beyond the file",
         [] {
             TestWad w;
             w.lump("A", {1, 2});
             Bytes b = w.bytes();
             b.resize(b.size() - 4); // truncated
             return b;
         },
         nullptr, "test.wad: directory: at 14 with 1 entries is not inside"},
        {"lump beyond the file",
         [] {
             TestWad w;
             w.lump("A", {1, 2});
             Bytes b = w.bytes();
             wad_bytes::set32(b, w.entryOffset(0) + 4, 4000);
             return b;
         },
         nullptr, "test.wad: A (lump 0): 4000 bytes at 12 go beyond the end"},
        {"negative size",
         [] {
             TestWad w;
             w.lump("A", {1, 2});
             Bytes b = w.bytes();
             wad_bytes::set32(b, w.entryOffset(0) + 4, -2);
             return b;
         },
         nullptr, "test.wad: A (lump 0): offset 12 and size -2 cannot be negative"},
        {"lump over the directory",
         [] {
             TestWad w;
             w.lump("A", {1, 2});
             Bytes b = w.bytes();
             wad_bytes::set32(b, w.entryOffset(0) + 4, 10);
             return b;
         },
         nullptr, "test.wad: A (lump 0): overlaps the directory"},
        {"lumps overlapping in part",
         [] {
             TestWad w;
             w.lump("A", {1, 2, 3, 4}).lump("B", {5, 6});
             Bytes b = w.bytes();
             wad_bytes::set32(b, w.entryOffset(1), 14);
             return b;
         },
         nullptr, "test.wad: B (lump 1): overlaps A (lump 0) in part"},
        {"unclosed flat range", [] { return TestWad().marker("F_START").bytes(); }, nullptr,
         nullptr},
        {"no such map", [=] { return withMap(room()); }, "MAP07", "test.wad: MAP07: no such map"},
        {"missing lump",
         [] { return TestWad().marker("E1M1").lump("THINGS", {}).marker("LINEDEFS").bytes(); },
         "E1M1", "test.wad: E1M1: has no VERTEXES lump"},
        {"Hexen map",
         [] {
             TestWad w;
             w.map(wad_bytes::squareRoom("MAP01")).marker("BEHAVIOR");
             return w.bytes();
         },
         "MAP01", "test.wad: MAP01: a Hexen-format map"},
        {"partial record",
         [] {
             return TestWad()
                 .marker("E1M1")
                 .lump("THINGS", Bytes(15))
                 .marker("LINEDEFS")
                 .marker("SIDEDEFS")
                 .marker("VERTEXES")
                 .marker("SECTORS")
                 .bytes();
         },
         "E1M1", "test.wad: E1M1 THINGS: 15 bytes, not a whole number of 10-byte records"},
        {"too many records",
         [] {
             return TestWad()
                 .marker("E1M1")
                 .lump("THINGS", {})
                 .marker("LINEDEFS")
                 .marker("SIDEDEFS")
                 .lump("VERTEXES", Bytes(4 * 65536))
                 .marker("SECTORS")
                 .bytes();
         },
         "E1M1", "test.wad: E1M1 VERTEXES: 65536 records, more than the 65535"},
        {"vertex out of range",
         [=] {
             WadMap m = room();
             m.linedefs[3].end = 4;
             return withMap(m);
         },
         "E1M1", "test.wad: E1M1 LINEDEFS: linedef 3 names vertex 4 (the map has 4)"},
        {"sidedef out of range",
         [=] {
             WadMap m = room();
             m.linedefs[2].left = 9;
             return withMap(m);
         },
         "E1M1", "test.wad: E1M1 LINEDEFS: linedef 2 names sidedef 9 (the map has 4)"},
        {"sector out of range",
         [=] {
             WadMap m = room();
             m.sidedefs[1].sector = 1;
             return withMap(m);
         },
         "E1M1", "test.wad: E1M1 SIDEDEFS: sidedef 1 names sector 1 (the map has 1)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        WadFile wad;
        std::string error;
        bool ok = wad.openBytes(c.make(), "test.wad", error);
        if (ok && c.expected == nullptr) {
            std::vector<WadRange> ranges;
            ok = wad.ranges("F_START", "FF_START", "F_END", "FF_END", ranges, error);
            EXPECT_FALSE(ok);
            EXPECT_EQ(error, "test.wad: F_START (lump 0): has no F_END after it");
            continue;
        }
        if (ok && c.map != nullptr) {
            WadMap map;
            ok = readWadMap(wad, c.map, map, error);
        }
        EXPECT_FALSE(ok);
        EXPECT_EQ(error.find('\n'), std::string::npos) << error;
        EXPECT_EQ(error.rfind(c.expected, 0), 0u) << error;
    }
}

} // namespace
