#include "AnimationPins.h"

#include "renderer/draw/FrameBatch.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/Traversal.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

void expectPinnedFrames(long lastFrame, std::int32_t threads, ThreadedDrawing drawing,
                        PinnedLevel level) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    if (level == PinnedLevel::builtIn) {
        buildLevel();
    } else {
        std::string error;
        ASSERT_TRUE(loadLevel(DUSKHALL_SOURCE_DIR "/levels/duskhall.json", error)) << error;
    }
    std::filesystem::current_path(previous);

    std::vector<PackedPixel> pixels(screenPixels, 0);
    std::vector<std::uint32_t> frameCrcs;
    frameCrcs.reserve(static_cast<std::size_t>(lastFrame));
    prepareFrames(pixels.data());
    std::int32_t checked = 0;
    const auto check = [&](long long frame, const PackedPixel* framePixels) {
        frameCrcs.push_back(frameCrc(framePixels, screenPixels));
        for (const PinnedFrame& pin : pinnedFrames) {
            if (pin.frame == frame) {
                EXPECT_EQ(frameCrcs.back(), pin.crc) << "frame " << frame;
                ++checked;
            }
        }
        for (const PinnedFrame& pin : pinnedRuns) {
            if (pin.frame == frame) {
                EXPECT_EQ(frameCrc(frameCrcs.data(), frameCrcs.size()), pin.crc)
                    << "frames 1 to " << frame;
                ++checked;
            }
        }
    };
    if (drawing == ThreadedDrawing::wholeFrames) {
        drawFrameRun(lastFrame, threads, check);
        // The framebuffer ends holding the last frame, as frame by frame.
        EXPECT_EQ(frameCrc(pixels.data(), pixels.size()), frameCrcs.back());
    } else {
        setFrameThreads(threads);
        EXPECT_EQ(frameThreads(), threads);
        for (long frame = 1; frame <= lastFrame; ++frame) {
            drawFrame();
            check(frame, pixels.data());
        }
        setFrameThreads(1);
    }
    EXPECT_GT(checked, 0);
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
}
