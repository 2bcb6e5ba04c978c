#pragma once

#include <thread>

#if defined(__SSE2__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

// One turn of a spin-wait: a pause that leaves the core's shared resources to its
// other work, or a yield where there is no such instruction.
inline void cpuRelax() {
#if defined(__SSE2__) || defined(__x86_64__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}
