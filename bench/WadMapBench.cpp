// Every map of Debian's freedoom WADs: how long each takes to load, and the frame
// rate of views sampled along it at 320 x 240 and 1920 x 1080 on every core: its
// start turned to eight headings, and a fixed set of points inside its sectors,
// each looked from in two directions. Prints the median and the worst view over
// all maps, with the maps' things and with them left out, each map's load time, and the built-in
// animation's frames at the same sizes drawn in the same run, as the baseline the maps' figures
// stand against. The WADs are read in place and the maps skipped when they are absent.

#include "renderer/camera/FreeCamera.h"
#include "renderer/draw/FixedPoint.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/SectorHolds.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelThings.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

namespace {

constexpr int headings = 8;
constexpr int sampledSectors = 16;
constexpr int framesPerView = 3;
constexpr long long animationFrames = 300;
// A sampled eye stands this far (8 map units) inside the sector from a wall's
// middle, looking across the sector and then turned by a fixed angle.
constexpr float inset = 0.25f;
constexpr float secondHeading = 1.9f;

double seconds(std::chrono::steady_clock::time_point since) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - since).count();
}

struct Size {
    std::int32_t width;
    std::int32_t height;
};

struct Eye {
    float x;
    float y;
    float angle;
    std::int32_t sector;
};

// The start at eight headings, then for sectors spread evenly over the map's
// list, the first wall whose middle, moved inset into the sector, lies inside it:
// the same views on every run. Sectors too low for the walker (closed doors) are
// passed over.
std::vector<Eye> sampleViews() {
    std::vector<Eye> eyes;
    for (int k = 0; k < headings; ++k) {
        eyes.push_back({levelStart.x, levelStart.y,
                        levelStart.angle + static_cast<float>(k) * 0.7853982f, levelStart.sector});
    }
    for (int k = 0; k < sampledSectors; ++k) {
        const std::int32_t s =
            static_cast<std::int32_t>(static_cast<long long>(k) * sectorCount / sampledSectors);
        const Sector& sector = sectors[s];
        if (sector.ceilingHeight - sector.floorHeight < levelBody.height) {
            continue;
        }
        for (std::int32_t i = 0; i < sector.wallCount; ++i) {
            const Wall& wall = sector.walls[i];
            const Vec3 middle = wall.a + wall.unit * (wall.length * 0.5f);
            const Vec3 p = middle + wall.normal * inset;
            if (wall.length > 2.0f * inset && sectorHolds(sector, p.x, p.y)) {
                const float across = static_cast<float>(std::atan2(
                    static_cast<double>(wall.normal.y), static_cast<double>(wall.normal.x)));
                eyes.push_back({p.x, p.y, across, s});
                eyes.push_back({p.x, p.y, across + secondHeading, s});
                break;
            }
        }
    }
    return eyes;
}

void lookFrom(const Eye& eye) {
    cameraSector = eye.sector;
    cameraPos = Vec3(eye.x, eye.y, eyeHeightIn(sectors[eye.sector], levelBody));
    viewDir = Vec3(cosineOf(eye.angle), sineOf(eye.angle), 0.0f);
    viewSide = Vec3(sineOf(eye.angle), -viewDir.x, 0.0f);
}

// The median frame rate of a few frames of one view.
double viewRate() {
    double times[framesPerView];
    for (double& time : times) {
        const auto frame = std::chrono::steady_clock::now();
        drawView();
        time = seconds(frame);
    }
    std::sort(times, times + framesPerView);
    return 1.0 / times[framesPerView / 2];
}

// Frames 1 to animationFrames of the built-in animation, on every core.
double animationRate(const Size& size, std::int32_t cores) {
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    buildLevel();
    std::filesystem::current_path(previous);
    resizeFrames(size.width, size.height);
    std::vector<PackedPixel> pixels(static_cast<std::size_t>(size.width) * size.height, 0);
    setFrameThreads(cores);
    prepareFrames(pixels.data());
    const auto started = std::chrono::steady_clock::now();
    for (long long f = 0; f < animationFrames; ++f) {
        drawFrame();
    }
    const double rate = static_cast<double>(animationFrames) / seconds(started);
    setFrameThreads(1);
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
    return rate;
}

struct MapFigures {
    std::string name;
    double load;
};

// The frame rates of every view at one size, with the maps' things or without.
struct Tally {
    std::vector<double> rates;
    double worst = 1e30;
    std::string worstView;

    void add(double rate, const std::string& view) {
        if (rate < worst) {
            worst = rate;
            worstView = view;
        }
        rates.push_back(rate);
    }
    double median() {
        std::sort(rates.begin(), rates.end());
        return rates[rates.size() / 2];
    }
};

void wadMaps(benchmark::State& state) {
    const std::vector<std::string> wads = {"/usr/share/games/doom/freedoom1.wad",
                                           "/usr/share/games/doom/freedoom2.wad"};
    const std::vector<Size> sizes = {{320, 240}, {1920, 1080}};
    const auto cores = static_cast<std::int32_t>(std::max(1u, std::thread::hardware_concurrency()));
    for (const std::string& path : wads) {
        if (!std::filesystem::exists(path)) {
            state.SkipWithError((path + " is not installed (Debian package freedoom)").c_str());
            return;
        }
    }
    for (auto _ : state) {
        // [size][0]: the views as the maps are, things and all; [size][1]: the
        // same views with the things left out.
        std::vector<std::array<Tally, 2>> tallies(sizes.size());
        std::vector<MapFigures> maps;
        std::vector<double> baseline;
        long long things = 0;
        for (const Size& size : sizes) {
            baseline.push_back(animationRate(size, cores));
        }
        for (const std::string& path : wads) {
            WadFile wad;
            std::string error;
            if (!wad.open(path, error)) {
                state.SkipWithError(error.c_str());
                return;
            }
            for (const std::string& name : wadMapNames(wad)) {
                const auto started = std::chrono::steady_clock::now();
                if (!loadLevel(path + ":" + name, error)) {
                    state.SkipWithError(error.c_str());
                    return;
                }
                maps.push_back({name, seconds(started)});
                things += levelThingCount;
                const std::vector<Eye> eyes = sampleViews();
                setFrameThreads(cores);
                for (std::size_t z = 0; z < sizes.size(); ++z) {
                    resizeFrames(sizes[z].width, sizes[z].height);
                    std::vector<PackedPixel> pixels(static_cast<std::size_t>(sizes[z].width) *
                                                    sizes[z].height);
                    setFramebuffer(pixels.data());
                    for (std::size_t v = 0; v < eyes.size(); ++v) {
                        lookFrom(eyes[v]);
                        const std::string view = name + " view " + std::to_string(v);
                        tallies[z][0].add(viewRate(), view);
                        const std::int32_t placed = levelThingCount;
                        levelThingCount = 0; // drawn as if the map had none
                        tallies[z][1].add(viewRate(), view);
                        levelThingCount = placed;
                    }
                    setFramebuffer(nullptr);
                }
                setFrameThreads(1);
                freeLevel();
                HKFreeAll();
            }
        }
        std::printf("%lld things in %zu maps\n", things, maps.size());
        for (std::size_t z = 0; z < sizes.size(); ++z) {
            const std::string size =
                std::to_string(sizes[z].width) + "x" + std::to_string(sizes[z].height);
            Tally& with = tallies[z][0];
            Tally& without = tallies[z][1];
            const double median = with.median();
            const double bare = without.median();
            std::printf("%s on %d threads, %zu views: median %.0f frames/s, worst %.0f (%s); "
                        "without things median %.0f, worst %.0f (%s); built-in animation "
                        "%.0f frames/s\n",
                        size.c_str(), cores, with.rates.size(), median, with.worst,
                        with.worstView.c_str(), bare, without.worst, without.worstView.c_str(),
                        baseline[z]);
            state.counters["fps_median_" + size] = median;
            state.counters["fps_worst_" + size] = with.worst;
            state.counters["fps_median_no_things_" + size] = bare;
            state.counters["fps_worst_no_things_" + size] = without.worst;
            state.counters["things_cost_" + size] = bare / median;
            state.counters["fps_animation_" + size] = baseline[z];
        }
        std::printf("load times:");
        double slowest = 0.0;
        for (const MapFigures& map : maps) {
            std::printf(" %s %.3f s", map.name.c_str(), map.load);
            slowest = std::max(slowest, map.load);
        }
        std::printf("\n");
        state.counters["load_slowest_s"] = slowest;
    }
    resizeFrames(320, 240);
}

BENCHMARK(wadMaps)->Iterations(1)->Unit(benchmark::kSecond);

} // namespace

BENCHMARK_MAIN();
