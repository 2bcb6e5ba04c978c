#include "AnimationPins.h"

#include "renderer/draw/Traversal.h"

#include <gtest/gtest.h>

TEST(AnimationLongCrcTest, FramesUpToTheCornerRayMatchTheirPins) {
    deepestColumnVisits = 0;
    expectPinnedFrames(6566);
    // Frame 6566 is the first whose ray through a shared portal end point needs
    // the visit bound; without it that column would never end.
    EXPECT_EQ(deepestColumnVisits, maxSectorVisits);
}

TEST(AnimationLongCrcTest, WholeFramesSideBySideMatchTheSamePins) {
    deepestColumnVisits = 0;
    expectPinnedFrames(6566, 2, ThreadedDrawing::wholeFrames);
    EXPECT_EQ(deepestColumnVisits, maxSectorVisits);
}

TEST(AnimationLongCrcTest, TheBuiltInLevelsFileGivesTheSameFrames) {
    deepestColumnVisits = 0;
    expectPinnedFrames(6566, 1, ThreadedDrawing::columns, PinnedLevel::file);
    EXPECT_EQ(deepestColumnVisits, maxSectorVisits);
}
