#include "ToolRun.h"
#include "renderer/output/FramePng.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

namespace {

// Two rooms joined by a portal, the first with a pillar: every kind of part a
// level has. Each case below breaks it in one place.
const std::string goodLevel = R"({
  "duskhall-level": 1,
  "textures": { "brick": "wall1.png", "tiles": "floor1.png" },
  "vertices": [[0, 0], [4, 0], [4, 4], [0, 4], [8, 0], [8, 4], [1, 1], [1, 2], [2, 2], [2, 1]],
  "sectors": [
    { "outline": [0, 1, 2, 3], "holes": [[6, 7, 8, 9]], "floor": 0.0, "ceiling": 3.0,
      "wall-texture": "brick", "floor-texture": "tiles", "ceiling-texture": "tiles" },
    { "outline": [1, 4, 5, 2], "floor": 0.5, "ceiling": 2.5,
      "wall-texture": "brick", "floor-texture": "tiles", "ceiling-texture": "tiles" }
  ],
  "start": { "x": 3.0, "y": 3.0, "angle": 0.0 }
})";

struct Replacement {
    std::string from;
    std::string to;
};

struct BadLevel {
    const char* name;
    std::vector<Replacement> changes;
    const char* message; // what the message must say after the file's name
};

std::string applied(const std::vector<Replacement>& changes) {
    std::string text = goodLevel;
    for (const Replacement& change : changes) {
        const std::size_t at = text.find(change.from);
        EXPECT_NE(at, std::string::npos) << change.from;
        if (at != std::string::npos) {
            text.replace(at, change.from.size(), change.to);
        }
    }
    return text;
}

const std::string thirdSector = R"(],
  "start")";

const BadLevel badLevels[] = {
    {"malformed",
     {{"\"ceiling\": 3.0,", "\"ceiling\": 3.0,,"}},
     "line 6, column 86: syntax error while parsing object key"},
    {"nan", {{"\"angle\": 0.0", "\"angle\": NaN"}}, "line 11, column 43: syntax error"},
    {"overflow", {{"\"x\": 3.0", "\"x\": 1e999"}}, "line 11, column 23: number overflow"},
    {"huge-number",
     {{"\"x\": 3.0", "\"x\": 1e30"}},
     "start.x: must be a finite number from -32768 to 32768"},
    {"wrong-type",
     {{"\"floor\": 0.5", "\"floor\": \"low\""}},
     "sectors[1].floor: must be a number"},
    {"missing-field", {{"\"ceiling\": 2.5,", ""}}, "sectors[1]: the field \"ceiling\" is missing"},
    {"unknown-field", {{"\"floor\": 0.5", "\"flor\": 0.5"}}, "sectors[1]: unknown field \"flor\""},
    {"no-vertex",
     {{"[1, 4, 5, 2]", "[1, 4, 99, 2]"}},
     "sectors[1].outline[2]: vertex 99 does not exist (the file has 10)"},
    {"fractional-index",
     {{"[1, 4, 5, 2]", "[1, 4, 5.5, 2]"}},
     "sectors[1].outline[2]: must be a whole number"},
    {"clockwise", {{"[1, 4, 5, 2]", "[2, 5, 4, 1]"}}, "sectors[1].outline: runs clockwise"},
    {"hole-counter-clockwise",
     {{"[[6, 7, 8, 9]]", "[[9, 8, 7, 6]]"}},
     "sectors[0].holes[0]: runs counter-clockwise"},
    {"hole-outside",
     {{"[2, 1]]", "[2, 1], [9, 9], [9, 10], [10, 10], [10, 9]]"},
      {"[[6, 7, 8, 9]]", "[[10, 11, 12, 13]]"}},
     "sectors[0].holes[0]: lies outside the sector's outline"},
    {"self-crossing",
     {{"[2, 1]]", "[2, 1], [5, 1.5]]"}, {"[[6, 7, 8, 9]]", "[[6, 7, 10, 9]]"}},
     "crosses or touches"},
    {"repeated-vertex",
     {{"[1, 4, 5, 2]", "[1, 4, 5, 2, 4]"}},
     "sectors[1].outline[4]: vertex 4 is repeated"},
    {"three-sectors",
     {{"[2, 1]]", "[2, 1], [3, 2]]"},
      {thirdSector, R"(, { "outline": [1, 2, 10], "floor": 0, "ceiling": 1, "wall-texture": "brick",
      "floor-texture": "tiles", "ceiling-texture": "tiles" }],
  "start")"}},
     "sectors[2].outline[0]: the edge from vertex 1 to vertex 2 is already a portal between "
     "sectors[1] and sectors[0]"},
    {"same-direction",
     {{"[2, 1]]", "[2, 1], [2, 1.5]]"},
      {thirdSector, R"(, { "outline": [0, 1, 10], "floor": 0, "ceiling": 1, "wall-texture": "brick",
      "floor-texture": "tiles", "ceiling-texture": "tiles" }],
  "start")"}},
     "sectors[2].outline[0]: the edge from vertex 0 to vertex 1 is already used in the same "
     "direction by sectors[0]"},
    {"floor-not-below-ceiling",
     {{"\"floor\": 0.5", "\"floor\": 2.5"}},
     "sectors[1]: floor 2.5 is not below ceiling 2.5"},
    {"start-outside",
     {{"\"x\": 3.0", "\"x\": 30.0"}},
     "start: the point (30, 3) is inside no sector"},
    {"start-in-pillar",
     {{"\"x\": 3.0, \"y\": 3.0", "\"x\": 1.5, \"y\": 1.5"}},
     "start: the point (1.5, 1.5) is inside no sector"},
    {"start-in-corner",
     {{"\"x\": 3.0, \"y\": 3.0", "\"x\": 0.1, \"y\": 0.1"}},
     "start: the point (0.1, 0.1) is 0.1 from the solid wall from vertex 0 to vertex 1 of "
     "sectors[0]; the eye starts at least 0.25 (the walker's radius) from every solid wall"},
    {"start-near-wall",
     {{"\"y\": 3.0", "\"y\": 3.9"}},
     "from the solid wall from vertex 2 to vertex 3 of sectors[0]; the eye starts at least 0.25"},
    {"unknown-texture",
     {{"\"wall-texture\": \"brick\"", "\"wall-texture\": \"stone\""}},
     "sectors[0].wall-texture: no texture is named \"stone\""},
    {"missing-texture",
     {{"wall1.png", "nosuch.png"}},
     "texture file nosuch.png was not found (looked beside the level in "},
    {"unreadable-texture",
     {{"floor1.png", "broken.png"}},
     "broken.png) is not a PNG (it does not start as one)"},
    {"texture-too-large",
     {{"floor1.png", "large.png"}},
     "large.png) is 128 x 128 pixels; a floor or ceiling texture is 64 x 64"},
    {"texture-too-flat",
     {{"floor1.png", "flat.png"}},
     "flat.png) is 64 x 32 pixels; a floor or ceiling texture is 64 x 64"},
    {"wall-texture-too-wide",
     {{"wall1.png", "wide.png"}},
     "wide.png) is 2048 x 64 pixels; a texture is 1 to 1024 pixels wide and high"},
    {"texels-per-unit-zero",
     {{"\"duskhall-level\": 1,", "\"duskhall-level\": 1, \"texels-per-unit\": 0,"}},
     "texels-per-unit: must be a number from 1 to 1024 (texels a unit)"},
    {"flat-texels-per-unit-text",
     {{"\"duskhall-level\": 1,", "\"duskhall-level\": 1, \"flat-texels-per-unit\": \"32\","}},
     "flat-texels-per-unit: must be a number from 1 to 1024 (texels a unit)"},
    {"offset-one-number",
     {{"\"holes\": [[6, 7, 8, 9]],",
       "\"holes\": [[6, 7, 8, 9]], \"sides\": [{ \"edge\": 1, \"offset\": [1] }],"}},
     "sectors[0].sides[0].offset: must be [x, y], two numbers of texels"},
    {"offset-too-far",
     {{"\"holes\": [[6, 7, 8, 9]],",
       "\"holes\": [[6, 7, 8, 9]], \"sides\": [{ \"edge\": 1, \"offset\": [0, 1e6] }],"}},
     "sectors[0].sides[0].offset[1]: must be a finite number from -32768 to 32768"},
    {"unpegged-not-a-flag",
     {{"\"holes\": [[6, 7, 8, 9]],",
       "\"holes\": [[6, 7, 8, 9]], \"sides\": [{ \"edge\": 1, \"lower-unpegged\": 1 }],"}},
     "sectors[0].sides[0].lower-unpegged: must be true or false"},
    {"texture-jpeg", {{"floor1.png", "photo.png"}}, "photo.png) is a JPEG image, not a PNG"},
    {"duplicate-key",
     {{"\"floor\": 0.5", "\"floor\": 0.5, \"floor\": 2.4"}},
     "sectors[1].floor: is given twice in one object (each key may appear once)"},
    {"duplicate-texture",
     {{"\"tiles\": \"floor1.png\"", "\"tiles\": \"floor1.png\", \"brick\": \"wall2.png\""}},
     "textures.brick: is given twice in one object"},
    {"nul-in-file-name",
     {{"floor1.png", "floor1.png\\u0000.txt"}},
     "textures.tiles: the file name \"floor1.png\\x00.txt\" holds a control character; names "
     "may not"},
    {"control-in-name",
     {{"\"duskhall-level\": 1,", "\"duskhall-level\": 1, \"name\": \"Hall\\tA\","}},
     "name: the name \"Hall\\x09A\" holds a control character"},
    {"heights-close",
     {{"\"floor\": 0.5", "\"floor\": 2.5000002"}},
     "sectors[1]: floor 2.5000002 is not below ceiling 2.5"},
    {"heights-equal-as-stored",
     {{"\"floor\": 0.5", "\"floor\": 2.500000001"}},
     "sectors[1]: floor 2.5 is not below ceiling 2.5 (heights are kept to about 7 significant "
     "digits; these are the same)"},
    {"body-eye-above-height",
     {{"\"start\":", "\"body\": {\"eye\": 2, \"height\": 1.75}, \"start\":"}},
     "body.eye: must be below the body's height"},
    {"body-radius",
     {{"\"start\":", "\"body\": {\"radius\": 0.1}, \"start\":"}},
     "body.radius: must be from 0.125 to 1"},
    {"body-step",
     {{"\"start\":", "\"body\": {\"step\": -1}, \"start\":"}},
     "body.step: must be from 0 to 64"},
    {"body-unknown",
     {{"\"start\":", "\"body\": {\"eyes\": 1}, \"start\":"}},
     "body: unknown field \"eyes\""},
    {"door-twice",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"lifts\": [{\"sector\": 1}], \"start\":"}},
     "lifts[0].sector: sectors[1] already has a door or a lift"},
    {"door-speed",
     {{"\"start\":", "\"doors\": [{\"sector\": 1, \"speed\": 0}], \"start\":"}},
     "doors[0].speed: must be from 0.001 to 1000"},
    {"trigger-on",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"triggers\": [{\"sector\": 0, "
                     "\"edge\": 1, \"on\": \"shoot\"}], \"start\":"}},
     "triggers[0].on: must be \"use\" or \"walk\""},
    {"trigger-target",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"triggers\": [{\"sector\": 0, "
                     "\"edge\": 1, \"on\": \"walk\", \"sectors\": [0]}], \"start\":"}},
     "triggers[0].sectors[0]: sectors[0] has no door or lift"},
    {"drawn-line-used",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"triggers\": [{\"line\": [0, 1], "
                     "\"on\": \"use\"}], \"start\":"}},
     "triggers[0].on: must be \"walk\" for a \"line\"; a used line is an edge of a sector"},
    {"drawn-line-point",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"triggers\": [{\"line\": [2, 2], "
                     "\"on\": \"walk\", \"sectors\": [1]}], \"start\":"}},
     "triggers[0].line: its two points lie at the same place"},
    {"used-solid-wall",
     {{"\"start\":", "\"doors\": [{\"sector\": 1}], \"triggers\": [{\"sector\": 0, "
                     "\"edge\": 0, \"on\": \"use\"}], \"start\":"}},
     "triggers[0]: edge 0 of sectors[0] is a solid wall"},
    {"light-negative",
     {{"\"floor\": 0.5", "\"floor\": 0.5, \"light\": -1"}},
     "sectors[1].light: must be from 0 to 255"},
    {"light-fraction",
     {{"\"floor\": 0.5", "\"floor\": 0.5, \"light\": 127.5"}},
     "sectors[1].light: must be a whole number"},
    {"fake-contrast-not-a-flag",
     {{"\"duskhall-level\": 1,", "\"duskhall-level\": 1, \"fake-contrast\": 1,"}},
     "fake-contrast: must be true or false"},
    {"version",
     {{"\"duskhall-level\": 1", "\"duskhall-level\": 2"}},
     "duskhall-level: version 2 is not known"},
    {"no-version", {{"\"duskhall-level\": 1,", ""}}, "the field \"duskhall-level\" is missing"},
    {"thing-unknown-sprite",
     {{"\"start\":", "\"sprites\": [{ \"name\": \"lamp\", \"frames\": [[{ \"texture\": "
                     "\"brick\", \"foot\": [8, 31] }]] }], \"things\": [{ \"x\": 3, \"y\": 1, "
                     "\"sprite\": \"lmap\" }], \"start\":"}},
     "things[0].sprite: no sprite is named \"lmap\" in \"sprites\""},
    {"sprite-two-pictures",
     {{"\"start\":", "\"sprites\": [{ \"name\": \"lamp\", \"frames\": [[{ \"texture\": "
                     "\"brick\", \"foot\": [8, 31] }, { \"texture\": \"brick\", \"foot\": [8, "
                     "31] }]] }], \"start\":"}},
     "sprites[0].frames[0]: must be a list of 1 picture"},
    {"sprite-unknown-texture",
     {{"\"start\":", "\"sprites\": [{ \"name\": \"lamp\", \"frames\": [[{ \"texture\": "
                     "\"bricks\", \"foot\": [8, 31] }]] }], \"start\":"}},
     "sprites[0].frames[0][0].texture: no texture is named \"bricks\""},
    {"thing-outside",
     {{"\"start\":", "\"sprites\": [{ \"name\": \"lamp\", \"frames\": [[{ \"texture\": "
                     "\"brick\", \"foot\": [8, 31] }]] }], \"things\": [{ \"x\": 1.5, \"y\": "
                     "1.5, \"sprite\": \"lamp\" }], \"start\":"}},
     "things[0]: (1.5, 1.5) lies outside every sector"},
    {"thing-solid-without-radius",
     {{"\"start\":", "\"sprites\": [{ \"name\": \"lamp\", \"frames\": [[{ \"texture\": "
                     "\"brick\", \"foot\": [8, 31] }]] }], \"things\": [{ \"x\": 3, \"y\": 1, "
                     "\"sprite\": \"lamp\", \"solid\": true }], \"start\":"}},
     "things[0].radius: a solid thing needs a radius above 0"},
};

// A level whose field has count entries of the given text, for the limits.
std::string levelWithMany(const char* field, const std::string& entry, std::size_t count) {
    std::string entries;
    for (std::size_t i = 0; i < count; ++i) {
        entries += (i == 0 ? "" : ",") + entry;
    }
    const std::string from = std::string("\"") + field + "\": [";
    std::string text = goodLevel;
    text.replace(text.find(from), from.size(), from + entries + ",");
    return text;
}

void writeText(const std::filesystem::path& path, const std::string& text) {
    std::ofstream(path, std::ios::binary) << text;
}

ToolRun runLevel(const std::filesystem::path& file) {
    return runTool("--textures '" DUSKHALL_SOURCE_DIR "/assets' --level '" + file.string() +
                   "' --crc 1 --threads 1");
}

void expectRefused(const std::string& name, const std::string& text, const std::string& message) {
    SCOPED_TRACE(name);
    const std::filesystem::path file = toolScratch() / (name + ".json");
    writeText(file, text);
    const ToolRun run = runLevel(file);
    EXPECT_EQ(run.status, 2);
    EXPECT_TRUE(run.out.empty());
    // One line: the program, the file as given, the place and the problem.
    const std::string start = "duskhall-render: " + file.string() + ": ";
    EXPECT_EQ(run.err.rfind(start, 0), 0u) << run.err;
    EXPECT_NE(run.err.find(message), std::string::npos) << run.err;
    EXPECT_EQ(run.err.find('\n'), run.err.size() - 1) << run.err;
}

TEST(BadLevelFilesTest, EachEndsWithStatus2AndSaysWhatAndWhere) {
    writeText(toolScratch() / "broken.png", "not a PNG at all");
    // Only the start of a PNG: the signature and the header chunk's size fields.
    const auto pngHead = [](char width, char height) {
        return std::string("\x89PNG\r\n\x1A\n\0\0\0\x0DIHDR\0\0\0", 19) + width +
               std::string("\0\0\0", 3) + height + std::string("\x08\x02\0\0\0", 5);
    };
    writeText(toolScratch() / "large.png", pngHead('\x80', '\x80'));
    writeText(toolScratch() / "flat.png", pngHead('\x40', '\x20'));
    std::string wide = pngHead('\x00', '\x40');
    wide[18] = '\x08'; // 2048 wide
    writeText(toolScratch() / "wide.png", wide);
    writeText(toolScratch() / "photo.png", "\xFF\xD8\xFF\xE0\0\x10JFIF");
    // The file they are all made from is drawn.
    writeText(toolScratch() / "good.json", goodLevel);
    const ToolRun good = runLevel(toolScratch() / "good.json");
    ASSERT_EQ(good.status, 0) << good.err;
    ASSERT_EQ(good.out.rfind("frame 1 crc32 ", 0), 0u);
    EXPECT_TRUE(good.err.empty()) << good.err;

    for (const BadLevel& bad : badLevels) {
        expectRefused(bad.name, applied(bad.changes), bad.message);
    }
    expectRefused("empty", "", "line 1, column 1: ");
    expectRefused("not-an-object", "[1, 2]", "the file must hold one JSON object");
    expectRefused("nested", std::string(100, '[') + std::string(100, ']'),
                  "arrays and objects nested more than 64 deep");
    expectRefused("too-many-sectors",
                  levelWithMany("sectors", R"({"outline": [0, 1, 2, 3]})", 4095),
                  "sectors: must have from 1 to 4096 entries (it has 4097)");
    expectRefused("too-many-vertices", levelWithMany("vertices", "[0, 0]", 65527),
                  "vertices: must have from 3 to 65536 entries (it has 65537)");
    std::string huge = goodLevel;
    huge.resize(16 * 1024 * 1024 + 1, ' ');
    expectRefused("too-large", huge, "a level file may have at most 16 MB");
    // The demo refuses the same way, before any window opens.
    const std::string demo = "cd '" + toolScratch().string() +
                             "' && '" DUSKHALL_BINARY_DIR
                             "/duskhall' --level clockwise.json 2>demo.txt";
    const int raw = std::system(demo.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 2) << raw;
    EXPECT_EQ(readAll(toolScratch() / "demo.txt").rfind("duskhall: clockwise.json: sectors[1]", 0),
              0u);
    const ToolRun missing = runLevel(toolScratch() / "nowhere.json");
    EXPECT_EQ(missing.status, 2);
    EXPECT_NE(missing.err.find("nowhere.json: cannot be opened: there is no such file"),
              std::string::npos)
        << missing.err;
    const ToolRun folder = runLevel(toolScratch());
    EXPECT_EQ(folder.status, 2);
    EXPECT_NE(folder.err.find(": is a folder, not a level file"), std::string::npos) << folder.err;
    // A pipe nobody writes to, as texture and as level, is refused unopened: opening
    // it would wait for ever (as /dev/stdin waits for the terminal).
    const std::filesystem::path pipe = toolScratch() / "pipe";
    std::filesystem::remove(pipe);
    ASSERT_EQ(mkfifo(pipe.c_str(), 0600), 0);
    std::string piped = goodLevel;
    piped.replace(piped.find("wall1.png"), 9, pipe.string());
    expectRefused("pipe-texture", piped, "is not a regular file (a device, pipe or socket)");
    const ToolRun pipeLevel = runLevel(pipe);
    EXPECT_EQ(pipeLevel.status, 2);
    EXPECT_NE(pipeLevel.err.find("pipe: is not a regular file"), std::string::npos)
        << pipeLevel.err;
}

// A round room of 40 walls, each with a texture of 1024 x 1024 texels in a file of
// its own: more than a level's images may hold together, refused before the last
// of them is read.
TEST(BadLevelFilesTest, TexturesPastTheLevelsBoundAreRefused) {
    constexpr int walls = 40;
    const std::filesystem::path folder = toolScratch() / "round";
    std::filesystem::create_directories(folder);
    const std::vector<PackedPixel> pixels(1024 * 1024, 0xFF406080u);
    ASSERT_TRUE(writeTexturePng((folder / "big.png").c_str(), pixels.data(), 1024, 1024));
    std::string textures = R"("tiles": "floor1.png")";
    std::string vertices;
    std::string outline;
    std::string sides;
    for (int i = 0; i < walls; ++i) {
        const std::string file = "big" + std::to_string(i) + ".png";
        std::filesystem::remove(folder / file);
        std::filesystem::create_symlink("big.png", folder / file);
        const double a = 6.283185307179586 * i / walls;
        const std::string comma = i == 0 ? "" : ", ";
        textures += ", \"t" + std::to_string(i) + "\": \"" + file + "\"";
        vertices += comma + "[" + std::to_string(20 * std::cos(a)) + ", " +
                    std::to_string(20 * std::sin(a)) + "]";
        outline += comma + std::to_string(i);
        sides += comma + "{\"edge\": " + std::to_string(i) + ", \"texture\": \"t" +
                 std::to_string(i) + "\"}";
    }
    writeText(folder / "round.json",
              "{\"duskhall-level\": 1, \"textures\": {" + textures + "}, \"vertices\": [" +
                  vertices + "], \"sectors\": [{\"outline\": [" + outline +
                  "], \"floor\": 0, \"ceiling\": 3, \"wall-texture\": \"t0\", "
                  "\"floor-texture\": \"tiles\", \"ceiling-texture\": \"tiles\", "
                  "\"sides\": [" +
                  sides + "]}], \"start\": {\"x\": 0, \"y\": 0, \"angle\": 0}}");
    const ToolRun run = runLevel(folder / "round.json");
    EXPECT_EQ(run.status, 2);
    EXPECT_NE(run.err.find(" hold more than 33554432 texels "
                           "together, the most a level may have"),
              std::string::npos)
        << run.err;
}

TEST(BadLevelFilesTest, StartOptionStandsTheEyeThereCheckedAsAFileStart) {
    writeText(toolScratch() / "good.json", goodLevel);
    const std::string level = "--textures '" DUSKHALL_SOURCE_DIR "/assets' --level '" +
                              (toolScratch() / "good.json").string() + "'";
    const ToolRun placed = runTool(level + " --start 6,1.5,0.5 --frames 1 --trace");
    EXPECT_EQ(placed.status, 0) << placed.err;
    EXPECT_EQ(placed.out.rfind("frame 1 sector 1 x 6.000000 y 1.500000 z 2.000000 floor 0.500000 "
                               "ceiling 2.500000 angle 0.500000\n",
                               0),
              0u)
        << placed.out;
    const ToolRun near = runTool(level + " --start 7.9,1,0 --crc 1");
    EXPECT_EQ(near.status, 2);
    EXPECT_EQ(near.err.rfind("duskhall-render: --start 7.9,1,0: the point (7.9, 1) is ", 0), 0u)
        << near.err;
    EXPECT_NE(near.err.find("from the solid wall from vertex 4 to vertex 5 of sectors[1]"),
              std::string::npos)
        << near.err;
    EXPECT_EQ(runTool(level + " --start 3,3 --crc 1").status, 2);
}

struct SuspectLevel {
    const char* name;
    std::vector<Replacement> changes;
    const char* warning; // what the warning must say after the file's name
};

const SuspectLevel suspectLevels[] = {
    {"t-junction",
     {{"[2, 1]]", "[2, 1], [4, 2]]"}, {"[1, 4, 5, 2]", "[1, 4, 5, 2, 10]"}},
     "sectors[1].outline[4]: vertex 10 (4, 2) lies on the middle of the edge from vertex 1 to "
     "vertex 2 of sectors[0]"},
    {"overlap",
     {{"[2, 1]]", "[2, 1], [0.5, 3], [1.5, 3], [1, 3.5]]"},
      {thirdSector,
       R"(, { "outline": [10, 11, 12], "floor": 0, "ceiling": 1, "wall-texture": "brick",
      "floor-texture": "tiles", "ceiling-texture": "tiles" }],
  "start")"}},
     "sectors[0]: overlaps sectors[2] (vertex 10 of sectors[2] lies inside sectors[0])"},
    {"closed-opening",
     {{"\"floor\": 0.5, \"ceiling\": 2.5", "\"floor\": 3.5, \"ceiling\": 4.5"}},
     "sectors[0]: the opening into sectors[1] at the edge from vertex 1 to vertex 2 is closed: "
     "the higher floor 3.5 is not below the lower ceiling 3"},
    {"closing-lift",
     {{"\"ceiling\": 2.5,",
       R"("ceiling": 2.5, "motion": {"amplitude": 3, "speed": 1, "floor": 0.5, "ceiling": 2.5},)"}},
     "is closed while they move: the higher floor 3.5 is not below the lower ceiling 3"},
};

TEST(BadLevelFilesTest, SuspectLevelsAreDrawnWithAWarning) {
    for (const SuspectLevel& suspect : suspectLevels) {
        SCOPED_TRACE(suspect.name);
        const std::filesystem::path file = toolScratch() / (std::string(suspect.name) + ".json");
        writeText(file, applied(suspect.changes));
        const ToolRun drawn = runLevel(file);
        EXPECT_EQ(drawn.status, 0) << drawn.err;
        EXPECT_EQ(drawn.out.rfind("frame 1 crc32 ", 0), 0u);
        const std::string lead = "duskhall-render: " + file.string() + ": warning: ";
        // One line each: the file, that it is a warning, and what.
        EXPECT_EQ(drawn.err.rfind(lead, 0), 0u) << drawn.err;
        EXPECT_NE(drawn.err.find(suspect.warning), std::string::npos) << drawn.err;
        EXPECT_EQ(drawn.err.find('\n'), drawn.err.size() - 1) << drawn.err;
        // --warnings lists the same on standard output, and draws nothing.
        const ToolRun listed = runTool("--textures '" DUSKHALL_SOURCE_DIR "/assets' --level '" +
                                       file.string() + "' --warnings");
        EXPECT_EQ(listed.status, 0);
        EXPECT_EQ(listed.out.rfind(file.string() + ": warning: ", 0), 0u) << listed.out;
        EXPECT_NE(listed.out.find(suspect.warning), std::string::npos) << listed.out;
        EXPECT_EQ(listed.out.find("crc32"), std::string::npos);
    }
}

} // namespace
