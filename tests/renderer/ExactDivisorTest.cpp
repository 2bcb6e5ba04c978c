#include "renderer/draw/ExactDivisor.h"

#include <gtest/gtest.h>

#include <cstdint>

// Every divisor a thing's row step can be (1 to 2^26), at the powers of two and
// beside them, divides the dividends where a slip would show (multiples of it and
// one short of them, up to the largest below 2^27) as division does.
TEST(ExactDivisorTest, DividesAsDivisionDoesBelowTwoToThe27) {
    constexpr std::uint32_t below = std::uint32_t{1} << 27;
    std::uint32_t checked = 0;
    for (std::uint32_t power = 1; power <= (std::uint32_t{1} << 26); power *= 2) {
        for (const std::uint32_t divisor : {power - 1, power, power + 1, power / 3 * 2 + 1}) {
            if (divisor == 0 || divisor > (std::uint32_t{1} << 26)) {
                continue;
            }
            const ExactDivisor exact(divisor);
            const std::uint32_t top = below - 1;
            for (const std::uint32_t n : {0u, 1u, divisor - 1, divisor, top, top - top % divisor,
                                          top - top % divisor - 1, below / 2, 65535u * 1024u}) {
                ASSERT_EQ(exact.divide(n), n / divisor) << n << " / " << divisor;
                ++checked;
            }
            for (std::uint32_t n = top; n > top - 4096; --n) {
                ASSERT_EQ(exact.divide(n), n / divisor) << n << " / " << divisor;
            }
        }
    }
    EXPECT_GT(checked, 800u);
}
