// One view drawn at full light and in the dark, plain, through a see-through middle,
// under a sky and with both, at 320 x 240 and 1920 x 1080. Each row gives seconds a
// frame of the dark view, the dark view against the same view at full light
// (lit_against_unlit: the cost of light a pixel, the frame size being the same),
// and the view at full light against the plain one of its size. All three are
// measured in the same run, their batches taken in turn so that other work on the
// machine falls on each alike; each figure is the best batch of the drawing
// thread's processor time.

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

constexpr int batches = 25;

// The drawing thread's own processor time: on a machine shared with other work, the
// time it was not running is not counted against the frames.
struct Look {
    bool middle;
    bool sky;
    bool lit;
};

// A hall looking east through an opening as wide as itself into a second hall; lit,
// the first at light 160 and the far one at 96, with fake contrast, so walls, floors
// and middles are all shaded at every depth.
std::string level(Look look) {
    const std::string top = look.sky ? "sky" : "flat";
    const auto light = [&](const char* value) {
        return look.lit ? std::string(R"(, "light": )") + value : std::string();
    };
    return std::string(R"({ "duskhall-level": 1, "sky": "sky", )") +
           (look.lit ? R"("fake-contrast": true, )" : "") + R"(
  "textures": { "wall": "wall.png", "flat": "flat.png", "sky": "sky.png", "grate": "grate.png" },
  "vertices": [[0, -4], [8, -4], [8, 4], [0, 4], [16, -4], [16, 4]],
  "sectors": [
    { "outline": [0, 1, 2, 3], "floor": 0, "ceiling": 4, "wall-texture": "wall",
      "floor-texture": "flat", "ceiling-texture": ")" +
           top + "\"" + light("160") + R"(, "sides": [{ "edge": 1)" +
           (look.middle ? R"(, "middle": "grate")" : "") + R"( }] },
    { "outline": [1, 4, 5, 2], "floor": 0, "ceiling": 5, "wall-texture": "wall",
      "floor-texture": "flat", "ceiling-texture": ")" +
           top + "\"" + light("96") + R"( } ],
  "start": { "x": 1, "y": 0, "angle": 0 } })";
}

void writeTextures(const std::filesystem::path& dir) {
    std::vector<PackedPixel> texels(64 * 64);
    const struct {
        const char* file;
        PackedPixel (*texel)(int x, int y);
    } images[] = {
        {"wall.png", [](int x, int y) { return 0xFF000000u | (x * 4u) << 16 | (y * 4u) << 8; }},
        {"flat.png", [](int x, int y) { return 0xFF000000u | ((x ^ y) * 4u) << 8 | 0x40u; }},
        {"sky.png", [](int x, int y) { return 0xFF000000u | (y * 2u) << 16 | (x * 4u); }},
    };
    for (const auto& image : images) {
        for (int i = 0; i < 64 * 64; ++i) {
            texels[static_cast<std::size_t>(i)] = image.texel(i % 64, i / 64);
        }
        writeFramePng((dir / image.file).string().c_str(), texels.data(), 64, 64);
    }
    for (int i = 0; i < 64 * 64; ++i) {
        const bool bar = i % 64 % 8 < 2 || i / 64 % 16 < 2;
        texels[static_cast<std::size_t>(i)] = bar ? 0xFF808890u : 0x00000000u;
    }
    png_image grate = {};
    grate.version = PNG_IMAGE_VERSION;
    grate.width = 64;
    grate.height = 64;
    grate.format = PNG_FORMAT_BGRA;
    png_image_write_to_file(&grate, (dir / "grate.png").string().c_str(), 0, texels.data(), 0,
                            nullptr);
}

std::filesystem::path benchFolder() {
    const std::filesystem::path dir = std::filesystem::temp_directory_path() / "duskhall-lit-bench";
    std::filesystem::create_directories(dir);
    writeTextures(dir);
    return dir;
}

// Seconds a frame of one batch of the view.
double batchSeconds(Look look, std::int32_t width, std::int32_t height,
                    std::vector<PackedPixel>& target) {
    static const std::filesystem::path dir = benchFolder();
    return levelFrameSeconds(dir / "level.json", level(look), width, height, target);
}

// Arguments: width, height, middle, sky.
void litAndUnlit(benchmark::State& state) {
    const auto width = static_cast<std::int32_t>(state.range(0));
    const auto height = static_cast<std::int32_t>(state.range(1));
    const bool middle = state.range(2) != 0;
    const bool sky = state.range(3) != 0;
    std::vector<PackedPixel> target(static_cast<std::size_t>(width) * height, 0);
    double plain = 1e9, unlit = 1e9, lit = 1e9;
    for (auto _ : state) {
        for (int batch = 0; batch < batches; ++batch) {
            plain = std::min(plain, batchSeconds({false, false, false}, width, height, target));
            unlit = std::min(unlit, batchSeconds({middle, sky, false}, width, height, target));
            lit = std::min(lit, batchSeconds({middle, sky, true}, width, height, target));
        }
    }
    state.counters["lit_ms_per_frame"] = lit * 1e3;
    state.counters["unlit_ms_per_frame"] = unlit * 1e3;
    state.counters["lit_against_unlit"] = lit / unlit;
    state.counters["unlit_against_plain"] = unlit / plain;
}

} // namespace

BENCHMARK(litAndUnlit)
    ->ArgNames({"width", "height", "middle", "sky"})
    ->Args({320, 240, 0, 0})
    ->Args({320, 240, 1, 0})
    ->Args({320, 240, 0, 1})
    ->Args({320, 240, 1, 1})
    ->Args({1920, 1080, 0, 0})
    ->Args({1920, 1080, 1, 0})
    ->Args({1920, 1080, 0, 1})
    ->Args({1920, 1080, 1, 1})
    ->Iterations(1)
    ->Unit(benchmark::kMillisecond);

BENCHMARK_MAIN();
