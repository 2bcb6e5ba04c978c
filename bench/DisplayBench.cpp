// showFrame through the library against the same frame shown with plain SDL2 (a
// streaming ARGB8888 texture: update, copy, present), vsync off, at three frame
// sizes, on the X display it is given (scripts/run-benchmarks starts an Xvfb).
// Prints frames a second and CPU time per frame side by side, with the ratio of
// the CPU times (the goal: at or below 1.0).

#include <duskhall/duskhall.h>

#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdint>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

struct FrameSize {
    int width;
    int height;
};

constexpr FrameSize sizes[] = {{320, 240}, {640, 480}, {1920, 1080}};

std::vector<duskhall::PackedPixel> testFrame(const FrameSize& size) {
    std::vector<duskhall::PackedPixel> frame(static_cast<std::size_t>(size.width) *
                                             static_cast<std::size_t>(size.height));
    for (std::size_t i = 0; i < frame.size(); ++i) {
        frame[i] = 0xFF000000u | static_cast<std::uint32_t>(i * 2654435761u >> 8);
    }
    return frame;
}

void showThroughTheLibrary(benchmark::State& state, FrameSize size) {
    duskhall::ScreenHandle screen("duskhall bench", size.width, size.height,
                                  duskhall::ScreenMode::Windowed, duskhall::PixelMode::Integer);
    if (!screen.isOpen()) {
        state.SkipWithError(duskhall::displayError());
        return;
    }
    screen.setVsync(false);
    const std::vector<duskhall::PackedPixel> frame = testFrame(size);
    screen.showFrame(frame.data()); // the window is shown with the first frame
    for (auto _ : state) {
        screen.showFrame(frame.data());
    }
}

// What a program of its own would do with SDL2 alone, made as the library makes
// its renderer (accelerated, else software).
void showThroughSdl2(benchmark::State& state, FrameSize size) {
    SDL_InitSubSystem(SDL_INIT_VIDEO);
    SDL_Window* window =
        SDL_CreateWindow("sdl2 bench", SDL_WINDOWPOS_CENTERED, SDL_WINDOWPOS_CENTERED, size.width,
                         size.height, SDL_WINDOW_RESIZABLE);
    SDL_Renderer* renderer =
        window != nullptr ? SDL_CreateRenderer(window, -1, SDL_RENDERER_ACCELERATED) : nullptr;
    if (window != nullptr && renderer == nullptr) {
        renderer = SDL_CreateRenderer(window, -1, SDL_RENDERER_SOFTWARE);
    }
    SDL_Texture* texture =
        renderer != nullptr
            ? SDL_CreateTexture(renderer, SDL_PIXELFORMAT_ARGB8888, SDL_TEXTUREACCESS_STREAMING,
                                size.width, size.height)
            : nullptr;
    if (texture == nullptr) {
        state.SkipWithError(SDL_GetError());
    } else {
        const std::vector<duskhall::PackedPixel> frame = testFrame(size);
        const int pitch = size.width * 4;
        for (auto _ : state) {
            SDL_UpdateTexture(texture, nullptr, frame.data(), pitch);
            SDL_RenderCopy(renderer, texture, nullptr, nullptr);
            SDL_RenderPresent(renderer);
        }
        SDL_DestroyTexture(texture);
    }
    if (renderer != nullptr) {
        SDL_DestroyRenderer(renderer);
    }
    if (window != nullptr) {
        SDL_DestroyWindow(window);
    }
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
}

struct Timing {
    double realSeconds = 0.0; // per frame
    double cpuSeconds = 0.0;
};

// Keeps the median of each case's repetitions.
class MedianCollector : public benchmark::BenchmarkReporter {
  public:
    std::map<std::string, Timing> timings;
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name != "median") {
                continue;
            }
            const double unit = run.time_unit == benchmark::kMicrosecond ? 1e-6 : 1e-9;
            timings[run.run_name.function_name] =
                Timing{run.GetAdjustedRealTime() * unit, run.GetAdjustedCPUTime() * unit};
        }
    }
    void Finalize() override {}
};

std::string sizeName(const FrameSize& size) {
    return std::to_string(size.width) + "x" + std::to_string(size.height);
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    // Side by side per size, so both see the machine in the same state.
    for (const FrameSize& size : sizes) {
        for (benchmark::internal::Benchmark* b :
             {benchmark::RegisterBenchmark(("library/" + sizeName(size)).c_str(),
                                           showThroughTheLibrary, size),
              benchmark::RegisterBenchmark(("sdl2/" + sizeName(size)).c_str(), showThroughSdl2,
                                           size)}) {
            b->Unit(benchmark::kMicrosecond)
                ->UseRealTime()
                ->MinTime(0.3)
                ->Repetitions(5)
                ->ReportAggregatesOnly(true);
        }
    }
    MedianCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);

    std::printf("\nshowFrame with vsync off against plain SDL2, median of 5 runs each\n");
    std::printf("%-10s %12s %14s %12s %14s %10s\n", "frame", "library fps", "library CPU/fr",
                "SDL2 fps", "SDL2 CPU/fr", "CPU ratio");
    for (const FrameSize& size : sizes) {
        const auto ours = collector.timings.find("library/" + sizeName(size));
        const auto peer = collector.timings.find("sdl2/" + sizeName(size));
        if (ours == collector.timings.end() || peer == collector.timings.end()) {
            std::printf("%-10s (not run)\n", sizeName(size).c_str());
            continue;
        }
        const Timing& a = ours->second;
        const Timing& b = peer->second;
        std::printf("%-10s %12.0f %11.1f us %12.0f %11.1f us %9.2fx\n", sizeName(size).c_str(),
                    1.0 / a.realSeconds, a.cpuSeconds * 1e6, 1.0 / b.realSeconds,
                    b.cpuSeconds * 1e6, a.cpuSeconds / b.cpuSeconds);
    }
    std::printf("CPU: this process's time per frame (the X server's work is not in it)\n");
    benchmark::Shutdown();
    return 0;
}
