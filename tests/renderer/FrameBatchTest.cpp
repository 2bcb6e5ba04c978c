#include "RendererFixture.h"

#include "renderer/draw/CurrentViewColumns.h"
#include "renderer/draw/FrameBatch.h"
#include "renderer/draw/Traversal.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"

#include <atomic>
#include <cstring>
#include <utility>
#include <vector>

namespace {

template <class T> bool sameBits(const T& a, const T& b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

// What a run leaves behind, and the CRC of every frame it handed over.
struct RunResult {
    std::vector<std::uint32_t> frameCrcs;
    std::uint32_t framebufferCrc;
    float clock;
    Vec3 eye, dir, side;
    float floor1, ceiling1;
    std::int32_t flatDepth; // a depth of sector 0's floor in the current flat cache
    std::int32_t deepest;

    bool operator==(const RunResult& other) const {
        return frameCrcs == other.frameCrcs && framebufferCrc == other.framebufferCrc &&
               sameBits(clock, other.clock) && sameBits(eye, other.eye) &&
               sameBits(dir, other.dir) && sameBits(side, other.side) &&
               sameBits(floor1, other.floor1) && sameBits(ceiling1, other.ceiling1) &&
               flatDepth == other.flatDepth && deepest == other.deepest;
    }
};

RunResult finishedRun(std::vector<std::uint32_t> frameCrcs,
                      const std::vector<PackedPixel>& pixels) {
    return {std::move(frameCrcs),
            frameCrc(pixels.data(), pixels.size()),
            animationTime,
            cameraPos,
            viewDir,
            viewSide,
            sectors[1].floorHeight,
            sectors[1].ceilingHeight,
            flatCache[0].rowDepth[239],
            deepestColumnVisits};
}

// A framebuffer whose every pixel differs, so a pixel copied from the wrong place
// shows.
std::vector<PackedPixel> numberedPixels() {
    std::vector<PackedPixel> numbered(screenPixels);
    for (std::size_t i = 0; i < numbered.size(); ++i) {
        numbered[i] = 0x01000000u | static_cast<PackedPixel>(i);
    }
    return numbered;
}

class FrameBatchTest : public RendererFixture {
  protected:
    void SetUp() override {
        RendererFixture::SetUp();
        builtFloor = sectors[1].floorHeight;
        builtCeiling = sectors[1].ceilingHeight;
    }

    // Back to the start: the clock, the level's heights and the first pixels.
    void restart(const std::vector<PackedPixel>& firstPixels) {
        pixels = firstPixels;
        prepareFrames(pixels.data());
        sectors[1].floorHeight = builtFloor;
        sectors[1].ceilingHeight = builtCeiling;
        deepestColumnVisits = 0;
    }

    RunResult frameByFrame(long long frames, const std::vector<PackedPixel>& firstPixels) {
        restart(firstPixels);
        std::vector<std::uint32_t> crcs;
        for (long long frame = 1; frame <= frames; ++frame) {
            drawFrame();
            crcs.push_back(frameCrc(pixels.data(), pixels.size()));
        }
        return finishedRun(crcs, pixels);
    }

    RunResult wholeFrames(long long frames, std::int32_t threads,
                          const std::vector<PackedPixel>& firstPixels) {
        restart(firstPixels);
        std::vector<std::uint32_t> crcs;
        drawFrameRun(frames, threads, [&](long long frame, const PackedPixel* framePixels) {
            EXPECT_EQ(frame, static_cast<long long>(crcs.size()) + 1);
            crcs.push_back(frameCrc(framePixels, screenPixels));
        });
        return finishedRun(crcs, pixels);
    }

    float builtFloor = 0.0f;
    float builtCeiling = 0.0f;
};

} // namespace

TEST_F(FrameBatchTest, WholeFramesOnThreadsAreTheFramesOneByOne) {
    const std::vector<PackedPixel> first(screenPixels, untouched);
    for (long long frames : {0LL, 1LL, 2LL, 7LL, 40LL}) {
        const RunResult expected = frameByFrame(frames, first);
        for (std::int32_t threads : {1, 2, 3}) {
            SCOPED_TRACE(testing::Message() << frames << " frames, " << threads << " threads");
            EXPECT_TRUE(wholeFrames(frames, threads, first) == expected);
        }
    }
}

TEST_F(FrameBatchTest, OpenRowsKeepThePreviousFramesPixels) {
    // Without the fourth outer wall and the triangle, rays towards the gap meet
    // nothing and their rows keep what the frame before left, back to the first
    // pixels; as the camera turns the gap moves across the columns.
    sectors[0].wallCount = 3;
    const std::vector<PackedPixel> first = numberedPixels();
    const long long frames = 60;
    restart(first);
    // Rows open in a frame that the frame before drew: they take that frame's
    // pixels, not the first ones.
    std::int32_t rowsFromTheFrameBefore = 0;
    std::vector<OpenRows> open(screenWidth, OpenRows{0, screenHeight});
    std::vector<OpenRows> before = open;
    for (long long frame = 1; frame <= frames; ++frame) {
        advanceAnimation();
        prepareFlatCache();
        drawViewColumns(currentView(), 0, screenWidth, open.data());
        for (std::int32_t x = 0; x < screenWidth; ++x) {
            for (std::int32_t y = open[x].top; y < open[x].bottom; ++y) {
                rowsFromTheFrameBefore += y < before[x].top || y >= before[x].bottom ? 1 : 0;
            }
        }
        before = open;
    }
    ASSERT_GT(rowsFromTheFrameBefore, 0);

    const RunResult expected = frameByFrame(frames, first);
    for (std::int32_t threads : {2, 3, 4}) {
        SCOPED_TRACE(threads);
        EXPECT_TRUE(wholeFrames(frames, threads, first) == expected);
    }
    sectors[0].wallCount = 7;
}

TEST_F(FrameBatchTest, FramesAreHandedOverOneAtATimeInOrder) {
    std::atomic<int> inside{0};
    std::atomic<long long> last{0};
    std::atomic<int> overlaps{0};
    drawFrameRun(30, 3, [&](long long frame, const PackedPixel*) {
        if (inside.fetch_add(1) != 0) {
            overlaps.fetch_add(1);
        }
        EXPECT_EQ(frame, last.load() + 1);
        last.store(frame);
        inside.fetch_sub(1);
    });
    EXPECT_EQ(overlaps.load(), 0);
    EXPECT_EQ(last.load(), 30);
}
