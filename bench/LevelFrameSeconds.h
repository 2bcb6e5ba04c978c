#pragma once

// The cost of one level's frames, shared by the benches that weigh one view of a
// level against another: the file written out, loaded and drawn in a batch of
// frames, each figure the drawing thread's processor time.

#include "renderer/draw/FrameLoop.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <time.h>

inline double threadSeconds() {
    timespec time = {};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &time);
    return static_cast<double>(time.tv_sec) + static_cast<double>(time.tv_nsec) * 1e-9;
}

// Seconds a frame of width x height, over a batch of about 4 million pixels, of
// the level json written to file (its textures beside it); 0 when it cannot load.
inline double levelFrameSeconds(const std::filesystem::path& file, const std::string& json,
                                std::int32_t width, std::int32_t height,
                                std::vector<PackedPixel>& target) {
    constexpr long long pixelsPerBatch = 4'000'000;
    std::ofstream(file) << json;
    std::string error;
    if (!loadLevel(file.string(), error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 0.0;
    }
    resizeFrames(width, height);
    const long long frames =
        std::max(2LL, pixelsPerBatch / (static_cast<long long>(width) * height));
    prepareFrames(target.data());
    const double start = threadSeconds();
    for (long long i = 0; i < frames; ++i) {
        drawFrame();
    }
    benchmark::DoNotOptimize(target.data());
    const double seconds = (threadSeconds() - start) / static_cast<double>(frames);
    freeLevel();
    HKFreeAll();
    resizeFrames(320, 240);
    return seconds;
}
