#include <duskhall/ScreenHandle.h>

#include "DisplayFakes.h"
#include "XWindowProbe.h"

#include "display/DisplayError.h"
#include "display/sdl/SdlScreen.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <vector>

using namespace duskhall;

namespace {

constexpr int frameWidth = 320;
constexpr int frameHeight = 240;

// A frame whose every pixel differs from its neighbours.
std::vector<PackedPixel> gradientFrame() {
    std::vector<PackedPixel> frame(frameWidth * frameHeight);
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const auto r = static_cast<PackedPixel>(x & 0xFF);
            const auto g = static_cast<PackedPixel>(y & 0xFF);
            const auto b = static_cast<PackedPixel>((x * 7 + y * 3) & 0xFF);
            frame[static_cast<std::size_t>(y * frameWidth + x)] =
                0xFF000000u | (r << 16) | (g << 8) | b;
        }
    }
    return frame;
}

// Full and empty channels only, which survive every texture format exactly.
std::vector<PackedPixel> blockFrame() {
    std::vector<PackedPixel> frame(frameWidth * frameHeight);
    for (int y = 0; y < frameHeight; ++y) {
        for (int x = 0; x < frameWidth; ++x) {
            const int colour = (x / 40 + y / 30) % 8;
            frame[static_cast<std::size_t>(y * frameWidth + x)] =
                ((colour & 4) != 0 ? 0xFF0000u : 0u) | ((colour & 2) != 0 ? 0x00FF00u : 0u) |
                ((colour & 1) != 0 ? 0x0000FFu : 0u);
        }
    }
    return frame;
}

// Pixels whose channels differ by more than the tolerance (the renderer may
// widen 5- and 6-bit channels its own way).
int countDifferences(const std::vector<PackedPixel>& expected,
                     const std::vector<std::uint32_t>& seen, int tolerance = 0) {
    if (expected.size() != seen.size()) {
        return -1;
    }
    int differences = 0;
    for (std::size_t i = 0; i < expected.size(); ++i) {
        bool differs = false;
        for (int shift = 0; shift < 24; shift += 8) {
            const int want = static_cast<int>((expected[i] >> shift) & 0xFF);
            const int got = static_cast<int>((seen[i] >> shift) & 0xFF);
            differs = differs || std::abs(want - got) > tolerance;
        }
        if (differs) {
            ++differences;
        }
    }
    return differences;
}

class SdlScreenTest : public ::testing::Test {
  protected:
    // Opens a screen through a handle, as the program does.
    void openScreen(ScreenMode mode = ScreenMode::Unspecified,
                    std::initializer_list<std::uint32_t> refused = {}) {
        auto core = std::make_unique<SdlScreen>();
        for (std::uint32_t format : refused) {
            core->refuseTextureFormat(format);
        }
        screen = core.get();
        handle = std::make_unique<ScreenHandle>(std::move(core), "duskhall", frameWidth,
                                                frameHeight, mode, PixelMode::Integer);
        ASSERT_TRUE(handle->isOpen()) << displayError();
    }

    // What the renderer would draw next, read back from the renderer itself.
    std::vector<std::uint32_t> readBack() {
        SdlOutput* output = screen->output();
        output->draw();
        int w = 0;
        int h = 0;
        SDL_GetRendererOutputSize(output->renderer(), &w, &h);
        std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) *
                                          static_cast<std::size_t>(h));
        SDL_RenderReadPixels(output->renderer(), nullptr, SDL_PIXELFORMAT_ARGB8888, pixels.data(),
                             w * 4);
        return pixels;
    }

    WindowSize clientSize() {
        WindowSize size;
        SDL_GetWindowSize(screen->window()->handle(), &size.width, &size.height);
        return size;
    }

    void pushKey(Uint32 type, SDL_Scancode scancode, Uint16 mod = KMOD_NONE, Uint8 repeat = 0) {
        SDL_Event event{};
        event.key.type = type;
        event.key.windowID = screen->window()->id();
        event.key.keysym.scancode = scancode;
        event.key.keysym.mod = mod;
        event.key.repeat = repeat;
        event.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
        SDL_PushEvent(&event);
    }

    void pushWindowEvent(SDL_WindowEventID id) {
        SDL_Event event{};
        event.window.type = SDL_WINDOWEVENT;
        event.window.windowID = screen->window()->id();
        event.window.event = static_cast<Uint8>(id);
        SDL_PushEvent(&event);
    }

    void pushButton(Uint32 type, Uint8 button, int x, int y) {
        SDL_Event event{};
        event.button.type = type;
        event.button.windowID = screen->window()->id();
        event.button.button = button;
        event.button.x = x;
        event.button.y = y;
        SDL_PushEvent(&event);
    }

    std::vector<PackedPixel> frame = gradientFrame();
    SdlScreen* screen = nullptr;
    std::unique_ptr<ScreenHandle> handle;
};

TEST_F(SdlScreenTest, OpensHiddenCentredAndShowsWithTheFirstFrame) {
    openScreen();
    EXPECT_EQ(handle->screenMode(), ScreenMode::Windowed);
    EXPECT_STREQ(SDL_GetWindowTitle(screen->window()->handle()), "duskhall");
    EXPECT_TRUE(screen->window()->hidden());
    EXPECT_EQ(clientSize().width, frameWidth);
    EXPECT_EQ(clientSize().height, frameHeight);

    EXPECT_TRUE(handle->showFrame(frame.data()));
    EXPECT_FALSE(screen->window()->hidden());

    SDL_DisplayMode desktop{};
    ASSERT_EQ(SDL_GetDesktopDisplayMode(0, &desktop), 0);
    int x = 0;
    int y = 0;
    SDL_GetWindowPosition(screen->window()->handle(), &x, &y);
    EXPECT_EQ(x, (desktop.w - frameWidth) / 2);
    EXPECT_EQ(y, (desktop.h - frameHeight) / 2);
    EXPECT_TRUE(screen->window()->centred);
}

TEST_F(SdlScreenTest, TheWindowShowsTheFramebuffer) {
    openScreen();
    ASSERT_TRUE(handle->showFrame(frame.data()));
    EXPECT_EQ(screen->output()->textureFormat().format, PixelFormat::XRGB8888);
    EXPECT_EQ(countDifferences(frame, readBack()), 0);

    // And on the X server, as anyone looking at the window sees it.
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    const unsigned long window = probe.waitForWindow("duskhall", 3000);
    ASSERT_NE(window, 0u);
    int seen = -1;
    for (int attempt = 0; attempt < 40 && seen != 0; ++attempt) {
        handle->showFrame(frame.data());
        int width = 0;
        int height = 0;
        const std::vector<std::uint32_t> pixels = probe.capture(window, width, height);
        ASSERT_EQ(width, frameWidth);
        ASSERT_EQ(height, frameHeight);
        seen = countDifferences(frame, pixels);
        SDL_Delay(25);
    }
    EXPECT_EQ(seen, 0);
}

TEST_F(SdlScreenTest, RefusedTextureFormatsFallBackToTheNextOne) {
    const std::vector<PackedPixel> blocks = blockFrame();
    openScreen(ScreenMode::Unspecified, {SDL_PIXELFORMAT_XRGB8888});
    const PixelFormat second = screen->output()->textureFormat().format;
    EXPECT_NE(second, PixelFormat::XRGB8888);
    ASSERT_TRUE(handle->showFrame(blocks.data()));
    EXPECT_EQ(countDifferences(blocks, readBack()), 0);
    handle.reset();

    openScreen(ScreenMode::Unspecified,
               {SDL_PIXELFORMAT_XRGB8888, SDL_PIXELFORMAT_XBGR8888, SDL_PIXELFORMAT_RGB24});
    const PixelFormat fourth = screen->output()->textureFormat().format;
    EXPECT_TRUE(fourth == PixelFormat::RGB565 || fourth == PixelFormat::XRGB1555);
    ASSERT_TRUE(handle->showFrame(blocks.data()));
    EXPECT_EQ(countDifferences(blocks, readBack(), 8), 0);
}

TEST_F(SdlScreenTest, ATextureThatCannotBeCreatedGivesWayToTheNextFormat) {
    const std::vector<PackedPixel> blocks = blockFrame();
    auto core = std::make_unique<SdlScreen>();
    core->failTextureCreation(SDL_PIXELFORMAT_XRGB8888);
    screen = core.get();
    handle = std::make_unique<ScreenHandle>(std::move(core), "duskhall", frameWidth, frameHeight,
                                            ScreenMode::Unspecified, PixelMode::Integer);
    ASSERT_TRUE(handle->isOpen()) << displayError();
    EXPECT_NE(screen->output()->textureFormat().format, PixelFormat::XRGB8888);
    ASSERT_TRUE(handle->showFrame(blocks.data()));
    EXPECT_EQ(countDifferences(blocks, readBack(), 8), 0);
}

TEST_F(SdlScreenTest, WithEveryFormatRefusedTheScreenDoesNotOpen) {
    auto core = std::make_unique<SdlScreen>();
    for (const TextureFormat& format : textureProbeOrder()) {
        core->refuseTextureFormat(format.sdlFormat);
    }
    ScreenHandle refused(std::move(core), "duskhall", frameWidth, frameHeight, ScreenMode::Windowed,
                         PixelMode::Integer);
    EXPECT_FALSE(refused.isOpen());
    EXPECT_EQ(refused.screenMode(), ScreenMode::Unspecified);
    const PackedPixel pixel = 0;
    EXPECT_FALSE(refused.showFrame(&pixel)); // a screen that is not open says so
}

TEST_F(SdlScreenTest, AWindowLargerThanTheDesktopOpensWithItsTopLeftOnTheScreen) {
    auto core = std::make_unique<SdlScreen>();
    SdlScreen* big = core.get();
    ScreenHandle handle(std::move(core), "duskhall", 2560, 1920, ScreenMode::Windowed,
                        PixelMode::Integer); // the test display is 1920 x 1080
    ASSERT_TRUE(handle.isOpen()) << displayError();
    const std::vector<PackedPixel> pixels(2560 * 1920, 0xFF000000u);
    handle.showFrame(pixels.data());
    int x = -1;
    int y = -1;
    SDL_GetWindowPosition(big->window()->handle(), &x, &y);
    EXPECT_EQ(x, 0);
    EXPECT_EQ(y, 0);
}

TEST_F(SdlScreenTest, ModeValuesZeroAndOneOpenWindowedTheRestFullscreen) {
    for (std::int32_t value : {0, 1, 2, 9}) {
        openScreen(static_cast<ScreenMode>(value));
        const bool windowed = value <= 1;
        EXPECT_EQ(handle->screenMode(), windowed ? ScreenMode::Windowed : ScreenMode::Fullscreen)
            << "mode " << value;
        handle->showFrame(frame.data());
        const bool fullscreen = (SDL_GetWindowFlags(screen->window()->handle()) &
                                 SDL_WINDOW_FULLSCREEN_DESKTOP) == SDL_WINDOW_FULLSCREEN_DESKTOP;
        EXPECT_EQ(fullscreen, !windowed) << "mode " << value;
        EXPECT_EQ(screen->window()->windowed, windowed ? 1 : 0);
        handle.reset();
    }
}

TEST_F(SdlScreenTest, EscapeClosesTheScreenAtTheNextFrame) {
    RecordingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_ESCAPE, KMOD_NONE, 1);
    EXPECT_TRUE(handle->showFrame(frame.data()));
    EXPECT_TRUE(screen->closeRequested());
    EXPECT_TRUE(handle->isOpen());
    EXPECT_FALSE(handle->showFrame(frame.data()));
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(screen->window(), nullptr);

    std::vector<std::string> keys;
    for (std::size_t i = 0; i < observer.events.size(); ++i) {
        if (observer.events[i].rfind("key", 0) == 0) {
            keys.push_back(observer.events[i]);
            EXPECT_EQ(observer.screens[i], handle.get());
        }
    }
    EXPECT_EQ(keys, (std::vector<std::string>{"keyDown 27", "keyStroke 27", "keyStroke 27"}));
}

TEST_F(SdlScreenTest, TheCloseBoxClosesWithAndWithoutAnObserver) {
    RecordingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    EXPECT_TRUE(handle->showFrame(frame.data()));
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "closing"),
              observer.events.end());
    EXPECT_FALSE(handle->showFrame(frame.data()));
    EXPECT_FALSE(handle->isOpen());
    handle.reset();

    openScreen();
    handle->showFrame(frame.data());
    pushWindowEvent(SDL_WINDOWEVENT_CLOSE);
    handle->showFrame(frame.data());
    EXPECT_TRUE(screen->window()->hidden()); // gone from the desktop at once
    EXPECT_FALSE(handle->showFrame(frame.data()));
    EXPECT_FALSE(handle->isOpen());
}

TEST_F(SdlScreenTest, HeldAltEnterSwitchesOncePerFrame) {
    openScreen();
    handle->showFrame(frame.data());
    for (Uint8 repeat = 0; repeat < 3; ++repeat) {
        pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_LALT, repeat);
    }
    handle->showFrame(frame.data()); // the pump raises the request
    EXPECT_TRUE(screen->toggleRequested());
    EXPECT_EQ(handle->screenMode(), ScreenMode::Windowed);
    handle->showFrame(frame.data()); // the switch
    EXPECT_EQ(handle->screenMode(), ScreenMode::Fullscreen);
    EXPECT_FALSE(screen->toggleRequested());
    handle->showFrame(frame.data());
    EXPECT_EQ(handle->screenMode(), ScreenMode::Fullscreen);

    pushKey(SDL_KEYDOWN, SDL_SCANCODE_RETURN, KMOD_RALT);
    handle->showFrame(frame.data());
    handle->showFrame(frame.data());
    EXPECT_EQ(handle->screenMode(), ScreenMode::Windowed);
    EXPECT_TRUE(handle->isOpen());
}

TEST_F(SdlScreenTest, ASwitchToFullscreenHandlesTheQueuedMessages) {
    RecordingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    observer.events.clear();
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_B);
    ASSERT_TRUE(screen->enterFullscreen());
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "keyDown 66"),
              observer.events.end());
    // Windowed again: no pumping there, the next frame does it.
    pushKey(SDL_KEYUP, SDL_SCANCODE_B);
    ASSERT_TRUE(screen->enterWindowed());
    EXPECT_EQ(std::find(observer.events.begin(), observer.events.end(), "keyUp 66"),
              observer.events.end());
    handle->showFrame(frame.data());
    EXPECT_NE(std::find(observer.events.begin(), observer.events.end(), "keyUp 66"),
              observer.events.end());
}

// A window on a display that has no fullscreen.
class NoFullscreenWindow : public SdlWindow {
  public:
    using SdlWindow::SdlWindow;

  protected:
    void setFrameStyle(bool windowedStyle) override {
        if (windowedStyle) {
            SdlWindow::setFrameStyle(true);
        } else {
            styleFailed = true;
        }
    }
};

TEST_F(SdlScreenTest, ARefusedFullscreenStyleLeavesTheWindowItsSize) {
    openScreen(); // brings up the video
    NoFullscreenWindow window(screen, "no fullscreen", frameWidth, frameHeight);
    ASSERT_TRUE(window.valid());
    window.applyWindowedStyle(frameWidth, frameHeight);
    window.applyFullscreenStyle(frameWidth, frameHeight);
    EXPECT_TRUE(window.styleFailed);
    int w = 0;
    int h = 0;
    SDL_GetWindowSize(window.handle(), &w, &h);
    EXPECT_EQ(w, frameWidth);
    EXPECT_EQ(h, frameHeight);
    // Back to the windowed style, as the screen does after the refusal.
    window.styleFailed = false;
    window.applyWindowedStyle(frameWidth, frameHeight);
    SDL_GetWindowSize(window.handle(), &w, &h);
    EXPECT_EQ(w, frameWidth);
    EXPECT_EQ(h, frameHeight);
}

TEST_F(SdlScreenTest, ShortcutsZoomAndMouseIsScaled) {
    RecordingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_2, KMOD_LCTRL);
    handle->showFrame(frame.data());
    EXPECT_EQ(clientSize().width, 2 * frameWidth);
    EXPECT_EQ(clientSize().height, 2 * frameHeight);

    pushButton(SDL_MOUSEBUTTONDOWN, SDL_BUTTON_LEFT, 101, 51);
    pushButton(SDL_MOUSEBUTTONUP, SDL_BUTTON_LEFT, 101, 51);
    handle->showFrame(frame.data());
    // The X server may add pointer motion of its own; only the buttons are ours.
    std::vector<MouseState> buttons;
    std::size_t mouseIndex = 0;
    for (const std::string& event : observer.events) {
        if (event.rfind("button", 0) == 0) {
            buttons.push_back(observer.mice[mouseIndex]);
        }
        if (event.rfind("button", 0) == 0 || event.rfind("pointer", 0) == 0) {
            ++mouseIndex;
        }
    }
    ASSERT_EQ(buttons.size(), 2u);
    EXPECT_EQ(buttons[0].x, 50.5f);
    EXPECT_EQ(buttons[0].y, 25.5f);
    EXPECT_TRUE(buttons[0].left);
    EXPECT_FALSE(buttons[1].left);

    // The picture is stretched over the whole client area.
    const std::vector<std::uint32_t> pixels = readBack();
    ASSERT_EQ(pixels.size(), static_cast<std::size_t>(4 * frameWidth * frameHeight));
    EXPECT_EQ(pixels[static_cast<std::size_t>(2 * frameWidth * 2 * 7 + 2 * 5)] & 0xFFFFFF,
              frame[static_cast<std::size_t>(7 * frameWidth + 5)] & 0xFFFFFF);

    pushKey(SDL_KEYDOWN, SDL_SCANCODE_1, KMOD_LCTRL);
    handle->showFrame(frame.data());
    EXPECT_EQ(clientSize().width, frameWidth);
}

// Counts the window-moved events SDL reports for one window, whoever handles them.
int watchMoves(void* counter, SDL_Event* event) {
    auto* moves = static_cast<std::pair<Uint32, int>*>(counter);
    if (event->type == SDL_WINDOWEVENT && event->window.event == SDL_WINDOWEVENT_MOVED &&
        event->window.windowID == moves->first) {
        ++moves->second;
    }
    return 0;
}

TEST_F(SdlScreenTest, TheScreensOwnMovesAreNotTakenForADrag) {
    openScreen();
    handle->showFrame(frame.data());
    ASSERT_TRUE(screen->window()->centred);
    std::pair<Uint32, int> moves{screen->window()->id(), 0};
    SDL_AddEventWatch(watchMoves, &moves);
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_2, KMOD_LCTRL);
    // The zoom moves the window; the X server reports the move back a little later.
    for (int frames = 0; frames < 200 && moves.second == 0; ++frames) {
        handle->showFrame(frame.data());
        SDL_Delay(10);
    }
    handle->showFrame(frame.data());
    SDL_DelEventWatch(watchMoves, &moves);
    ASSERT_GT(moves.second, 0) << "no move reported for the zoom";
    EXPECT_EQ(clientSize().width, 2 * frameWidth);
    EXPECT_TRUE(screen->window()->centred);
    EXPECT_FALSE(screen->window()->menuEntries.contains(menu::Centre));
}

TEST_F(SdlScreenTest, OpenedGoesOnlyToAnObserverInstalledBeforeOpen) {
    RecordingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    EXPECT_TRUE(observer.events.empty());
    // Reopened with its own title, which the close inside open empties.
    ASSERT_TRUE(handle->open(handle->title(), frameWidth, frameHeight, ScreenMode::Windowed,
                             PixelMode::Integer));
    ASSERT_FALSE(observer.events.empty());
    EXPECT_EQ(observer.events.back(), "opened");
    EXPECT_EQ(observer.screens.back(), handle.get());
    EXPECT_EQ(screen->window()->observer, &observer);
    EXPECT_STREQ(SDL_GetWindowTitle(screen->window()->handle()), "duskhall");
}

TEST_F(SdlScreenTest, AFloatFrameIsConvertedToo) {
    openScreen();
    std::vector<FloatPixel> floats(frameWidth * frameHeight, FloatPixel{1.0f, 1.0f, 0.0f, 1.0f});
    ASSERT_TRUE(handle->showFloatFrame(floats.data()));
    const std::vector<std::uint32_t> pixels = readBack();
    ASSERT_FALSE(pixels.empty());
    EXPECT_EQ(pixels[0] & 0xFFFFFF, 0xFF00FFu);
    EXPECT_EQ(pixels.back() & 0xFFFFFF, 0xFF00FFu);
}

} // namespace

namespace {

// Closes the screen from inside its own message handling.
class ClosingObserver : public InputObserver {
  public:
    void keyDown(Screen& screen, KeyCode) override { screen.close(); }
};

TEST_F(SdlScreenTest, ClosingFromInsideTheMessagePumpIsSafe) {
    ClosingObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    pushKey(SDL_KEYUP, SDL_SCANCODE_A);
    EXPECT_FALSE(handle->showFrame(frame.data())); // this call closed it
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(screen->window(), nullptr);
    // The screen can be opened again afterwards.
    EXPECT_TRUE(handle->open("duskhall", frameWidth, frameHeight, ScreenMode::Windowed,
                             PixelMode::Integer));
    EXPECT_TRUE(handle->showFrame(frame.data()));
}

// Closes, opens again and closes once more, all inside one key message.
class ReopeningObserver : public InputObserver {
  public:
    void keyDown(Screen& screen, KeyCode) override {
        screen.close();
        reopened = screen.open("duskhall", frameWidth, frameHeight, ScreenMode::Windowed,
                               PixelMode::Integer);
        screen.close();
    }
    bool reopened = false;
};

TEST_F(SdlScreenTest, SeveralClosesInsideOneMessageKeepEveryWindowUntilThePumpEnds) {
    ReopeningObserver observer;
    openScreen();
    handle->setObserver(&observer);
    handle->showFrame(frame.data());
    pushKey(SDL_KEYDOWN, SDL_SCANCODE_A);
    EXPECT_FALSE(handle->showFrame(frame.data()));
    EXPECT_TRUE(observer.reopened);
    EXPECT_FALSE(handle->isOpen());
    EXPECT_EQ(screen->window(), nullptr);
    EXPECT_TRUE(handle->open("duskhall", frameWidth, frameHeight, ScreenMode::Windowed,
                             PixelMode::Integer));
    EXPECT_TRUE(handle->showFrame(frame.data()));
}

} // namespace

namespace {

// What a window manager reads of a window's style: whether it asks for
// decorations, whether it asks to be kept above, and its icon.
struct XStyle {
    bool decorated = true;
    bool above = false;
    std::vector<unsigned long> icon;
};

XStyle readStyle(XWindowProbe& probe, unsigned long window) {
    XStyle style;
    // _MOTIF_WM_HINTS: flags, functions, decorations, ...; bit 1 of flags: decorations given.
    const std::vector<unsigned long> hints = probe.property32(window, "_MOTIF_WM_HINTS");
    style.decorated = hints.size() < 3 || (hints[0] & 2) == 0 || hints[2] != 0;
    for (unsigned long state : probe.property32(window, "_NET_WM_STATE")) {
        style.above = style.above || state == probe.atom("_NET_WM_STATE_ABOVE");
    }
    style.icon = probe.property32(window, "_NET_WM_ICON");
    return style;
}

} // namespace

// The X server has no window manager here: a style asked for while the window is
// unmapped is written into its properties by SDL itself, so it is set before the
// first frame and checked on each new window.
TEST_F(SdlScreenTest, TheWindowStyleReachesTheXWindowAndOutlivesASwitchAndAReopen) {
    XWindowProbe probe;
    ASSERT_TRUE(probe.connected());
    // SDL writes the hint only under a name the server knows, as it does once a
    // window manager runs; a bare Xvfb learns it here.
    probe.atom("_MOTIF_WM_HINTS");
    const PackedPixel icon[6] = {0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu,
                                 0x80FFFFFFu, 0x00000000u, 0xFF123456u};
    const std::vector<unsigned long> iconProperty = {
        3, 2, 0xFFFF0000u, 0xFF00FF00u, 0xFF0000FFu, 0x80FFFFFFu, 0x00000000u, 0xFF123456u};
    openScreen();
    ASSERT_TRUE(handle->setTitle("duskhall styled"));
    ASSERT_TRUE(handle->setBorderless(true));
    ASSERT_TRUE(handle->setAlwaysOnTop(true));
    ASSERT_TRUE(handle->setIcon(icon, 3, 2));
    ASSERT_TRUE(handle->showFrame(frame.data()));
    unsigned long window = probe.waitForWindow("duskhall styled", 5000);
    ASSERT_NE(window, 0u);
    XStyle style = readStyle(probe, window);
    EXPECT_FALSE(style.decorated);
    EXPECT_TRUE(style.above);
    EXPECT_EQ(style.icon, iconProperty);
    EXPECT_EQ(clientSize().width, frameWidth); // no frame counted, none taken off

    // Fullscreen and back: the window is windowed and borderless again.
    ASSERT_TRUE(screen->enterFullscreen());
    ASSERT_TRUE(screen->enterWindowed());
    ASSERT_TRUE(handle->showFrame(frame.data()));
    EXPECT_EQ(SDL_GetWindowFlags(screen->window()->handle()) & SDL_WINDOW_BORDERLESS,
              static_cast<Uint32>(SDL_WINDOW_BORDERLESS));

    // A reopened screen's new window carries the whole style from the start.
    ASSERT_TRUE(handle->open("duskhall reopened", frameWidth, frameHeight, ScreenMode::Windowed,
                             PixelMode::Integer));
    ASSERT_TRUE(handle->showFrame(frame.data()));
    window = probe.waitForWindow("duskhall reopened", 5000);
    ASSERT_NE(window, 0u);
    style = readStyle(probe, window);
    EXPECT_FALSE(style.decorated);
    EXPECT_TRUE(style.above);
    EXPECT_EQ(style.icon, iconProperty);

    // A frame asked back is written at once, mapped or not.
    ASSERT_TRUE(handle->setBorderless(false));
    EXPECT_TRUE(readStyle(probe, window).decorated);
}
