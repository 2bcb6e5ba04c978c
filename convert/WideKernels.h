#pragma once

#include <cstdint>

namespace duskhall {

// Entry points into the translation unit built for AVX2, present when the build enables it
// (DUSKHALL_AVX2_KERNELS). Callers must check processorHasAvx2() first.
#if defined(DUSKHALL_AVX2_KERNELS)

bool processorHasAvx2();

template <class Source, class Layout>
void convertPixelsAvx2(const void* source, void* destination, std::uint32_t count);

#endif

} // namespace duskhall
