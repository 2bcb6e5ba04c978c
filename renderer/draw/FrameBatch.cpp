#include "renderer/draw/FrameBatch.h"

#include "renderer/draw/ColumnDrawing.h"
#include "renderer/draw/CpuRelax.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/Traversal.h"
#include "renderer/draw/View.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelThings.h"

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <mutex>
#include <thread>
#include <vector>

namespace {

// Each thread draws into two slots in turn: while it draws a frame, the frame
// after its last one may still be waiting to copy open rows from that one.
constexpr std::int32_t slotsPerThread = 2;

// The small levels a slot has room for; larger ones are drawn frame by frame.
constexpr std::int32_t maxSectors = flatCacheEntries / 2;

// Everything a thread writes for one frame, on cache lines of its own: a line one
// thread writes while another reads it moves between their cores each time.
// Sized for the frame size in force when the run starts.
struct alignas(64) Slot {
    std::atomic<long long> drawn{0}; // the frame last drawn here, set once it is drawn
    std::vector<PackedPixel> pixels = std::vector<PackedPixel>(framePixels());
    Sector sectors[maxSectors];
    FlatCacheEntry flats[flatCacheEntries];
    std::vector<OpenRows> open =
        std::vector<OpenRows>(static_cast<std::size_t>(frameGeometry.width));

    static std::size_t framePixels() {
        return static_cast<std::size_t>(frameGeometry.width) *
               static_cast<std::size_t>(frameGeometry.height);
    }
};

class FrameRun {
  public:
    FrameRun(long long frames, std::int32_t threads, const FrameSink& sink)
        : frames_(frames), threads_(threads), sink_(sink), startClock_(animationTime),
          first_(framebuffer, framebuffer + Slot::framePixels()),
          slots_(static_cast<std::size_t>(threads * slotsPerThread)),
          // Fewer frames than this are ever between the last final one and the
          // newest taken: each thread holds at most its slots' worth.
          framesInFlight_(static_cast<long long>(threads) * (slotsPerThread + 1) + 1),
          frameSlots_(static_cast<std::size_t>(framesInFlight_)) {
        for (Slot& slot : slots_) {
            std::copy(sectors, sectors + sectorCount, slot.sectors);
            for (FlatCacheEntry& flat : slot.flats) {
                sizeFlatRows(flat);
            }
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
    // Where a frame in flight is drawn; the entry is reused framesInFlight_ frames on.
    std::atomic<Slot*>& slotEntry(long long frame) {
        return frameSlots_[static_cast<std::size_t>(frame % framesInFlight_)];
    }

    // Waits until every frame up to the given one is final.
    void awaitFinal(long long frame) {
        // A short spin catches a frame about to be handed over; a longer wait sleeps.
        for (int spin = 0; spin < 1024; ++spin) {
            if (final_.load(std::memory_order_acquire) >= frame) {
                return;
            }
            cpuRelax();
        }
        std::unique_lock<std::mutex> lock(mutex_);
        finalChanged_.wait(lock, [&] { return final_.load(std::memory_order_acquire) >= frame; });
    }

    // Hands over, in order, every frame that is drawn and next: whoever drew it.
    // A thread does not wait for the frame before its own but draws on, so a
    // slower thread draws fewer frames instead of holding the others up. The
    // frame next in order is handed over by the thread that draws it, or by the
    // one that hands over the frame before it, so none is left behind.
    void handOverDrawnFrames() {
        const std::lock_guard<std::mutex> handingOver(handOver_);
        for (long long frame = final_.load(std::memory_order_relaxed) + 1; frame <= frames_;
             ++frame) {
            Slot* slot = slotEntry(frame).load(std::memory_order_acquire);
            if (slot == nullptr || slot->drawn.load(std::memory_order_acquire) != frame) {
                return;
            }
            const PackedPixel* previous =
                frame == 1 ? first_.data()
                           : slotEntry(frame - 1).load(std::memory_order_acquire)->pixels.data();
            takeOpenRows(*slot, previous);
            sink_(frame, slot->pixels.data());
            {
                const std::lock_guard<std::mutex> lock(mutex_);
                final_.store(frame, std::memory_order_release);
            }
            finalChanged_.notify_all();
        }
    }

    void drawFrames(std::int32_t thread) {
        float clock = startClock_;
        long long clockFrame = 0;
        std::int32_t deepest = 0;
        std::int32_t turn = 0;
        while (true) {
            const long long frame = next_.fetch_add(1, std::memory_order_relaxed);
            if (frame > frames_) {
                break;
            }
            while (clockFrame < frame) {
                clock = nextClock(clock);
                ++clockFrame;
            }
            Slot& slot = slots_[static_cast<std::size_t>(thread * slotsPerThread + turn)];
            turn = (turn + 1) % slotsPerThread;
            // The frame after the slot's last one reads that one until it is final,
            // and the entry of this frame held a frame that long gone.
            const long long held = slot.drawn.load(std::memory_order_relaxed);
            awaitFinal(held > 0 ? held + 1 : 0);
            awaitFinal(frame - framesInFlight_ + 1);
            deepest = std::max(deepest, draw(slot, clock));
            slotEntry(frame).store(&slot, std::memory_order_release);
            slot.drawn.store(frame, std::memory_order_release);
            handOverDrawnFrames();
        }
        std::int32_t known = deepest_.load(std::memory_order_relaxed);
        while (deepest > known &&
               !deepest_.compare_exchange_weak(known, deepest, std::memory_order_relaxed)) {
        }
    }

    std::int32_t draw(Slot& slot, float clock) {
        const ScriptedFrame scripted = scriptedFrame(clock);
        moveSectors(slot.sectors, clock);
        const View view = {scripted.eye, scripted.dir,       scripted.side,
                           cameraSector, slot.sectors,       sectorCount,
                           slot.flats,   slot.pixels.data(), flatCacheSize};
        prepareFlatCache(view);
        return drawViewColumns(view, 0, frameGeometry.width, slot.open.data());
    }

    static void takeOpenRows(Slot& slot, const PackedPixel* previous) {
        const std::int32_t width = frameGeometry.width;
        for (std::int32_t x = 0; x < width; ++x) {
            for (std::int32_t y = slot.open[x].top; y < slot.open[x].bottom; ++y) {
                slot.pixels[static_cast<std::size_t>(y * width + x)] = previous[y * width + x];
            }
        }
    }

    // Leaves the program's state as the frame-by-frame drawing would.
    void finish() {
        if (frames_ < 1) {
            return;
        }
        // The clock of the frame before the last, then the last frame's step.
        float clock = startClock_;
        for (long long frame = 1; frame < frames_; ++frame) {
            clock = nextClock(clock);
        }
        animationTime = clock;
        advanceAnimation();
        const Slot& last = *slotEntry(frames_).load();
        std::copy(last.pixels.begin(), last.pixels.end(), framebuffer);
        for (std::int32_t key = 0; key < flatCacheSize; ++key) {
            flatCache[key].rowDepth = last.flats[key].rowDepth;
            flatCache[key].rowLift = last.flats[key].rowLift;
            flatCache[key].valid.store(last.flats[key].valid.load());
        }
        deepestColumnVisits = std::max(deepestColumnVisits, deepest_.load());
    }

    const long long frames_;
    const std::int32_t threads_;
    const FrameSink& sink_;
    const float startClock_;
    const std::vector<PackedPixel> first_; // the framebuffer before the first frame
    std::vector<Slot> slots_;
    const long long framesInFlight_;
    std::vector<std::atomic<Slot*>> frameSlots_;
    std::atomic<long long> next_{1}; // the next frame to draw
    // Written every frame: away from the fields above, which every frame reads.
    alignas(64) std::atomic<long long> final_{0};
    std::atomic<std::int32_t> deepest_{0};
    std::mutex handOver_; // one thread hands frames over at a time
    std::mutex mutex_;
    std::condition_variable finalChanged_;
};

} // namespace

void drawFrameRun(long long frames, std::int32_t threads, const FrameSink& sink) {
    if (frames < 1) {
        return;
    }
    // Levels larger than a slot's tables, not under the script or with things (their
    // list is the current frame's), frame by frame.
    if (framebuffer == nullptr || sectors == nullptr || sectorCount > maxSectors ||
        flatCacheSize > flatCacheEntries || !levelStart.scripted || levelThingCount > 0) {
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
