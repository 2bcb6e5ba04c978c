// Frames at sizes other than 320 x 240, drawn with the committed textures: pinned
// CRCs, and the same view at twice the size, sampled down, showing the same picture;
// and the floor texels of the largest frame against exact arithmetic.

#include "RendererFixture.h"

#include "renderer/draw/CurrentViewColumns.h"
#include "renderer/draw/FrameBatch.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <filesystem>
#include <vector>

namespace {

class FrameSizeTest : public ::testing::Test {
  protected:
    void SetUp() override {
        const std::filesystem::path previous = std::filesystem::current_path();
        std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
        buildLevel();
        std::filesystem::current_path(previous);
    }

    void TearDown() override {
        setFrameThreads(1);
        resizeFrames(screenWidth, screenHeight);
        freeLevel();
        HKFreeAll();
        framebuffer = nullptr;
    }

    // Frame `frame` of the animation at this size. The frames before it are skipped
    // by their clock alone: every column of the built-in level ends at a wall, so
    // no pixel of an earlier frame shows.
    std::vector<PackedPixel> frameAt(std::int32_t width, std::int32_t height, long frame,
                                     std::int32_t threads = 1) {
        EXPECT_TRUE(resizeFrames(width, height));
        std::vector<PackedPixel> pixels(static_cast<std::size_t>(width) * height, 0);
        prepareFrames(pixels.data());
        setFrameThreads(threads);
        for (long f = 1; f < frame; ++f) {
            animationTime = nextClock(animationTime);
        }
        drawFrame();
        setFrameThreads(1);
        return pixels;
    }
};

// Pinned by duskhall-render --size WxH --crc F, which draws every frame before.
TEST_F(FrameSizeTest, FramesAtOtherSizesMatchTheirPins) {
    const struct {
        std::int32_t width, height;
        long frame;
        std::int32_t threads;
        std::uint32_t crc;
    } pins[] = {
        {640, 480, 475, 1, 0x5E23A875u},
        {1920, 1080, 475, 2, 0x598FE834u},
        {333, 999, 100, 3, 0xBDD60251u},
    };
    for (const auto& pin : pins) {
        const std::vector<PackedPixel> pixels =
            frameAt(pin.width, pin.height, pin.frame, pin.threads);
        EXPECT_EQ(frameCrc(pixels.data(), pixels.size()), pin.crc)
            << pin.width << "x" << pin.height << " frame " << pin.frame;
    }
}

TEST_F(FrameSizeTest, WholeFramesSideBySideAtAnotherSizeAreTheFramesDrawnOneByOne) {
    const std::int32_t width = 480;
    const std::int32_t height = 200;
    ASSERT_TRUE(resizeFrames(width, height));
    std::vector<PackedPixel> pixels(static_cast<std::size_t>(width) * height, 0);
    prepareFrames(pixels.data());
    std::vector<std::uint32_t> oneByOne;
    for (int frame = 1; frame <= 6; ++frame) {
        drawFrame();
        oneByOne.push_back(frameCrc(pixels.data(), pixels.size()));
    }
    std::fill(pixels.begin(), pixels.end(), 0);
    prepareFrames(pixels.data());
    std::vector<std::uint32_t> sideBySide;
    drawFrameRun(6, 2, [&](long long, const PackedPixel* frame) {
        sideBySide.push_back(frameCrc(frame, pixels.size()));
    });
    EXPECT_EQ(sideBySide, oneByOne);
}

// Each pixel of the frame against the mean of the 2 x 2 pixels that cover it at
// twice the size: the mean difference of a colour channel, 0 to 255.
double meanDifferenceFromTwiceTheSize(const std::vector<PackedPixel>& small,
                                      const std::vector<PackedPixel>& large, std::int32_t width,
                                      std::int32_t height) {
    double total = 0.0;
    for (std::int32_t y = 0; y < height; ++y) {
        for (std::int32_t x = 0; x < width; ++x) {
            for (int shift = 0; shift <= 16; shift += 8) {
                double sum = 0.0;
                for (std::int32_t dy = 0; dy < 2; ++dy) {
                    for (std::int32_t dx = 0; dx < 2; ++dx) {
                        const PackedPixel p =
                            large[static_cast<std::size_t>((2 * y + dy) * 2 * width + 2 * x + dx)];
                        sum += (p >> shift) & 0xFF;
                    }
                }
                const double one = (small[static_cast<std::size_t>(y * width + x)] >> shift) & 0xFF;
                total += std::fabs(one - sum / 4.0);
            }
        }
    }
    return total / (3.0 * width * height);
}

TEST_F(FrameSizeTest, AFrameMatchesItselfDrawnAtTwiceTheSize) {
    // A 320 x 240 frame aliases its textures far more than one twice its size; walls
    // textured at the wrong scale differ by about 18 at either size.
    const struct {
        std::int32_t width, height;
        double most;
    } sizes[] = {{320, 240, 10.0}, {1920, 1080, 4.0}};
    for (const auto& size : sizes) {
        const std::vector<PackedPixel> small = frameAt(size.width, size.height, 475, 2);
        const std::vector<PackedPixel> large = frameAt(2 * size.width, 2 * size.height, 475, 2);
        EXPECT_LT(meanDifferenceFromTwiceTheSize(small, large, size.width, size.height), size.most)
            << size.width << "x" << size.height;
    }
}

TEST_F(FrameSizeTest, SlopeTablesFollowTheWidthAndRefusedSizesChangeNothing) {
    ASSERT_TRUE(resizeFrames(1000, 300));
    std::vector<PackedPixel> pixels(1000 * 300, 0);
    prepareFrames(pixels.data());
    ASSERT_EQ(columnSlopes.size(), 1000u);
    ASSERT_EQ(rowSlopes.size(), 300u);
    EXPECT_EQ(columnSlopes[500], 0.0f);
    EXPECT_EQ(columnSlopes[0], -1.0f);
    EXPECT_EQ(columnSlopes[501], 0.002f);
    EXPECT_EQ(rowSlopes[150], 0.0f);
    EXPECT_EQ(rowSlopes[151], std::nextafter(0.002f, 0.0f));
    const std::int32_t refused[][2] = {{159, 120}, {160, 119}, {3841, 2160}, {3840, 2161}, {0, 0}};
    for (const auto& bad : refused) {
        EXPECT_FALSE(resizeFrames(bad[0], bad[1]));
        EXPECT_EQ(frameGeometry.width, 1000);
        EXPECT_EQ(frameGeometry.height, 300);
    }
}

using WideFrameTest = RendererFixture;

// Near the eye a floor texel spans many rows of a 3840 x 2160 frame: with the
// fraction bits of a 320-pixel frame, neighbouring rows share a depth and texel
// edges land rows away from where they belong, so the pixels must be nearly all
// the texels exact arithmetic puts there.
TEST_F(WideFrameTest, FloorTexelsAtTheLargestSizeAreThoseExactArithmeticGives) {
    ASSERT_TRUE(resizeFrames(maxFrameWidth, maxFrameHeight));
    std::vector<PackedPixel> wide(static_cast<std::size_t>(maxFrameWidth) * maxFrameHeight,
                                  untouched);
    prepareFrames(wide.data());
    const double eyeX = 0.3;
    const double eyeY = 0.7;
    const double eye = 1.5;
    placeCamera(0.3f, 0.7f, 1.5f, 0.8f, 0.6f);
    long rows = 0;
    long wrong = 0;
    for (std::int32_t x : {0, 777, 1920, 3001, 3839}) {
        openWindow(0, maxFrameHeight);
        drawColumnPart(x, 0.0f, 30.0f, floorSide, sectors[0].floorTexture, flatSpan, 0.0f, 0);
        const double dx = 0.8 + 0.6 * static_cast<double>(columnSlopes[x]);
        const double dy = 0.6 - 0.8 * static_cast<double>(columnSlopes[x]);
        for (std::int32_t y = clipBottom; y < maxFrameHeight; ++y) {
            const double depth = eye / static_cast<double>(rowSlopes[y]);
            const auto texel = [](double w) {
                return static_cast<std::int32_t>(std::floor(w * 32.0)) & 63;
            };
            const PackedPixel p = wide[static_cast<std::size_t>(y) * maxFrameWidth + x];
            const bool same =
                static_cast<std::int32_t>(p >> 8 & 0xFF) == texel(eyeX + dx * depth) &&
                static_cast<std::int32_t>(p & 0xFF) == texel(eyeY + dy * depth);
            wrong += same ? 0 : 1;
            ++rows;
        }
    }
    ASSERT_GT(rows, 4000);
    // About 0.5% here (float rounding of the depths); 5% with 320's fraction bits.
    EXPECT_LT(static_cast<double>(wrong) / static_cast<double>(rows), 0.02)
        << wrong << " of " << rows << " pixels";
    resizeFrames(screenWidth, screenHeight);
}

} // namespace
