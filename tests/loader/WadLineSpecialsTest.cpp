#include "renderer/level/wad/WadLineSpecials.h"

#include <gtest/gtest.h>

TEST(WadLineSpecialsTest, DoorsAndLiftsMoveAtTheGamesPaceAndOtherSpecialsAreLeftOut) {
    // Speeds in level units a second: 2 map units a tic (fast doors 8, lifts 4,
    // fast lifts 8) at 35 tics a second, 32 map units to a unit.
    const struct {
        std::int32_t special;
        std::int32_t back;
        bool known, walk, once, behind, lift, stays;
        float speed;
    } cases[] = {
        {1, 7, true, false, false, true, false, false, 2.1875f},
        {1, -1, false, false, false, false, false, false, 0.0f},  // a manual door with no door
        {26, 7, true, false, false, true, false, false, 2.1875f}, // locked: opens all the same
        {118, 7, true, false, false, true, false, true, 8.75f},
        {63, 7, true, false, false, false, false, false, 2.1875f},
        {2, -1, true, true, true, false, false, true, 2.1875f},
        {88, -1, true, true, false, false, true, false, 4.375f},
        {123, -1, true, false, false, false, true, false, 8.75f},
        {11, 7, false, false, false, false, false, false, 0.0f}, // an exit: no door, no lift
    };
    for (const auto& c : cases) {
        WadLineAction action;
        const bool known = wadLineAction({c.special, 5, 3, 2, c.back}, action);
        ASSERT_EQ(known, c.known) << c.special;
        if (!known) {
            continue;
        }
        EXPECT_EQ(action.walk, c.walk) << c.special;
        EXPECT_EQ(action.once, c.once) << c.special;
        EXPECT_EQ(action.behind, c.behind) << c.special;
        EXPECT_EQ(action.lift, c.lift) << c.special;
        EXPECT_EQ(action.stays, c.stays) << c.special;
        EXPECT_EQ(action.speed, c.speed) << c.special;
        EXPECT_EQ(action.tag, 5) << c.special;
        EXPECT_NEAR(action.wait, c.lift ? 3.0f : 150.0f / 35.0f, 1e-6f) << c.special;
    }
}
