#include "renderer/draw/ColumnWorkers.h"

#include "renderer/draw/CpuRelax.h"

#include <algorithm>
#include <chrono>

namespace {

// A few microseconds of polling catch the next frame of a loop that draws without
// pause; after that the thread offers its core to others (on a busy machine that
// may be the very thread it waits for), and after about a frame it sleeps.
constexpr auto pollLimit = std::chrono::microseconds(20);
constexpr auto spinLimit = std::chrono::microseconds(200);

// Polls until the condition holds or the spin time is up; true when it holds.
template <class Condition> bool spinUntil(Condition condition) {
    const auto started = std::chrono::steady_clock::now();
    while (true) {
        for (int i = 0; i < 64; ++i) {
            if (condition()) {
                return true;
            }
            cpuRelax();
        }
        const auto spent = std::chrono::steady_clock::now() - started;
        if (spent >= spinLimit) {
            return condition();
        }
        if (spent >= pollLimit) {
            std::this_thread::yield();
        }
    }
}

std::uint64_t frameWork(std::uint32_t frame, std::int32_t column) {
    return static_cast<std::uint64_t>(frame) << 32 | static_cast<std::uint32_t>(column);
}
std::uint32_t frameOf(std::uint64_t work) {
    return static_cast<std::uint32_t>(work >> 32);
}
std::int32_t columnOf(std::uint64_t work) {
    return static_cast<std::int32_t>(work & 0xFFFFFFFFu);
}

} // namespace

ColumnWorkers::ColumnWorkers(std::int32_t threads, std::int32_t columns, std::int32_t rangeSize,
                             RangeTask task)
    : columns_(columns), rangeSize_(std::max(rangeSize, 1)), task_(task) {
    const std::int32_t helpers = std::max(threads, 1) - 1;
    helpers_.reserve(static_cast<std::size_t>(helpers));
    for (std::int32_t i = 0; i < helpers; ++i) {
        helpers_.emplace_back([this] { helperLoop(); });
    }
}

ColumnWorkers::~ColumnWorkers() {
    {
        const std::lock_guard<std::mutex> lock(mutex_);
        stopping_.store(true, std::memory_order_relaxed);
        work_.store(frameWork(frameOf(work_.load(std::memory_order_relaxed)) + 1, columns_),
                    std::memory_order_release);
    }
    frameStarted_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

std::int32_t ColumnWorkers::run(std::int32_t firstRange) {
    const bool partFirst = firstRange >= 1 && firstRange < rangeSize_;
    lead_.store(partFirst ? rangeSize_ - firstRange : 0, std::memory_order_relaxed);
    columnsDone_.store(0, std::memory_order_relaxed);
    deepest_.store(0, std::memory_order_relaxed);
    const std::uint32_t frame = frameOf(work_.load(std::memory_order_relaxed)) + 1;
    {
        // Under the lock, so that a helper about to sleep cannot miss the frame. The
        // release publishes everything the caller prepared for the frame.
        const std::lock_guard<std::mutex> lock(mutex_);
        work_.store(frameWork(frame, 0), std::memory_order_release);
    }
    frameStarted_.notify_all();
    drawRanges(frame);
    const auto frameDone = [this] {
        return columnsDone_.load(std::memory_order_acquire) == columns_;
    };
    if (!spinUntil(frameDone)) {
        std::unique_lock<std::mutex> lock(mutex_);
        frameDone_.wait(lock, frameDone);
    }
    return deepest_.load(std::memory_order_relaxed);
}

void ColumnWorkers::helperLoop() {
    std::uint32_t seen = 0;
    while (true) {
        const auto frameStarted = [this, &seen] {
            return frameOf(work_.load(std::memory_order_acquire)) != seen;
        };
        if (!spinUntil(frameStarted)) {
            std::unique_lock<std::mutex> lock(mutex_);
            frameStarted_.wait(lock, frameStarted);
        }
        seen = frameOf(work_.load(std::memory_order_acquire));
        if (stopping_.load(std::memory_order_relaxed)) {
            return;
        }
        drawRanges(seen);
    }
}

void ColumnWorkers::drawRanges(std::uint32_t frame) {
    std::int32_t deepest = 0;
    std::int32_t drawn = 0;
    std::uint64_t work = work_.load(std::memory_order_acquire);
    while (true) {
        // A helper that wakes late finds its frame finished or the next one under
        // way, and takes nothing for a frame it has not seen prepared.
        if (frameOf(work) != frame ||
            columnOf(work) >= columns_ + lead_.load(std::memory_order_relaxed)) {
            break;
        }
        if (!work_.compare_exchange_weak(work, work + static_cast<std::uint64_t>(rangeSize_),
                                         std::memory_order_acq_rel, std::memory_order_acquire)) {
            continue;
        }
        // Read after taking the range: the frame is still this one, so its lead is.
        const std::int32_t start = columnOf(work) - lead_.load(std::memory_order_relaxed);
        const std::int32_t first = std::max(start, 0);
        const std::int32_t end = std::min(start + rangeSize_, columns_);
        deepest = std::max(deepest, task_(first, end));
        drawn += end - first;
        work = work_.load(std::memory_order_acquire);
    }
    if (drawn == 0) {
        return;
    }
    std::int32_t known = deepest_.load(std::memory_order_relaxed);
    while (deepest > known &&
           !deepest_.compare_exchange_weak(known, deepest, std::memory_order_relaxed)) {
    }
    // The release hands the drawn pixels to the caller, which waits for all of them.
    if (columnsDone_.fetch_add(drawn, std::memory_order_acq_rel) + drawn == columns_) {
        const std::lock_guard<std::mutex> lock(mutex_);
        frameDone_.notify_one();
    }
}
