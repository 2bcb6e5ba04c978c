// Frames of the demo's animation on one thread and on every core (each frame's
// columns shared out, and whole frames side by side), measured against the
// cheapest thing a frame could be: writing all 76 800 pixels once with std::fill,
// timed in the same run. Each figure is the best of many short batches, the one
// least disturbed by other work on the machine.

#include "renderer/draw/FrameBatch.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>
#include <vector>

namespace {

constexpr int batches = 100;
constexpr int framesPerBatch = 10;

std::vector<PackedPixel> pixels(screenPixels, 0);

double now() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch())
        .count();
}

// Best seconds per call of step over the batches.
template <class Step> double bestSeconds(Step step) {
    double best = 1e9;
    for (int batch = 0; batch < batches; ++batch) {
        const double start = now();
        for (int i = 0; i < framesPerBatch; ++i) {
            step(i);
            benchmark::ClobberMemory();
        }
        best = std::min(best, (now() - start) / framesPerBatch);
    }
    return best;
}

double fillSeconds() {
    return bestSeconds(
        [](int i) { std::fill(pixels.begin(), pixels.end(), static_cast<PackedPixel>(i)); });
}

void fillFramebuffer(benchmark::State& state) {
    PackedPixel value = 0;
    for (auto _ : state) {
        std::fill(pixels.begin(), pixels.end(), ++value);
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * screenPixels);
}

// Frames 1 to runFrames of the animation, the same frames for every way of drawing
// them; each figure is the best of a few runs.
constexpr int runs = 5;
constexpr long long runFrames = 1000;

template <class Run> double bestFrameSeconds(Run run) {
    double best = 1e9;
    for (int i = 0; i < runs; ++i) {
        std::fill(pixels.begin(), pixels.end(), 0);
        prepareFrames(pixels.data());
        const double start = now();
        run();
        best = std::min(best, (now() - start) / static_cast<double>(runFrames));
    }
    return best;
}

void report(benchmark::State& state, double frame) {
    const double fill = fillSeconds();
    state.counters["threads"] = static_cast<double>(state.range(0));
    state.counters["ns_per_frame"] = frame * 1e9;
    state.counters["fps"] = 1.0 / frame;
    state.counters["fills_per_frame"] = frame / fill;
    state.counters["fill_ns"] = fill * 1e9;
}

// The argument is the number of threads drawing each frame's columns.
void animationFrame(benchmark::State& state) {
    setFrameThreads(static_cast<std::int32_t>(state.range(0)));
    double frame = 0.0;
    for (auto _ : state) {
        frame = bestFrameSeconds([] {
            for (long long i = 0; i < runFrames; ++i) {
                drawFrame();
            }
        });
    }
    setFrameThreads(1);
    report(state, frame);
}

// The argument is the number of threads drawing whole frames side by side.
void wholeFrames(benchmark::State& state) {
    const auto threads = static_cast<std::int32_t>(state.range(0));
    double frame = 0.0;
    for (auto _ : state) {
        frame = bestFrameSeconds(
            [threads] { drawFrameRun(runFrames, threads, [](long long, const PackedPixel*) {}); });
    }
    report(state, frame);
}

} // namespace

int main(int argc, char** argv) {
    // The real textures: the frame's cost depends a little on what it shows.
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    buildLevel();
    benchmark::Initialize(&argc, argv);
    BENCHMARK(fillFramebuffer);
    const int cores = static_cast<int>(std::max(1u, std::thread::hardware_concurrency()));
    auto* frames = benchmark::RegisterBenchmark("animationFrame", animationFrame)
                       ->Arg(1)
                       ->Iterations(1)
                       ->UseRealTime()
                       ->Unit(benchmark::kMillisecond);
    if (cores > 1) {
        frames->Arg(cores);
        benchmark::RegisterBenchmark("wholeFrames", wholeFrames)
            ->Arg(cores)
            ->Iterations(1)
            ->UseRealTime()
            ->Unit(benchmark::kMillisecond);
    }
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    freeLevel();
    HKFreeAll();
    return 0;
}
