#pragma once

#include <cmath>
#include <cstdint>

#if defined(__SSE__) || defined(__x86_64__)
#include <xmmintrin.h>
#endif

// Float to integer, to nearest with halves to even (the default rounding mode).
// Values beyond the 32-bit range saturate and NaN gives 0, where a plain
// conversion would be undefined.
inline std::int32_t roundToInt(float value) {
    if (!(value > -2147483648.0f)) {
        return value < 0.0f ? INT32_MIN : 0;
    }
    if (value >= 2147483648.0f) {
        return INT32_MAX;
    }
#if defined(__SSE__) || defined(__x86_64__)
    // One instruction, rounding in the current mode like nearbyint, where the
    // library call costs more than the arithmetic around it.
    return _mm_cvtss_si32(_mm_set_ss(value));
#else
    return static_cast<std::int32_t>(std::nearbyint(value));
#endif
}

// Sine and cosine of a float angle, evaluated in double and rounded once to float.
inline float sineOf(float angle) {
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}
inline float cosineOf(float angle) {
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}
