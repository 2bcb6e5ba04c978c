#include "tests/convert/ConversionPaths.h"

#include <duskhall/PixelConverter.h>

#include "convert/ConversionKernel.h"
#include "convert/PixelLayouts.h"
#include "convert/Sse2Lanes.h"

using namespace duskhall;

namespace {

const char* formatName(PixelFormat format) {
    static const char* const names[] = {"NoFormat", "XRGB8888",     "XBGR8888", "RGB888",
                                        "BGR888",   "RGB565",       "BGR565",   "XRGB1555",
                                        "XBGR1555", "FloatingPoint"};
    return names[static_cast<int>(format)];
}

template <class Lanes, class Source>
void addPaths(std::vector<ConversionPath>& paths, const std::string& build, PixelFormat source) {
    const auto add = [&](PixelFormat destination, auto run) {
        paths.push_back({build + ":" + formatName(source) + "To" + formatName(destination), source,
                         destination, run});
    };
    if constexpr (std::is_same_v<Source, TrueColourSource>) {
        add(PixelFormat::FloatingPoint, convertPixels<Lanes, Source, FloatLayout>);
    } else {
        add(PixelFormat::XRGB8888, convertPixels<Lanes, Source, XRGB8888Layout>);
    }
    add(PixelFormat::XBGR8888, convertPixels<Lanes, Source, XBGR8888Layout>);
    add(PixelFormat::RGB888, convertPixels<Lanes, Source, RGB888Layout>);
    add(PixelFormat::BGR888, convertPixels<Lanes, Source, BGR888Layout>);
    add(PixelFormat::RGB565, convertPixels<Lanes, Source, RGB565Layout>);
    add(PixelFormat::BGR565, convertPixels<Lanes, Source, BGR565Layout>);
    add(PixelFormat::XRGB1555, convertPixels<Lanes, Source, XRGB1555Layout>);
    add(PixelFormat::XBGR1555, convertPixels<Lanes, Source, XBGR1555Layout>);
}

std::vector<ConversionPath> buildPaths() {
    std::vector<ConversionPath> paths;
    for (PixelFormat source : {PixelFormat::XRGB8888, PixelFormat::FloatingPoint}) {
        for (int code = 1; code <= 9; ++code) {
            const auto destination = static_cast<PixelFormat>(code);
            PixelConverter* converter = lookupConverter(source, destination);
            paths.push_back(
                {std::string("converter:") + formatName(source) + "To" + formatName(destination),
                 source, destination, [converter](const void* from, void* to, std::uint32_t count) {
                     converter->startRun();
                     converter->convertRun(from, to, count);
                     converter->finishRun();
                 }});
        }
    }
#if defined(__SSE2__)
    addPaths<Sse2Lanes, TrueColourSource>(paths, "sse2", PixelFormat::XRGB8888);
    addPaths<Sse2Lanes, FloatSource>(paths, "sse2", PixelFormat::FloatingPoint);
#endif
    addPaths<ScalarLanes, TrueColourSource>(paths, "scalar", PixelFormat::XRGB8888);
    addPaths<ScalarLanes, FloatSource>(paths, "scalar", PixelFormat::FloatingPoint);
    return paths;
}

} // namespace

const std::vector<ConversionPath>& conversionPaths() {
    static const std::vector<ConversionPath> paths = buildPaths();
    return paths;
}

std::vector<ConversionPath> conversionPathsFrom(PixelFormat source) {
    std::vector<ConversionPath> subset;
    for (const ConversionPath& path : conversionPaths()) {
        if (path.source == source) {
            subset.push_back(path);
        }
    }
    return subset;
}
