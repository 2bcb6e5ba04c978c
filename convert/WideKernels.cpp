// Built with -mavx2 when DUSKHALL_AVX2_KERNELS is set; otherwise this unit is empty.
#include "convert/WideKernels.h"

#if defined(DUSKHALL_AVX2_KERNELS)

#include "convert/Avx2Lanes.h"
#include "convert/ConversionKernel.h"

namespace duskhall {

bool processorHasAvx2() {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2");
}

template <class Source, class Layout>
void convertPixelsAvx2(const void* source, void* destination, std::uint32_t count) {
    convertPixels<Avx2Lanes, Source, Layout>(source, destination, count);
}

template void convertPixelsAvx2<TrueColourSource, XBGR8888Layout>(const void*, void*,
                                                                  std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, RGB888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, BGR888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, RGB565Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, BGR565Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, XRGB1555Layout>(const void*, void*,
                                                                  std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, XBGR1555Layout>(const void*, void*,
                                                                  std::uint32_t);
template void convertPixelsAvx2<TrueColourSource, FloatLayout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, XRGB8888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, XBGR8888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, RGB888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, BGR888Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, RGB565Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, BGR565Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, XRGB1555Layout>(const void*, void*, std::uint32_t);
template void convertPixelsAvx2<FloatSource, XBGR1555Layout>(const void*, void*, std::uint32_t);

} // namespace duskhall

#endif
