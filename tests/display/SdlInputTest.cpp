#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "XWindowProbe.h"

#include "display/DisplayError.h"
#include "display/sdl/SdlScreen.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace duskhall;

namespace {

// Keeps the wheel, text and moves a screen reports, with the modifiers held
// when each character arrived.
class InputLog : public InputObserver {
  public:
    void wheel(Screen&, float dx, float dy) override { wheels.push_back({dx, dy}); }
    void text(Screen& screen, const char* utf8) override {
        texts.emplace_back(utf8);
        textModifiers.push_back(screen.modifiers());
    }
    void pointerMoved(Screen&, MouseState mouse) override { moves.push_back(mouse); }

    std::vector<std::pair<float, float>> wheels;
    std::vector<std::string> texts;
    std::vector<Modifiers> textModifiers;
    std::vector<MouseState> moves;
};

class SdlInputTest : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(probe.connected());
        handle =
            std::make_unique<ScreenHandle>(std::make_unique<SdlScreen>(), "duskhall input", 320,
                                           240, ScreenMode::Windowed, PixelMode::Integer, &log);
        ASSERT_TRUE(handle->isOpen()) << displayError();
        ASSERT_TRUE(handle->showFrame(frame.data()));
        window = probe.waitForWindow("duskhall input", 5000);
        ASSERT_NE(window, 0u);
        // No window manager gives the focus: take it, so keys reach the window.
        xdotool("windowfocus --sync " + std::to_string(window));
        xdotool("mousemove --window " + std::to_string(window) + " 160 120");
    }

    static void xdotool(const std::string& arguments) {
        const std::string command = "xdotool " + arguments;
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
    }

    // Shows frames until done() holds or five seconds have passed.
    template <typename Done> void showFramesUntil(Done done) {
        const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(5);
        while (!done() && std::chrono::steady_clock::now() < end) {
            handle->showFrame(frame.data());
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }

    XWindowProbe probe;
    InputLog log;
    std::vector<PackedPixel> frame = std::vector<PackedPixel>(320 * 240, 0xFF204060u);
    std::unique_ptr<ScreenHandle> handle;
    unsigned long window = 0;
};

TEST_F(SdlInputTest, WheelButtonsAreNotchesAndTypedKeysAreTextWithTheirModifiers) {
    // Button 4 is the wheel turned away from the user, 5 towards.
    xdotool("click 4");
    xdotool("click --repeat 2 5");
    xdotool("key ctrl+1"); // a shortcut, not text
    xdotool("type Hi!");
    showFramesUntil([&] { return log.wheels.size() >= 3 && log.texts.size() >= 3; });
    ASSERT_EQ(log.wheels.size(), 3u);
    EXPECT_EQ(log.wheels[0], std::make_pair(0.0f, 1.0f));
    EXPECT_EQ(log.wheels[1], std::make_pair(0.0f, -1.0f));
    EXPECT_EQ(log.wheels[2], std::make_pair(0.0f, -1.0f));
    EXPECT_EQ(log.texts, (std::vector<std::string>{"H", "i", "!"}));

    // The left key: xdotool presses a right modifier together with the left one.
    xdotool("keydown Control_L");
    showFramesUntil([&] { return handle->modifiers().any(Modifiers::LeftControl); });
    EXPECT_EQ(handle->modifiers(), Modifiers{Modifiers::LeftControl});
    xdotool("keyup Control_L");
    showFramesUntil([&] { return handle->modifiers() == Modifiers{}; });
    EXPECT_EQ(handle->modifiers(), Modifiers{});

    // All of it reaches the window before the next frame: each character still
    // sees the modifiers of its own moment, not those of the last event queued.
    xdotool("keydown Shift_R key a keyup Shift_R key b");
    showFramesUntil([&] { return log.texts.size() >= 5; });
    ASSERT_EQ(log.texts, (std::vector<std::string>{"H", "i", "!", "A", "b"}));
    EXPECT_TRUE(log.textModifiers[3].any(Modifiers::RightShift));
    EXPECT_EQ(log.textModifiers[4], Modifiers{});
}

TEST_F(SdlInputTest, AHeldPointerReportsChangesAndStaysPut) {
    showFramesUntil([&] { return !log.moves.empty(); });
    ASSERT_FALSE(log.moves.empty()) << "the pointer's move into the window never arrived";
    const MouseState before = log.moves.back();
    ASSERT_TRUE(handle->setRelativeMouse(true)) << displayError();
    log.moves.clear();
    xdotool("mousemove_relative -- 40 -10");
    showFramesUntil([&] { return !log.moves.empty(); });
    ASSERT_FALSE(log.moves.empty());
    float dx = 0.0f;
    float dy = 0.0f;
    for (const MouseState& move : log.moves) {
        dx += move.dx;
        dy += move.dy;
        EXPECT_EQ(move.x, before.x);
        EXPECT_EQ(move.y, before.y);
    }
    EXPECT_GT(dx, 0.0f);
    EXPECT_LT(dy, 0.0f);
    EXPECT_TRUE(handle->setRelativeMouse(false));
    EXPECT_FALSE(handle->relativeMouse());
}

} // namespace
