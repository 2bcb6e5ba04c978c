#pragma once

#include <cmath>
#include <cstdint>

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
    return static_cast<std::int32_t>(std::nearbyint(value));
}

// Sine and cosine of a float angle, evaluated in double and rounded once to float.
inline float sineOf(float angle) {
    return static_cast<float>(std::sin(static_cast<double>(angle)));
}
inline float cosineOf(float angle) {
    return static_cast<float>(std::cos(static_cast<double>(angle)));
}
