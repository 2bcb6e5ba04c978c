#include "renderer/FrameBatch.h"

#include "renderer/ColumnDrawing.h"
#include "renderer/FrameLoop.h"
#include "renderer/Level.h"
#include "renderer/Traversal.h"
#include "renderer/View.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Each thread draws into two slots in turn: while it draws a frame, the frame
// after its last one may still be copying open rows from that one.
constexpr long long slotsPerThread = 2;

// As many sectors as the flat depth cache has room for.
constexpr std::int32_t maxSectors = flatCacheEntries / 2;

// Everything a thread writes for one frame, on cache lines of its own: a line one
// thread writes while another reads it moves between their cores each time.
struct alignas(64) Slot {
    std::vector<PackedPixel> pixels = std::vector<PackedPixel>(screenPixels);
    Sector sectors[maxSectors];
    FlatCacheEntry flats[flatCacheEntries];
    OpenRows open[screenWidth];
};

class FrameRun {
  public:
    FrameRun(long long frames, std::int32_t threads, const FrameSink& sink)
        : frames_(frames), threads_(threads), sink_(sink), startClock_(animationTime),
          first_(framebuffer, framebuffer + screenPixels),
          slots_(static_cast<std::size_t>(threads * slotsPerThread)) {
        for (Slot& slot : slots_) {
            std::copy(sectors, sectors + sectorCount, slot.sectors);
        }
    }

    void run() {
        std::vector<std::thread> helpers;
        for (std::int32_t t = 1; t < threads_; ++t) {
            helpers.emplace_back([this, t] { drawFrames(t); });
        }
        drawFrames(0);
        for (std::thread& helper : helpers) {
            helper.join();
        }
        finish();
    }

  private:
    Slot& slotOf(long long frame) {
        const long long turn = (frame - 1) / threads_;
        const long long thread = (frame - 1) % threads_;
        return slots_[static_cast<std::size_t>(thread * slotsPerThread + turn % slotsPerThread)];
    }

    // Waits until every frame up to the given one is final.
    void awaitFinal(long long frame) {
        for (int spin = 0; spin < 4096; ++spin) {
            if (final_.load(std::memory_order_acquire) >= frame) {
                return;
            }
            std::this_thread::yield();
        }
        std::unique_lock<std::mutex> lock(mutex_);
        finalChanged_.wait(lock, [&] { return final_.load(std::memory_order_acquire) >= frame; });
    }

    void publish(long long frame) {
        {
            const std::lock_guard<std::mutex> lock(mutex_);
            final_.store(frame, std::memory_order_release);
        }
        finalChanged_.notify_all();
    }

    void drawFrames(std::int32_t thread) {
        float clock = startClock_;
        long long clockFrame = 0;
        std::int32_t deepest = 0;
        for (long long frame = thread + 1; frame <= frames_; frame += threads_) {
            while (clockFrame < frame) {
                clock = nextClock(clock);
                ++clockFrame;
            }
            // The slot's last frame, frame - 2N, is read only by the frame after it,
            // which was final before this thread handed over frame - N.
            Slot& slot = slotOf(frame);
            deepest = std::max(deepest, draw(slot, clock));
            awaitFinal(frame - 1);
            takeOpenRows(slot, frame == 1 ? first_.data() : slotOf(frame - 1).pixels.data());
            sink_(frame, slot.pixels.data());
            publish(frame);
        }
        std::int32_t known = deepest_.load(std::memory_order_relaxed);
        while (deepest > known &&
               !deepest_.compare_exchange_weak(known, deepest, std::memory_order_relaxed)) {
        }
    }

    std::int32_t draw(Slot& slot, float clock) {
        const ScriptedFrame scripted = scriptedFrame(clock);
        if (sectorCount > 1) {
            slot.sectors[1].floorHeight = scripted.liftedFloor;
            slot.sectors[1].ceilingHeight = scripted.liftedCeiling;
        }
        const View view = {scripted.eye, scripted.dir, scripted.side, cameraSector,
                           slot.sectors, sectorCount,  slot.flats,    slot.pixels.data()};
        prepareFlatCache(view);
        return drawViewColumns(view, 0, screenWidth, slot.open);
    }

    static void takeOpenRows(Slot& slot, const PackedPixel* previous) {
        for (std::int32_t x = 0; x < screenWidth; ++x) {
            for (std::int32_t y = slot.open[x].top; y < slot.open[x].bottom; ++y) {
                slot.pixels[static_cast<std::size_t>(y * screenWidth + x)] =
                    previous[y * screenWidth + x];
            }
        }
    }

    // Leaves the program's state as the frame-by-frame drawing would.
    void finish() {
        if (frames_ < 1) {
            return;
        }
        float clock = startClock_;
        for (long long frame = 0; frame < frames_; ++frame) {
            clock = nextClock(clock);
        }
        animationTime = clock;
        viewDir.z = 0.0f;
        updateCamera();
        const ScriptedFrame scripted = scriptedFrame(clock);
        if (sectorCount > 1) {
            sectors[1].floorHeight = scripted.liftedFloor;
            sectors[1].ceilingHeight = scripted.liftedCeiling;
        }
        const Slot& last = slotOf(frames_);
        std::copy(last.pixels.begin(), last.pixels.end(), framebuffer);
        std::copy(std::begin(last.flats), std::end(last.flats), flatCache);
        deepestColumnVisits = std::max(deepestColumnVisits, deepest_.load());
    }

    const long long frames_;
    const std::int32_t threads_;
    const FrameSink& sink_;
    const float startClock_;
    const std::vector<PackedPixel> first_; // the framebuffer before the first frame
    std::vector<Slot> slots_;
    // Written every frame: away from the fields above, which every frame reads.
    alignas(64) std::atomic<long long> final_{0};
    std::atomic<std::int32_t> deepest_{0};
    std::mutex mutex_;
    std::condition_variable finalChanged_;
};

} // namespace

void drawFrameRun(long long frames, std::int32_t threads, const FrameSink& sink) {
    if (frames < 1) {
        return;
    }
    if (framebuffer == nullptr || sectors == nullptr || sectorCount > maxSectors) {
        for (long long frame = 1; frame <= frames; ++frame) {
            drawFrame();
            if (framebuffer != nullptr) {
                sink(frame, framebuffer);
            }
        }
        return;
    }
    FrameRun run(frames, std::max<std::int32_t>(threads, 1), sink);
    run.run();
}
