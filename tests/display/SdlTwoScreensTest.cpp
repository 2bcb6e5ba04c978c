// Two SDL screens open at once, driven from outside with real X input: each
// observer gets the input of its own window only, whichever screen pumps first.
#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "XWindowProbe.h"

#include "display/sdl/SdlScreen.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

using namespace duskhall;

namespace {

constexpr int frameWidth = 160;
constexpr int frameHeight = 120;

struct OpenScreen {
    explicit OpenScreen(const char* title, int left) {
        auto core = std::make_unique<SdlScreen>();
        screen = core.get();
        handle =
            std::make_unique<ScreenHandle>(std::move(core), title, frameWidth, frameHeight,
                                           ScreenMode::Windowed, PixelMode::Integer, &observer);
        if (handle->isOpen()) {
            // Side by side, so that a click lands on the window it is meant for.
            SDL_SetWindowPosition(screen->window()->handle(), left, 40);
        }
    }
    bool saw(const std::string& event) const {
        return std::count(observer.events.begin(), observer.events.end(), event) > 0;
    }
    RecordingObserver observer;
    SdlScreen* screen = nullptr;
    std::unique_ptr<ScreenHandle> handle;
};

void run(const std::string& command) {
    ASSERT_EQ(std::system(command.c_str()), 0) << command;
}

// Shows frames on one screen until it has seen the event; a generous bound only
// keeps a broken build from hanging.
bool pumpUntil(OpenScreen& screen, const std::string& event) {
    const std::vector<PackedPixel> frame(frameWidth * frameHeight, 0xFF336699u);
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!screen.saw(event) && std::chrono::steady_clock::now() < giveUp) {
        screen.handle->showFrame(frame.data());
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return screen.saw(event);
}

TEST(SdlTwoScreens, EachObserverGetsTheInputOfItsOwnWindowOnly) {
    OpenScreen left("duskhall left", 0);
    OpenScreen right("duskhall right", 400);
    ASSERT_TRUE(left.handle->isOpen() && right.handle->isOpen());
    const std::vector<PackedPixel> frame(frameWidth * frameHeight, 0xFF336699u);
    left.handle->showFrame(frame.data());
    right.handle->showFrame(frame.data());
    XWindowProbe probe;
    const unsigned long leftWindow = probe.waitForWindow("duskhall left", 5000);
    const unsigned long rightWindow = probe.waitForWindow("duskhall right", 5000);
    ASSERT_NE(leftWindow, 0u);
    ASSERT_NE(rightWindow, 0u);

    // The left window's input first, then the right's; only the right screen
    // pumps until its last event has come, so the left's waited for it meanwhile.
    for (const auto& [window, key] : {std::pair{leftWindow, "a"}, std::pair{rightWindow, "b"}}) {
        const std::string id = std::to_string(window);
        run("xdotool mousemove --sync --window " + id + " 30 20 click 1 click 1");
        run("xdotool windowfocus --sync " + id + " key " + key);
    }
    ASSERT_TRUE(pumpUntil(right, "keyUp 66"));
    ASSERT_TRUE(pumpUntil(left, "keyUp 65"));

    for (const OpenScreen* screen : {&left, &right}) {
        const bool isLeft = screen == &left;
        const auto& events = screen->observer.events;
        EXPECT_EQ(std::count(events.begin(), events.end(), "buttonDown L--"), 2);
        EXPECT_TRUE(screen->saw(isLeft ? "keyDown 65" : "keyDown 66"));
        EXPECT_FALSE(screen->saw(isLeft ? "keyDown 66" : "keyDown 65"));
        for (Screen* given : screen->observer.screens) {
            EXPECT_EQ(given, screen->handle.get());
        }
    }

    // A close refused on one window keeps it; an accepted one closes only that one.
    left.observer.closeAnswer = false;
    probe.askToClose(leftWindow);
    ASSERT_TRUE(pumpUntil(left, "closing"));
    EXPECT_TRUE(left.handle->showFrame(frame.data()));
    left.observer.closeAnswer = true;
    left.observer.events.clear();
    probe.askToClose(leftWindow);
    ASSERT_TRUE(pumpUntil(left, "closing"));
    EXPECT_FALSE(left.handle->showFrame(frame.data()));
    EXPECT_FALSE(right.saw("closing"));
    run("xdotool windowfocus --sync " + std::to_string(rightWindow) + " key c");
    EXPECT_TRUE(pumpUntil(right, "keyDown 67"));
    EXPECT_TRUE(right.handle->isOpen());
}

TEST(SdlTwoScreens, AWindowsQueueHoldsOnlyItsOwnEvents) {
    // More events of the left window than a window's queue holds, while only the
    // right screen pumps: the right's one key must not be crowded out by them.
    OpenScreen left("duskhall crowded", 0);
    OpenScreen right("duskhall quiet", 400);
    ASSERT_TRUE(left.handle->isOpen() && right.handle->isOpen());
    SDL_Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.scancode = SDL_SCANCODE_A;
    event.key.windowID = left.screen->window()->id();
    for (int i = 0; i < 300; ++i) {
        ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    }
    event.key.keysym.scancode = SDL_SCANCODE_B;
    event.key.windowID = right.screen->window()->id();
    ASSERT_EQ(SDL_PushEvent(&event), 1) << SDL_GetError();
    EXPECT_TRUE(pumpUntil(right, "keyDown 66"));
    EXPECT_FALSE(right.saw("keyDown 65"));
}

} // namespace
