#include "app/FrameRateTitle.h"

#include <gtest/gtest.h>

#include <string>

TEST(FrameRateTitleTest, ShowsTheRateOfTheLastSecondAndGoesBackToThePlainTitle) {
    FrameRateTitle title("duskhall");
    EXPECT_STREQ(title.title(), "duskhall");
    EXPECT_FALSE(title.frameShown(0.5)); // off: nothing to update

    title.toggle(10.0);
    EXPECT_TRUE(title.showing());
    EXPECT_STREQ(title.title(), "duskhall \xC2\xB7 \xE2\x80\xA6 fps"); // measuring
    // 60 frames at 1/60 s: the last one completes the second.
    for (int frame = 1; frame < 60; ++frame) {
        EXPECT_FALSE(title.frameShown(10.0 + frame / 60.0)) << frame;
    }
    EXPECT_TRUE(title.frameShown(11.0));
    EXPECT_STREQ(title.title(), "duskhall \xC2\xB7 60 fps");

    // The next second runs slower: 45 frames over 1.5 s is 30 a second.
    bool changed = false;
    for (int frame = 1; frame <= 45 && !changed; ++frame) {
        changed = title.frameShown(11.0 + frame / 30.0);
        EXPECT_EQ(changed, frame == 30) << frame;
    }
    EXPECT_STREQ(title.title(), "duskhall \xC2\xB7 30 fps");

    title.toggle(13.0);
    EXPECT_FALSE(title.showing());
    EXPECT_STREQ(title.title(), "duskhall");
    EXPECT_FALSE(title.frameShown(20.0));
}

TEST(FrameRateTitleTest, AStallShowsAsALowRate) {
    FrameRateTitle title("duskhall");
    title.toggle(0.0);
    EXPECT_TRUE(title.frameShown(4.0)); // one frame in four seconds
    EXPECT_STREQ(title.title(), "duskhall \xC2\xB7 0 fps");
    const std::string longBase(200, 'x');
    FrameRateTitle cut(longBase.c_str());
    EXPECT_LT(std::string(cut.title()).size(), static_cast<std::size_t>(FrameRateTitle::Capacity));
}

// The readout rounds to the nearest whole rate: a title that cut the fraction off
// would show 59 for 119 frames in two seconds.
TEST(FrameRateTitleTest, TheRateIsRoundedNotCut) {
    struct Case {
        int frames;
        double seconds;
        const char* expected;
    };
    const Case cases[] = {
        {119, 2.0, "duskhall \xC2\xB7 60 fps"}, // 59.5
        {179, 3.0, "duskhall \xC2\xB7 60 fps"}, // 59.67
        {147, 2.5, "duskhall \xC2\xB7 59 fps"}, // 58.8
        {89, 4.0, "duskhall \xC2\xB7 22 fps"},  // 22.25
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.frames);
        FrameRateTitle title("duskhall");
        title.toggle(0.0);
        // Every frame but the last inside the first half second, the last one at the end.
        for (int frame = 1; frame < c.frames; ++frame) {
            EXPECT_FALSE(title.frameShown(0.5 * frame / c.frames));
        }
        EXPECT_TRUE(title.frameShown(c.seconds));
        EXPECT_STREQ(title.title(), c.expected);
    }
}
