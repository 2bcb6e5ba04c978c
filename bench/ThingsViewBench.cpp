// One lit hall drawn with 100 things in view and without them, at 320 x 240 and
// 1920 x 1080. Each row gives seconds a frame with the things and the view with them
// against the same view without (things_against_none: their cost a pixel, the frame
// size being the same; the goal is at most 1.3). Both are measured in the same run,
// their batches taken in turn so that other work on the machine falls on each alike;
// each figure is the best of 40 batches of the drawing thread's processor time (at
// 320 x 240 a batch is a few milliseconds, and fewer let a busy machine show).

#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FramePng.h"

#include "LevelFrameSeconds.h"

#include <benchmark/benchmark.h>
#include <png.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

namespace {

constexpr int batches = 40;

// A hall 48 long looking east from its west end, light 160; with things, ten rows
// of ten stand from 7 to 43 units ahead across the middle of the view, each a
// 32 x 64 picture, a third of it clear, one unit wide and two tall: together they
// fill a band across the middle of the view, a seventh of the frame, most of them
// in part behind nearer ones.
std::string level(bool things) {
    std::string list;
    for (int row = 0; row < 10 && things; ++row) {
        for (int column = 0; column < 10; ++column) {
            list += list.empty() ? "" : ", ";
            list += R"({ "x": )" + std::to_string(8 + 4 * row) + R"(, "y": )" +
                    std::to_string(-4.5 + column) + R"(, "sprite": "post" })";
        }
    }
    return R"({ "duskhall-level": 1,
  "textures": { "wall": "wall.png", "flat": "flat.png", "post": "post.png" },
  "vertices": [[0, -8], [48, -8], [48, 8], [0, 8]],
  "sectors": [{ "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 4, "wall-texture": "wall",
                "floor-texture": "flat", "ceiling-texture": "flat", "light": 160 }],
  "sprites": [{ "name": "post", "frames": [[{ "texture": "post", "foot": [16, 64] }]],
                "texels-per-unit": 32 }],
  "things": [)" +
           list + R"(],
  "start": { "x": 1, "y": 0, "angle": 0 } })";
}

void writeTextures(const std::filesystem::path& dir) {
    std::vector<PackedPixel> texels(64 * 64);
    for (int i = 0; i < 64 * 64; ++i) {
        texels[static_cast<std::size_t>(i)] = 0xFF000000u | (i % 64 * 4u) << 16 | (i / 64 * 4u);
    }
    writeFramePng((dir / "wall.png").string().c_str(), texels.data(), 64, 64);
    writeFramePng((dir / "flat.png").string().c_str(), texels.data(), 64, 64);
    std::vector<PackedPixel> post(32 * 64);
    for (int i = 0; i < 32 * 64; ++i) {
        const int x = i % 32;
        post[static_cast<std::size_t>(i)] =
            x % 3 == 0 ? 0x00000000u : 0xFF000000u | (x * 8u) << 8 | (i / 32 * 4u);
    }
    png_image image = {};
    image.version = PNG_IMAGE_VERSION;
    image.width = 32;
    image.height = 64;
    image.format = PNG_FORMAT_BGRA;
    png_image_write_to_file(&image, (dir / "post.png").string().c_str(), 0, post.data(), 0,
                            nullptr);
}

std::filesystem::path benchFolder() {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / "duskhall-things-bench";
    std::filesystem::create_directories(dir);
    writeTextures(dir);
    return dir;
}

double batchSeconds(bool things, std::int32_t width, std::int32_t height,
                    std::vector<PackedPixel>& target) {
    static const std::filesystem::path dir = benchFolder();
    return levelFrameSeconds(dir / "level.json", level(things), width, height, target);
}

// Arguments: width, height.
void thingsAndNone(benchmark::State& state) {
    const auto width = static_cast<std::int32_t>(state.range(0));
    const auto height = static_cast<std::int32_t>(state.range(1));
    std::vector<PackedPixel> target(static_cast<std::size_t>(width) * height, 0);
    double none = 1e9, things = 1e9;
    for (auto _ : state) {
        for (int batch = 0; batch < batches; ++batch) {
            none = std::min(none, batchSeconds(false, width, height, target));
            things = std::min(things, batchSeconds(true, width, height, target));
        }
    }
    const double pixels = static_cast<double>(width) * height;
    state.counters["things_ms_per_frame"] = things * 1e3;
    state.counters["none_ms_per_frame"] = none * 1e3;
    state.counters["things_ns_per_pixel"] = things / pixels * 1e9;
    state.counters["things_against_none"] = things / none;
}

} // namespace

BENCHMARK(thingsAndNone)
    ->ArgNames({"width", "height"})
    ->Args({320, 240})
    ->Args({1920, 1080})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
