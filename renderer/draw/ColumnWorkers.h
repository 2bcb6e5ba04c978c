#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

// Draws the columns of a frame on a fixed set of threads, started once: the caller
// and threads - 1 helpers take ranges of columns from a shared counter until none
// are left. The caller waits only for ranges taken, not for helpers, so a helper
// the system holds back leaves its share to the others. Helpers wait for the next
// frame by spinning a little, then sleeping, so that frames drawn back to back do
// not pay for waking them.
class ColumnWorkers {
  public:
    // Draws columns [first, end) and returns the most sectors any of them visited.
    using RangeTask = std::int32_t (*)(std::int32_t first, std::int32_t end);

    ColumnWorkers(std::int32_t threads, std::int32_t columns, std::int32_t rangeSize,
                  RangeTask task);
    ~ColumnWorkers();
    ColumnWorkers(const ColumnWorkers&) = delete;
    ColumnWorkers& operator=(const ColumnWorkers&) = delete;

    std::int32_t threadCount() const { return static_cast<std::int32_t>(helpers_.size()) + 1; }

    // Draws every column once, on all threads; everything the task reads must be
    // written before the call. Returns when every column is drawn, with the largest
    // result of the task. The first range is firstRange columns long (1 to the
    // range size; anything else means a whole range) and the others follow it, so
    // a caller can put the range boundaries where neighbouring threads share no
    // cache line of its output.
    std::int32_t run(std::int32_t firstRange = 0);

  private:
    void helperLoop();
    void drawRanges(std::uint32_t frame);

    const std::int32_t columns_;
    const std::int32_t rangeSize_;
    const RangeTask task_;
    std::vector<std::thread> helpers_;

    // The frame number in the high half and its next column to hand out in the low
    // half: a range can only be taken for the frame being drawn.
    std::atomic<std::uint64_t> work_{0};
    std::atomic<bool> stopping_{false};
    std::atomic<std::int32_t> columnsDone_{0};
    std::atomic<std::int32_t> deepest_{0};
    // Columns the hand-out counter runs ahead of the columns: it starts at 0 and a
    // range taken at c covers [c - lead, c - lead + rangeSize) within the columns.
    std::atomic<std::int32_t> lead_{0};
    std::mutex mutex_;
    std::condition_variable frameStarted_;
    std::condition_variable frameDone_;
};
