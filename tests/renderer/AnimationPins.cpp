#include "AnimationPins.h"

#include "renderer/FrameCrc.h"
#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"
#include "renderer/Traversal.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <vector>

void expectPinnedFrames(long lastFrame, std::int32_t threads) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    buildLevel();
    std::filesystem::current_path(previous);

    std::vector<PackedPixel> pixels(screenPixels, 0);
    std::vector<std::uint32_t> frameCrcs;
    frameCrcs.reserve(static_cast<std::size_t>(lastFrame));
    prepareFrames(pixels.data());
    setFrameThreads(threads);
    EXPECT_EQ(frameThreads(), threads);
    std::int32_t checked = 0;
    for (long frame = 1; frame <= lastFrame; ++frame) {
        drawFrame();
        frameCrcs.push_back(frameCrc(pixels.data(), pixels.size()));
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
    }
    EXPECT_GT(checked, 0);
    setFrameThreads(1);
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
}
