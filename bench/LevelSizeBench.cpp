// The same view drawn in a small level and inside a level of 1000 sectors whose
// visible part is the same: a frame should cost what it shows, not what the
// level holds. Both levels share nine rooms the eye looks into; behind the eye a
// passage leads on, in the large level into a maze of rooms of every height that
// no ray reaches. Reported as the large level's time per frame over the small
// one's, both measured in the same run.

#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FrameCrc.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int visibleSide = 3;  // rooms across and along in front of the eye
constexpr float room = 4.0f;    // a room's side
constexpr int mazeColumns = 33; // the hidden maze: 33 x 30 rooms
constexpr int mazeRows = 30;
constexpr int runs = 15;
constexpr int framesPerRun = 100;

// A level text: the visible rooms, the passage behind them and, when hidden is
// set, the maze beyond it.
class LevelText {
  public:
    std::string make(bool hidden) {
        // The rooms in front: x from 0 to 12, y from 0 to 12, heights varying.
        for (int r = 0; r < visibleSide; ++r) {
            for (int c = 0; c < visibleSide; ++c) {
                const float floor = 0.1f * static_cast<float>((r * 3 + c) % 4);
                addRoom(c * room, r * room, room, room, floor, 3.0f + 0.3f * static_cast<float>(c));
            }
        }
        // The passage: west of the middle room, the eye's back to it.
        addRoom(-room, room, room, room, 0.0f, 3.0f);
        if (hidden) {
            // Its west side opens on the maze's eastmost column.
            const float mazeRight = -room;
            for (int r = 0; r < mazeRows; ++r) {
                for (int c = 0; c < mazeColumns; ++c) {
                    const float x = mazeRight - room * static_cast<float>(c + 1);
                    const float y = room * static_cast<float>(r - mazeRows / 2 + 1);
                    const int i = r * mazeColumns + c;
                    // Heights of their own: no two rooms share a flat.
                    addRoom(x, y, room, room, 0.001f * static_cast<float>(i),
                            2.5f + 0.001f * static_cast<float>(i));
                }
            }
        }
        std::ostringstream text;
        text << "{\"duskhall-level\": 1, \"textures\": {\"w\": \"wall2.png\", \"f\": "
                "\"floor1.png\", \"c\": \"floor4.png\"}, \"vertices\": [";
        for (std::size_t v = 0; v < vertices_.size(); ++v) {
            text << (v ? ", " : "") << "[" << vertices_[v].first << ", " << vertices_[v].second
                 << "]";
        }
        text << "], \"sectors\": [" << sectors_.str()
             << "], \"start\": {\"x\": 1.0, \"y\": 6.5, \"angle\": 0.1}}";
        return text.str();
    }

  private:
    // Every room's corners are shared with the rooms beside it, so the loader
    // finds the portals between them; their edges are whole, never split.
    int vertex(float x, float y) {
        for (std::size_t v = 0; v < vertices_.size(); ++v) {
            if (vertices_[v].first == x && vertices_[v].second == y) {
                return static_cast<int>(v);
            }
        }
        vertices_.emplace_back(x, y);
        return static_cast<int>(vertices_.size() - 1);
    }

    void addRoom(float x, float y, float w, float h, float floor, float ceiling) {
        const int a = vertex(x, y), b = vertex(x + w, y), c = vertex(x + w, y + h),
                  d = vertex(x, y + h);
        sectors_ << (count_++ ? ", " : "") << "{\"outline\": [" << a << ", " << b << ", " << c
                 << ", " << d << "], \"floor\": " << floor << ", \"ceiling\": " << ceiling
                 << ", \"wall-texture\": \"w\", \"floor-texture\": \"f\", "
                    "\"ceiling-texture\": \"c\"}";
    }

    std::vector<std::pair<float, float>> vertices_;
    std::ostringstream sectors_;
    int count_ = 0;
};

std::vector<PackedPixel> pixels(screenPixels, 0);

struct Measured {
    double seconds; // best time per frame
    std::uint32_t crc;
    std::int32_t sectors;
};

// One run of frames in the level: loaded, drawn from its start, freed again, so
// the two levels take turns and neither gains from going second.
void measureRun(bool hidden, Measured& result) {
    const std::filesystem::path path =
        std::filesystem::temp_directory_path() /
        (hidden ? "duskhall-bench-large.json" : "duskhall-bench-small.json");
    std::ofstream(path) << LevelText().make(hidden);
    std::string error;
    if (!loadLevel(path.string(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        std::exit(1);
    }
    std::filesystem::remove(path);
    std::fill(pixels.begin(), pixels.end(), 0);
    prepareFrames(pixels.data());
    const auto start = std::chrono::steady_clock::now();
    for (int i = 0; i < framesPerRun; ++i) {
        drawFrame();
        benchmark::ClobberMemory();
    }
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    result.seconds = std::min(result.seconds, seconds / framesPerRun);
    result.crc = frameCrc(pixels.data(), pixels.size());
    result.sectors = sectorCount;
    freeLevel();
    HKFreeAll();
}

// The argument is the number of threads drawing each frame's columns.
void sameViewInALargeLevel(benchmark::State& state) {
    setFrameThreads(static_cast<std::int32_t>(state.range(0)));
    Measured small = {1e9, 0, 0}, large = {1e9, 0, 0};
    for (auto _ : state) {
        for (int run = 0; run < runs; ++run) {
            measureRun(false, small);
            measureRun(true, large);
        }
    }
    setFrameThreads(1);
    if (small.crc != large.crc) {
        state.SkipWithError("the two levels do not show the same picture");
        return;
    }
    state.counters["small_sectors"] = small.sectors;
    state.counters["large_sectors"] = large.sectors;
    state.counters["small_us_per_frame"] = small.seconds * 1e6;
    state.counters["large_us_per_frame"] = large.seconds * 1e6;
    state.counters["large_over_small"] = large.seconds / small.seconds;
}

} // namespace

int main(int argc, char** argv) {
    // The textures are found where the built-in level finds them.
    std::filesystem::current_path(std::filesystem::path(DUSKHALL_SOURCE_DIR) / "assets");
    benchmark::Initialize(&argc, argv);
    benchmark::RegisterBenchmark("sameViewInALargeLevel", sameViewInALargeLevel)
        ->Arg(1)
        ->Iterations(1)
        ->UseRealTime()
        ->Unit(benchmark::kMillisecond);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
