#include "../loader/TestWad.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <tuple>
#include <vector>

namespace {

// --maps lists a WAD's maps, finds a bare name in DOOMWADDIR, and refuses a
// damaged file or a name found nowhere with one line and status 2.
TEST(WadMapsTool, ListsTheMapsOrRefusesWithOneLine) {
    const std::filesystem::path scratch = toolScratch();
    const std::filesystem::path folder = scratch / "wads";
    std::filesystem::create_directories(folder);
    WadMap second = wad_bytes::squareRoom("MAP02");
    second.things.push_back({10, 10, 0, 3004, 7});
    TestWad().map(wad_bytes::squareRoom("MAP01")).map(second).write((folder / "good.wad").string());
    second.linedefs[1].start = 7;
    TestWad().map(second).write((folder / "bad.wad").string());
    ASSERT_EQ(setenv("DOOMWADDIR", folder.string().c_str(), 1), 0);
    unsetenv("DOOMWADPATH");

    struct Case {
        const char* arguments;
        int status;
        std::string out;
        std::string err;
    };
    const std::vector<Case> cases = {
        {"--maps wads/good.wad", 0,
         "MAP01 sectors 1 lines 4 things 1\nMAP02 sectors 1 lines 4 things 2\n", ""},
        {"--maps good.wad", 0,
         "MAP01 sectors 1 lines 4 things 1\nMAP02 sectors 1 lines 4 things 2\n", ""},
        {"--maps wads/bad.wad", 2, "",
         "duskhall-render: wads/bad.wad: MAP02 LINEDEFS: linedef 1 names vertex 7 (the map has "
         "4)\n"},
        {"--maps nosuch.wad", 2, "",
         "duskhall-render: nosuch.wad: not found in the working folder, " + folder.string() +
             ", /usr/share/games/doom, /usr/local/share/games/doom, /usr/share/doom, "
             "/usr/local/share/doom (Debian's freedoom package installs freedoom1.wad and "
             "freedoom2.wad)\n"},
        // --level finds a bare name the same way (this WAD has no palette to draw with).
        {"--level good.wad:MAP02 --frames 1", 2, "",
         "duskhall-render: " + (folder / "good.wad").string() +
             ": PLAYPAL: missing, so the pictures have no colours\n"},
        {"--level nosuch.wad:MAP01 --frames 1", 2, "",
         "duskhall-render: nosuch.wad: not found in the working folder, " + folder.string() +
             ", /usr/share/games/doom, /usr/local/share/games/doom, /usr/share/doom, "
             "/usr/local/share/doom (Debian's freedoom package installs freedoom1.wad and "
             "freedoom2.wad)\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments);
        const ToolRun run = runTool(c.arguments);
        EXPECT_EQ(run.status, c.status);
        EXPECT_EQ(run.out, c.out);
        EXPECT_EQ(run.err, c.err);
    }
    unsetenv("DOOMWADDIR");
}

// Debian's freedoom WADs by name, from a folder that does not hold them.
TEST(WadMapsTool, FindsAndListsTheFreedoomWadsByName) {
    if (!std::filesystem::exists("/usr/share/games/doom/freedoom1.wad") ||
        !std::filesystem::exists("/usr/share/games/doom/freedoom2.wad")) {
        GTEST_SKIP() << "the freedoom package is not installed (/usr/share/games/doom)";
    }
    unsetenv("DOOMWADDIR");
    unsetenv("DOOMWADPATH");
    for (const auto& [name, maps, first] : {std::tuple{"freedoom1.wad", 36, "E1M1 sectors "},
                                            std::tuple{"freedoom2.wad", 32, "MAP01 sectors "}}) {
        const ToolRun run = runTool(std::string("--maps ") + name);
        EXPECT_EQ(run.status, 0) << run.err;
        EXPECT_EQ(std::count(run.out.begin(), run.out.end(), '\n'), maps) << name;
        EXPECT_EQ(run.out.rfind(first, 0), 0u) << run.out;
    }
    // --level finds them too; what the import decided is said only when asked.
    const ToolRun drawn = runTool("--level freedoom1.wad:E1M1 --crc 1");
    EXPECT_EQ(drawn.status, 0);
    EXPECT_EQ(drawn.out.rfind("frame 1 crc32 ", 0), 0u) << drawn.out;
    EXPECT_EQ(drawn.err, "");
    const ToolRun asked = runTool("--level freedoom1.wad:E1M1 --warnings");
    EXPECT_EQ(asked.status, 0);
    EXPECT_NE(asked.out.find("freedoom1.wad:E1M1: warning: "), std::string::npos) << asked.out;
}

// A picture of 64 x 64 texels, palette index and coverage by position.
template <typename Index, typename Covered>
std::vector<std::uint8_t> picture(Index index, Covered covered) {
    WadPicture p;
    p.width = p.height = 64;
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            p.indices.push_back(static_cast<std::uint8_t>(index(x, y)));
            p.covered.push_back(covered(x, y) ? 1 : 0);
        }
    }
    return wad_bytes::picture(p);
}

// Two rooms and a half-open door, a grate hung in the doorway and sky over the
// far room: every part the export writes besides walls and flats.
void writeDoorWad(const std::string& path) {
    WadMap map = wad_bytes::doorRooms(0, 0, 0);
    map.name = "E1M1";
    map.sectors[1].ceilingHeight = 64;
    map.sectors[2].ceilingFlat = "F_SKY1";
    map.sidedefs[static_cast<std::size_t>(map.linedefs[3].right)].middle = "GRATE";
    map.things[0].x = 96; // the door line within reach, straight ahead
    const auto all = [](int, int) { return true; };
    TestWad()
        .lump("PLAYPAL", wad_bytes::palette())
        .lump("PNAMES", wad_bytes::patchNames({"WALLP", "GRATEP", "SKYP"}))
        .lump("TEXTURE1", wad_bytes::textures({{"WALL", 64, 64, {{0, 0, 0}}},
                                               {"DOOR", 64, 64, {{0, 0, 0}}},
                                               {"GRATE", 64, 64, {{0, 0, 1}}},
                                               {"SKY1", 64, 64, {{0, 0, 2}}}}))
        .map(map)
        .lump("WALLP", picture([](int x, int y) { return x * 4 + y; }, all))
        .lump("GRATEP", picture([](int x, int) { return 150 + x; },
                                [](int x, int y) { return x % 8 < 4 || y % 16 == 0; }))
        .lump("SKYP", picture([](int, int y) { return 200 + y / 8; }, all))
        .marker("F_START")
        .lump("FLOOR", std::vector<std::uint8_t>(4096, 7))
        .lump("CEIL", std::vector<std::uint8_t>(4096, 90))
        .marker("F_END")
        .write(path);
}

// --export writes a level file and textures that draw, frame for frame of a walk
// that opens a door, what the WAD's map draws.
TEST(WadMapsTool, AnExportedMapDrawsTheCrcsOfTheWad) {
    const std::filesystem::path scratch = toolScratch();
    writeDoorWad((scratch / "door.wad").string());
    std::ofstream(scratch / "still.walk") << "20\n1 use\n140\n";
    std::ofstream(scratch / "round.walk") << "30 forward\n1 use\n30 turn-left\n";
    const struct {
        std::string level;
        const char* walk;
        const char* crcs;
        bool moves; // the view changes though the eye stands still: the door opened
    } cases[] = {{"door.wad:E1M1", "still.walk", "1,20,60,100,161", true},
                 {"/usr/share/games/doom/freedoom2.wad:MAP12", "round.walk", "1,31,61", false}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.level);
        const std::string file = c.level.substr(0, c.level.find(':'));
        if (!std::filesystem::exists(scratch / file)) {
            std::printf("%s is not installed (Debian package freedoom): not exported\n",
                        file.c_str());
            continue;
        }
        const std::string walk = std::string(" --walk ") + c.walk + " --crc " + c.crcs;
        const ToolRun wad = runTool("--level " + c.level + walk);
        ASSERT_EQ(wad.status, 0) << wad.err;
        const ToolRun exported = runTool("--level " + c.level + " --export exported");
        ASSERT_EQ(exported.status, 0) << exported.err;
        const std::string json = exported.out.substr(0, exported.out.find('\n'));
        const ToolRun level = runTool("--level " + json + walk);
        ASSERT_EQ(level.status, 0) << level.err;
        EXPECT_EQ(level.out, wad.out);
        if (c.moves) {
            const std::string crcs = wad.out.substr(wad.out.find("crc32"));
            EXPECT_NE(crcs.substr(0, 14), crcs.substr(crcs.rfind("crc32"), 14)) << wad.out;
        }
    }
}

} // namespace

namespace {

// A round room of 40 walls, each with a texture of its own 1024 x 1024 texels:
// more than a level's images may hold together.
void writeRoundRoomWad(const std::string& path) {
    constexpr int walls = 40;
    WadMap map = wad_bytes::squareRoom("MAP01");
    map.vertexes.clear();
    map.sidedefs.clear();
    map.linedefs.clear();
    std::vector<WadTextureDef> defs;
    for (int i = 0; i < walls; ++i) {
        const double a = 6.283185307179586 * i / walls;
        map.vertexes.push_back({static_cast<std::int16_t>(std::lround(1024 * std::cos(a))),
                                static_cast<std::int16_t>(std::lround(1024 * std::sin(a)))});
        const std::string name = "T" + std::to_string(10 + i);
        defs.push_back({name, 1024, 1024, {{0, 0, 0}}});
        map.sidedefs.push_back({0, 0, "-", "-", name, 0});
        map.linedefs.push_back({static_cast<std::uint16_t>((i + 1) % walls),
                                static_cast<std::uint16_t>(i), wadLineBlocking, 0, 0, i,
                                noWadSide});
    }
    map.things = {{0, 0, 90, 1, 7}};
    TestWad()
        .lump("PLAYPAL", wad_bytes::palette())
        .lump("PNAMES", wad_bytes::patchNames({"WALLP"}))
        .lump("TEXTURE1", wad_bytes::textures(defs))
        .map(map)
        .lump("WALLP",
              picture([](int x, int y) { return x * 4 + y; }, [](int, int) { return true; }))
        .marker("F_START")
        .lump("FLOOR", std::vector<std::uint8_t>(4096, 7))
        .lump("CEIL", std::vector<std::uint8_t>(4096, 90))
        .marker("F_END")
        .write(path);
}

// Past the bound the map still draws, the textures beyond it as checkers, and
// --warnings says so once.
TEST(WadMapsTool, TexturesPastTheLevelsBoundAreDrawnAsCheckers) {
    const std::filesystem::path scratch = toolScratch();
    writeRoundRoomWad((scratch / "round.wad").string());
    const ToolRun drawn = runTool("--level round.wad --crc 1");
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    const ToolRun asked = runTool("--level round.wad --warnings");
    EXPECT_EQ(asked.status, 0) << asked.err;
    EXPECT_EQ(asked.out,
              "round.wad: warning: the map's wall textures hold more than 33554432 texels "
              "together; those past it are drawn as checkers\n");
}

} // namespace
