#include "renderer/camera/WalkScript.h"

#include <gtest/gtest.h>

#include <sstream>

namespace {

bool parse(WalkScript& walk, const std::string& text, std::string& error) {
    std::istringstream in(text);
    return walk.parse(in, error);
}

} // namespace

TEST(WalkScriptTest, StretchesOfKeysFollowOneAnother) {
    WalkScript walk;
    std::string error;
    ASSERT_TRUE(parse(walk,
                      "# a comment\n"
                      "2 forward turn-left\n"
                      "\n"
                      "1\r\n"
                      "   3 back strafe-left strafe-right turn-right  \n",
                      error))
        << error;
    EXPECT_EQ(walk.frames(), 6);

    const MoveInput first = walk.keysAt(1);
    EXPECT_TRUE(first.forward && first.turnLeft);
    EXPECT_FALSE(first.back || first.strafeLeft || first.strafeRight || first.turnRight);
    EXPECT_TRUE(walk.keysAt(2).forward);
    const MoveInput still = walk.keysAt(3);
    EXPECT_FALSE(still.forward || still.back || still.strafeLeft || still.strafeRight ||
                 still.turnLeft || still.turnRight);
    for (std::int64_t frame = 4; frame <= 6; ++frame) {
        const MoveInput keys = walk.keysAt(frame);
        EXPECT_TRUE(keys.back && keys.strafeLeft && keys.strafeRight && keys.turnRight) << frame;
        EXPECT_FALSE(keys.forward || keys.turnLeft) << frame;
    }
    // Past the end nothing is held; going back to an earlier frame still works.
    EXPECT_FALSE(walk.keysAt(7).back);
    EXPECT_TRUE(walk.keysAt(1).forward);
    EXPECT_TRUE(walk.keysAt(5).back);
}

TEST(WalkScriptTest, MalformedLinesAreNamedWithTheirNumber) {
    const struct {
        const char* text;
        const char* error;
    } cases[] = {
        {"5 forward\n3 jump\n", "line 2: unknown key \"jump\""},
        {"forward 5\n", "line 1: \"forward\" is not a frame count"},
        {"\n\n0 back\n", "line 3: \"0\" is not a frame count"},
        {"-4\n", "line 1: \"-4\" is not a frame count"},
        {"2.5 forward\n", "line 1: \"2.5\" is not a frame count"},
        {"99999999999\n", "line 1: \"99999999999\" is not a frame count"},
        {"2147483647\n1\n", "line 2: the walk is longer than 2147483647 frames"},
        {"5 Forward\n", "line 1: unknown key \"Forward\""},
        {"# nothing but a comment\n\n", "no frames in the walk"},
        {"", "no frames in the walk"},
    };
    for (const auto& c : cases) {
        WalkScript walk;
        std::string error;
        EXPECT_FALSE(parse(walk, c.text, error)) << c.text;
        EXPECT_EQ(error.rfind(c.error, 0), 0u) << c.text << " gave: " << error;
    }
}
