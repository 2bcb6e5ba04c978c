#include "AnimationPins.h"

#include <gtest/gtest.h>

TEST(AnimationCrcTest, FirstHundredFramesMatchTheirPins) {
    expectPinnedFrames(100);
}

TEST(AnimationCrcTest, FramesDrawnOnSeveralThreadsMatchTheSamePins) {
    // Two threads as on this machine, and more threads than ranges of some frames
    // would need, so that helpers also find nothing left to take.
    for (std::int32_t threads : {2, 7}) {
        SCOPED_TRACE(threads);
        expectPinnedFrames(100, threads);
    }
}

TEST(AnimationCrcTest, WholeFramesSideBySideMatchTheSamePins) {
    for (std::int32_t threads : {2, 3}) {
        SCOPED_TRACE(threads);
        expectPinnedFrames(100, threads, ThreadedDrawing::wholeFrames);
    }
}

TEST(AnimationCrcTest, TheBuiltInLevelsFileGivesTheSameFrames) {
    expectPinnedFrames(100, 2, ThreadedDrawing::columns, PinnedLevel::file);
    expectPinnedFrames(100, 2, ThreadedDrawing::wholeFrames, PinnedLevel::file);
}
