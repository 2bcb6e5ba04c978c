#include "renderer/ColumnWorkers.h"

#include <algorithm>
#include <chrono>

#if defined(__SSE2__) || defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace {

// About as long as a few frames: long enough to catch the next frame of a loop
// that draws without pause, short enough not to hold a core for a program that
// waits between frames.
constexpr auto spinLimit = std::chrono::microseconds(200);

void relax() {
#if defined(__SSE2__) || defined(__x86_64__)
    _mm_pause();
#else
    std::this_thread::yield();
#endif
}

// Polls until the condition holds or the spin time is up; true when it holds.
template <class Condition> bool spinUntil(Condition condition) {
    const auto until = std::chrono::steady_clock::now() + spinLimit;
    while (true) {
        for (int i = 0; i < 64; ++i) {
            if (condition()) {
                return true;
            }
            relax();
        }
        if (std::chrono::steady_clock::now() >= until) {
            return condition();
        }
    }
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
        generation_.fetch_add(1, std::memory_order_release);
    }
    frameStarted_.notify_all();
    for (std::thread& helper : helpers_) {
        helper.join();
    }
}

std::int32_t ColumnWorkers::run() {
    nextColumn_.store(0, std::memory_order_relaxed);
    deepest_.store(0, std::memory_order_relaxed);
    if (!helpers_.empty()) {
        busyHelpers_.store(static_cast<std::int32_t>(helpers_.size()), std::memory_order_relaxed);
        {
            // Under the lock, so that a helper about to sleep cannot miss the frame.
            const std::lock_guard<std::mutex> lock(mutex_);
            generation_.fetch_add(1, std::memory_order_release);
        }
        frameStarted_.notify_all();
    }
    drawRanges();
    const auto helpersDone = [this] {
        return busyHelpers_.load(std::memory_order_acquire) == 0;
    };
    if (!spinUntil(helpersDone)) {
        std::unique_lock<std::mutex> lock(mutex_);
        helpersDone_.wait(lock, helpersDone);
    }
    return deepest_.load(std::memory_order_relaxed);
}

void ColumnWorkers::helperLoop() {
    std::uint32_t seen = 0;
    while (true) {
        const auto frameStarted = [this, &seen] {
            return generation_.load(std::memory_order_acquire) != seen;
        };
        if (!spinUntil(frameStarted)) {
            std::unique_lock<std::mutex> lock(mutex_);
            frameStarted_.wait(lock, frameStarted);
        }
        seen = generation_.load(std::memory_order_acquire);
        if (stopping_.load(std::memory_order_relaxed)) {
            return;
        }
        drawRanges();
        if (busyHelpers_.fetch_sub(1, std::memory_order_acq_rel) == 1) {
            const std::lock_guard<std::mutex> lock(mutex_);
            helpersDone_.notify_one();
        }
    }
}

void ColumnWorkers::drawRanges() {
    std::int32_t deepest = 0;
    while (true) {
        const std::int32_t first = nextColumn_.fetch_add(rangeSize_, std::memory_order_relaxed);
        if (first >= columns_) {
            break;
        }
        deepest = std::max(deepest, task_(first, std::min(first + rangeSize_, columns_)));
    }
    std::int32_t known = deepest_.load(std::memory_order_relaxed);
    while (deepest > known &&
           !deepest_.compare_exchange_weak(known, deepest, std::memory_order_relaxed)) {
    }
}
