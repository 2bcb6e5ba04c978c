#include "convert/ConvertRoutines.h"

#include "convert/ConversionKernel.h"
#include "convert/PixelLayouts.h"
#include "convert/Sse2Lanes.h"
#include "convert/WideKernels.h"

namespace duskhall {

namespace {

#if defined(__SSE2__)
using BaselineLanes = Sse2Lanes;
#else
using BaselineLanes = ScalarLanes;
#endif

#if defined(DUSKHALL_AVX2_KERNELS)
// Decided once during start-up. Until then it reads false, so a conversion run from another
// unit's static initialisation still takes the baseline path.
const bool useAvx2 = processorHasAvx2();
#endif

template <class Source, class Layout>
void convertBest(const void* source, void* destination, std::uint32_t count) {
#if defined(DUSKHALL_AVX2_KERNELS)
    if (useAvx2) {
        convertPixelsAvx2<Source, Layout>(source, destination, count);
        return;
    }
#endif
    convertPixels<BaselineLanes, Source, Layout>(source, destination, count);
}

} // namespace

void convertXRGB8888ToXBGR8888(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, XBGR8888Layout>(source, destination, count);
}
void convertXRGB8888ToRGB888(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, RGB888Layout>(source, destination, count);
}
void convertXRGB8888ToBGR888(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, BGR888Layout>(source, destination, count);
}
void convertXRGB8888ToRGB565(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, RGB565Layout>(source, destination, count);
}
void convertXRGB8888ToBGR565(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, BGR565Layout>(source, destination, count);
}
void convertXRGB8888ToXRGB1555(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, XRGB1555Layout>(source, destination, count);
}
void convertXRGB8888ToXBGR1555(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, XBGR1555Layout>(source, destination, count);
}
void convertXRGB8888ToFloatingPoint(const void* source, void* destination, std::uint32_t count) {
    convertBest<TrueColourSource, FloatLayout>(source, destination, count);
}

void convertFloatingPointToXRGB8888(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, XRGB8888Layout>(source, destination, count);
}
void convertFloatingPointToXBGR8888(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, XBGR8888Layout>(source, destination, count);
}
void convertFloatingPointToRGB888(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, RGB888Layout>(source, destination, count);
}
void convertFloatingPointToBGR888(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, BGR888Layout>(source, destination, count);
}
void convertFloatingPointToRGB565(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, RGB565Layout>(source, destination, count);
}
void convertFloatingPointToBGR565(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, BGR565Layout>(source, destination, count);
}
void convertFloatingPointToXRGB1555(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, XRGB1555Layout>(source, destination, count);
}
void convertFloatingPointToXBGR1555(const void* source, void* destination, std::uint32_t count) {
    convertBest<FloatSource, XBGR1555Layout>(source, destination, count);
}

} // namespace duskhall
