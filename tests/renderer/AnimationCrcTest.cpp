#include "AnimationPins.h"

#include <gtest/gtest.h>

TEST(AnimationCrcTest, FirstHundredFramesMatchTheirPins) {
    expectPinnedFrames(100);
}
