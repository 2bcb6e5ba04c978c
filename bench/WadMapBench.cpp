// Every map of Debian's freedoom WADs: how long each takes to load, and the frame
// rate of views from its start turned to eight headings, at 320 x 240 and
// 1920 x 1080 on every core. Prints the median and the worst view over all maps
// and the slowest loads; the WADs are read in place and skipped when absent.

#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int headings = 8;
constexpr int framesPerView = 5;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Size {
    std::int32_t width;
    std::int32_t height;
};

void wadMaps(benchmark::State& state) {
    const std::vector<std::string> wads = {"/usr/share/games/doom/freedoom1.wad",
                                           "/usr/share/games/doom/freedoom2.wad"};
    const std::vector<Size> sizes = {{320, 240}, {1920, 1080}};
    const auto cores = static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    for (auto _ : state) {
        std::vector<std::vector<double>> rates(sizes.size());
        std::vector<std::pair<double, std::string>> loads;
        for (const std::string& path : wads) {
            if (!std::filesystem::exists(path)) {
                state.SkipWithError((path + " is not installed (Debian package freedoom)").c_str());
                return;
            }
            WadFile wad;
            std::string error;
            if (!wad.open(path, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            for (const std::string& name : wadMapNames(wad)) {
                for (std::size_t z = 0; z < sizes.size(); ++z) {
                    resizeFrames(sizes[z].width, sizes[z].height);
                    std::vector<PackedPixel> pixels(
                        static_cast<std::size_t>(sizes[z].width * sizes[z].height));
                    const auto started = std::chrono::steady_clock::now();
                    if (!loadLevel(path + ":" + name, error)) {
                        state.SkipWithError(error.c_str());
                        return;
                    }
                    if (z == 0) {
                        loads.emplace_back(seconds(started), name);
                    }
                    setFrameThreads(cores);
                    const float start = levelStart.angle;
                    for (int k = 0; k < headings; ++k) {
                        levelStart.angle = start + static_cast<float>(k) * 0.7853982f;
                        prepareFrames(pixels.data());
                        std::vector<double> times;
                        for (int f = 0; f < framesPerView; ++f) {
                            const auto frame = std::chrono::steady_clock::now();
                            drawFrame();
                            times.push_back(seconds(frame));
                        }
                        std::sort(times.begin(), times.end());
                        rates[z].push_back(1.0 / times[times.size() / 2]);
                    }
                    setFrameThreads(1);
                    freeLevel();
                    HKFreeAll();
                }
            }
        }
        for (std::size_t z = 0; z < sizes.size(); ++z) {
            std::sort(rates[z].begin(), rates[z].end());
            const double median = rates[z][rates[z].size() / 2];
            std::printf("%d x %d on %d threads, %zu views: median %.0f frames/s, worst %.0f\n",
                        sizes[z].width, sizes[z].height, cores, rates[z].size(), median,
                        rates[z].front());
            state.counters["fps_median_" + std::to_string(sizes[z].width)] = median;
            state.counters["fps_worst_" + std::to_string(sizes[z].width)] = rates[z].front();
        }
        std::sort(loads.rbegin(), loads.rend());
        std::printf("load times (slowest first):");
        for (const auto& load : loads) {
            std::printf(" %s %.3f s", load.second.c_str(), load.first);
        }
        std::printf("\n");
    }
    resizeFrames(320, 240);
}

BENCHMARK(wadMaps)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
