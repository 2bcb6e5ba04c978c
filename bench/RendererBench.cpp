// One frame of the demo's animation, measured against the cheapest thing a frame
// could be: writing all 76 800 pixels once with std::fill, timed in the same run.
// The frame_per_fill counter is the ratio of the two.

#include "renderer/FrameLoop.h"
#include "renderer/Housekeeping.h"
#include "renderer/Level.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <ctime>
#include <filesystem>
#include <vector>

namespace {

// Processor time rather than wall time: other work on the machine then stretches
// both measurements alike instead of whichever happens to run beside it.
double cpuSeconds() {
    return static_cast<double>(std::clock()) / CLOCKS_PER_SEC;
}

std::vector<PackedPixel> pixels(screenPixels, 0);

// Best of several batches: the least disturbed estimate of one fill.
double fillSeconds() {
    double best = 1e9;
    for (int batch = 0; batch < 20; ++batch) {
        constexpr int fills = 200;
        const double start = cpuSeconds();
        for (int i = 0; i < fills; ++i) {
            std::fill(pixels.begin(), pixels.end(), static_cast<PackedPixel>(i));
            benchmark::ClobberMemory();
        }
        best = std::min(best, (cpuSeconds() - start) / fills);
    }
    return best;
}

void fillFramebuffer(benchmark::State& state) {
    PackedPixel value = 0;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), ++value);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * screenPixels);
}

void animationFrame(benchmark::State& state) {
    prepareFrames(pixels.data());
    const double fill = fillSeconds();
    const double start = cpuSeconds();
    for (auto _ : state) {
        drawFrame();
        benchmark::ClobberMemory();
    }
    const double frame = (cpuSeconds() - start) / static_cast<double>(state.iterations());
    state.SetItemsProcessed(state.iterations() * screenPixels);
    state.counters["frame_per_fill"] = frame / fill;
    state.counters["fill_ns"] = fill * 1e9;
}

BENCHMARK(fillFramebuffer);
BENCHMARK(animationFrame);

} // namespace

int main(int argc, char** argv) {
    // The real textures: the frame's cost depends a little on what it shows.
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    buildLevel();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    freeLevel();
    HKFreeAll();
    return 0;
}
