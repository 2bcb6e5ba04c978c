// The C interface: a dh_screen is a ScreenHandle and the observer that forwards
// its callbacks to C functions. No exception leaves these functions.
#include <duskhall/InputObserver.h>
#include <duskhall/PixelTypes.h>
#include <duskhall/ScreenHandle.h>
#include <duskhall/duskhall_c.h>

#include "display/DisplayError.h"
#include "display/PlatformScreen.h"
#include "display/ScreenCore.h"

#include <cctype>
#include <cstddef>
#include <cstdio>
#include <cstring>
#include <exception>
#include <memory>
#include <new>

using namespace duskhall;

static_assert(DH_MODE_UNSPECIFIED == static_cast<int>(ScreenMode::Unspecified), "modes agree");
static_assert(DH_MODE_WINDOWED == static_cast<int>(ScreenMode::Windowed), "modes agree");
static_assert(DH_MODE_FULLSCREEN == static_cast<int>(ScreenMode::Fullscreen), "modes agree");
static_assert(DH_PIXEL_INTEGER == static_cast<int>(PixelMode::Integer), "pixel modes agree");
static_assert(DH_PIXEL_FLOAT == static_cast<int>(PixelMode::Float), "pixel modes agree");
static_assert(DH_KEY_ENTER == KeyEnter && DH_KEY_ESCAPE == KeyEscape && DH_KEY_SPACE == KeySpace,
              "key codes agree");
static_assert(DH_SCALING_FIT == static_cast<int>(Scaling::Fit) &&
                  DH_SCALING_INTEGER == static_cast<int>(Scaling::Integer) &&
                  DH_SCALING_STRETCH == static_cast<int>(Scaling::Stretch),
              "scalings agree");
static_assert(DH_MOD_LEFT_SHIFT == Modifiers::LeftShift &&
                  DH_MOD_RIGHT_SHIFT == Modifiers::RightShift &&
                  DH_MOD_LEFT_CONTROL == Modifiers::LeftControl &&
                  DH_MOD_RIGHT_CONTROL == Modifiers::RightControl &&
                  DH_MOD_LEFT_ALT == Modifiers::LeftAlt &&
                  DH_MOD_RIGHT_ALT == Modifiers::RightAlt &&
                  DH_MOD_LEFT_SUPER == Modifiers::LeftSuper &&
                  DH_MOD_RIGHT_SUPER == Modifiers::RightSuper && DH_MOD_SHIFT == Modifiers::Shift &&
                  DH_MOD_CONTROL == Modifiers::Control && DH_MOD_ALT == Modifiers::Alt &&
                  DH_MOD_SUPER == Modifiers::Super,
              "modifier bits agree");
static_assert(offsetof(FloatPixel, alpha) == 0 && offsetof(FloatPixel, blue) == 4 &&
                  offsetof(FloatPixel, green) == 8 && offsetof(FloatPixel, red) == 12,
              "a float frame is four floats a pixel: alpha, blue, green, red");

namespace {

// A C function and the pointer it is given back.
template <typename Function> struct Callback {
    Function function = nullptr;
    void* user = nullptr;
};

dh_mouse toC(MouseState mouse) {
    return dh_mouse{mouse.left, mouse.middle, mouse.right, mouse.x, mouse.y, mouse.dx, mouse.dy};
}

// Runs action, answering fallback (with the reason recorded) if it throws.
template <typename Result, typename Action> Result guarded(Result fallback, Action action) {
    try {
        return action();
    } catch (const std::bad_alloc&) {
        setDisplayError("out of memory");
    } catch (const std::exception& error) {
        setDisplayError(error.what());
    } catch (...) {
        setDisplayError("unexpected failure");
    }
    return fallback;
}

} // namespace

struct dh_screen : InputObserver {
    // Until the first open the platform screen waits here; the handle, made by
    // that open, owns it afterwards (a ScreenHandle opens as it is constructed).
    std::unique_ptr<ScreenCore> unopened;
    std::unique_ptr<ScreenHandle> handle;
    // The platform screen wherever it is owned: the callbacks of the first open
    // run while the handle is still being constructed.
    ScreenCore* core = nullptr;

    Callback<dh_key_callback> keyDownCallback, keyStrokeCallback, keyUpCallback;
    Callback<dh_mouse_callback> buttonDownCallback, buttonUpCallback, pointerMovedCallback;
    Callback<dh_focus_callback> focusChangedCallback;
    Callback<dh_opened_callback> openedCallback;
    Callback<dh_closing_callback> closingCallback;
    Callback<dh_wheel_callback> wheelCallback;
    Callback<dh_text_callback> textCallback;
    Callback<dh_resized_callback> resizedCallback;

    Screen& screen() const { return *core; }

    void keyDown(Screen&, KeyCode key) override { call(keyDownCallback, key); }
    void keyStroke(Screen&, KeyCode key) override { call(keyStrokeCallback, key); }
    void keyUp(Screen&, KeyCode key) override { call(keyUpCallback, key); }
    void buttonDown(Screen&, MouseState mouse) override { callMouse(buttonDownCallback, mouse); }
    void buttonUp(Screen&, MouseState mouse) override { callMouse(buttonUpCallback, mouse); }
    void pointerMoved(Screen&, MouseState mouse) override {
        callMouse(pointerMovedCallback, mouse);
    }
    void wheel(Screen&, float dx, float dy) override { call(wheelCallback, dx, dy); }
    void text(Screen&, const char* utf8) override { call(textCallback, utf8); }
    void resized(Screen&, std::int32_t width, std::int32_t height) override {
        call(resizedCallback, width, height);
    }
    void focusChanged(Screen&, bool active) override { call(focusChangedCallback, active ? 1 : 0); }
    void opened(Screen&) override { call(openedCallback); }
    bool closing(Screen&) override {
        return closingCallback.function == nullptr ||
               closingCallback.function(this, closingCallback.user) != 0;
    }

  private:
    // Calls an installed function with the screen, the values and its user pointer.
    template <typename Function, typename... Values>
    void call(const Callback<Function>& callback, Values... values) {
        if (callback.function != nullptr) {
            callback.function(this, values..., callback.user);
        }
    }
    void callMouse(const Callback<dh_mouse_callback>& callback, MouseState mouse) {
        const dh_mouse state = toC(mouse);
        call(callback, &state);
    }
};

namespace {

// Installs a callback; a null screen is ignored.
template <typename Function>
void install(dh_screen* screen, Callback<Function> dh_screen::*slot, Function function,
             void* user) {
    if (screen != nullptr) {
        screen->*slot = Callback<Function>{function, user};
    }
}

// Asks a non-null screen through get, answering fallback for a null one.
template <typename Result, typename Get>
Result ask(const dh_screen* screen, Result fallback, Get get) {
    return screen == nullptr ? fallback : guarded(fallback, [&] { return get(screen->screen()); });
}

// Tells a non-null screen through set.
template <typename Set> void tell(dh_screen* screen, Set set) {
    if (screen != nullptr) {
        guarded(0, [&] {
            set(screen->screen());
            return 0;
        });
    }
}

// The screen's reasons begin with the C++ operation ("setTitle: ..."); a C
// program is told the C function it called ("dh_set_title: ...").
void renameOperation(const char* function) {
    char operation[64];
    std::size_t length = 0;
    bool upper = false;
    for (const char* c = function + 3; *c != '\0' && length + 1 < sizeof operation; ++c) {
        if (*c == '_') {
            upper = true;
            continue;
        }
        operation[length++] = upper ? static_cast<char>(std::toupper(*c)) : *c;
        upper = false;
    }
    operation[length] = '\0';
    const char* reason = displayError();
    if (std::strncmp(reason, operation, length) == 0 && reason[length] == ':') {
        char renamed[256];
        std::snprintf(renamed, sizeof renamed, "%s%s", function, reason + length);
        setDisplayError(renamed);
    }
}

int refuseNull(const char* function) {
    static thread_local char reason[96];
    std::snprintf(reason, sizeof reason, "%s: the screen is null", function);
    setDisplayError(reason);
    return 0;
}

// One of the setters that answer: 1 when set asks a non-null screen successfully;
// 0 otherwise, with the reason recorded.
template <typename Set> int change(dh_screen* screen, const char* function, Set set) {
    if (screen == nullptr) {
        return refuseNull(function);
    }
    const int answer = guarded(0, [&] { return set(screen->screen()) ? 1 : 0; });
    if (answer == 0) {
        renameOperation(function);
    }
    return answer;
}

} // namespace

extern "C" {

dh_screen* dh_create(void) {
    return guarded<dh_screen*>(nullptr, [] {
        setDisplayError("");
        auto screen = std::make_unique<dh_screen>();
        screen->unopened = createPlatformScreen();
        screen->core = screen->unopened.get();
        if (!screen->unopened) {
            if (displayError()[0] == '\0') {
                setDisplayError("no screen: this platform's screen could not be made");
            }
            return static_cast<dh_screen*>(nullptr);
        }
        return screen.release();
    });
}

int dh_open_screen(dh_screen* screen, const char* title, int32_t width, int32_t height,
                   int32_t mode, int32_t pixelMode) {
    if (screen == nullptr) {
        return refuseNull("dh_open_screen");
    }
    if (pixelMode != DH_PIXEL_INTEGER && pixelMode != DH_PIXEL_FLOAT) {
        char reason[120];
        std::snprintf(reason, sizeof reason,
                      "dh_open_screen: pixel mode %ld is neither DH_PIXEL_INTEGER (0) nor "
                      "DH_PIXEL_FLOAT (1)",
                      static_cast<long>(pixelMode));
        setDisplayError(reason);
        return 0;
    }
    return guarded(0, [&] {
        const auto screenMode = static_cast<ScreenMode>(mode);
        const auto pixels = static_cast<PixelMode>(pixelMode);
        if (!screen->handle) {
            screen->handle = std::make_unique<ScreenHandle>(
                std::move(screen->unopened), title, width, height, screenMode, pixels, screen);
            return screen->handle->isOpen() ? 1 : 0;
        }
        return screen->handle->open(title, width, height, screenMode, pixels) ? 1 : 0;
    });
}

dh_screen* dh_open(const char* title, int32_t width, int32_t height, int32_t mode,
                   int32_t pixelMode) {
    dh_screen* screen = dh_create();
    if (screen != nullptr && !dh_open_screen(screen, title, width, height, mode, pixelMode)) {
        dh_close(screen);
        return nullptr;
    }
    return screen;
}

int dh_is_open(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.isOpen() ? 1 : 0; });
}

int dh_show_frame(dh_screen* screen, const uint32_t* pixels) {
    if (screen == nullptr) {
        return refuseNull("dh_show_frame");
    }
    return change(screen, __func__, [pixels](Screen& s) { return s.showFrame(pixels); });
}

int dh_show_float_frame(dh_screen* screen, const float* pixels) {
    if (screen == nullptr) {
        return refuseNull("dh_show_float_frame");
    }
    // Four floats a pixel in FloatPixel's order (checked above).
    const auto* frame = reinterpret_cast<const FloatPixel*>(pixels);
    return change(screen, __func__, [frame](Screen& s) { return s.showFloatFrame(frame); });
}

void dh_close_screen(dh_screen* screen) {
    tell(screen, [](Screen& s) { s.close(); });
}

void dh_close(dh_screen* screen) {
    dh_close_screen(screen);
    delete screen;
}

const char* dh_error(void) {
    return displayError();
}

const char* dh_title(const dh_screen* screen) {
    return ask(screen, "", [](const Screen& s) { return s.title(); });
}

int32_t dh_width(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.width(); });
}

int32_t dh_height(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.height(); });
}

int32_t dh_mode(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return static_cast<int32_t>(s.screenMode()); });
}

int32_t dh_pixel_mode(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return static_cast<int32_t>(s.pixelMode()); });
}

int dh_set_resizable(dh_screen* screen, int on) {
    return change(screen, __func__, [on](Screen& s) { return s.setResizable(on != 0); });
}

int dh_resizable(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.resizable() ? 1 : 0; });
}

int dh_set_scaling(dh_screen* screen, int32_t scaling) {
    return change(screen, __func__, [scaling](Screen& s) {
        if (scaling < DH_SCALING_FIT || scaling > DH_SCALING_STRETCH) {
            char reason[120];
            std::snprintf(
                reason, sizeof reason,
                "dh_set_scaling: %ld is none of DH_SCALING_FIT, _INTEGER, _STRETCH (0 to 2)",
                static_cast<long>(scaling));
            setDisplayError(reason);
            return false;
        }
        return s.setScaling(static_cast<Scaling>(scaling));
    });
}

int32_t dh_scaling(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return static_cast<int32_t>(s.scaling()); });
}

int dh_set_zoom(dh_screen* screen, int32_t factor) {
    return change(screen, __func__, [factor](Screen& s) { return s.setZoom(factor); });
}

int dh_set_frame_size(dh_screen* screen, int32_t width, int32_t height) {
    return change(screen, __func__, [=](Screen& s) { return s.setFrameSize(width, height); });
}

void dh_desktop_size(const dh_screen* screen, int32_t* width, int32_t* height) {
    const Size size = ask(screen, Size{}, [](const Screen& s) { return s.desktopSize(); });
    if (width != nullptr) {
        *width = size.width;
    }
    if (height != nullptr) {
        *height = size.height;
    }
}

float dh_display_scale(const dh_screen* screen) {
    return ask(screen, 1.0f, [](const Screen& s) { return s.displayScale(); });
}

uint32_t dh_modifiers(const dh_screen* screen) {
    return ask(screen, 0u, [](const Screen& s) { return s.modifiers().bits; });
}

int dh_set_cursor_visible(dh_screen* screen, int visible) {
    return change(screen, __func__,
                  [visible](Screen& s) { return s.setCursorVisible(visible != 0); });
}

int dh_cursor_visible(const dh_screen* screen) {
    return ask(screen, 1, [](const Screen& s) { return s.cursorVisible() ? 1 : 0; });
}

int dh_set_relative_mouse(dh_screen* screen, int on) {
    return change(screen, __func__, [on](Screen& s) { return s.setRelativeMouse(on != 0); });
}

int dh_relative_mouse(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.relativeMouse() ? 1 : 0; });
}

int dh_set_title(dh_screen* screen, const char* title) {
    return change(screen, __func__, [title](Screen& s) { return s.setTitle(title); });
}

int dh_set_borderless(dh_screen* screen, int on) {
    return change(screen, __func__, [on](Screen& s) { return s.setBorderless(on != 0); });
}

int dh_borderless(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.borderless() ? 1 : 0; });
}

int dh_set_always_on_top(dh_screen* screen, int on) {
    return change(screen, __func__, [on](Screen& s) { return s.setAlwaysOnTop(on != 0); });
}

int dh_always_on_top(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.alwaysOnTop() ? 1 : 0; });
}

int dh_set_icon(dh_screen* screen, const uint32_t* pixels, int32_t width, int32_t height) {
    return change(screen, __func__, [=](Screen& s) { return s.setIcon(pixels, width, height); });
}

void dh_set_vsync(dh_screen* screen, int on) {
    tell(screen, [on](Screen& s) { s.setVsync(on != 0); });
}

int dh_vsync(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.vsync() ? 1 : 0; });
}

void dh_set_frame_rate(dh_screen* screen, int32_t framesPerSecond) {
    tell(screen, [framesPerSecond](Screen& s) { s.setFrameRate(framesPerSecond); });
}

int32_t dh_frame_rate(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.frameRate(); });
}

void dh_set_built_in_keys(dh_screen* screen, int on) {
    tell(screen, [on](Screen& s) { s.setBuiltInKeys(on != 0); });
}

int dh_built_in_keys(const dh_screen* screen) {
    return ask(screen, 0, [](const Screen& s) { return s.builtInKeys() ? 1 : 0; });
}

void dh_set_key_down_callback(dh_screen* screen, dh_key_callback callback, void* user) {
    install(screen, &dh_screen::keyDownCallback, callback, user);
}

void dh_set_key_stroke_callback(dh_screen* screen, dh_key_callback callback, void* user) {
    install(screen, &dh_screen::keyStrokeCallback, callback, user);
}

void dh_set_key_up_callback(dh_screen* screen, dh_key_callback callback, void* user) {
    install(screen, &dh_screen::keyUpCallback, callback, user);
}

void dh_set_button_down_callback(dh_screen* screen, dh_mouse_callback callback, void* user) {
    install(screen, &dh_screen::buttonDownCallback, callback, user);
}

void dh_set_button_up_callback(dh_screen* screen, dh_mouse_callback callback, void* user) {
    install(screen, &dh_screen::buttonUpCallback, callback, user);
}

void dh_set_pointer_moved_callback(dh_screen* screen, dh_mouse_callback callback, void* user) {
    install(screen, &dh_screen::pointerMovedCallback, callback, user);
}

void dh_set_wheel_callback(dh_screen* screen, dh_wheel_callback callback, void* user) {
    install(screen, &dh_screen::wheelCallback, callback, user);
}

void dh_set_text_callback(dh_screen* screen, dh_text_callback callback, void* user) {
    install(screen, &dh_screen::textCallback, callback, user);
}

void dh_set_resized_callback(dh_screen* screen, dh_resized_callback callback, void* user) {
    install(screen, &dh_screen::resizedCallback, callback, user);
}

void dh_set_focus_changed_callback(dh_screen* screen, dh_focus_callback callback, void* user) {
    install(screen, &dh_screen::focusChangedCallback, callback, user);
}

void dh_set_opened_callback(dh_screen* screen, dh_opened_callback callback, void* user) {
    install(screen, &dh_screen::openedCallback, callback, user);
}

void dh_set_closing_callback(dh_screen* screen, dh_closing_callback callback, void* user) {
    install(screen, &dh_screen::closingCallback, callback, user);
}

} // extern "C"
