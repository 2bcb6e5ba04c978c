#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/FrameThings.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/output/MapView.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

namespace {

constexpr std::int32_t width = 320;
constexpr std::int32_t height = 240;
constexpr int headings = 8;
constexpr std::int32_t planWidth = 640;
constexpr std::int32_t planHeight = 480;

// Every map of Debian's freedoom WADs loads and draws from its start, turned to
// eight headings, into a frame cleared first: every pixel left clear is a gap in
// the imported geometry (textures are opaque, so a drawn pixel is never 0). Each
// frame is also drawn trying every wall of every sector entered, as the frame
// loop's leaving out walls its columns cannot meet must give the same pixels.
// The map view draws each map too.
TEST(FreedoomMaps, EveryMapLoadsAndDrawsWithoutHoles) {
    const std::vector<std::string> wads = {"/usr/share/games/doom/freedoom1.wad",
                                           "/usr/share/games/doom/freedoom2.wad"};
    std::size_t maps = 0;
    std::string holes;
    std::vector<PackedPixel> pixels(static_cast<std::size_t>(width * height));
    std::vector<PackedPixel> everyWall(pixels.size());
    ASSERT_TRUE(resizeFrames(width, height));
    for (const std::string& path : wads) {
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << path << " is not installed (Debian package freedoom): maps not drawn";
        }
        WadFile wad;
        std::string error;
        ASSERT_TRUE(wad.open(path, error)) << error;
        for (const std::string& name : wadMapNames(wad)) {
            ASSERT_TRUE(loadLevel(path + ":" + name, error)) << error;
            ++maps;
            const float start = levelStart.angle;
            std::size_t clear = 0;
            for (int k = 0; k < headings; ++k) {
                levelStart.angle = start + static_cast<float>(k) * 0.7853982f;
                std::fill(pixels.begin(), pixels.end(), 0u);
                prepareFrames(pixels.data());
                drawFrame();
                View view = currentView();
                view.pixels = everyWall.data();
                view.things = frameThings.entries.empty() ? nullptr : &frameThings; // as drawn
                drawViewColumns(view, 0, width);
                EXPECT_TRUE(everyWall == pixels) << name << " heading " << k;
                clear += static_cast<std::size_t>(std::count(pixels.begin(), pixels.end(), 0u));
            }
            if (clear > 0) {
                holes += " " + name + ":" + std::to_string(clear);
            }
            // The map view draws the whole map, the eye on its start.
            std::vector<PackedPixel> plan(static_cast<std::size_t>(planWidth * planHeight));
            const MapView view(sectors, sectorCount, planWidth, planHeight);
            view.drawPlan(plan.data(), {levelStart.x, levelStart.y, start});
            std::int32_t column = 0;
            std::int32_t row = 0;
            view.toPixel(levelStart.x, levelStart.y, column, row);
            EXPECT_EQ(plan[static_cast<std::size_t>(row * planWidth + column)], MapView::eye)
                << name;
            EXPECT_GT(std::count(plan.begin(), plan.end(), MapView::solidWall), planWidth) << name;
            EXPECT_EQ(clear, 0u) << name;
            freeLevel();
            HKFreeAll();
        }
    }
    EXPECT_EQ(maps, 68u);
    std::printf("pixels left clear, per map, over %d headings:%s\n", headings,
                holes.empty() ? " none" : holes.c_str());
    resizeFrames(320, 240);
}

} // namespace
