// The animation's frames at sizes from 320 x 240 to 3840 x 2160, on one thread and
// on every core (each frame's columns shared out, as the demo draws them): frames a
// second and nanoseconds a pixel, and the cost of a pixel against 320 x 240's on
// the same threads, measured in the same run. Each figure is the best of a few
// batches of the same frames, the one least disturbed by other work on the machine.

#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>
#include <thread>
#include <utility>
#include <vector>

namespace {

constexpr int batches = 5;
constexpr long long pixelsPerBatch = 30'000'000; // enough frames to outlast a timer's grain
constexpr long long leastFramesPerBatch = 10;

struct Size {
    std::int32_t width;
    std::int32_t height;
};
constexpr Size sizes[] = {{320, 240}, {640, 480}, {1280, 960}, {1920, 1080}, {3840, 2160}};

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Best seconds a frame at this size on this many threads.
double frameSeconds(Size size, std::int32_t threads) {
    const long long pixels = static_cast<long long>(size.width) * size.height;
    const long long frames = std::max(leastFramesPerBatch, pixelsPerBatch / pixels);
    resizeFrames(size.width, size.height);
    std::vector<PackedPixel> target(static_cast<std::size_t>(pixels), 0);
    setFrameThreads(threads);
    double best = 1e9;
    for (int batch = 0; batch < batches; ++batch) {
        prepareFrames(target.data());
        const double start = now();
        for (long long i = 0; i < frames; ++i) {
            drawFrame();
        }
        benchmark::DoNotOptimize(target.data());
        best = std::min(best, (now() - start) / static_cast<double>(frames));
    }
    setFrameThreads(1);
    return best;
}

// 320 x 240's seconds a frame on each number of threads, measured once and used
// for its own row as well.
double baseFrameSeconds(std::int32_t threads) {
    static std::map<std::int32_t, double> measured;
    const auto found = measured.find(threads);
    if (found != measured.end()) {
        return found->second;
    }
    const double seconds = frameSeconds(sizes[0], threads);
    measured.emplace(threads, seconds);
    return seconds;
}

double nsPerPixel(double frameSeconds, Size size) {
    return frameSeconds * 1e9 / (static_cast<double>(size.width) * size.height);
}

// Arguments: width, height, threads.
void framesAtSize(benchmark::State& state) {
    const Size size = {static_cast<std::int32_t>(state.range(0)),
                       static_cast<std::int32_t>(state.range(1))};
    const auto threads = static_cast<std::int32_t>(state.range(2));
    const double base = nsPerPixel(baseFrameSeconds(threads), sizes[0]);
    const bool isBase = size.width == sizes[0].width && size.height == sizes[0].height;
    double frame = 0.0;
    for (auto _ : state) {
        frame = isBase ? baseFrameSeconds(threads) : frameSeconds(size, threads);
    }
    state.counters["threads"] = threads;
    state.counters["fps"] = 1.0 / frame;
    state.counters["ns_per_pixel"] = nsPerPixel(frame, size);
    state.counters["pixel_cost_vs_320x240"] = nsPerPixel(frame, size) / base;
}

} // namespace

int main(int argc, char** argv) {
    // The real textures: the frame's cost depends a little on what it shows.
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    buildLevel();
    benchmark::Initialize(&argc, argv);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    std::vector<int> threadCounts = {1};
    if (cores > 1) {
        threadCounts.push_back(cores);
    }
    for (const Size& size : sizes) {
        for (int threads : threadCounts) {
            benchmark::RegisterBenchmark("framesAtSize", framesAtSize)
                ->Args({size.width, size.height, threads})
                ->ArgNames({"w", "h", "threads"})
                ->Iterations(1)
                ->UseRealTime()
                ->Unit(benchmark::kMillisecond);
        }
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    freeLevel();
    HKFreeAll();
    return 0;
}
