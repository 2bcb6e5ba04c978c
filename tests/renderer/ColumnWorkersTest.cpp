#include "renderer/draw/ColumnWorkers.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <thread>

namespace {

constexpr std::int32_t columns = 100; // not a multiple of the range size
std::array<std::atomic<std::int32_t>, columns> drawCounts;

// Counts every column drawn and answers the column's own number, so the largest
// answer is the last column.
std::int32_t countColumns(std::int32_t first, std::int32_t end) {
    for (std::int32_t j = first; j < end; ++j) {
        drawCounts[j].fetch_add(1, std::memory_order_relaxed);
    }
    return end - 1;
}

// Where each range of a run began and ended, recorded by rangeEdges.
constexpr std::int32_t maxRanges = columns;
std::array<std::atomic<std::int32_t>, maxRanges> rangeFirsts;
std::array<std::atomic<std::int32_t>, maxRanges> rangeEnds;
std::atomic<std::int32_t> rangesTaken{0};

std::int32_t rangeEdges(std::int32_t first, std::int32_t end) {
    const std::int32_t i = rangesTaken.fetch_add(1, std::memory_order_relaxed);
    rangeFirsts[i].store(first, std::memory_order_relaxed);
    rangeEnds[i].store(end, std::memory_order_relaxed);
    return countColumns(first, end);
}

void resetCounts() {
    for (std::atomic<std::int32_t>& count : drawCounts) {
        count.store(0);
    }
}

} // namespace

TEST(ColumnWorkersTest, EveryRunDrawsEveryColumnOnce) {
    for (std::int32_t threads : {1, 2, 5}) {
        SCOPED_TRACE(threads);
        resetCounts();
        ColumnWorkers workers(threads, columns, 16, countColumns);
        EXPECT_EQ(workers.threadCount(), threads);
        for (int run = 1; run <= 500; ++run) {
            ASSERT_EQ(workers.run(), columns - 1);
            // The run has returned: every column is drawn, none twice.
            for (std::int32_t j = 0; j < columns; ++j) {
                ASSERT_EQ(drawCounts[j].load(), run) << "column " << j;
            }
        }
    }
}

TEST(ColumnWorkersTest, SleepingHelpersWakeForTheNextRunAndForShutDown) {
    resetCounts();
    {
        ColumnWorkers workers(3, columns, 7, countColumns);
        for (int run = 1; run <= 3; ++run) {
            // Long enough for the helpers to stop spinning and sleep.
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            EXPECT_EQ(workers.run(), columns - 1);
        }
    } // the destructor wakes and joins sleeping helpers
    for (std::int32_t j = 0; j < columns; ++j) {
        EXPECT_EQ(drawCounts[j].load(), 3) << "column " << j;
    }
}

TEST(ColumnWorkersTest, RangesFollowAShortFirstRange) {
    constexpr std::int32_t rangeSize = 16;
    for (std::int32_t threads : {1, 3}) {
        ColumnWorkers workers(threads, columns, rangeSize, rangeEdges);
        // Out of 1 to the range size, the first range is a whole one.
        for (std::int32_t firstRange : {1, 5, 12, 15, 0, 16, 17, -3}) {
            SCOPED_TRACE(testing::Message() << threads << " threads, first " << firstRange);
            const std::int32_t expectedFirst =
                firstRange >= 1 && firstRange < rangeSize ? firstRange : rangeSize;
            for (int run = 0; run < 50; ++run) {
                resetCounts();
                rangesTaken.store(0);
                ASSERT_EQ(workers.run(firstRange), columns - 1);
                for (std::int32_t j = 0; j < columns; ++j) {
                    ASSERT_EQ(drawCounts[j].load(), 1) << "column " << j;
                }
                const std::int32_t ranges = rangesTaken.load();
                ASSERT_EQ(ranges, 1 + (columns - expectedFirst + rangeSize - 1) / rangeSize);
                for (std::int32_t i = 0; i < ranges; ++i) {
                    const std::int32_t first = rangeFirsts[i].load();
                    const std::int32_t end = rangeEnds[i].load();
                    if (first == 0) {
                        ASSERT_EQ(end, expectedFirst);
                    } else {
                        ASSERT_EQ((first - expectedFirst) % rangeSize, 0) << first;
                        ASSERT_EQ(end, std::min(first + rangeSize, columns)) << first;
                    }
                }
            }
        }
    }
}
