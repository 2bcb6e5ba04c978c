// Times every converter on a 320 x 240 frame, next to the libraries that offer the same
// conversion (SDL2, pixman, libyuv) and a memcpy of the source frame, and prints one table of
// nanoseconds per pixel with the ratio each converter is held to.

#include <duskhall/PixelConverter.h>

#include "convert/ConversionKernel.h"
#include "convert/PixelLayouts.h"
#include "convert/Sse2Lanes.h"

#include <benchmark/benchmark.h>

#if defined(DUSKHALL_BENCH_SDL2)
#include <SDL.h>
#endif
#if defined(DUSKHALL_BENCH_PIXMAN)
#include <pixman.h>
#endif
#if defined(DUSKHALL_BENCH_LIBYUV)
#include <libyuv.h>
#endif

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace duskhall;

namespace {

constexpr int width = 320;
constexpr int height = 240;
constexpr int pixels = width * height;

const char* const formatNames[] = {"NoFormat", "XRGB8888", "XBGR8888", "RGB888",   "BGR888",
                                   "RGB565",   "BGR565",   "XRGB1555", "XBGR1555", "FloatingPoint"};

int bytesPerPixel(PixelFormat format) {
    static const int bytes[] = {0, 4, 4, 3, 3, 2, 2, 2, 2, 16};
    return bytes[static_cast<int>(format)];
}

std::string conversionName(PixelFormat source, PixelFormat destination) {
    return std::string(formatNames[static_cast<int>(source)]) + "To" +
           formatNames[static_cast<int>(destination)];
}

// A byte buffer starting on a cache line, as frame buffers and locked surfaces do.
class AlignedBuffer {
  public:
    AlignedBuffer() = default;
    explicit AlignedBuffer(std::size_t size) { assign(size); }
    void assign(std::size_t size) {
        storage_.assign(size + 64, 0);
        const auto address = reinterpret_cast<std::uintptr_t>(storage_.data());
        offset_ = (64 - address % 64) % 64;
        size_ = size;
    }
    std::uint8_t* data() { return storage_.data() + offset_; }
    const std::uint8_t* data() const { return storage_.data() + offset_; }
    std::size_t size() const { return size_; }

  private:
    std::vector<std::uint8_t> storage_;
    std::size_t offset_ = 0;
    std::size_t size_ = 0;
};

struct Frames {
    AlignedBuffer trueColour;
    AlignedBuffer floats;

    Frames() : trueColour(pixels * 4), floats(pixels * 16) {
        std::mt19937 random(2026);
        std::uniform_real_distribution<float> nominal(0.0f, 1.0f);
        for (int i = 0; i < pixels; ++i) {
            const std::uint32_t v = 0xff000000u | (random() & 0xffffffu); // as the renderer draws
            std::memcpy(trueColour.data() + 4 * i, &v, 4);
            for (int e = 0; e < 4; ++e) {
                const float x = nominal(random);
                std::memcpy(floats.data() + 16 * i + 4 * e, &x, 4);
            }
        }
    }
    const AlignedBuffer& of(PixelFormat source) const {
        return source == PixelFormat::FloatingPoint ? floats : trueColour;
    }
};

const Frames& frames() {
    static const Frames instance;
    return instance;
}

// Our converter over the frame, row by row as the frame upload calls it.
void convertFrame(PixelConverter* converter, PixelFormat source, PixelFormat destination,
                  const std::uint8_t* from, std::uint8_t* to) {
    const int in = width * bytesPerPixel(source);
    const int out = width * bytesPerPixel(destination);
    converter->startRun();
    for (int y = 0; y < height; ++y) {
        converter->convertRun(from + y * in, to + y * out, width);
    }
    converter->finishRun();
}

struct Case {
    std::string conversion; // row of the table
    std::string runner;     // column: duskhall, a peer, or memcpy
    std::function<void(std::uint8_t*)> run;
    AlignedBuffer output;
};

std::vector<Case>& cases() {
    static std::vector<Case> all;
    return all;
}

int& matchingPeers() {
    static int count = 0;
    return count;
}

std::vector<std::string>& notes() {
    static std::vector<std::string> all;
    return all;
}

// Runs a peer once and compares its frame with ours, with `ignore` masking bits (within each
// little-endian pixel) that the peer is known to fill differently.
void addPeer(PixelFormat source, PixelFormat destination, const std::string& peer,
             std::function<void(std::uint8_t*)> run, std::uint32_t ignore = 0,
             const std::string& difference = "") {
    const std::string name = conversionName(source, destination);
    const int bytes = bytesPerPixel(destination);
    AlignedBuffer ours(static_cast<std::size_t>(pixels) * bytes);
    AlignedBuffer theirs(ours.size());
    convertFrame(lookupConverter(source, destination), source, destination,
                 frames().of(source).data(), ours.data());
    run(theirs.data());
    int mismatches = 0;
    int firstMismatch = -1;
    for (int i = 0; i < pixels; ++i) {
        std::uint32_t a = 0, b = 0;
        std::memcpy(&a, ours.data() + i * bytes, bytes);
        std::memcpy(&b, theirs.data() + i * bytes, bytes);
        if ((a & ~ignore) != (b & ~ignore)) {
            if (firstMismatch < 0) {
                firstMismatch = i;
            }
            ++mismatches;
        }
    }
    if (mismatches != 0) {
        std::uint32_t a = 0, b = 0;
        std::memcpy(&a, ours.data() + firstMismatch * bytes, bytes);
        std::memcpy(&b, theirs.data() + firstMismatch * bytes, bytes);
        char line[256];
        std::snprintf(line, sizeof line,
                      "%s / %s: %d of %d pixels differ (first: ours 0x%x, theirs 0x%x); "
                      "left out of the targets",
                      name.c_str(), peer.c_str(), mismatches, pixels, a, b);
        notes().push_back(line);
        return;
    }
    if (!difference.empty()) {
        notes().push_back(name + " / " + peer + ": " + difference);
    }
    ++matchingPeers();
    cases().push_back({name, peer, std::move(run), {}});
}

void addConverters() {
    for (PixelFormat source : {PixelFormat::XRGB8888, PixelFormat::FloatingPoint}) {
        for (int code = 1; code <= 9; ++code) {
            const auto destination = static_cast<PixelFormat>(code);
            PixelConverter* converter = lookupConverter(source, destination);
            const std::uint8_t* from = frames().of(source).data();
            cases().push_back(
                {conversionName(source, destination),
                 "duskhall",
                 [=](std::uint8_t* to) { convertFrame(converter, source, destination, from, to); },
                 {}});
        }
        const AlignedBuffer& frame = frames().of(source);
        cases().push_back(
            {std::string("memcpy of a ") + formatNames[static_cast<int>(source)] + " frame",
             "memcpy",
             [&frame](std::uint8_t* to) { std::memcpy(to, frame.data(), frame.size()); },
             {}});
    }
}

#if defined(__SSE2__)
using Routine = void (*)(const void*, void*, std::uint32_t);

// The SSE2 build of each converting pair, which processors without AVX2 (and the Windows build)
// run; shown for information beside the converters this machine picks.
template <class Source>
void addBaselineRow(PixelFormat source, PixelFormat destination, Routine run) {
    const std::uint8_t* from = frames().of(source).data();
    const int in = width * bytesPerPixel(source);
    const int out = width * bytesPerPixel(destination);
    cases().push_back({conversionName(source, destination),
                       "sse2",
                       [=](std::uint8_t* to) {
                           for (int y = 0; y < height; ++y) {
                               run(from + y * in, to + y * out, width);
                           }
                       },
                       {}});
}

template <class Source> void addBaselineRows(PixelFormat source) {
    if constexpr (std::is_same_v<Source, TrueColourSource>) {
        addBaselineRow<Source>(source, PixelFormat::FloatingPoint,
                               convertPixels<Sse2Lanes, Source, FloatLayout>);
    } else {
        addBaselineRow<Source>(source, PixelFormat::XRGB8888,
                               convertPixels<Sse2Lanes, Source, XRGB8888Layout>);
    }
    addBaselineRow<Source>(source, PixelFormat::XBGR8888,
                           convertPixels<Sse2Lanes, Source, XBGR8888Layout>);
    addBaselineRow<Source>(source, PixelFormat::RGB888,
                           convertPixels<Sse2Lanes, Source, RGB888Layout>);
    addBaselineRow<Source>(source, PixelFormat::BGR888,
                           convertPixels<Sse2Lanes, Source, BGR888Layout>);
    addBaselineRow<Source>(source, PixelFormat::RGB565,
                           convertPixels<Sse2Lanes, Source, RGB565Layout>);
    addBaselineRow<Source>(source, PixelFormat::BGR565,
                           convertPixels<Sse2Lanes, Source, BGR565Layout>);
    addBaselineRow<Source>(source, PixelFormat::XRGB1555,
                           convertPixels<Sse2Lanes, Source, XRGB1555Layout>);
    addBaselineRow<Source>(source, PixelFormat::XBGR1555,
                           convertPixels<Sse2Lanes, Source, XBGR1555Layout>);
}
#endif

void addPeers() {
    const std::uint8_t* trueColour = frames().trueColour.data();
    (void)trueColour;
#if defined(DUSKHALL_BENCH_SDL2)
    const std::pair<PixelFormat, std::uint32_t> sdlFormats[] = {
        {PixelFormat::XRGB8888, SDL_PIXELFORMAT_XRGB8888},
        {PixelFormat::XBGR8888, SDL_PIXELFORMAT_XBGR8888},
        {PixelFormat::RGB888, SDL_PIXELFORMAT_RGB24},
        {PixelFormat::BGR888, SDL_PIXELFORMAT_BGR24},
        {PixelFormat::RGB565, SDL_PIXELFORMAT_RGB565},
        {PixelFormat::BGR565, SDL_PIXELFORMAT_BGR565},
        {PixelFormat::XRGB1555, SDL_PIXELFORMAT_XRGB1555},
        {PixelFormat::XBGR1555, SDL_PIXELFORMAT_XBGR1555}};
    for (const auto& [destination, sdlFormat] : sdlFormats) {
        const int pitch = width * bytesPerPixel(destination);
        const std::uint32_t format = sdlFormat;
        addPeer(PixelFormat::XRGB8888, destination, "sdl2", [=](std::uint8_t* to) {
            SDL_ConvertPixels(width, height, SDL_PIXELFORMAT_XRGB8888, trueColour, width * 4,
                              format, to, pitch);
        });
    }
#endif
#if defined(DUSKHALL_BENCH_PIXMAN)
    // pixman names packed formats from the most significant bit; r8g8b8 is therefore memory
    // order blue, green, red (our BGR888) and b8g8r8 our RGB888.
    const std::pair<PixelFormat, pixman_format_code_t> pixmanFormats[] = {
        {PixelFormat::XRGB8888, PIXMAN_x8r8g8b8}, {PixelFormat::XBGR8888, PIXMAN_x8b8g8r8},
        {PixelFormat::RGB888, PIXMAN_b8g8r8},     {PixelFormat::BGR888, PIXMAN_r8g8b8},
        {PixelFormat::RGB565, PIXMAN_r5g6b5},     {PixelFormat::BGR565, PIXMAN_b5g6r5},
        {PixelFormat::XRGB1555, PIXMAN_x1r5g5b5}, {PixelFormat::XBGR1555, PIXMAN_x1b5g5r5}};
    pixman_image_t* sourceImage = pixman_image_create_bits(
        PIXMAN_x8r8g8b8, width, height,
        reinterpret_cast<std::uint32_t*>(const_cast<std::uint8_t*>(trueColour)), width * 4);
    for (const auto& [destination, pixmanFormat] : pixmanFormats) {
        const int pitch = width * bytesPerPixel(destination);
        const pixman_format_code_t format = pixmanFormat;
        // The destination image wraps whichever buffer it is given; rewrapping costs nothing
        // per frame that matters next to the conversion, but is kept out of the timed loop by
        // caching on the buffer address.
        auto image = std::make_shared<std::pair<std::uint8_t*, pixman_image_t*>>(nullptr, nullptr);
        addPeer(PixelFormat::XRGB8888, destination, "pixman", [=](std::uint8_t* to) {
            if (image->first != to) {
                if (image->second != nullptr) {
                    pixman_image_unref(image->second);
                }
                image->first = to;
                image->second = pixman_image_create_bits(
                    format, width, height, reinterpret_cast<std::uint32_t*>(to), pitch);
            }
            pixman_image_composite32(PIXMAN_OP_SRC, sourceImage, nullptr, image->second, 0, 0, 0, 0,
                                     0, 0, width, height);
        });
    }
    notes().push_back("pixman's only float format, rgba_float, is memory order red, green, blue, "
                      "alpha (ours alpha, blue, green, red); SDL2 and libyuv have none: no peer "
                      "for the FloatingPoint conversions");
#endif
#if defined(DUSKHALL_BENCH_LIBYUV)
    // libyuv's "ARGB" is memory order blue, green, red, alpha (our XRGB8888); its RGB24 is
    // memory order blue, green, red (our BGR888) and RAW red, green, blue (our RGB888).
    using YuvConvert = int (*)(const std::uint8_t*, int, std::uint8_t*, int, int, int);
    const struct {
        PixelFormat destination;
        YuvConvert convert;
        std::uint32_t ignore;
        const char* difference;
    } yuv[] = {
        {PixelFormat::RGB565, libyuv::ARGBToRGB565, 0, ""},
        {PixelFormat::XRGB1555, libyuv::ARGBToARGB1555, 0x8000,
         "libyuv carries the top alpha bit into bit 15, which XRGB1555 keeps zero; compared "
         "without bit 15"},
        {PixelFormat::BGR888, libyuv::ARGBToRGB24, 0, ""},
        {PixelFormat::RGB888, libyuv::ARGBToRAW, 0, ""},
    };
    for (const auto& entry : yuv) {
        const int pitch = width * bytesPerPixel(entry.destination);
        const YuvConvert convert = entry.convert;
        addPeer(
            PixelFormat::XRGB8888, entry.destination, "libyuv",
            [=](std::uint8_t* to) { convert(trueColour, width * 4, to, pitch, width, height); },
            entry.ignore, entry.difference);
    }
#endif
}

void runCase(benchmark::State& state, Case* c) {
    for (auto _ : state) {
        c->run(c->output.data());
        benchmark::ClobberMemory();
    }
    state.SetItemsProcessed(state.iterations() * pixels);
}

// Collects the best time of each case instead of printing every run. The best of several runs
// is the figure least disturbed by other work on the machine.
class BestTimeCollector : public benchmark::BenchmarkReporter {
  public:
    std::map<std::string, double> nanoseconds;
    bool ReportContext(const Context&) override { return true; }
    void ReportRuns(const std::vector<Run>& runs) override {
        for (const Run& run : runs) {
            if (run.aggregate_name == "min" || run.run_type == Run::RT_Iteration) {
                nanoseconds[run.run_name.function_name] =
                    run.GetAdjustedRealTime() * (run.time_unit == benchmark::kNanosecond    ? 1.0
                                                 : run.time_unit == benchmark::kMicrosecond ? 1e3
                                                                                            : 1e6);
            }
        }
    }
    void Finalize() override {}
};

void printTable(const BestTimeCollector& collector) {
    const std::vector<std::string> peers = {"sdl2", "pixman", "libyuv"};
    const auto perPixel = [&](const std::string& conversion, const std::string& runner) {
        const auto found = collector.nanoseconds.find(conversion + "/" + runner);
        return found == collector.nanoseconds.end() ? -1.0 : found->second / pixels;
    };
    const double copyTrueColour = perPixel("memcpy of a XRGB8888 frame", "memcpy");
    const double copyFloat = perPixel("memcpy of a FloatingPoint frame", "memcpy");

    std::printf("\nConverters on a %d x %d frame, ns per pixel (best of 11 runs)\n", width, height);
#if defined(__x86_64__) || defined(__i386__)
    std::printf("duskhall: the converters as handed out on this processor (AVX2 %s); sse2: the "
                "baseline build\n",
                __builtin_cpu_supports("avx2") ? "present" : "absent");
#endif
    std::printf("memcpy of the source frame: XRGB8888 %.4f, FloatingPoint %.4f\n\n", copyTrueColour,
                copyFloat);
    std::printf("%-30s %9s %9s %9s %9s %9s  %-22s %7s\n", "conversion", "duskhall", "sse2", "sdl2",
                "pixman", "libyuv", "target", "ratio");
    int misses = 0;
    int shown = 0;
    for (PixelFormat source : {PixelFormat::XRGB8888, PixelFormat::FloatingPoint}) {
        for (int code = 1; code <= 9; ++code) {
            const std::string name = conversionName(source, static_cast<PixelFormat>(code));
            const double ours = perPixel(name, "duskhall");
            if (ours < 0) {
                continue; // filtered out
            }
            std::printf("%-30s %9.4f", name.c_str(), ours);
            const double baselineBuild = perPixel(name, "sse2");
            if (baselineBuild < 0) {
                std::printf(" %9s", "-");
            } else {
                std::printf(" %9.4f", baselineBuild);
            }
            double fastestPeer = -1.0;
            for (const std::string& peer : peers) {
                const double t = perPixel(name, peer);
                if (t < 0) {
                    std::printf(" %9s", "-");
                } else {
                    std::printf(" %9.4f", t);
                    fastestPeer = fastestPeer < 0 ? t : std::min(fastestPeer, t);
                }
            }
            double baseline = 0.0;
            double limit = 0.0;
            std::string target;
            if (source == PixelFormat::FloatingPoint) {
                baseline = copyFloat;
                limit = 2.5;
                target = "<= 2.5 x memcpy";
            } else if (fastestPeer > 0) {
                baseline = fastestPeer;
                limit = 1.0;
                target = "<= 1.0 x fastest peer";
            } else {
                baseline = copyTrueColour;
                limit = 2.0;
                target = "<= 2.0 x memcpy";
            }
            ++shown;
            if (baseline <= 0) {
                std::printf("  %-22s %7s (baseline not run)\n", target.c_str(), "-");
                continue;
            }
            const double ratio = ours / baseline;
            const bool met = ratio <= limit;
            misses += met ? 0 : 1;
            std::printf("  %-22s %6.2fx %s\n", target.c_str(), ratio, met ? "ok" : "MISSED");
        }
    }
    std::printf("\n%d of %d converters shown miss their target\n", misses, shown);
    std::printf("peer outputs checked against ours before timing: %d identical (differing ones "
                "would be listed below and left out)\n",
                matchingPeers());
    for (const std::string& note : notes()) {
        std::printf("note: %s\n", note.c_str());
    }
}

} // namespace

int main(int argc, char** argv) {
    benchmark::Initialize(&argc, argv);
    addConverters();
#if defined(__SSE2__)
    addBaselineRows<TrueColourSource>(PixelFormat::XRGB8888);
    addBaselineRows<FloatSource>(PixelFormat::FloatingPoint);
#endif
    addPeers();
    for (Case& c : cases()) {
        const std::string name = c.conversion + "/" + c.runner;
        // Room for the largest pixel, 16 bytes, whatever the case writes.
        c.output.assign(static_cast<std::size_t>(pixels) * 16);
        benchmark::RegisterBenchmark(name.c_str(), runCase, &c)
            ->Unit(benchmark::kNanosecond)
            ->MinTime(0.03)
            ->Repetitions(11)
            ->ComputeStatistics(
                "min",
                [](const std::vector<double>& v) { return *std::min_element(v.begin(), v.end()); })
            ->ReportAggregatesOnly(true);
    }
    BestTimeCollector collector;
    benchmark::RunSpecifiedBenchmarks(&collector);
    printTable(collector);
    benchmark::Shutdown();
    return 0;
}
