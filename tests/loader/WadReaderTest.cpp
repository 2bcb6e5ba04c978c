#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

#include "../fuzz/WadExercise.h"
#include "TestWad.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
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

// A tall column: the second post's top (100) is not below the first's (200), so
// it continues from it, at 300. Rows no post covers stay transparent.
TEST(WadPicture, TallPostsContinueFromThePreviousTopAndOffsetsAreKept) {
    std::vector<std::uint8_t> bytes;
    wad_bytes::put16(bytes, 1);
    wad_bytes::put16(bytes, 310);
    wad_bytes::put16(bytes, -5);
    wad_bytes::put16(bytes, 40);
    wad_bytes::put32(bytes, 12);
    for (const std::uint8_t b : {200, 2, 0, 11, 12, 0, 100, 1, 0, 13, 0, 0xFF}) {
        bytes.push_back(b);
    }
    WadPicture picture;
    std::string problem;
    ASSERT_TRUE(decodeWadPicture(bytes.data(), bytes.size(), picture, problem)) << problem;
    EXPECT_EQ(picture.leftOffset, -5);
    EXPECT_EQ(picture.topOffset, 40);
    std::vector<int> opaqueRows;
    for (int y = 0; y < picture.height; ++y) {
        if (picture.opaque(0, y)) {
            opaqueRows.push_back(y);
        }
    }
    EXPECT_EQ(opaqueRows, (std::vector<int>{200, 201, 300}));
    EXPECT_EQ(picture.index(0, 201), 12);
    EXPECT_EQ(picture.index(0, 300), 13);
}

// Two patches, one reaching past the texture's edges and one with a hole, over a
// texture wider than both: uncovered texels have alpha 0, the rest palette colours.
TEST(WadTextures, PatchesComposeIntoTheTextureClippedWithHolesLeftClear) {
    WadPicture ring; // 3 x 3, index 10 + x + 3y, the centre left out
    ring.width = ring.height = 3;
    for (int i = 0; i < 9; ++i) {
        ring.indices.push_back(static_cast<std::uint8_t>(10 + i));
        ring.covered.push_back(i == 4 ? 0 : 1);
    }
    WadPicture bar; // 2 x 1 of index 99
    bar.width = 2;
    bar.height = 1;
    bar.indices = {99, 99};
    bar.covered = {1, 1};
    TestWad builder;
    builder.lump("PLAYPAL", wad_bytes::palette())
        .lump("PNAMES", wad_bytes::patchNames({"RING", "bar"}))
        .lump("TEXTURE1", wad_bytes::textures({{"FIRST", 6, 3, {{0, 0, 0}, {-1, 2, 1}}}}))
        .lump("TEXTURE2",
              wad_bytes::textures({{"SECOND", 4, 2, {{2, -1, 0}}}, {"first", 1, 1, {{0, 0, 1}}}}))
        .lump("RING", wad_bytes::picture(ring))
        .lump("BAR", wad_bytes::picture(bar))
        .marker("F_START")
        .marker("F1_START")
        .lump("FLAT", std::vector<std::uint8_t>(4096, 42))
        .marker("F1_END")
        .marker("F_END");
    const WadFile wad = openWad(builder);
    WadTextures textures;
    std::string error;
    ASSERT_TRUE(textures.read(wad, error)) << error;
    EXPECT_EQ(textures.patchNames(), (std::vector<std::string>{"RING", "BAR"}));
    ASSERT_EQ(textures.textures().size(), 3u);
    EXPECT_EQ(textures.findTexture("first"), 0); // the first of a name counts
    EXPECT_EQ(textures.findTexture("Second"), 1);
    EXPECT_EQ(textures.findTexture("THIRD"), -1);

    const auto colour = wad_bytes::paletteColour;
    std::vector<PackedPixel> pixels;
    ASSERT_TRUE(textures.composeTexture(0, pixels, error)) << error;
    const std::vector<PackedPixel> first = {colour(10), colour(11), colour(12), 0, 0, 0,
                                            colour(13), 0,          colour(15), 0, 0, 0,
                                            colour(99), colour(17), colour(18), 0, 0, 0};
    EXPECT_EQ(pixels, first);
    ASSERT_TRUE(textures.composeTexture(1, pixels, error)) << error;
    const std::vector<PackedPixel> second = {0, 0, colour(13), 0, 0, 0, colour(16), colour(17)};
    EXPECT_EQ(pixels, second);

    EXPECT_TRUE(textures.hasFlat("flat"));
    EXPECT_FALSE(textures.hasFlat("F1_START"));
    ASSERT_TRUE(textures.composeFlat("FLAT", pixels, error)) << error;
    EXPECT_EQ(pixels, std::vector<PackedPixel>(4096, colour(42)));
    EXPECT_EQ(textures.palette()[200], colour(200));
}

// A small WAD with one of everything; the faults below each break one part.
struct WadParts {
    WadMap map = wad_bytes::squareRoom("E1M1");
    std::vector<std::uint8_t> palette = wad_bytes::palette();
    std::vector<std::string> patchNames = {"WALL1"};
    std::vector<std::uint8_t> patch;
    std::vector<WadTextureDef> textures = {{"WALL", 8, 4, {{0, 0, 0}}}};
    std::vector<std::uint8_t> flat = std::vector<std::uint8_t>(4096, 7);

    WadParts() {
        WadPicture picture;
        picture.width = 8;
        picture.height = 4;
        picture.indices.assign(32, 3);
        picture.covered.assign(32, 1);
        patch = wad_bytes::picture(picture);
    }
    std::vector<std::uint8_t> bytes() const {
        TestWad w;
        w.lump("PLAYPAL", palette).lump("PNAMES", wad_bytes::patchNames(patchNames));
        w.lump("TEXTURE1", wad_bytes::textures(textures)).map(map);
        w.marker("P_START").lump("WALL1", patch).marker("P_END");
        w.marker("F_START").lump("FLOOR", flat).marker("F_END");
        return w.bytes();
    }
};

// One damaged or hostile file per row: each is refused with one line naming the
// file, the lump and the problem.
TEST(WadFaults, EachIsRefusedWithOneLineNamingTheFileAndTheLump) {
    using Bytes = std::vector<std::uint8_t>;
    using wad_bytes::set32;
    const auto parts = [](const std::function<void(WadParts&)>& change) {
        return [change] {
            WadParts p;
            change(p);
            return p.bytes();
        };
    };
    const auto oneLump = [](const std::function<void(Bytes&, std::size_t entry)>& change) {
        return [change] {
            TestWad w;
            w.lump("A", {1, 2, 3, 4}).lump("B", {5, 6});
            Bytes b = w.bytes();
            change(b, w.entryOffset(0));
            return b;
        };
    };
    // A picture lump of 1 x 4 with one column at byte 12: a post from delta, of length.
    const auto column = [](std::vector<Bytes> posts) {
        Bytes b;
        wad_bytes::put16(b, 1);
        wad_bytes::put16(b, 4);
        wad_bytes::put32(b, 0);
        wad_bytes::put32(b, 12);
        for (const Bytes& post : posts) {
            b.insert(b.end(), post.begin(), post.end());
        }
        return b;
    };
    struct Case {
        const char* what;
        std::function<Bytes()> make;
        const char* expected; // the message starts so
    };
    const std::vector<Case> cases = {
        {"the whole WAD is fine", [] { return WadParts().bytes(); }, ""},
        {"truncated header",
         [] {
             return Bytes{'P', 'W', 'A', 'D', 0};
         },
         "header: 5 bytes"},
        {"wrong kind", [] { return Bytes(12, 'X'); }, "header: starts with XXXX"},
        {"negative lump count", oneLump([](Bytes& b, std::size_t) { set32(b, 4, -1); }),
         "header: -1 lumps"},
        {"too many lumps", oneLump([](Bytes& b, std::size_t) { set32(b, 4, 70000); }),
         "header: 70000 lumps, the limit is 0 to 65536"},
        {"truncated directory", oneLump([](Bytes& b, std::size_t) { b.resize(b.size() - 4); }),
         "directory: at 18 with 2 entries is not inside the file"},
        {"lump beyond the file", oneLump([](Bytes& b, std::size_t e) { set32(b, e + 4, 4000); }),
         "A (lump 0): 4000 bytes at 12 go beyond the end of the file"},
        {"negative size", oneLump([](Bytes& b, std::size_t e) { set32(b, e + 4, -2); }),
         "A (lump 0): offset 12 and size -2 cannot be negative"},
        {"lump over the directory", oneLump([](Bytes& b, std::size_t e) { set32(b, e + 4, 10); }),
         "A (lump 0): overlaps the directory"},
        {"lump over the header", oneLump([](Bytes& b, std::size_t e) { set32(b, e, 4); }),
         "A (lump 0): overlaps the header"},
        {"lumps overlapping in part",
         oneLump([](Bytes& b, std::size_t e) { set32(b, e + 16, 14); }),
         "B (lump 1): overlaps A (lump 0) in part"},
        {"missing map lump",
         [] { return TestWad().marker("E1M1").lump("THINGS", {}).marker("LINEDEFS").bytes(); },
         "E1M1: has no VERTEXES lump"},
        {"Hexen map",
         [] { return TestWad().map(wad_bytes::squareRoom("MAP01")).marker("BEHAVIOR").bytes(); },
         "MAP01: a Hexen-format map"},
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
         "E1M1 THINGS: 15 bytes, not a whole number of 10-byte records"},
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
         "E1M1 VERTEXES: 65536 records, more than the 65535"},
        {"vertex out of range", parts([](WadParts& p) { p.map.linedefs[3].end = 4; }),
         "E1M1 LINEDEFS: linedef 3 names vertex 4 (the map has 4)"},
        {"sidedef out of range", parts([](WadParts& p) { p.map.linedefs[2].left = 9; }),
         "E1M1 LINEDEFS: linedef 2 names sidedef 9 (the map has 4)"},
        {"sector out of range", parts([](WadParts& p) { p.map.sidedefs[1].sector = 1; }),
         "E1M1 SIDEDEFS: sidedef 1 names sector 1 (the map has 1)"},
        {"short palette", parts([](WadParts& p) { p.palette.resize(700); }),
         "PLAYPAL: 700 bytes, a palette needs 768"},
        {"patch names beyond the lump", parts([](WadParts& p) { p.patchNames.clear(); }),
         "TEXTURE1: texture 0 (WALL) patch 0 names patch 0 (PNAMES has 0)"},
        {"texture of zero patches", parts([](WadParts& p) { p.textures[0].patches.clear(); }),
         "TEXTURE1: texture 0 (WALL) has 0 patches, the limit is 1 to 512"},
        {"texture too large", parts([](WadParts& p) { p.textures[0].width = 5000; }),
         "TEXTURE1: texture 0 (WALL) is 5000 x 4, the limits"},
        {"texture count beyond the lump",
         [] {
             TestWad w;
             Bytes lump;
             wad_bytes::put32(lump, 1000);
             return w.lump("PLAYPAL", wad_bytes::palette()).lump("TEXTURE1", lump).bytes();
         },
         "TEXTURE1: 4 bytes cannot hold 1000 texture offsets"},
        {"patch missing", parts([](WadParts& p) { p.patchNames[0] = "NOWALL"; }),
         "NOWALL: no such lump (a patch of texture WALL)"},
        {"picture header short", parts([](WadParts& p) { p.patch.resize(6); }),
         "WALL1: 6 bytes, a picture header needs 8"},
        {"picture too large", parts([](WadParts& p) { set32(p.patch, 0, 5000 | 5000 << 16); }),
         "WALL1: a picture of 5000 x 5000"},
        {"column offsets beyond the lump", parts([](WadParts& p) { p.patch.resize(20); }),
         "WALL1: 20 bytes, too few for the 8 column offsets"},
        {"column outside the lump", parts([](WadParts& p) { set32(p.patch, 12, 9999); }),
         "WALL1: column 1 starts at 9999, outside the lump"},
        {"post below the picture", parts([=](WadParts& p) {
             p.patch = column({{2, 3, 0, 1, 1, 1, 0, 0xFF}});
         }),
         "WALL1: column 0 has a post at rows 2 to 4, outside the picture's 4 rows"},
        {"posts overlapping", parts([=](WadParts& p) {
             p.patch = column({{0, 2, 0, 1, 1, 0}, {1, 1, 0, 1, 0, 0xFF}});
         }),
         "WALL1: column 0 has a post at row 1 over the one above it"},
        {"column without its end", parts([=](WadParts& p) {
             p.patch = column({{0, 2, 0, 1, 1, 0}});
         }),
         "WALL1: column 0 runs past the end of the lump"},
        {"endless empty posts", parts([=](WadParts& p) { p.patch = column({Bytes(40, 0)}); }),
         "WALL1: column 0 has more posts than rows"},
        {"unclosed flat range",
         [] { return TestWad().lump("PLAYPAL", wad_bytes::palette()).marker("F_START").bytes(); },
         "F_START (lump 1): has no F_END after it"},
        {"flat of the wrong size", parts([](WadParts& p) { p.flat.resize(4000); }),
         "FLOOR: 4000 bytes, a flat has 4096 (64 x 64)"},
        {"unclosed sprite range",
         [] { return TestWad().marker("SS_START").lump("BAR1A0", {1}).bytes(); },
         "SS_START (lump 0): has no S_END after it"},
    };
    // DUSKHALL_WAD_SEEDS=folder writes every case there, as the fuzzer's seeds.
    const char* seeds = std::getenv("DUSKHALL_WAD_SEEDS");
    for (std::size_t i = 0; i < cases.size(); ++i) {
        const Case& c = cases[i];
        SCOPED_TRACE(c.what);
        const Bytes bytes = c.make();
        if (seeds != nullptr) {
            std::ofstream(std::string(seeds) + "/fault-" + std::to_string(i) + ".wad",
                          std::ios::binary)
                .write(reinterpret_cast<const char*>(bytes.data()),
                       static_cast<std::streamsize>(bytes.size()));
        }
        const std::string error = exerciseWad(bytes);
        if (*c.expected == 0) {
            EXPECT_EQ(error, "");
        } else {
            EXPECT_EQ(error.rfind(std::string(wadExerciseLabel) + ": " + c.expected, 0), 0u)
                << error;
        }
    }
}

// Every input the WAD fuzzer has kept is either refused with one line naming it
// or read through; the sanitizer build catches memory faults on the way.
TEST(WadCorpus, EveryInputIsRefusedClearlyOrRead) {
    const std::filesystem::path folder =
        std::filesystem::path(DUSKHALL_SOURCE_DIR) / "tests" / "fuzz" / "wad-corpus";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        files.push_back(entry.path());
    }
    std::sort(files.begin(), files.end());
    ASSERT_GE(files.size(), 10u) << "the WAD corpus is missing";
    int accepted = 0;
    int refused = 0;
    for (const auto& file : files) {
        SCOPED_TRACE(file.filename().string());
        std::ifstream in(file, std::ios::binary);
        const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                                              std::istreambuf_iterator<char>());
        (exerciseWad(bytes).empty() ? accepted : refused) += 1;
    }
    EXPECT_GT(accepted, 0);
    EXPECT_GT(refused, 0);
}

} // namespace
