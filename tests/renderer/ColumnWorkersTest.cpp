#include "renderer/ColumnWorkers.h"

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
