#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "TestPlatformScreen.h"

#include "app/ApplicationShell.h"
#include "app/ExploreControls.h"
#include "app/ExploreObserver.h"
#include "app/RunDemo.h"
#include "display/DisplayError.h"
#include <duskhall/ScreenHandle.h>

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace duskhall;

namespace {

// A screen that opens like the platform one but only remembers the frames.
class FrameRecordingScreen : public ScreenCore {
  public:
    bool deliverFrame(const PackedPixel* pixels, const FloatPixel*) override {
        lastFrame = pixels;
        ++frames;
        return isOpen();
    }
    static const PackedPixel* lastFrame;
    static int frames;
};
const PackedPixel* FrameRecordingScreen::lastFrame = nullptr;
int FrameRecordingScreen::frames = 0;

// A screen whose open fails, as when there is no display.
class UnopenableScreen : public ScreenCore {
  public:
    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override {
        ScreenCore::open(title, width, height, mode, pixelMode);
        setDisplayError("no display for the test");
        close();
        return false;
    }
};

TEST(KeyStateObserver, PressAndReleaseThroughTheWindowLogic) {
    KeyStateObserver observer;
    CountingScreen screen;
    FakeWindow window(screen, 320, 240);
    window.observer = &observer;
    window.send(wm::KeyDown, 65);
    EXPECT_EQ(keyHeld[65], 1);
    EXPECT_EQ(keyPressed[65], 1);
    window.send(wm::KeyDown, 65); // auto-repeat changes nothing
    window.send(wm::KeyUp, 65);
    EXPECT_EQ(keyHeld[65], 0);
    EXPECT_EQ(keyPressed[65], 1);
    window.send(wm::KeyDown, 189); // minus: KeyCode 108
    EXPECT_EQ(keyHeld[108], 1);
    EXPECT_EQ(keyHeld[189], 0);

    KeyStateObserver fresh; // a new observer starts from empty tables
    EXPECT_EQ(keyPressed[65], 0);
    EXPECT_EQ(keyHeld[108], 0);
}

TEST(ExploreObserver, KeepsTheKeyTablesAndFeedsExploreModesControls) {
    ExploreControls controls;
    ExploreObserver observer(controls);
    CountingScreen screen;
    FakeWindow window(screen, 320, 240);
    window.clientOverridden = true;
    window.client = WindowSize{320, 240}; // pointer positions are framebuffer pixels
    window.observer = &observer;
    window.send(wm::KeyDown, 'W');
    window.send(wm::KeyDown, 9); // Tab
    window.send(wm::KeyUp, 9);
    EXPECT_EQ(keyHeld['W'], 1);
    EXPECT_EQ(keyPressed[9], 1);
    window.send(wm::SetCursor, 0, HitClient);
    window.send(wm::LButtonDown, 0, mousePosition(100, 50));
    window.send(wm::MouseMove, 1, mousePosition(80, 50)); // dragged 20 pixels left
    ExploreControls::FrameInput input = controls.takeFrameInput(keyHeld);
    EXPECT_TRUE(input.move.forward);
    EXPECT_TRUE(input.toggleExplore);
    EXPECT_FLOAT_EQ(input.move.mouseTurn, 20.0f * ExploreControls::radiansPerPixel);

    // Losing the focus mid-drag ends the drag.
    window.send(wm::Activate, ActivateInactive);
    window.send(wm::MouseMove, 1, mousePosition(40, 50));
    EXPECT_EQ(controls.takeFrameInput(keyHeld).move.mouseTurn, 0.0f);
    window.send(wm::KeyUp, 'W');
}

TEST(ApplicationShell, SetDisplayTitleRetitlesTheOpenDisplay) {
    testScreenFactory = [] { return std::unique_ptr<ScreenCore>(new FrameRecordingScreen()); };
    ExploreControls controls;
    ASSERT_NE(openDisplay("duskhall", 320, 240, std::make_unique<ExploreObserver>(controls)),
              nullptr);
    testScreenFactory = nullptr;
    EXPECT_NE(dynamic_cast<ExploreObserver*>(shellDisplay()->observer()), nullptr);
    setDisplayTitle("duskhall \xC2\xB7 42 fps");
    EXPECT_STREQ(shellDisplay()->title(), "duskhall \xC2\xB7 42 fps");
    closeDisplay();
}

TEST(ApplicationShell, OpensShowsAndClosesTheDisplay) {
    testScreenFactory = [] { return std::unique_ptr<ScreenCore>(new FrameRecordingScreen()); };
    PackedPixel* pixels = openDisplay("duskhall", 320, 240);
    testScreenFactory = nullptr;
    ASSERT_NE(pixels, nullptr);
    ASSERT_NE(shellDisplay(), nullptr);
    EXPECT_STREQ(shellDisplay()->title(), "duskhall");
    EXPECT_NE(shellDisplay()->observer(), nullptr);
    for (int i = 0; i < 320 * 240; ++i) {
        ASSERT_EQ(pixels[i], 0u) << "pixel " << i;
    }
    EXPECT_FALSE(displayClosed());
    FrameRecordingScreen::frames = 0;
    EXPECT_TRUE(updateDisplay());
    EXPECT_EQ(FrameRecordingScreen::lastFrame, pixels);
    EXPECT_EQ(FrameRecordingScreen::frames, 1);
    closeDisplay();
    EXPECT_TRUE(displayClosed());
    EXPECT_FALSE(updateDisplay());
}

TEST(ApplicationShell, ADisplayThatCannotOpenGivesNullButKeepsTheObserver) {
    testScreenFactory = [] { return std::unique_ptr<ScreenCore>(new UnopenableScreen()); };
    EXPECT_EQ(openDisplay("duskhall", 320, 240), nullptr);
    testScreenFactory = nullptr;
    EXPECT_TRUE(displayClosed());
    ASSERT_NE(shellDisplay(), nullptr);
    EXPECT_NE(shellDisplay()->observer(), nullptr);
    closeDisplay();
}

TEST(RunDemo, WithoutAWindowReportsTheReasonAndFails) {
    testScreenFactory = [] { return std::unique_ptr<ScreenCore>(new UnopenableScreen()); };
    testing::internal::CaptureStderr();
    const int status = runDemo();
    const std::string errors = testing::internal::GetCapturedStderr();
    testScreenFactory = nullptr;
    EXPECT_EQ(status, 1);
    EXPECT_EQ(errors, "duskhall: cannot open a window: no display for the test\n");
}

#ifndef _WIN32
// Only a Linux desktop can be missing altogether; Windows always has one. Nothing
// but the program's own line reaches the terminal.
TEST(RunDemo, TheProgramWithoutADisplayExitsWithStatusOneAndSaysWhatItTried) {
    struct Case {
        const char* environment;
        const char* reason;
    };
    const Case cases[] = {
        {"-u DISPLAY", "neither DISPLAY nor WAYLAND_DISPLAY is set; run the program in a desktop "
                       "session, or set DISPLAY to a running X server (Xvfb, say)"},
        {"DISPLAY=:7777", "nothing answers at DISPLAY=:7777; start a display server there (Xvfb, "
                          "say) or set DISPLAY to one that runs"},
    };
    for (const Case& c : cases) {
        // What SDL's system libraries keep until exit is theirs (sanitizer builds).
        const std::string command =
            std::string("cd '") + DUSKHALL_SOURCE_DIR + "/assets' && env -u WAYLAND_DISPLAY " +
            "-u SDL_VIDEODRIVER " + c.environment + " LSAN_OPTIONS=suppressions='" +
            DUSKHALL_SOURCE_DIR + "/tests/display/lsan-suppressions.txt:print_suppressions=0' '" +
            DUSKHALL_BINARY_DIR + "/duskhall' 2>&1";
        FILE* pipe = popen(command.c_str(), "r");
        ASSERT_NE(pipe, nullptr);
        std::string output;
        char buffer[256];
        while (std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
            output += buffer;
        }
        const int status = pclose(pipe);
        ASSERT_TRUE(WIFEXITED(status));
        EXPECT_EQ(WEXITSTATUS(status), 1);
        EXPECT_EQ(output,
                  std::string("duskhall: cannot open a window: no display: ") + c.reason + "\n");
    }
}
#endif

} // namespace
