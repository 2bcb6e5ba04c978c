#pragma once

#include <cstdint>

// Division by one number as a multiplication and a shift, for a divisor used over
// and over: exact for every dividend below 2^27.
struct ExactDivisor {
    std::uint64_t multiplier = std::uint64_t{1} << 27; // of 1
    std::uint32_t shift = 27;

    ExactDivisor() = default;
    // With 2^(shift - 27) the least power of two at or above the divisor, the
    // multiplier's excess over 2^shift / divisor is below 1, so a dividend below
    // 2^27 gains less than a unit from it; the product stays below 2^56.
    explicit ExactDivisor(std::uint32_t divisor)
        : shift(27 + (divisor <= 1 ? 0 : 32 - __builtin_clz(divisor - 1))) {
        multiplier = ((std::uint64_t{1} << shift) + divisor - 1) / divisor;
    }
    std::uint32_t divide(std::uint32_t dividend) const {
        return static_cast<std::uint32_t>((dividend * multiplier) >> shift);
    }
};
