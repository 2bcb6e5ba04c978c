#include "tests/fuzz/WindowSession.h"

#include "display/ScreenCore.h"
#include "display/ScreenOutput.h"
#include "display/ScreenPlatform.h"
#include "display/TypedText.h"
#include "display/WindowCore.h"
#include <duskhall/InputObserver.h>
#include <duskhall/ScreenHandle.h>

#include <array>
#include <cmath>
#include <cstring>
#include <memory>
#include <utility>
#include <vector>

using namespace duskhall;

namespace {

// The input, read a byte at a time; zeros once it is used up.
class Input {
  public:
    Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
    std::uint8_t byte() { return position_ < size_ ? data_[position_++] : 0; }
    bool done() const { return position_ >= size_; }

  private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t position_ = 0;
};

class FuzzWindow;

struct Session {
    Session(const std::uint8_t* data, std::size_t size) : input(data, size) {}

    Input input;
    std::string failure;
    int liveWindows = 0;
    int liveOutputs = 0;
    int nesting = 0;
    ScreenCore* screen = nullptr;
    // The windows not yet freed, with the number each was made under, so a check
    // never reads a freed one (nor a new one at the same address).
    std::vector<std::pair<const FuzzWindow*, int>> windows;
    int windowsMade = 0;
    // Where altHeld reports to: the message being handled innermost.
    bool* alt = nullptr;
    // Key-down messages being handled, innermost last. The window latches the key
    // between the keyDown and keyStroke callbacks, so what a handler run from
    // keyStroke sees already has the latch.
    struct PendingKey {
        FuzzWindow* window;
        int serial;
        std::size_t key;
        bool latched;
    };
    std::vector<PendingKey> keys;
    // Button messages being handled: between a button's flag and its capture
    // call a handler may run others, so the capture is checked outside them.
    int buttonsInFlight = 0;

    bool live(const FuzzWindow* window, int serial) const {
        for (const auto& known : windows) {
            if (known.first == window && known.second == serial) {
                return true;
            }
        }
        return false;
    }

    void fail(const std::string& what) {
        if (failure.empty()) {
            failure = what;
        }
    }
};

Session* session = nullptr;

constexpr std::array<std::uint32_t, 27> messages = {
    wm::Destroy,     wm::Size,       wm::Activate,    wm::Paint,       wm::Close,
    wm::Quit,        wm::SetCursor,  wm::KeyDown,     wm::KeyUp,       wm::SysKeyDown,
    wm::SysKeyUp,    wm::SysCommand, wm::MouseMove,   wm::LButtonDown, wm::LButtonUp,
    wm::RButtonDown, wm::RButtonUp,  wm::MButtonDown, wm::MButtonUp,   wm::Sizing,
    wm::Moving,      wm::Char,       wm::UniChar,     wm::MouseWheel,  wm::MouseHWheel,
    wm::MouseDelta,  wm::HoldLost};

// A key or mouse message, or a system-menu command, from the input.
WindowMessage messageFrom(Input& input, bool keysAllowed) {
    WindowMessage message;
    do {
        message.message = messages[input.byte() % messages.size()];
    } while (!keysAllowed && !input.done() &&
             (message.message == wm::KeyDown || message.message == wm::KeyUp ||
              message.message == wm::SysKeyDown || message.message == wm::SysKeyUp));
    if (message.message == wm::SysCommand) {
        message.wParam = input.byte() % 12;
    } else if (message.message == wm::KeyDown || message.message == wm::SysKeyDown ||
               message.message == wm::KeyUp || message.message == wm::SysKeyUp) {
        // Return, Escape and a few others, so that latches and requests meet often.
        constexpr std::array<std::uint8_t, 6> keys = {vk::Return, vk::Escape, 'A', 'B', 0x70, 0};
        message.wParam = keys[input.byte() % keys.size()];
    } else if (message.message == wm::Char) {
        // Surrogates alone and in pairs, controls and plain characters.
        constexpr std::array<std::uint16_t, 6> units = {'a', 0x1B, 0xD83D, 0xDE00, 0xE9, 0xFFFF};
        message.wParam = units[input.byte() % units.size()];
    } else if (message.message == wm::UniChar) {
        constexpr std::array<std::uint32_t, 5> points = {0x1F600, 0xFFFF, 0xD800, 0x110000, 'A'};
        message.wParam = points[input.byte() % points.size()];
    } else if (message.message == wm::MouseWheel || message.message == wm::MouseHWheel) {
        // Whole notches every eighth value, precise distances between them.
        message.wParam = wheelParam(static_cast<std::int8_t>(input.byte()) * (WheelDelta / 8));
    } else {
        message.wParam = input.byte();
    }
    message.lParam = mousePosition(input.byte() * 3 - 100, input.byte() * 2 - 50);
    if (message.message == wm::SetCursor) {
        message.lParam = input.byte() & 1;
    }
    return message;
}

class FuzzOutput : public ScreenOutput {
  public:
    explicit FuzzOutput(bool usable) : usable_(usable) { ++session->liveOutputs; }
    ~FuzzOutput() override { --session->liveOutputs; }
    bool usable() override { return usable_; }
    bool update(const PackedPixel*, const FloatPixel*) override { return usable_; }
    bool present() override { return usable_; }

  private:
    bool usable_;
};

// A window whose platform is a few values; messages posted to it wait in a queue
// for the next pump, and moving or showing it may send messages at once, as
// Win32 does.
class FuzzWindow : public WindowCore {
  public:
    FuzzWindow(ScreenCore* screen, std::int32_t width, std::int32_t height)
        : WindowCore(screen, width, height), serial_(++session->windowsMade) {
        // Half the windows hold the pointer as Windows does, by putting it back.
        holdsByWarping = (serial_ & 1) != 0;
        ++session->liveWindows;
        session->windows.emplace_back(this, serial_);
    }
    ~FuzzWindow() override {
        --session->liveWindows;
        for (auto& known : session->windows) {
            if (known.first == this) {
                known = session->windows.back();
                session->windows.pop_back();
                break;
            }
        }
    }

    void post(const WindowMessage& message) {
        if (queued_.size() < 64) {
            queued_.push_back(message);
        }
    }

    // After a message has been handled: the latches follow the key messages in
    // the order their handling ended (a handler may run others inside), and the
    // capture is held exactly while a button is.
    void checkAfter(const WindowMessage& message, bool alt, bool latched) {
        const std::size_t key = message.wParam & 0xFF;
        if (message.message == wm::KeyDown || message.message == wm::SysKeyDown) {
            if (!latched && !(key == vk::Return && alt)) {
                latches_[key] = true;
            }
        } else if (message.message == wm::KeyUp || message.message == wm::SysKeyUp) {
            latches_[key] = false;
        }
        if (latches_ != keyLatched) {
            session->fail("key latches differ from the messages seen");
        }
        if (session->buttonsInFlight == 0 &&
            captured_ != (mouse.left || mouse.middle || mouse.right)) {
            session->fail("mouse capture held without a button, or a button held without it");
        }
        checkHold();
    }

    // The platform holds the pointer exactly while the record says so.
    void checkHold() const {
        if (held_ != pointerHeld) {
            session->fail("the platform's hold on the pointer differs from the window's record");
        }
    }
    bool platformHolds() const { return held_; }

    void pumpMessages() override;
    bool hidden() const override { return !visible_; }
    void destroy() override {
        if (!destroyed) {
            handleMessage(WindowMessage{wm::Destroy, 0, 0});
        }
        destroyed = true;
    }

  protected:
    bool altHeld() override {
        const bool held = (session->input.byte() & 1) != 0;
        if (session->alt != nullptr) {
            *session->alt = held;
        }
        return held;
    }
    void setCapture() override {
        // A held button already has the capture. (A handler may press a button
        // again between a release and its ReleaseCapture; that takes it anew.)
        if (mouse.left || mouse.middle || mouse.right) {
            session->fail("mouse capture taken again while a button holds it");
        }
        captured_ = true;
    }
    void releaseCapture() override { captured_ = false; }
    bool holdPointer(bool on) override {
        if (on && session->input.byte() % 16 == 0) {
            return false; // refused, as a page without pointer lock refuses
        }
        held_ = on;
        return true;
    }
    Modifiers modifiers() override { return Modifiers{session->input.byte()}; }
    WindowSize clientSize() override { return WindowSize{outer_.width(), outer_.height()}; }
    void setCursor(CursorKind) override {}
    void setVisible(bool visible) override {
        visible_ = visible;
        sendNested();
    }
    void setFrameStyle(bool) override {
        if (session->input.byte() % 16 == 0) {
            styleFailed = true;
        }
        sendNested();
    }
    WindowRect outerRect() override { return outer_; }
    void moveWindow(const WindowRect& outer) override {
        outer_ = outer;
        sendNested();
    }
    WindowSize screenSize() override { return WindowSize{1920, 1080}; }
    FrameInsets frameInsets() override { return FrameInsets{8, 31, 8, 8}; }
    bool minimised() override { return false; }
    bool maximised() override { return false; }
    void applySystemMenu(const MenuList&) override {}

  private:
    // A message sent while the platform call runs (size, activation, a menu
    // command), handled before the call returns.
    void sendNested() {
        if (session->nesting >= 3 || destroyed || session->input.byte() % 4 != 0) {
            return;
        }
        ++session->nesting;
        deliver(this, messageFrom(session->input, false));
        --session->nesting;
    }

  public:
    // The innermost key-down has reached its keyStroke: its latch is set by now.
    static void keyStrokeReached() {
        if (session->keys.empty() || session->keys.back().latched) {
            return;
        }
        Session::PendingKey& pending = session->keys.back();
        pending.latched = true;
        if (session->live(pending.window, pending.serial)) {
            pending.window->latches_[pending.key] = true;
        }
    }

    // What a window procedure does with one message, then the checks, as long as
    // the window has not been freed meanwhile.
    static void deliver(FuzzWindow* window, const WindowMessage& message) {
        const int serial = window->serial_;
        const bool keyDown = message.message == wm::KeyDown || message.message == wm::SysKeyDown;
        if (keyDown) {
            session->keys.push_back(
                Session::PendingKey{window, serial, message.wParam & 0xFF, false});
        }
        const bool button = message.message >= wm::LButtonDown && message.message <= wm::MButtonUp;
        session->buttonsInFlight += button ? 1 : 0;
        bool alt = false;
        bool* const outer = session->alt;
        session->alt = &alt;
        window->handleMessage(message);
        session->alt = outer;
        session->buttonsInFlight -= button ? 1 : 0;
        bool latched = false;
        if (keyDown) {
            latched = session->keys.back().latched;
            session->keys.pop_back();
        }
        if (message.message == wm::Close && session->live(window, serial) && !window->destroyed) {
            window->destroy(); // the default handling of a close destroys the window
        }
        if (session->live(window, serial) && !window->destroyed) {
            window->checkAfter(message, alt, latched);
        }
    }

  private:
    const int serial_;
    std::vector<WindowMessage> queued_;
    std::size_t next_ = 0;
    WindowRect outer_{0, 0, 320, 240};
    bool visible_ = false;
    bool captured_ = false;
    bool held_ = false;
    std::array<bool, 256> latches_{};
};

void FuzzWindow::pumpMessages() {
    pumpStarting();
    while (!destroyed && next_ < queued_.size()) {
        deliver(this, queued_[next_++]);
    }
}

class FuzzScreen : private ScreenPlatform, public ScreenCore {
  public:
    FuzzScreen() : ScreenCore(static_cast<ScreenPlatform&>(*this)) {}
    FuzzWindow* window() const { return static_cast<FuzzWindow*>(windowCore()); }
    ScreenOutput* output() const { return screenOutput(); }

  private:
    std::unique_ptr<WindowCore> createWindow(ScreenCore& screen, const char*, std::int32_t width,
                                             std::int32_t height) override {
        if (session->input.byte() % 32 == 0) {
            return nullptr;
        }
        return std::make_unique<FuzzWindow>(&screen, width, height);
    }
    std::unique_ptr<ScreenOutput> createOutput(WindowCore&, ScreenMode) override {
        return std::make_unique<FuzzOutput>(session->input.byte() % 8 != 0);
    }
    bool paintWithoutOutput() override { return true; }
};

// An application that, when the input says so, closes, reopens or switches the
// screen from inside its callbacks.
class FuzzObserver : public InputObserver {
  public:
    void keyDown(Screen& screen, KeyCode) override { act(screen); }
    void keyStroke(Screen& screen, KeyCode) override {
        FuzzWindow::keyStrokeReached();
        act(screen);
    }
    void keyUp(Screen& screen, KeyCode) override { act(screen); }
    void buttonDown(Screen& screen, MouseState) override { act(screen); }
    void buttonUp(Screen& screen, MouseState) override { act(screen); }
    void pointerMoved(Screen& screen, MouseState) override { act(screen); }
    void focusChanged(Screen& screen, bool) override { act(screen); }
    void wheel(Screen& screen, float dx, float dy) override {
        // One axis a call, a notch or a precise part of one or more.
        if ((dx != 0.0f) == (dy != 0.0f) || !std::isfinite(dx) || !std::isfinite(dy)) {
            session->fail("a wheel call without exactly one finite axis");
        }
        act(screen);
    }
    void text(Screen& screen, const char* utf8) override {
        const char* rest = utf8;
        const std::uint32_t codePoint = nextCodePoint(rest);
        if (!isTextCodePoint(codePoint) || *rest != '\0') {
            session->fail("text that is not one typed character");
        }
        act(screen);
    }
    void resized(Screen& screen, std::int32_t, std::int32_t) override { act(screen); }
    void opened(Screen& screen) override { act(screen); }
    bool closing(Screen& screen) override {
        act(screen);
        return true;
    }

  private:
    void act(Screen& screen) {
        if (depth_ >= 3) {
            return;
        }
        ++depth_;
        switch (session->input.byte() % 12) {
        case 0:
            screen.close();
            break;
        case 1:
            screen.close();
            screen.open("duskhall", 320, 240, ScreenMode::Windowed, PixelMode::Integer);
            screen.close();
            break;
        case 2:
            screen.open("duskhall", 320, 240, ScreenMode::Fullscreen, PixelMode::Integer);
            break;
        case 3:
            session->screen->enterFullscreen();
            break;
        case 4:
            session->screen->enterWindowed();
            break;
        case 5:
            screen.setObserver(nullptr);
            break;
        case 6:
            screen.setRelativeMouse(true);
            break;
        case 7:
            screen.setRelativeMouse(false);
            break;
        case 8:
            screen.setCursorVisible((session->input.byte() & 1) != 0);
            screen.modifiers();
            break;
        default:
            break;
        }
        --depth_;
    }

    int depth_ = 0;
};

void checkScreen(FuzzScreen& screen) {
    const int windows = screen.window() != nullptr ? 1 : 0;
    const int outputs = screen.output() != nullptr ? 1 : 0;
    if (session->liveWindows != windows) {
        session->fail("a closed window outlived every pump and handler");
    }
    if (session->liveOutputs != outputs) {
        session->fail("an output outlived its screen's hold on it");
    }
    if (!screen.isOpen()) {
        if (windows != 0 || outputs != 0) {
            session->fail("a closed screen keeps its window or output");
        }
        if (screen.closeRequested() || screen.toggleRequested()) {
            session->fail("a closed screen keeps a request");
        }
        if (screen.screenMode() != ScreenMode::Unspecified || screen.title()[0] != '\0') {
            session->fail("a closed screen keeps its state");
        }
    }
    if (screen.window() != nullptr && screen.window()->screen != &screen) {
        session->fail("the window belongs to another screen");
    }
    for (const auto& known : session->windows) {
        if (known.first->destroyed && known.first->platformHolds()) {
            session->fail("a destroyed window still holds the pointer");
        }
        known.first->checkHold();
    }
    if (screen.isOpen() && screen.window() != nullptr && !screen.window()->destroyed &&
        screen.output() != nullptr && screen.window()->pointerHeld != screen.relativeMouse()) {
        session->fail("the relative mouse setting and the held pointer differ");
    }
    if (screen.isOpen() && screen.output() != nullptr && screen.window() != nullptr &&
        !screen.window()->destroyed) {
        const bool windowed = screen.screenMode() == ScreenMode::Windowed;
        if (!windowed && screen.screenMode() != ScreenMode::Fullscreen) {
            session->fail("an open screen with an output in no mode");
        }
        if (screen.window()->windowed != (windowed ? 1 : 0)) {
            session->fail("the window's style differs from the screen's mode");
        }
    }
}

} // namespace

std::string runWindowSession(const std::uint8_t* data, std::size_t size) {
    Session state(data, size);
    session = &state;
    {
        FuzzObserver observer;
        auto owned = std::make_unique<FuzzScreen>();
        FuzzScreen& screen = *owned;
        state.screen = &screen;
        screen.setObserver(&observer);
        ScreenHandle handle(std::move(owned), "duskhall", 320, 240, ScreenMode::Unspecified,
                            PixelMode::Integer);
        checkScreen(screen);
        // The test output never reads the pixels.
        static const PackedPixel frame[1] = {0xFF336699u};
        Input& input = state.input;
        while (!input.done() && state.failure.empty()) {
            const std::uint8_t operation = input.byte() % 12;
            FuzzWindow* window = screen.window();
            switch (operation) {
            case 0:
            case 1:
                if (window != nullptr) {
                    window->post(messageFrom(input, true));
                }
                break;
            case 2:
                // Sent from outside any pump, as a system call or another program
                // does; the window may be gone when it returns.
                if (window != nullptr && !window->destroyed) {
                    FuzzWindow::deliver(window, messageFrom(input, true));
                }
                break;
            case 3:
            case 4:
                if (!handle.showFrame(frame) && handle.isOpen()) {
                    state.fail("a frame that ends the screen left it open");
                }
                break;
            case 5:
                screen.enterFullscreen();
                break;
            case 6:
                screen.enterWindowed();
                break;
            case 7:
                handle.close();
                break;
            case 8:
                handle.open("duskhall", 320, 240, static_cast<ScreenMode>(input.byte() % 3),
                            PixelMode::Integer);
                break;
            case 9:
                handle.setObserver((input.byte() & 1) != 0 ? &observer : nullptr);
                break;
            case 10:
                screen.paint();
                break;
            default:
                if ((input.byte() & 1) != 0) {
                    screen.requestToggle();
                } else {
                    screen.requestClose();
                }
                break;
            }
            checkScreen(screen);
        }
    }
    if (state.liveWindows != 0 || state.liveOutputs != 0) {
        state.fail("a window or output outlived its screen");
    }
    session = nullptr;
    return state.failure;
}
