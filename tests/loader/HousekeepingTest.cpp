#include "renderer/level/Housekeeping.h"

#include "ResourceProbe.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

void* block(std::size_t bytes = 16) {
    void* p = std::malloc(bytes);
    if (p == nullptr) {
        std::abort();
    }
    return p;
}

// Needs the registry as the process starts, so it comes first in this file and
// this file's program holds nothing else that registers before it.
TEST(HousekeepingRegistry, GrowsTo128ThenDoubles) {
    ASSERT_EQ(HKCapacity(), 0);
    ASSERT_EQ(HKCount(), 0);
    EXPECT_EQ(HKPtr(block()), 0);
    EXPECT_EQ(HKCapacity(), 128);
    for (std::int32_t i = 1; i < 128; ++i) {
        ASSERT_EQ(HKPtr(block()), i);
    }
    EXPECT_EQ(HKCapacity(), 128);
    EXPECT_EQ(HKPtr(block()), 128);
    EXPECT_EQ(HKCapacity(), 256);
    EXPECT_EQ(HKCount(), 129);
    // 256 is also 128 + 128: only the next growth tells doubling from steps of 128.
    for (std::int32_t i = 129; i < 257; ++i) {
        ASSERT_EQ(HKPtr(block()), i);
    }
    EXPECT_EQ(HKCapacity(), 512);
    EXPECT_EQ(HKCount(), 257);
    HKFreeAll();
}

TEST(HousekeepingRegistry, FreeAllOnAnEmptyRegistryDoesNothing) {
    HKFreeAll();
    const std::int32_t capacity = HKCapacity();
    HKFreeAll();
    EXPECT_EQ(HKCount(), 0);
    EXPECT_EQ(HKCapacity(), capacity);
}

TEST(HousekeepingRegistry, RegisteringAfterFreeAllReusesTheStorage) {
    HKPtr(block());
    HKPtr(block());
    const std::int32_t capacity = HKCapacity();
    HKFreeAll();
    EXPECT_EQ(HKCount(), 0);
    EXPECT_EQ(HKCapacity(), capacity);
    EXPECT_EQ(HKPtr(block()), 0);
    EXPECT_EQ(HKPtr(block()), 1);
    EXPECT_EQ(HKCapacity(), capacity);
    HKFreeAll();
}

TEST(HousekeepingRegistry, FreeAllReleasesEveryBlock) {
    HKFreeAll();
    const long long before = resource_probe::allocatedBytes();
    if (before < 0) {
        GTEST_SKIP() << "no heap statistics on this platform";
    }
    constexpr int blocks = 300;
    constexpr std::size_t bytes = 4096;
    for (int i = 0; i < blocks; ++i) {
        HKPtr(block(bytes));
    }
    const long long registered = resource_probe::allocatedBytes();
    ASSERT_GE(registered - before, static_cast<long long>(blocks * bytes));
    HKFreeAll();
    // Only the slot storage, which the registry keeps, may remain.
    const long long storage = static_cast<long long>(HKCapacity()) * sizeof(void*);
    EXPECT_LE(resource_probe::allocatedBytes() - before,
              storage + 64 + resource_probe::allocatedBytesSlack());
}

// ---- A null block ends the program with the message and a failure status.

void presentToStandardError(const char* text, const char* caption) {
    std::fprintf(stderr, "presented [%s] under [%s]\n", text, caption);
}

TEST(HousekeepingFatal, NullBlockWritesTheMessageAndExitsWithOne) {
    EXPECT_EXIT(HKPtr(nullptr), ::testing::ExitedWithCode(1),
                "Housekeeping error: HKPtr: NULL pointer\n");
}

TEST(HousekeepingFatal, NullBlockGoesThroughTheInstalledPresenter) {
    EXPECT_EXIT(
        {
            setFatalMessagePresenter(presentToStandardError);
            HKPtr(nullptr);
        },
        ::testing::ExitedWithCode(1),
        "Housekeeping error: HKPtr: NULL pointer\n"
        "presented \\[HKPtr: NULL pointer\\] under \\[Housekeeping error\\]\n");
}

} // namespace
