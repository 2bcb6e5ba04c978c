#pragma once

#include <duskhall/InputObserver.h>
#include <duskhall/Screen.h>

#include "display/DisplayError.h"
#include "display/ScreenControl.h"
#include "display/ScreenCore.h"
#include "display/ScreenOutput.h"
#include "display/ScreenPlatform.h"
#include "display/WindowCore.h"

#include <memory>
#include <string>
#include <vector>

using namespace duskhall;

// Records every callback as a line such as "keyDown 27" or "buttonDown L-- 50.5 25.5",
// and which screen each callback was given.
class RecordingObserver : public InputObserver {
  public:
    void keyDown(Screen& screen, KeyCode key) override { record(screen, "keyDown", key); }
    void keyStroke(Screen& screen, KeyCode key) override { record(screen, "keyStroke", key); }
    void keyUp(Screen& screen, KeyCode key) override { record(screen, "keyUp", key); }
    void buttonDown(Screen& screen, MouseState mouse) override {
        recordMouse(screen, "buttonDown", mouse);
    }
    void buttonUp(Screen& screen, MouseState mouse) override {
        recordMouse(screen, "buttonUp", mouse);
    }
    void pointerMoved(Screen& screen, MouseState mouse) override {
        recordMouse(screen, "pointerMoved", mouse);
    }
    void wheel(Screen& screen, float dx, float dy) override {
        events.push_back("wheel " + number(dx) + " " + number(dy));
        screens.push_back(&screen);
    }
    void text(Screen& screen, const char* utf8) override {
        events.push_back(std::string("text ") + utf8);
        screens.push_back(&screen);
    }
    void focusChanged(Screen& screen, bool active) override {
        record(screen, "focusChanged", active ? 1 : 0);
    }
    void opened(Screen& screen) override { record(screen, "opened", -1); }
    bool closing(Screen& screen) override {
        record(screen, "closing", -1);
        return closeAnswer;
    }

    bool closeAnswer = true;
    std::vector<std::string> events;
    std::vector<Screen*> screens;
    std::vector<MouseState> mice;

  private:
    static std::string number(float value) {
        std::string text = std::to_string(value);
        text.erase(text.find_last_not_of('0') + 1);
        if (text.back() == '.') {
            text.pop_back();
        }
        return text;
    }
    void record(Screen& screen, const char* name, int value) {
        events.push_back(value < 0 ? std::string(name)
                                   : std::string(name) + " " + std::to_string(value));
        screens.push_back(&screen);
    }
    void recordMouse(Screen& screen, const char* name, MouseState mouse) {
        std::string buttons;
        buttons += mouse.left ? 'L' : '-';
        buttons += mouse.middle ? 'M' : '-';
        buttons += mouse.right ? 'R' : '-';
        events.push_back(std::string(name) + " " + buttons);
        screens.push_back(&screen);
        mice.push_back(mouse);
    }
};

// A screen that counts what its window asks of it.
class CountingScreen : public ScreenCore {
  public:
    bool paint() override {
        ++paints;
        return true;
    }
    bool enterFullscreen() override {
        ++fullscreenSwitches;
        return ScreenCore::enterFullscreen();
    }
    bool enterWindowed() override {
        ++windowedSwitches;
        return ScreenCore::enterWindowed();
    }
    void requestToggle() override { ++toggleRequests; }
    void requestClose() override { ++closeRequests; }

    int paints = 0;
    int fullscreenSwitches = 0;
    int windowedSwitches = 0;
    int toggleRequests = 0;
    int closeRequests = 0;
};

// A window whose platform is a few plain values; every platform call is recorded.
class FakeWindow : public WindowCore {
  public:
    FakeWindow(ScreenCore& screen, std::int32_t width, std::int32_t height)
        : WindowCore(&screen, width, height) {}

    // True when the message goes on to the default handling.
    bool send(std::uint32_t message, std::uintptr_t wParam = 0, std::intptr_t lParam = 0) {
        return handleMessage(WindowMessage{message, wParam, lParam});
    }
    // As the SDL and browser windows do: a release only after its press.
    void matchKeyUpsToKeyDowns() { keyUpsMatchKeyDowns = true; }
    // As Windows does: a held pointer is put back at the centre after each move.
    void holdByWarping() { holdsByWarping = true; }
    Modifiers modifiers() override { return heldKeys; }

    void pumpMessages() override { calls.push_back("pump"); }
    bool hidden() const override { return !visible; }
    void destroy() override { destroyed = true; }
    void setTopmost(bool on) override { calls.push_back(on ? "topmost" : "not topmost"); }
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override {
        if (refuseIcon) {
            setDisplayError("icon refused");
            return false;
        }
        icon.assign(pixels, pixels + width * height);
        iconWidth = width;
        return true;
    }

    // Platform state the hooks read.
    bool alt = false;
    WindowRect outer{0, 0, 320, 240};
    WindowSize screenArea{1920, 1080};
    FrameInsets insets{8, 31, 8, 8};
    bool isMinimised = false;
    bool isMaximised = false;
    bool clientOverridden = false;
    WindowSize client{};
    bool visible = false;
    Modifiers heldKeys;
    bool refuseHold = false;
    bool refuseIcon = false;
    std::vector<PackedPixel> icon; // the last icon shown, row by row
    std::int32_t iconWidth = 0;

    // What the hooks were asked to do.
    std::vector<std::string> calls;
    int captures = 0;
    int releases = 0;
    int menuBuilds = 0;

  protected:
    bool altHeld() override { return alt; }
    void setCapture() override {
        ++captures;
        calls.push_back("capture");
    }
    void releaseCapture() override {
        ++releases;
        calls.push_back("release");
    }
    WindowSize clientSize() override {
        if (clientOverridden) {
            return client;
        }
        return WindowSize{outer.width() - insets.left - insets.right,
                          outer.height() - insets.top - insets.bottom};
    }
    void setCursor(CursorKind cursor) override {
        calls.push_back(cursor == CursorKind::Arrow ? "cursor arrow" : "cursor blank");
    }
    void setVisible(bool show) override {
        visible = show;
        calls.push_back(show ? "show" : "hide");
    }
    void setFrameStyle(bool windowedStyle) override {
        calls.push_back(!windowedStyle ? "style fullscreen"
                        : borderless   ? "style borderless"
                                       : "style windowed");
    }
    WindowRect outerRect() override { return outer; }
    void moveWindow(const WindowRect& rect) override {
        outer = rect;
        calls.push_back("move " + std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
                        std::to_string(rect.right) + " " + std::to_string(rect.bottom));
    }
    WindowSize screenSize() override { return screenArea; }
    // A window without frame has none to count.
    FrameInsets frameInsets() override { return borderless ? FrameInsets{} : insets; }
    bool minimised() override { return isMinimised; }
    bool maximised() override { return isMaximised; }
    void applySystemMenu(const MenuList&) override { ++menuBuilds; }
    bool holdPointer(bool on) override {
        if (on && refuseHold) {
            return false;
        }
        calls.push_back(on ? "hold" : "let go");
        return true;
    }
    void warpPointer(std::int32_t x, std::int32_t y) override {
        calls.push_back("warp " + std::to_string(x) + " " + std::to_string(y));
    }
};

// The menu as "id:text" items, separators as "id:-".
std::vector<std::string> describeMenu(const MenuList& list);

// An output that keeps the vsync setting and counts its frames; given a frame size,
// it reads each frame whole at that size, as a real upload does (so a short frame
// is a read past its end).
class FakeOutput : public ScreenOutput {
  public:
    FakeOutput(bool vsync, WindowSize frame) : vsync(vsync), frame(frame) {}
    bool usable() override { return true; }
    bool update(const PackedPixel* pixels, const FloatPixel* floatPixels) override {
        const std::size_t count = static_cast<std::size_t>(frame.width) * frame.height;
        PackedPixel seen = 0;
        for (std::size_t i = 0; i < count; ++i) {
            seen |= pixels != nullptr ? pixels[i] : static_cast<PackedPixel>(floatPixels[i].red);
        }
        lastFrameBits = seen;
        ++framesShown;
        return true;
    }
    bool present() override { return true; }
    void setVsync(bool on) override { vsync = on; }
    bool vsync;
    WindowSize frame;
    int framesShown = 0;
    PackedPixel lastFrameBits = 0;
};

// A platform screen over a FakeWindow, with a largest frame side of 1000.
class FakePlatformScreen : private ScreenPlatform, public ScreenCore {
  public:
    FakePlatformScreen() : ScreenCore(static_cast<ScreenPlatform&>(*this)) {}
    FakeWindow* window() const { return static_cast<FakeWindow*>(windowCore()); }
    FakeOutput* output() const { return static_cast<FakeOutput*>(screenOutput()); }
    bool refuseFullscreen = false;
    bool outputsReadFrames = false; // the outputs read each frame at the frame size
    int windowsMade = 0;
    int outputsMade = 0;

  private:
    std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char*, std::int32_t width,
                                             std::int32_t height) override {
        ++windowsMade;
        auto window = std::make_unique<FakeWindow>(screen, width, height);
        window->alt = true; // so that Enter comes as Alt+Enter
        return window;
    }
    std::unique_ptr<ScreenOutput> createOutput(WindowCore&, ScreenMode mode) override {
        if (refuseFullscreen && mode == ScreenMode::Fullscreen) {
            return nullptr;
        }
        ++outputsMade;
        const WindowSize read = outputsReadFrames ? WindowSize{width(), height()} : WindowSize{};
        return std::make_unique<FakeOutput>(vsync(), read);
    }
    bool paintWithoutOutput() override { return false; }
    std::int32_t largestFrameSide() override { return 1000; }
};
