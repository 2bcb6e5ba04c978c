// The screen's rules for open arguments, frames of a screen that is not open,
// requests of a closed screen, refused switches and closes, the built-in keys and
// the pacing settings, over a platform of plain values.
#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "TestPlatformScreen.h"
#include "display/DisplayError.h"
#include "display/FramePacer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace duskhall;

namespace {

using Events = std::vector<std::string>;

class ScreenRulesTest : public ::testing::Test {
  protected:
    void open() {
        ASSERT_TRUE(screen.open("rules", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
        screen.setObserver(&observer);
    }
    FakePlatformScreen screen;
    RecordingObserver observer;
    const PackedPixel pixel = 0;
};

TEST_F(ScreenRulesTest, OpenRefusesSizesAndPixelModesNamingValueAndLimit) {
    struct Case {
        std::int32_t width;
        std::int32_t height;
        std::int32_t pixelMode;
        const char* message; // empty: opens
    };
    const Case cases[] = {
        {0, 0, 0, "width 0 is outside 1 to 1000"},
        {-5, -5, 0, "width -5 is outside 1 to 1000"},
        {1001, 240, 0, "width 1001 is outside 1 to 1000"},
        {320, 1001, 1, "height 1001 is outside 1 to 1000"},
        {320, 240, 7, "pixel mode 7 is neither PixelMode::Integer (0) nor PixelMode::Float (1)"},
        {320, 240, -1, "pixel mode -1 is neither"},
        {1000, 1, 1, ""},
        {1, 1000, 0, ""},
    };
    int opens = 0;
    for (const Case& c : cases) {
        opens += c.message[0] == '\0' ? 1 : 0;
        setDisplayError("");
        const bool opened = screen.open("rules", c.width, c.height, ScreenMode::Windowed,
                                        static_cast<PixelMode>(c.pixelMode));
        EXPECT_EQ(opened, c.message[0] == '\0') << c.width << " x " << c.height;
        EXPECT_EQ(screen.isOpen(), opened);
        EXPECT_EQ(std::string(displayError()).find(c.message), 0u) << displayError();
    }
    EXPECT_EQ(screen.windowsMade, opens); // refused arguments never reach the platform
    EXPECT_TRUE(screen.open(nullptr, 4, 3, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_STREQ(screen.title(), "");
}

TEST_F(ScreenRulesTest, AScreenThatIsNotOpenAnswersFramesWithFalse) {
    EXPECT_FALSE(screen.showFrame(&pixel)); // never opened
    open();
    EXPECT_TRUE(screen.showFrame(&pixel));
    setDisplayError("");
    EXPECT_FALSE(screen.showFrame(nullptr));
    EXPECT_NE(std::string(displayError()).find("null"), std::string::npos);
    EXPECT_TRUE(screen.isOpen());
    screen.close();
    const FloatPixel floats{};
    EXPECT_FALSE(screen.showFrame(&pixel));
    EXPECT_FALSE(screen.showFloatFrame(&floats));
    EXPECT_FALSE(screen.open("rules", 0, 240, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_FALSE(screen.showFrame(&pixel)); // failed to open
}

TEST_F(ScreenRulesTest, AClosedScreenRecordsNoToggleAndNoCloseRequest) {
    open();
    screen.close();
    screen.requestToggle();
    screen.requestClose();
    EXPECT_FALSE(screen.toggleRequested());
    EXPECT_FALSE(screen.closeRequested());
    open();
    EXPECT_TRUE(screen.showFrame(&pixel));
    EXPECT_EQ(screen.screenMode(), ScreenMode::Windowed);
}

TEST_F(ScreenRulesTest, ARefusedSwitchReportsTheModeInForce) {
    open();
    screen.refuseFullscreen = true;
    EXPECT_FALSE(screen.enterFullscreen());
    EXPECT_EQ(screen.screenMode(), ScreenMode::Windowed);
    screen.window()->send(wm::SysKeyDown, 13); // Alt+Enter: the toggle, refused too
    EXPECT_TRUE(screen.showFrame(&pixel));
    EXPECT_EQ(screen.screenMode(), ScreenMode::Windowed);
    EXPECT_TRUE(screen.isOpen());
}

TEST_F(ScreenRulesTest, ARefusedCloseKeepsTheWindowAndRaisesNoRequest) {
    open();
    observer.closeAnswer = false;
    EXPECT_FALSE(screen.window()->send(wm::Close)); // kept from the default handling
    EXPECT_FALSE(screen.closeRequested());
    EXPECT_TRUE(screen.showFrame(&pixel));
    observer.closeAnswer = true;
    EXPECT_TRUE(screen.window()->send(wm::Close));
    EXPECT_FALSE(screen.showFrame(&pixel));
    EXPECT_EQ(observer.events, (Events{"closing", "closing"}));
}

TEST_F(ScreenRulesTest, WithoutBuiltInKeysEscapeAndAltEnterAreOrdinaryKeys) {
    screen.setBuiltInKeys(false);
    open();
    FakeWindow& window = *screen.window();
    window.send(wm::KeyDown, 27);
    window.send(wm::SysKeyDown, 13);
    window.send(wm::SysKeyUp, 13);
    EXPECT_FALSE(window.takeShortcut('C', true, menu::Centre));
    EXPECT_FALSE(screen.closeRequested());
    EXPECT_FALSE(screen.toggleRequested());
    EXPECT_EQ(observer.events,
              (Events{"keyDown 27", "keyStroke 27", "keyDown 10", "keyStroke 10", "keyUp 10"}));
}

TEST_F(ScreenRulesTest, AShortcutTheScreenTakesIsNoKeyAndNoReleaseFollows) {
    open();
    FakeWindow& window = *screen.window();
    window.matchKeyUpsToKeyDowns();
    window.outer = WindowRect{5, 5, 325, 245}; // moved: Centre is offered
    window.centred = false;
    window.rebuildSystemMenu();
    EXPECT_TRUE(window.takeShortcut('C', true, menu::Centre));
    EXPECT_TRUE(window.takeShortcut('C', true, 0)); // its repeat
    EXPECT_TRUE(window.centred);
    EXPECT_FALSE(window.takeShortcut('C', false, 0));
    window.send(wm::KeyUp, 'C');
    window.send(wm::SysKeyDown, 13); // Alt+Enter
    window.send(wm::SysKeyUp, 13);
    EXPECT_TRUE(observer.events.empty());
    EXPECT_TRUE(screen.toggleRequested());
}

TEST_F(ScreenRulesTest, PacingAndKeySettingsOutliveSwitchesAndReopening) {
    screen.setVsync(false);
    screen.setFrameRate(30);
    screen.setBuiltInKeys(false);
    open();
    EXPECT_FALSE(screen.output()->vsync);
    ASSERT_TRUE(screen.enterFullscreen());
    EXPECT_FALSE(screen.output()->vsync);
    screen.setVsync(true);
    EXPECT_TRUE(screen.output()->vsync);
    screen.close();
    open();
    EXPECT_TRUE(screen.vsync());
    EXPECT_TRUE(screen.output()->vsync);
    EXPECT_EQ(screen.frameRate(), 30);
    EXPECT_FALSE(screen.builtInKeys());
    screen.setFrameRate(-3);
    EXPECT_EQ(screen.frameRate(), 0);
}

TEST(ScreenHandle, AnObserverGivenAtConstructionSeesTheOpen) {
    testScreenFactory = [] { return std::make_unique<FakePlatformScreen>(); };
    RecordingObserver observer;
    ScreenHandle handle("rules", 320, 240, ScreenMode::Windowed, PixelMode::Integer, &observer);
    testScreenFactory = nullptr;
    EXPECT_TRUE(handle.isOpen());
    EXPECT_EQ(handle.observer(), &observer);
    EXPECT_EQ(observer.events, (Events{"opened"}));
    EXPECT_EQ(observer.screens, (std::vector<Screen*>{&handle}));
}

TEST(FramePacer, DeadlinesLieWholePeriodsApartAndALateFrameCatchesUpAtMostOnePeriod) {
    using namespace std::chrono;
    FramePacer pacer;
    const FramePacer::Clock::time_point t0{};
    EXPECT_EQ(pacer.nextFrame(t0 + milliseconds(3)), t0 + milliseconds(3)); // no limit
    pacer.setRate(50);                                                      // 20 ms
    struct Step {
        int askedAt;
        int shownAt; // ms
    };
    const Step steps[] = {
        {0, 0},     // the first frame at once
        {5, 20},    // waits for its deadline
        {41, 41},   // 1 ms late: shown at once, next deadline stays at 60
        {45, 60},   //
        {130, 130}, // late by more than a period: the count starts again
        {131, 150}, // one period after, not hurrying to catch up
    };
    for (const Step& step : steps) {
        EXPECT_EQ(pacer.nextFrame(t0 + milliseconds(step.askedAt)), t0 + milliseconds(step.shownAt))
            << "asked at " << step.askedAt;
    }
    pacer.restart();
    EXPECT_EQ(pacer.nextFrame(t0 + milliseconds(200)), t0 + milliseconds(200));
}

} // namespace
