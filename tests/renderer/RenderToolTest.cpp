#include "AnimationPins.h"
#include "EyeChecks.h"
#include "RendererFixture.h"
#include "TestLevels.h"
#include "ToolRun.h"

#include "renderer/camera/ExploreSession.h"
#include "renderer/camera/FreeCamera.h"
#include "renderer/camera/WalkScript.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"
#include "renderer/output/FramePng.h"
#include "renderer/output/MapView.h"

#include <sys/wait.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>
#include <string>

namespace {

std::string crcLine(long frame, std::uint32_t crc) {
    char line[64];
    std::snprintf(line, sizeof line, "frame %ld crc32 %08X\n", frame, crc);
    return line;
}

} // namespace

TEST(RenderToolArgumentsTest, BadArgumentsPrintTheUsageAndExit2) {
    for (const char* arguments :
         {"--bogus", "--frames 0", "--frames", "--frames 12x", "--crc 1,,2", "--crc -3", "--png 3",
          "--png x:frame.png", "--frames 2 --crc 5", "--textures", "--map", "--threads 0",
          "--threads 65", "--threads"}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err.rfind("usage: duskhall-render", 0), 0u) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(RenderToolArgumentsTest, BadSizesSayWhatIsWrongAndExit2) {
    const std::string range = "outside the sizes drawn, from 160x120 to 3840x2160";
    const std::string shape = "is not WIDTHxHEIGHT in pixels";
    const struct {
        const char* size;
        const std::string& why;
    } cases[] = {
        {"0x0", range},       {"-640x480", range}, {"640x-480", range},      {"3841x2160", range},
        {"3840x2161", range}, {"159x120", range},  {"99999999999x1", range}, {"1920", shape},
        {"1920x", shape},     {"x1080", shape},    {"19a0x1080", shape},     {"1920x1080x2", shape},
        {"''", shape},
    };
    for (const auto& c : cases) {
        for (const char* program : {"duskhall-render", "duskhall"}) {
            const ToolRun run = runProgram(program, std::string("--size ") + c.size);
            EXPECT_EQ(run.status, 2) << program << " " << c.size;
            EXPECT_EQ(run.err.rfind(std::string(program) + ": size ", 0), 0u)
                << program << " " << c.size << ": " << run.err;
            EXPECT_NE(run.err.find(c.why), std::string::npos) << program << ": " << run.err;
            EXPECT_TRUE(run.out.empty()) << program << " " << c.size;
        }
    }
}

TEST(RenderToolArgumentsTest, MissingTexturesEndWithTheHousekeepingError) {
    const std::filesystem::path empty =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" / "no-textures";
    std::filesystem::create_directories(empty);
    // The built-in floors are flats, which must be 64 x 64.
    const std::filesystem::path misfit = writeCodedTextures("RenderToolTest.misfitFlat");
    const std::vector<PackedPixel> large(128 * 128, 0xFF336699u);
    ASSERT_TRUE(writeFramePng((misfit / "floor1.png").string().c_str(), large.data(), 128, 128));
    const struct {
        std::filesystem::path folder;
        const char* says;
    } cases[] = {
        {empty, "wall1.png was not found"},
        {misfit, "floor1.png) is 128 x 128 pixels; a floor or ceiling texture is 64 x 64"},
    };
    for (const auto& c : cases) {
        const ToolRun run = runTool("--textures '" + c.folder.string() + "' --crc 1");
        EXPECT_EQ(run.status, 1);
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("Housekeeping error"), std::string::npos) << run.err;
        EXPECT_NE(run.err.find("HKPtr: NULL pointer"), std::string::npos) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
}

using RenderToolTest = RendererFixture;

TEST_F(RenderToolTest, PrintsTheCrcsOfTheFramesTheDemoDraws) {
    const std::filesystem::path dir = writeCodedTextures("RenderToolTest.tool");
    const ToolRun run = runTool("--textures '" + dir.string() + "' --crc 3,1 --png 2:two.png");
    ASSERT_EQ(run.status, 0) << run.err;
    // The same frames on one thread and on more threads than this machine has cores.
    for (const char* threads : {"1", "5"}) {
        const ToolRun split =
            runTool("--textures '" + dir.string() + "' --crc 3,1 --threads " + threads);
        EXPECT_EQ(split.status, 0) << split.err;
        EXPECT_EQ(split.out, run.out) << threads;
    }

    std::string expected;
    std::vector<PackedPixel> second;
    for (long frame = 1; frame <= 3; ++frame) {
        drawFrame();
        if (frame != 2) {
            expected += crcLine(frame, frameCrc(pixels.data(), pixels.size()));
        } else {
            second = pixels;
        }
    }
    EXPECT_EQ(run.out, expected);

    // The PNG is written where the tool was started, not in the texture folder.
    const std::string png =
        readAll(std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" /
                "PrintsTheCrcsOfTheFramesTheDemoDraws" / "two.png");
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    EXPECT_EQ(png.substr(16, 8), std::string("\0\0\x01\x40\0\0\0\xF0", 8)); // 320 x 240
}

TEST_F(RenderToolTest, TheMapIsThePlanWithTheEyeOfTheLastFrame) {
    const std::filesystem::path dir = writeCodedTextures("RenderToolTest.map");
    const std::filesystem::path scratch =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test";
    for (const char* frames : {"--size 400x300 --map sized.png ", "--frames 30 --map plan.png "}) {
        const ToolRun run = runTool("--textures '" + dir.string() + "' " + frames + "--threads 1");
        ASSERT_EQ(run.status, 0) << run.err;
        EXPECT_TRUE(run.out.empty()) << run.out;
    }
    // The first run's plan is drawn at its --size; the second's at 640 x 480, with
    // the eye where frame 30 puts it.
    const std::string sized =
        readAll(scratch / "TheMapIsThePlanWithTheEyeOfTheLastFrame" / "sized.png");
    ASSERT_GT(sized.size(), 24u);
    EXPECT_EQ(sized.substr(16, 8), std::string("\0\0\x01\x90\0\0\x01\x2C", 8)); // 400 x 300
    ExploreSession session;
    for (int frame = 1; frame <= 30; ++frame) {
        drawFrame();
    }
    std::vector<PackedPixel> plan(640 * 480);
    MapView(sectors, sectorCount, 640, 480)
        .drawPlan(plan.data(), {cameraPos.x, cameraPos.y, session.viewAngle()});
    const std::filesystem::path expected = scratch / "expected-plan.png";
    ASSERT_TRUE(writeFramePng(expected.string().c_str(), plan.data(), 640, 480));
    EXPECT_EQ(readAll(scratch / "TheMapIsThePlanWithTheEyeOfTheLastFrame" / "plan.png"),
              readAll(expected));
}

TEST(RenderToolArgumentsTest, BenchReportsTheFrameRate) {
    const std::filesystem::path dir = writeCodedTextures("RenderToolTest.bench");
    const ToolRun run = runTool("--textures '" + dir.string() + "' --frames 5 --bench");
    ASSERT_EQ(run.status, 0) << run.err;
    long frames = 0;
    double seconds = -1.0, fps = -1.0, nsPerPixel = -1.0;
    ASSERT_EQ(std::sscanf(run.out.c_str(), "frames %ld seconds %lf fps %lf ns_per_pixel %lf",
                          &frames, &seconds, &fps, &nsPerPixel),
              4)
        << run.out;
    EXPECT_EQ(frames, 5);
    EXPECT_GT(seconds, 0.0);
    EXPECT_NEAR(fps * seconds, 5.0, 0.05); // fps is printed to one decimal
}

namespace {

struct TraceLine {
    long frame;
    std::int32_t sector;
    float x, y, z, floor, ceiling, angle;
};

std::vector<TraceLine> parseTrace(const std::string& out) {
    std::vector<TraceLine> lines;
    std::istringstream in(out);
    std::string line;
    while (std::getline(in, line)) {
        TraceLine t;
        int sector = 0;
        if (std::sscanf(line.c_str(),
                        "frame %ld sector %d x %f y %f z %f floor %f ceiling %f angle %f", &t.frame,
                        &sector, &t.x, &t.y, &t.z, &t.floor, &t.ceiling, &t.angle) == 8) {
            t.sector = sector;
            lines.push_back(t);
        }
    }
    return lines;
}

std::string walkFile(const std::string& name) {
    return "'" DUSKHALL_SOURCE_DIR "/tests/renderer/walks/" + name + "'";
}

std::string writeWalk(const std::string& name, const std::string& text) {
    const std::filesystem::path path =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" / name;
    std::filesystem::create_directories(path.parent_path());
    std::ofstream(path) << text;
    return "'" + path.string() + "'";
}

} // namespace

TEST_F(RenderToolTest, WalkFramesAreExploreModesFramesAndTheTraceFollowsThem) {
    const std::filesystem::path dir = writeCodedTextures("RenderToolTest.walk");
    const std::string walkText = "3 turn-left\n20 forward strafe-left\n5\n12 back turn-right\n";
    const ToolRun run = runTool("--textures '" + dir.string() + "' --walk " +
                                writeWalk("short.walk", walkText) + " --trace --crc 2,40");
    ASSERT_EQ(run.status, 0) << run.err;

    std::istringstream text(walkText);
    WalkScript walk;
    std::string error;
    ASSERT_TRUE(walk.parse(text, error));
    ExploreSession session;
    session.toggle();
    std::string expected;
    char line[160];
    for (long frame = 1; frame <= 40; ++frame) {
        session.drawFrame(walk.keysAt(frame), 1.0f / 60.0f);
        std::snprintf(
            line, sizeof line,
            "frame %ld sector %d x %.6f y %.6f z %.6f floor %.6f ceiling %.6f angle %.6f\n", frame,
            static_cast<int>(cameraSector), cameraPos.x, cameraPos.y, cameraPos.z,
            sectors[cameraSector].floorHeight, sectors[cameraSector].ceilingHeight,
            session.camera().angle);
        expected += line;
        if (frame == 2 || frame == 40) {
            expected += crcLine(frame, frameCrc(pixels.data(), pixels.size()));
        }
    }
    EXPECT_EQ(run.out, expected);
}

TEST_F(RenderToolTest, WalksIntoTheRoomIntoAWallAndAlongACornerStayInTheLevel) {
    const std::filesystem::path dir = writeCodedTextures("RenderToolTest.walks");
    struct Walk {
        const char* file;
        std::int32_t frames;
    };
    for (const Walk walk : {Walk{"into-the-moving-room.walk", 610},
                            Walk{"wall-for-ten-seconds.walk", 605}, Walk{"corner-rub.walk", 662}}) {
        const ToolRun run =
            runTool("--textures '" + dir.string() + "' --trace --walk " + walkFile(walk.file));
        ASSERT_EQ(run.status, 0) << walk.file << run.err;
        const std::vector<TraceLine> trace = parseTrace(run.out);
        ASSERT_EQ(trace.size(), static_cast<std::size_t>(walk.frames)) << walk.file;
        std::set<std::int32_t> visited;
        for (const TraceLine& t : trace) {
            // The heights of the frame as traced: sector 1's floor moves.
            sectors[t.sector].floorHeight = t.floor;
            sectors[t.sector].ceilingHeight = t.ceiling;
            const std::string why = eyeOutsideLevel(t.x, t.y, t.z, t.sector, sectors, 2, false);
            ASSERT_EQ(why, "") << walk.file << " frame " << t.frame;
            visited.insert(t.sector);
        }
        // Each of them crosses the moving room on its way.
        EXPECT_EQ(visited.size(), 2u) << walk.file;
        if (std::string(walk.file) != "into-the-moving-room.walk") {
            // Pressed against the right-hand wall (x = 10) at the end.
            EXPECT_NEAR(trace.back().x, 10.0f - wallClearance, 2e-3f) << walk.file;
        }
    }
}

TEST(RenderToolLevelTest, WalksThroughTheSampleLevelsStayInsideThemOnEveryFrame) {
    const std::filesystem::path source(DUSKHALL_SOURCE_DIR);
    const struct {
        const char* level;
        std::size_t frames;
        std::size_t sectorsVisited; // at least
        float highestFloor;         // reached on the way
        float lowestFloor;
    } walks[] = {
        {"pillar-hall", 1268, 18, 0.3f, 0.0f},
        {"staircase", 787, 13, 3.0f, 0.0f},
        {"courtyard", 1440, 7, 0.4f, -0.5f},
        {"lantern-yard", 1275, 5, 0.4f, 0.0f},
    };
    for (const auto& walk : walks) {
        const std::filesystem::path level = source / "levels" / (std::string(walk.level) + ".json");
        const ToolRun run =
            runTool("--textures '" + (source / "assets").string() + "' --level '" + level.string() +
                    "' --trace --walk " + walkFile(std::string(walk.level) + ".walk"));
        ASSERT_EQ(run.status, 0) << walk.level << run.err;
        const std::vector<TraceLine> trace = parseTrace(run.out);
        ASSERT_EQ(trace.size(), walk.frames) << walk.level;

        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(source / "assets");
        std::string error;
        const bool loaded = loadLevel(level.string(), error);
        std::filesystem::current_path(previous);
        ASSERT_TRUE(loaded) << error;
        std::set<std::int32_t> visited;
        float highest = trace[0].floor, lowest = trace[0].floor;
        for (const TraceLine& t : trace) {
            const std::string why =
                eyeOutsideLevel(t.x, t.y, t.z, t.sector, sectors, sectorCount, false);
            ASSERT_EQ(why, "") << walk.level << " frame " << t.frame;
            EXPECT_EQ(t.floor, sectors[t.sector].floorHeight) << walk.level << " " << t.frame;
            visited.insert(t.sector);
            highest = std::max(highest, t.floor);
            lowest = std::min(lowest, t.floor);
        }
        freeLevel();
        HKFreeAll();
        EXPECT_GE(visited.size(), walk.sectorsVisited) << walk.level;
        EXPECT_EQ(highest, walk.highestFloor) << walk.level;
        EXPECT_EQ(lowest, walk.lowestFloor) << walk.level;
    }
}

TEST(RenderToolLevelTest, TheBuiltInLevelsFilePrintsThePinnedCrcs) {
    const ToolRun run =
        runTool("--textures '" DUSKHALL_SOURCE_DIR "/assets' --level '" DUSKHALL_SOURCE_DIR
                "/levels/duskhall.json' --crc 1,2,3,6566");
    ASSERT_EQ(run.status, 0) << run.err;
    std::string expected;
    for (const PinnedFrame& pin : pinnedFrames) {
        if (pin.frame <= 3 || pin.frame == 6566) {
            expected += crcLine(pin.frame, pin.crc);
        }
    }
    EXPECT_EQ(run.out, expected);
}

// A level file walked and traced: the eye stands at the start until the walk
// moves it, and stays inside the level on every frame.
TEST_F(RenderToolTest, ALevelFileIsWalkedAndTracedInsideItsSectors) {
    freeLevel();
    HKFreeAll();
    const std::filesystem::path level = writeTestLevel("ToolCorridor", corridorLevel(40, 82, 0.5));
    std::string error;
    ASSERT_TRUE(loadLevel(level.string(), error)) << error;
    const ToolRun standing = runTool("--level '" + level.string() + "' --trace --frames 2");
    ASSERT_EQ(standing.status, 0) << standing.err;
    EXPECT_EQ(standing.out.substr(0, standing.out.find('\n')),
              "frame 1 sector 1 x 0.500000 y 0.000000 z 1.500000 floor 0.000000 ceiling "
              "3.000000 angle 0.000000");
    const std::string walk = writeWalk("corridor.walk", "200 forward strafe-left\n60 turn-left\n"
                                                        "200 forward\n100 back strafe-right\n");
    const ToolRun run = runTool("--level '" + level.string() + "' --trace --walk " + walk);
    ASSERT_EQ(run.status, 0) << run.err;
    const std::vector<TraceLine> trace = parseTrace(run.out);
    ASSERT_EQ(trace.size(), 560u);
    std::set<std::int32_t> visited;
    for (const TraceLine& t : trace) {
        ASSERT_EQ(eyeOutsideLevel(t.x, t.y, t.z, t.sector, sectors, sectorCount, false), "")
            << "frame " << t.frame;
        visited.insert(t.sector);
    }
    EXPECT_GT(visited.size(), 10u);
    freeLevel();
}

TEST(RenderToolArgumentsTest, MalformedWalksAreNamedAndEndWith2) {
    const struct {
        const char* text;
        const char* message;
    } cases[] = {
        {"10 forward\n5 forward jump\n", ": line 2: unknown key \"jump\""},
        {"\n# stand\nten\n", ": line 3: \"ten\" is not a frame count"},
        {"# nothing\n", ": no frames in the walk"},
    };
    int index = 0;
    for (const auto& c : cases) {
        const std::string path = writeWalk("bad-" + std::to_string(index++) + ".walk", c.text);
        const ToolRun run = runTool("--walk " + path + " --crc 1");
        EXPECT_EQ(run.status, 2) << c.text;
        EXPECT_NE(run.err.find(c.message), std::string::npos) << run.err;
        EXPECT_EQ(run.err.rfind("duskhall-render: ", 0), 0u) << run.err;
        EXPECT_TRUE(run.out.empty());
    }
    const ToolRun missing = runTool("--walk no-such.walk");
    EXPECT_EQ(missing.status, 2);
    EXPECT_EQ(missing.err, "duskhall-render: no-such.walk: cannot be opened\n");
}

TEST(RenderToolArgumentsTest, HelpAndVersionAnswerAndEndWith0) {
    const ToolRun help = runTool("--frames 3 --help --bogus");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind("usage: duskhall-render", 0), 0u) << help.out;
    for (const char* option :
         {"--level FILE", "--walk FILE", "--trace", "--crc", "--png", "--textures", "--map FILE"}) {
        EXPECT_NE(help.out.find(option), std::string::npos) << option;
    }
    EXPECT_TRUE(help.err.empty());
    const ToolRun version = runTool("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "duskhall-render " DUSKHALL_VERSION "\n");
}
