#include "DisplayFakes.h"

#include <duskhall/DisplayError.h>

#include "display/WindowGeometry.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

struct PictureCase {
    Scaling scaling;
    WindowSize frame;
    WindowSize client;
    WindowRect expected;
};

TEST(PictureRect, EachScalingPlacesTheFrameInTheClientArea) {
    const PictureCase cases[] = {
        {Scaling::Stretch, {320, 240}, {800, 300}, {0, 0, 800, 300}},
        {Scaling::Fit, {320, 240}, {800, 480}, {80, 0, 720, 480}},
        {Scaling::Fit, {320, 240}, {640, 600}, {0, 60, 640, 540}},
        {Scaling::Fit, {320, 240}, {640, 480}, {0, 0, 640, 480}},
        // Whole multiples only, centred, bars on every side.
        {Scaling::Integer, {320, 240}, {700, 500}, {30, 10, 670, 490}},
        {Scaling::Integer, {320, 240}, {1000, 1000}, {20, 140, 980, 860}},
        {Scaling::Integer, {320, 240}, {320, 240}, {0, 0, 320, 240}},
        {Scaling::Integer, {320, 240}, {400, 300}, {40, 30, 360, 270}}, // once, not fitted
        // Not even one whole frame fits: shrunk to fit, keeping its shape.
        {Scaling::Integer, {320, 240}, {200, 300}, {0, 75, 200, 225}},
        // Large sizes do not overflow.
        {Scaling::Fit, {16384, 3}, {30000, 30000}, {0, 14997, 30000, 15002}},
    };
    for (const PictureCase& c : cases) {
        const WindowRect rect = pictureRect(c.scaling, c.frame, c.client);
        EXPECT_EQ((std::vector<int>{rect.left, rect.top, rect.right, rect.bottom}),
                  (std::vector<int>{c.expected.left, c.expected.top, c.expected.right,
                                    c.expected.bottom}))
            << "scaling " << static_cast<int>(c.scaling) << ", client " << c.client.width << " x "
            << c.client.height;
    }
}

// Records the sizes it is told and the mouse positions.
class SizeObserver : public InputObserver {
  public:
    void resized(Screen&, std::int32_t width, std::int32_t height) override {
        sizes.push_back(std::to_string(width) + "x" + std::to_string(height));
    }
    void pointerMoved(Screen&, MouseState mouse) override { mice.push_back(mouse); }
    std::vector<std::string> sizes;
    std::vector<MouseState> mice;
};

class ScreenSizeTest : public ::testing::Test {
  protected:
    ScreenSizeTest() {
        screen.setObserver(&observer);
        screen.open("size", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    }
    FakeWindow& window() { return *screen.window(); }
    WindowSize client() {
        const WindowRect outer = window().outer;
        const FrameInsets in = window().insets;
        return WindowSize{outer.width() - in.left - in.right, outer.height() - in.top - in.bottom};
    }

    FakePlatformScreen screen;
    SizeObserver observer;
};

TEST_F(ScreenSizeTest, MousePositionsAreFramePixelsOfThePictureUnderEveryScaling) {
    window().clientOverridden = true;
    window().client = WindowSize{800, 480};
    struct MouseCase {
        Scaling scaling;
        int clientX, clientY;
        float x, y;
    };
    const MouseCase cases[] = {
        {Scaling::Fit, 80, 0, 0.0f, 0.0f},        // the picture's corner
        {Scaling::Fit, 400, 240, 160.0f, 120.0f}, // its middle
        {Scaling::Fit, 40, 10, -20.0f, 5.0f},     // over the left bar
        {Scaling::Fit, 760, 479, 340.0f, 239.5f}, // over the right bar
        {Scaling::Stretch, 400, 240, 160.0f, 120.0f},
        {Scaling::Stretch, 80, 0, 32.0f, 0.0f},
    };
    for (const MouseCase& c : cases) {
        ASSERT_TRUE(screen.setScaling(c.scaling));
        window().send(wm::MouseMove, 0, mousePosition(c.clientX, c.clientY));
        ASSERT_FALSE(observer.mice.empty());
        EXPECT_EQ(observer.mice.back().x, c.x) << c.clientX << "," << c.clientY;
        EXPECT_EQ(observer.mice.back().y, c.y) << c.clientX << "," << c.clientY;
    }
    // Integer in 700 x 500: twice the frame at (30, 10), bars on all four sides.
    window().client = WindowSize{700, 500};
    ASSERT_TRUE(screen.setScaling(Scaling::Integer));
    window().send(wm::MouseMove, 0, mousePosition(31, 5));
    EXPECT_EQ(observer.mice.back().x, 0.5f);
    EXPECT_EQ(observer.mice.back().y, -2.5f);
}

TEST_F(ScreenSizeTest, ResizedIsToldOncePerNewClientSize) {
    window().clientOverridden = true;
    window().client = WindowSize{320, 240}; // the size it opened with
    window().send(wm::Size);
    window().client = WindowSize{500, 400};
    window().send(wm::Sizing);
    window().send(wm::Sizing);
    window().send(wm::Size);
    window().client = WindowSize{0, 0}; // minimised
    window().send(wm::Size);
    window().client = WindowSize{500, 400}; // restored
    window().send(wm::Size);
    window().client = WindowSize{320, 240};
    window().send(wm::Size);
    EXPECT_EQ(observer.sizes, (std::vector<std::string>{"500x400", "320x240"}));
}

TEST_F(ScreenSizeTest, ZoomSizesTheClientAreaOnlyWhenTheZoomCommandsWouldOfferIt) {
    ASSERT_TRUE(screen.setZoom(4)); // 1280 x 960 inside 1920 x 1080
    EXPECT_EQ(client().width, 1280);
    EXPECT_EQ(client().height, 960);
    EXPECT_EQ(observer.sizes, (std::vector<std::string>{"1280x960"}));

    const WindowRect before = window().outer;
    for (std::int32_t factor : {5, 0, -2}) {
        EXPECT_FALSE(screen.setZoom(factor)) << factor;
        EXPECT_NE(std::strstr(displayError(), "zoom"), nullptr) << displayError();
    }
    window().isMaximised = true;
    EXPECT_FALSE(screen.setZoom(1));
    window().isMaximised = false;
    EXPECT_EQ(window().outer.width(), before.width());
    EXPECT_EQ(observer.sizes.size(), 1u);

    ASSERT_TRUE(screen.setZoom(3)); // any whole factor, not only the menu's
    EXPECT_EQ(client().width, 960);
    ASSERT_TRUE(screen.enterFullscreen());
    EXPECT_FALSE(screen.setZoom(1));
}

TEST_F(ScreenSizeTest, FrameSizeRebuildsTheOutputOnceAndKeepsTheWindow) {
    ASSERT_TRUE(screen.setZoom(2));
    const WindowRect outer = window().outer;
    const int outputs = screen.outputsMade;
    ASSERT_TRUE(screen.setFrameSize(400, 100));
    EXPECT_EQ(screen.width(), 400);
    EXPECT_EQ(screen.height(), 100);
    EXPECT_EQ(screen.outputsMade, outputs + 1);
    EXPECT_EQ(window().outer.width(), outer.width());
    EXPECT_EQ(window().outer.height(), outer.height());
    // Mouse and zoom now work on the new frame: 640 x 480 shows it 640 x 160 at top 160.
    window().send(wm::MouseMove, 0, mousePosition(320, 160));
    EXPECT_EQ(observer.mice.back().x, 200.0f);
    EXPECT_EQ(observer.mice.back().y, 0.0f);
    ASSERT_TRUE(screen.setFrameSize(400, 100)); // the same size rebuilds nothing
    EXPECT_EQ(screen.outputsMade, outputs + 1);

    for (const WindowSize refused : {WindowSize{0, 10}, WindowSize{10, -1}, WindowSize{1001, 5}}) {
        EXPECT_FALSE(screen.setFrameSize(refused.width, refused.height));
        EXPECT_EQ(screen.width(), 400);
        EXPECT_EQ(screen.height(), 100);
        EXPECT_EQ(screen.outputsMade, outputs + 1);
    }
    EXPECT_NE(std::strstr(displayError(), "1001"), nullptr) << displayError();
}

// A frame size changed by a callback while showFrame pumps: the frame given at the
// old size is never read at the new one; it is dropped, and the next frame shows.
class FollowingObserver : public InputObserver {
  public:
    void resized(Screen& screen, std::int32_t width, std::int32_t height) override {
        screen.setFrameSize(width, height);
    }
};

TEST_F(ScreenSizeTest, AFrameSizeChangedWhileAFrameIsDeliveredDropsThatFrame) {
    FollowingObserver following;
    screen.setObserver(&following);
    screen.outputsReadFrames = true;
    ASSERT_TRUE(screen.setFrameSize(320, 200)); // an output that reads
    ASSERT_TRUE(screen.setFrameSize(320, 240));
    const std::vector<PackedPixel> small(320 * 240, 0x1u);
    const std::vector<PackedPixel> large(640 * 480, 0x2u);
    ASSERT_TRUE(screen.showFrame(small.data()));
    ASSERT_EQ(screen.output()->framesShown, 1);
    window().clientOverridden = true;
    window().client = WindowSize{640, 480}; // the user drags the window larger
    EXPECT_TRUE(screen.showFrame(small.data()));
    EXPECT_EQ(screen.width(), 640);
    EXPECT_EQ(screen.output()->framesShown, 0);
    EXPECT_TRUE(screen.showFrame(large.data()));
    EXPECT_EQ(screen.output()->framesShown, 1);
    EXPECT_EQ(screen.output()->lastFrameBits, 0x2u);
}

TEST_F(ScreenSizeTest, ClosedScreensRefuseAndTheSettingsOutliveReopening) {
    ASSERT_TRUE(screen.setResizable(true));
    ASSERT_TRUE(screen.setScaling(Scaling::Integer));
    EXPECT_FALSE(screen.setScaling(static_cast<Scaling>(7)));
    EXPECT_EQ(screen.scaling(), Scaling::Integer);
    EXPECT_EQ(screen.desktopSize().width, 1920);
    screen.close();

    EXPECT_FALSE(screen.setResizable(false));
    EXPECT_NE(std::strstr(displayError(), "open"), nullptr) << displayError();
    EXPECT_FALSE(screen.setScaling(Scaling::Fit));
    EXPECT_FALSE(screen.setZoom(1));
    EXPECT_FALSE(screen.setFrameSize(10, 10));
    EXPECT_EQ(screen.desktopSize().width, 0);
    EXPECT_EQ(screen.displayScale(), 1.0f);

    ASSERT_TRUE(screen.open("again", 320, 240, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_TRUE(screen.resizable());
    EXPECT_TRUE(window().resizable); // the new window is told
    EXPECT_EQ(screen.scaling(), Scaling::Integer);
}

} // namespace
