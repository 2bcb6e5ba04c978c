#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "TestPlatformScreen.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace duskhall;

namespace {

// Counts the calls that ScreenCore makes through its virtual operations and
// remembers what it was given.
class ProbeScreen : public ScreenCore {
  public:
    void close() override {
        ++closes;
        ScreenCore::close();
    }
    bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
              PixelMode pixelMode) override {
        ownerAtOpen = owner();
        return ScreenCore::open(title, width, height, mode, pixelMode);
    }
    bool deliverFrame(const PackedPixel* pixels, const FloatPixel* floatPixels) override {
        ++deliveries;
        lastPixels = pixels;
        lastFloatPixels = floatPixels;
        return deliverResult;
    }
    void resetState() override {
        ++resets;
        ScreenCore::resetState();
    }

    int closes = 0;
    int resets = 0;
    int deliveries = 0;
    bool deliverResult = true;
    const PackedPixel* lastPixels = nullptr;
    const FloatPixel* lastFloatPixels = nullptr;
    Screen* ownerAtOpen = nullptr;
};

void expectClosedDefaults(const Screen& screen) {
    EXPECT_FALSE(screen.isOpen());
    EXPECT_EQ(screen.width(), 0);
    EXPECT_EQ(screen.height(), 0);
    EXPECT_EQ(screen.pixelMode(), PixelMode::Float);
    EXPECT_EQ(screen.screenMode(), ScreenMode::Unspecified);
    EXPECT_STREQ(screen.title(), "");
}

TEST(ScreenCore, FreshAndClosedScreensReportTheDefaults) {
    ScreenCore fresh;
    expectClosedDefaults(fresh);
    EXPECT_EQ(fresh.observer(), nullptr);
    EXPECT_EQ(fresh.owner(), nullptr);

    ScreenCore screen;
    ASSERT_TRUE(screen.open("duskhall", 320, 240, ScreenMode::Fullscreen, PixelMode::Integer));
    EXPECT_TRUE(screen.isOpen());
    EXPECT_STREQ(screen.title(), "duskhall");
    EXPECT_EQ(screen.width(), 320);
    EXPECT_EQ(screen.height(), 240);
    EXPECT_EQ(screen.pixelMode(), PixelMode::Integer);
    EXPECT_EQ(screen.screenMode(), ScreenMode::Fullscreen);
    screen.close();
    expectClosedDefaults(screen);
    screen.close(); // closing twice only resets again
    expectClosedDefaults(screen);
}

TEST(ScreenCore, ResetKeepsObserverAndOwner) {
    RecordingObserver observer;
    ScreenCore other;
    ScreenCore screen;
    screen.setObserver(&observer);
    screen.setOwner(&other);
    screen.open("a", 1, 1, ScreenMode::Windowed, PixelMode::Integer);
    screen.close();
    EXPECT_EQ(screen.observer(), &observer);
    EXPECT_EQ(screen.owner(), &other);
    EXPECT_EQ(&screen.eventTarget(), &other);
    screen.setOwner(nullptr);
    EXPECT_EQ(&screen.eventTarget(), &screen);
}

TEST(ScreenCore, TitleIsCutTo255Characters) {
    const std::string longTitle(300, 'x');
    ScreenCore screen;
    screen.open(longTitle.c_str(), 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_EQ(std::string(screen.title()), std::string(255, 'x'));

    const std::string exact(255, 'y');
    screen.open(exact.c_str(), 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_EQ(std::string(screen.title()), exact);

    screen.open(nullptr, 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_STREQ(screen.title(), "");
}

TEST(ScreenCore, ARetitledScreenReportsTheNewTitleCutTo255Bytes) {
    ScreenHandle handle(std::make_unique<ProbeScreen>(), "duskhall", 8, 8, ScreenMode::Windowed,
                        PixelMode::Integer);
    handle.setTitle("duskhall \xC2\xB7 60 fps");
    EXPECT_STREQ(handle.title(), "duskhall \xC2\xB7 60 fps");
    EXPECT_TRUE(handle.isOpen());
    handle.setTitle(std::string(300, 'x').c_str());
    EXPECT_EQ(std::string(handle.title()), std::string(255, 'x'));
    handle.setTitle(nullptr);
    EXPECT_STREQ(handle.title(), "");

    ScreenHandle empty(nullptr, "duskhall", 8, 8, ScreenMode::Windowed, PixelMode::Integer);
    empty.setTitle("nothing to show it"); // no screen: nothing happens
    EXPECT_STREQ(empty.title(), "");
}

TEST(ScreenCore, ReopeningWithItsOwnTitleKeepsTheTitle) {
    ProbeScreen screen;
    screen.open("duskhall", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    // The close that starts open empties the very text passed in.
    screen.open(screen.title(), 640, 480, ScreenMode::Fullscreen, PixelMode::Integer);
    EXPECT_EQ(screen.closes, 2);
    EXPECT_STREQ(screen.title(), "duskhall");
    EXPECT_EQ(screen.width(), 640);

    ScreenHandle handle(std::make_unique<ProbeScreen>(), "handle title", 8, 8, ScreenMode::Windowed,
                        PixelMode::Integer);
    EXPECT_TRUE(handle.open(handle.title(), 16, 16, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_STREQ(handle.title(), "handle title");
}

TEST(ScreenCore, OpeningAnOpenScreenClosesItFirstThroughTheDerivedClose) {
    ProbeScreen screen;
    screen.open("first", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_EQ(screen.closes, 1);
    screen.open("second", 640, 480, ScreenMode::Fullscreen, PixelMode::Float);
    EXPECT_EQ(screen.closes, 2);
    EXPECT_EQ(screen.resets, 2);
    EXPECT_TRUE(screen.isOpen());
    EXPECT_STREQ(screen.title(), "second");
    EXPECT_EQ(screen.width(), 640);
    EXPECT_EQ(screen.screenMode(), ScreenMode::Fullscreen);
}

TEST(ScreenCore, ModeValuesAreStoredAsGiven) {
    ScreenCore screen;
    for (std::int32_t value : {0, 1, 2, 3, 77}) {
        screen.open("m", 320, 240, static_cast<ScreenMode>(value), PixelMode::Integer);
        EXPECT_EQ(static_cast<std::int32_t>(screen.screenMode()), value);
    }
}

TEST(ScreenCore, NullFramesAreRefusedWithoutReachingTheFrameStep) {
    ProbeScreen screen;
    screen.open("f", 2, 1, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_FALSE(screen.showFrame(nullptr));
    EXPECT_FALSE(screen.showFloatFrame(nullptr));
    EXPECT_EQ(screen.deliveries, 0);

    const PackedPixel pixels[2] = {1, 2};
    const FloatPixel floats[2] = {};
    EXPECT_TRUE(screen.showFrame(pixels));
    EXPECT_EQ(screen.lastPixels, pixels);
    EXPECT_EQ(screen.lastFloatPixels, nullptr);
    EXPECT_TRUE(screen.showFloatFrame(floats));
    EXPECT_EQ(screen.lastPixels, nullptr);
    EXPECT_EQ(screen.lastFloatPixels, floats);

    screen.deliverResult = false;
    EXPECT_FALSE(screen.showFrame(pixels));
    EXPECT_EQ(screen.deliveries, 3);
}

TEST(ScreenCore, DefaultFrameStepAndModeSwitches) {
    ScreenCore screen;
    const PackedPixel pixel = 0;
    EXPECT_FALSE(screen.showFrame(&pixel)); // never opened
    ASSERT_TRUE(screen.open("duskhall", 4, 3, ScreenMode::Windowed, PixelMode::Integer));
    EXPECT_TRUE(screen.showFrame(&pixel));
    EXPECT_TRUE(screen.enterFullscreen());
    EXPECT_EQ(screen.screenMode(), ScreenMode::Fullscreen);
    EXPECT_TRUE(screen.enterWindowed());
    EXPECT_EQ(screen.screenMode(), ScreenMode::Windowed);
}

TEST(ScreenHandle, SetsItselfAsOwnerBeforeOpeningAndForwards) {
    auto core = std::make_unique<ProbeScreen>();
    ProbeScreen* probe = core.get();
    ScreenHandle handle(std::move(core), "duskhall", 320, 240, ScreenMode::Unspecified,
                        PixelMode::Integer);
    EXPECT_EQ(handle.implementation(), probe);
    EXPECT_EQ(probe->ownerAtOpen, &handle);
    EXPECT_EQ(&probe->eventTarget(), &handle);
    EXPECT_TRUE(handle.isOpen());
    EXPECT_STREQ(handle.title(), "duskhall");
    EXPECT_EQ(handle.width(), 320);
    EXPECT_EQ(handle.height(), 240);
    EXPECT_EQ(handle.pixelMode(), PixelMode::Integer);
    EXPECT_EQ(handle.screenMode(), ScreenMode::Unspecified);

    RecordingObserver observer;
    handle.setObserver(&observer);
    EXPECT_EQ(probe->observer(), &observer);
    EXPECT_EQ(handle.observer(), &observer);

    const PackedPixel pixels[320] = {};
    EXPECT_TRUE(handle.showFrame(pixels));
    EXPECT_EQ(probe->lastPixels, pixels);
    EXPECT_FALSE(handle.showFrame(nullptr));

    // The owner is fixed: the handle.
    ScreenCore other;
    handle.setOwner(&other);
    EXPECT_EQ(handle.owner(), &handle);
    EXPECT_EQ(probe->owner(), &handle);

    handle.close();
    EXPECT_FALSE(handle.isOpen());
    EXPECT_TRUE(handle.open("again", 8, 8, ScreenMode::Windowed, PixelMode::Float));
    EXPECT_STREQ(handle.title(), "again");
}

TEST(ScreenHandle, WithoutAScreenAnswersLikeAClosedOne) {
    testScreenFactory = nullptr;
    ScreenHandle handle("duskhall", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
    EXPECT_EQ(handle.implementation(), nullptr);
    expectClosedDefaults(handle);
    EXPECT_FALSE(handle.open("x", 1, 1, ScreenMode::Windowed, PixelMode::Integer));
    const PackedPixel pixel = 0;
    const FloatPixel floatPixel{};
    EXPECT_FALSE(handle.showFrame(&pixel));
    EXPECT_FALSE(handle.showFloatFrame(&floatPixel));
    RecordingObserver observer;
    handle.setObserver(&observer);
    EXPECT_EQ(handle.observer(), nullptr);
    EXPECT_EQ(handle.owner(), &handle);
    handle.close();
    EXPECT_FALSE(handle.isOpen());
}

TEST(ScreenHandle, CreatesItsScreenThroughThePlatformFactory) {
    ProbeScreen* created = nullptr;
    testScreenFactory = [&created]() {
        auto screen = std::make_unique<ProbeScreen>();
        created = screen.get();
        return std::unique_ptr<ScreenCore>(std::move(screen));
    };
    {
        ScreenHandle handle("made", 16, 9, ScreenMode::Windowed, PixelMode::Integer);
        ASSERT_NE(created, nullptr);
        EXPECT_EQ(handle.implementation(), created);
        EXPECT_TRUE(handle.isOpen());
        EXPECT_EQ(handle.width(), 16);
    }
    testScreenFactory = nullptr;
}

} // namespace
