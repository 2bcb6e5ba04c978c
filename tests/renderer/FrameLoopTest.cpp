#include "EyeChecks.h"
#include "RendererFixture.h"
#include "TestLevels.h"

#include "renderer/camera/ExploreSession.h"
#include "renderer/camera/WalkScript.h"
#include "renderer/draw/Traversal.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelDescription.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <new>
#include <sstream>

namespace {

std::uint32_t bitsOf(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Counts every allocation of the program, so frames can prove they make none; any
// thread may allocate.
std::atomic<std::size_t> allocations{0};
int* volatile probe = nullptr; // kept where the compiler cannot drop its allocation

} // namespace

// Kept out of line: inlined, the compiler would see malloc paired with delete.
[[gnu::noinline]] void* operator new(std::size_t size) {
    allocations.fetch_add(1, std::memory_order_relaxed);
    if (void* block = std::malloc(size == 0 ? 1 : size)) {
        return block;
    }
    throw std::bad_alloc();
}
// The library's own nothrow form (std::stable_partition's buffer) must come from
// the same malloc as the delete below frees into.
[[gnu::noinline]] void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    allocations.fetch_add(1, std::memory_order_relaxed);
    return std::malloc(size == 0 ? 1 : size);
}
[[gnu::noinline]] void operator delete(void* block) noexcept {
    std::free(block);
}
[[gnu::noinline]] void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}

using FrameLoopTest = RendererFixture;

TEST_F(FrameLoopTest, SlopeTablesHaveTheirExactSteps) {
    EXPECT_EQ(rowSlopes[120], 0.0f);
    EXPECT_EQ(columnSlopes[160], 0.0f);
    EXPECT_EQ(columnSlopes[0], -1.0f);
    EXPECT_EQ(bitsOf(rowSlopes[121]), 0x3BCCCCCCu);
    EXPECT_EQ(bitsOf(columnSlopes[161]), 0x3BCCCCCDu);
    EXPECT_NEAR(rowSlopes[0], -0.75f, 1e-6f);
    EXPECT_NEAR(rowSlopes[239], 0.74375f, 1e-6f);
    EXPECT_NEAR(columnSlopes[319], 0.99375f, 1e-6f);
}

TEST_F(FrameLoopTest, FirstFrameCameraAndRoom) {
    drawFrame();
    EXPECT_EQ(animationTime, 5.0100002f);
    EXPECT_EQ(cameraSector, 0);
    EXPECT_NEAR(cameraPos.z, 1.4793f, 5e-5f);
    EXPECT_NEAR(cameraPos.x, -3.0720f, 5e-5f);
    EXPECT_NEAR(cameraPos.y, -1.2593f, 5e-5f);
    EXPECT_NEAR(std::atan2(viewDir.y, viewDir.x), -0.18751f, 5e-5f);
    EXPECT_NEAR(viewDir.x, 0.98247f, 5e-5f);
    EXPECT_NEAR(viewDir.y, -0.18641f, 5e-5f);
    EXPECT_TRUE(viewDir.z == 0.0f && viewSide.x == viewDir.y && viewSide.y == -viewDir.x &&
                viewSide.z == 0.0f);
    EXPECT_NEAR(sectors[1].floorHeight, -0.31183f, 5e-5f);
    EXPECT_NEAR(sectors[1].ceilingHeight, 2.18817f, 5e-5f);
}

TEST_F(FrameLoopTest, FramesDrawEveryPixelWithoutAllocatingOrDeepTraversals) {
    drawFrame();
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), untouched), 0);
    const std::size_t before = allocations;
    deepestColumnVisits = 0;
    for (int i = 0; i < 300; ++i) {
        drawFrame();
    }
    EXPECT_EQ(allocations, before);
    EXPECT_EQ(deepestColumnVisits, 3); // 0, through the triangle, back into 0
    probe = new int(0);                // the counter does see allocations
    EXPECT_GT(allocations, before);
    delete probe;
}

// At another size, on several threads: the buffers are sized once, by resizeFrames.
TEST_F(FrameLoopTest, FramesAtAnotherSizeOnSeveralThreadsAllocateNothing) {
    ASSERT_TRUE(resizeFrames(800, 600));
    std::vector<PackedPixel> large(800 * 600, untouched);
    setFramebuffer(large.data());
    setFrameThreads(2);
    drawFrame();
    const std::size_t before = allocations;
    for (int i = 0; i < 20; ++i) {
        drawFrame();
    }
    EXPECT_EQ(allocations, before);
    EXPECT_EQ(std::count(large.begin(), large.end(), untouched), 0);
    setFrameThreads(1);
    resizeFrames(screenWidth, screenHeight);
    setFramebuffer(pixels.data());
}

// A level of the largest size: the centre column crosses every sector to the far
// wall (sectors 1/16 long, so the far end is still taller than a row); frames and
// a walk along it allocate nothing, and the eye stays in.
TEST_F(FrameLoopTest, TheLargestLevelIsDrawnToItsFarEndAndWalkedWithoutAllocating) {
    freeLevel();
    HKFreeAll();
    std::string error;
    const std::string level = corridorLevel(maxLevelSectors, maxLevelVertices, 0.0625);
    ASSERT_TRUE(loadLevel(writeTestLevel("Corridor", level).string(), error)) << error;
    prepareFrames(pixels.data());
    ExploreSession session;
    session.drawFrame({}, 0.0f);
    std::size_t frameAllocations = allocations;
    deepestColumnVisits = 0;
    session.drawFrame({}, 0.0f);
    frameAllocations = allocations - frameAllocations;
    // From the start in sector 8 through the 4088 sectors ahead.
    EXPECT_EQ(deepestColumnVisits, maxLevelSectors - 8);
    EXPECT_EQ(texelAt(160, 120).texture, 2); // the far end's wall3
    session.toggle();
    MoveInput forward;
    forward.forward = true;
    for (int frame = 0; frame < 240; ++frame) {
        const std::size_t before = allocations;
        session.drawFrame(forward, 1.0f / 60.0f);
        frameAllocations += allocations - before;
        const FreeCamera& eye = session.camera();
        ASSERT_EQ(eyeOutsideLevel(eye.x, eye.y, eye.z, eye.sector, sectors, sectorCount), "")
            << frame;
    }
    EXPECT_EQ(frameAllocations, 0u);
    // 4 units a second for 4 s from x = 0.5.
    EXPECT_NEAR(session.camera().x, 16.5f, 0.1f);
}

TEST_F(FrameLoopTest, ExploreFramesAndWalksAllocateNothing) {
    std::istringstream text("30 forward turn-left\n30 back strafe-right\n40 forward\n");
    WalkScript walk;
    std::string error;
    ASSERT_TRUE(walk.parse(text, error)) << error;
    ExploreSession session;
    session.toggle();
    session.drawFrame(walk.keysAt(1), 1.0f / 60.0f);
    const std::size_t before = allocations;
    for (std::int64_t frame = 2; frame <= walk.frames(); ++frame) {
        session.drawFrame(walk.keysAt(frame), 1.0f / 60.0f);
    }
    session.toggle();
    session.drawFrame(walk.keysAt(1), 1.0f / 60.0f);
    EXPECT_EQ(allocations, before);
}

TEST_F(FrameLoopTest, EachFrameRecomputesTheFlatDepths) {
    drawFrame();
    ASSERT_TRUE(flatCache[0].valid); // sector 0's floor is seen in every frame
    const std::int32_t first = flatCache[0].rowDepth[239];
    drawFrame();
    // Eye height 1.48 in frame 1 and about 1.49 in frame 2: the bottom row sees
    // the floor at a different depth, so a stale entry would show.
    EXPECT_NE(flatCache[0].rowDepth[239], first);
    EXPECT_EQ(flatCache[0].rowDepth[239],
              static_cast<std::int32_t>(std::nearbyint(cameraPos.z / rowSlopes[239] * 256.0f)));
}

TEST_F(FrameLoopTest, WithoutAFramebufferOnlyTheAnimationAdvances) {
    prepareFrames(nullptr);
    drawFrame();
    drawFrame();
    EXPECT_EQ(animationTime, 5.0f + 0.01f + 0.01f);
    EXPECT_EQ(std::count(pixels.begin(), pixels.end(), untouched), screenPixels);
}

TEST_F(FrameLoopTest, ColumnsFromAnySectorAreTheSameOnSeveralThreads) {
    // A camera inside the triangle looking out at the outer room: the columns start
    // in sector 1 and cross into sector 0.
    drawFrame();
    placeCamera(5.0f, 0.5f, 1.2f, -0.8f, 0.6f);
    cameraSector = 1;
    drawView();
    const std::vector<PackedPixel> alone = pixels;
    EXPECT_EQ(std::count(alone.begin(), alone.end(), untouched), 0);
    EXPECT_EQ(texelAt(160, 239).texture, 4); // the triangle's own floor under the camera
    for (std::int32_t threads : {2, 3}) {
        setFrameThreads(threads);
        pixels.assign(screenPixels, untouched);
        const std::size_t before = allocations;
        drawColumns();
        EXPECT_EQ(allocations, before) << "frames on threads allocate nothing";
        EXPECT_EQ(pixels, alone) << threads << " threads";
    }
    setFrameThreads(1);
    cameraSector = 0;
}
