#include "TestLevels.h"
#include "ToolRun.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

// A corridor along x, 2 wide: sectors of [x0, x1] given as their two corner
// pairs, each sector i using vertices 2i, 2i + 2, 2i + 3, 2i + 1; then whatever
// the case adds at the top level.
std::string corridor(const std::vector<float>& xs, const std::vector<float>& floors,
                     const std::vector<float>& ceilings, float startX, const std::string& extra) {
    std::ostringstream text;
    text << R"({"duskhall-level": 1, "textures": {"w": "wall1.png", "f": "floor1.png"},
  "vertices": [)";
    for (std::size_t i = 0; i < xs.size(); ++i) {
        text << (i == 0 ? "" : ", ") << "[" << xs[i] << ", -1], [" << xs[i] << ", 1]";
    }
    text << "],\n  \"sectors\": [";
    for (std::size_t i = 0; i + 1 < xs.size(); ++i) {
        const std::size_t b = 2 * i;
        text << (i == 0 ? "" : ",\n") << "{\"outline\": [" << b << ", " << b + 2 << ", " << b + 3
             << ", " << b + 1 << "], \"floor\": " << floors[i] << ", \"ceiling\": " << ceilings[i]
             << R"(, "wall-texture": "w", "floor-texture": "f", "ceiling-texture": "f"})";
    }
    text << "],\n  \"start\": {\"x\": " << startX << ", \"y\": 0, \"angle\": 0}" << extra << "}";
    return text.str();
}

struct TraceFrame {
    int sector;
    float x, z, mover;
};

// Walks the level with --trace and reads each frame's sector, x, z and the first
// mover's height.
std::vector<TraceFrame> walkTrace(const std::string& name, const std::string& level,
                                  const std::string& walk) {
    const std::filesystem::path levelPath = writeTestLevel(name, level);
    const std::filesystem::path walkPath = levelPath.parent_path() / (name + ".walk");
    std::ofstream(walkPath) << walk;
    const ToolRun run =
        runTool("--level '" + levelPath.string() + "' --walk '" + walkPath.string() + "' --trace");
    EXPECT_EQ(run.status, 0) << run.err;
    std::vector<TraceFrame> frames;
    std::istringstream lines(run.out);
    std::string line;
    while (std::getline(lines, line)) {
        std::istringstream words(line);
        std::string word;
        TraceFrame frame = {};
        float value = 0.0f;
        while (words >> word) {
            if (word == "sector") {
                words >> frame.sector;
            } else if (word == "x") {
                words >> frame.x;
            } else if (word == "z") {
                words >> frame.z;
            } else if (word == "movers") {
                words >> frame.mover;
            } else {
                words >> value;
            }
        }
        frames.push_back(frame);
    }
    return frames;
}

// Room, door, room: the door closed (its ceiling on its floor), used from the
// first room through edge 1 of sector 0.
std::string doorLevel(const std::string& door) {
    return corridor({0, 4, 4.5f, 8}, {0, 0, 0}, {3, 0, 3}, 2.5f,
                    ",\n  \"doors\": [" + door +
                        "],\n  \"triggers\": [{\"sector\": 0, \"edge\": 1, \"on\": \"use\"}]");
}

} // namespace

TEST(DoorsAndLiftsTest, AUsedDoorOpensWaitsAndClosesOnTheGamesClock) {
    // Used in frame 11, it moves from frame 12, 1/60 s a frame: 1.5 up at 2.1875 a
    // second takes 41.14 frames, the wait 4.2857 s is 257.14 more, closing again
    // 41.14: open from frame 53, down from frame 310, shut from frame 351.
    const std::vector<TraceFrame> trace =
        walkTrace("door", doorLevel(R"({"sector": 1, "open-height": 1.5})"), "10\n1 use\n400\n");
    ASSERT_EQ(trace.size(), 411u);
    const auto height = [&](int frame) { return trace[static_cast<std::size_t>(frame - 1)].mover; };
    for (int frame = 1; frame <= 11; ++frame) {
        EXPECT_EQ(height(frame), 0.0f) << frame;
    }
    for (int frame = 12; frame <= 52; ++frame) {
        EXPECT_GT(height(frame), height(frame - 1)) << frame;
        EXPECT_LT(height(frame), 1.5f) << frame;
    }
    EXPECT_NEAR(height(12), 2.1875f / 60.0f, 1e-5f);
    for (int frame = 53; frame <= 309; ++frame) {
        EXPECT_EQ(height(frame), 1.5f) << frame;
    }
    for (int frame = 310; frame <= 350; ++frame) {
        EXPECT_LT(height(frame), height(frame - 1)) << frame;
        EXPECT_GT(height(frame), 0.0f) << frame;
    }
    for (int frame = 351; frame <= 410; ++frame) {
        EXPECT_EQ(height(frame), 0.0f) << frame;
    }
    // Used again once shut, it opens again.
    const std::vector<TraceFrame> again =
        walkTrace("door-again", doorLevel(R"({"sector": 1, "open-height": 1.5})"),
                  "10\n1 use\n350\n1 use\n20\n");
    EXPECT_GT(again.back().mover, 0.0f);
}

TEST(DoorsAndLiftsTest, AClosingDoorGoesBackUpOverTheWalker) {
    // Opened to 3 - 0.125; the walker goes in and stays under it.
    const std::vector<TraceFrame> trace =
        walkTrace("door-walker", doorLevel(R"({"sector": 1})"), "10\n1 use\n90\n25 forward\n600\n");
    ASSERT_EQ(trace.size(), 726u);
    EXPECT_EQ(trace[100].mover, 2.875f);
    std::size_t lowest = 130;
    for (std::size_t i = 130; i < trace.size(); ++i) {
        ASSERT_EQ(trace[i].sector, 1) << i;
        EXPECT_EQ(trace[i].z, 1.5f) << i; // the room stays taller than the body
        lowest = trace[i].mover < trace[lowest].mover ? i : lowest;
    }
    EXPECT_GT(trace[lowest].mover, 1.75f);
    EXPECT_LT(trace[lowest].mover, 1.8f); // it came down to the body, then went back up
    bool reopened = false;
    for (std::size_t i = lowest; i < trace.size(); ++i) {
        reopened = reopened || trace[i].mover == 2.875f;
    }
    EXPECT_TRUE(reopened);
}

TEST(DoorsAndLiftsTest, AWalkOverLineLowersALiftThatCarriesTheWalkerUp) {
    // Two rooms at floor 0 (the line between them, edge 1 of sector 0, is the
    // trigger), the lift at 1 and a room at 1 beyond it: the lift goes down to the
    // lowest floor around it, the walker steps on, rides it up and walks off.
    const std::string level = corridor({0, 2, 4, 6, 8}, {0, 0, 1, 1}, {4, 4, 4, 4}, 1.0f,
                                       R"(, "lifts": [{"sector": 2}],
  "triggers": [{"sector": 0, "edge": 1, "on": "walk", "sectors": [2], "once": true}])");
    const std::vector<TraceFrame> trace = walkTrace("lift", level, "500 forward\n");
    ASSERT_EQ(trace.size(), 500u);
    std::size_t crossed = 0;
    while (crossed < trace.size() && trace[crossed].x < 2.0f) {
        EXPECT_EQ(trace[crossed].mover, 1.0f) << crossed;
        ++crossed;
    }
    ASSERT_LT(crossed + 1, trace.size());
    EXPECT_EQ(trace[crossed].mover, 1.0f);     // moving from the next frame
    EXPECT_LT(trace[crossed + 1].mover, 1.0f); // on
    bool rode = false;
    float lowest = 1.0f;
    for (const TraceFrame& frame : trace) {
        lowest = std::min(lowest, frame.mover);
        if (frame.sector == 2) {
            EXPECT_EQ(frame.z, frame.mover + 1.5f); // standing on the lift, wherever it is
            rode = rode || (frame.mover > 0.0f && frame.mover < 1.0f && lowest == 0.0f);
        }
    }
    EXPECT_EQ(lowest, 0.0f);
    EXPECT_TRUE(rode);
    EXPECT_EQ(trace.back().sector, 3);
    EXPECT_EQ(trace.back().z, 2.5f);
}

TEST(DoorsAndLiftsTest, AWalkLineDrawnAcrossARoomOpensTheDoorWhenCrossed) {
    // The line runs from (0, -1) to (4, 1) through the first room, crossing the
    // walker's path at x = 2; the door ahead opens from the frame after.
    const std::string level = corridor({0, 4, 4.5f, 8}, {0, 0, 0}, {3, 0, 3}, 1.0f,
                                       R"(, "doors": [{"sector": 1}],
  "triggers": [{"line": [0, 3], "on": "walk", "sectors": [1]}])");
    const std::vector<TraceFrame> trace = walkTrace("drawn-line", level, "60 forward\n");
    ASSERT_EQ(trace.size(), 60u);
    std::size_t crossed = 0;
    while (crossed < trace.size() && trace[crossed].x < 2.0f) {
        EXPECT_EQ(trace[crossed].mover, 0.0f) << crossed;
        ++crossed;
    }
    ASSERT_LT(crossed + 1, trace.size());
    EXPECT_GT(trace[crossed + 1].mover, 0.0f);
}
