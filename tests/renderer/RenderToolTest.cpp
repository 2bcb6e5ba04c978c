#include "RendererFixture.h"

#include "renderer/FrameCrc.h"

#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

namespace {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

std::string readAll(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// Runs duskhall-render with the arguments, in a scratch folder of the test's own.
ToolRun runTool(const std::string& arguments) {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path scratch =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" / info->name();
    std::filesystem::create_directories(scratch);
    const std::filesystem::path out = scratch / "stdout.txt";
    const std::filesystem::path err = scratch / "stderr.txt";
    const std::string command = "cd '" + scratch.string() +
                                "' && '" DUSKHALL_BINARY_DIR "/duskhall-render' " + arguments +
                                " >'" + out.string() + "' 2>'" + err.string() + "'";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, readAll(out), readAll(err)};
}

std::string crcLine(long frame, std::uint32_t crc) {
    char line[64];
    std::snprintf(line, sizeof line, "frame %ld crc32 %08X\n", frame, crc);
    return line;
}

} // namespace

TEST(RenderToolArgumentsTest, BadArgumentsPrintTheUsageAndExit2) {
    for (const char* arguments :
         {"--bogus", "--frames 0", "--frames", "--frames 12x", "--crc 1,,2", "--crc -3", "--png 3",
          "--png x:frame.png", "--frames 2 --crc 5", "--textures", "--threads 0", "--threads 65",
          "--threads"}) {
        const ToolRun run = runTool(arguments);
        EXPECT_EQ(run.status, 2) << arguments;
        EXPECT_EQ(run.err.rfind("usage: duskhall-render", 0), 0u) << arguments;
        EXPECT_TRUE(run.out.empty()) << arguments;
    }
}

TEST(RenderToolArgumentsTest, MissingTexturesEndWithTheHousekeepingError) {
    const std::filesystem::path empty =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-tool-test" / "no-textures";
    std::filesystem::create_directories(empty);
    const ToolRun run = runTool("--textures '" + empty.string() + "' --crc 1");
    EXPECT_EQ(run.status, 1);
    EXPECT_NE(run.err.find("Housekeeping error"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("HKPtr: NULL pointer"), std::string::npos) << run.err;
    EXPECT_TRUE(run.out.empty());
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
