#include "display/web/WebWindow.h"

#include "display/DisplayError.h"
#include "display/MenuShortcut.h"
#include "display/ScreenCore.h"
#include "display/web/WebKeyMap.h"

#include <emscripten.h>
#include <emscripten/html5.h>

namespace duskhall {

// clang-format off
EM_JS(int, duskhallCanvasPrepare, (const char* selector, int width, int height), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas) {
        return 0;
    }
    canvas.width = width;
    canvas.height = height;
    canvas.style.width = width + 'px';
    canvas.style.height = height + 'px';
    canvas.style.visibility = 'hidden';
    return 1;
});

EM_JS(void, duskhallCanvasStyle, (const char* selector, const char* property, const char* value), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (canvas) {
        canvas.style.setProperty(UTF8ToString(property), UTF8ToString(value));
    }
});

EM_JS(void, duskhallCanvasFullscreen, (const char* selector, int on), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas) {
        return;
    }
    if (!on) {
        if (document.fullscreenElement === canvas) {
            document.exitFullscreen().catch(() => {});
        }
        return;
    }
    if (document.fullscreenElement !== canvas) {
        // Refused (no user gesture close enough, or not allowed): the screen goes
        // back to the windowed style, as after any refused switch.
        canvas.requestFullscreen().catch(() => Module['_duskhallWebFullscreenRefused']());
    }
});

// The element's box is the client area (border-box sizing); the padding, black,
// holds the bars around the picture, which fills the content box.
EM_JS(void, duskhallCanvasLayout, (const char* selector, int width, int height, int top, int right,
                                   int bottom, int left, int fixed), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas) {
        return;
    }
    const set = (property, value) => canvas.style.setProperty(property, value, 'important');
    set('box-sizing', 'border-box');
    set('width', width + 'px');
    set('height', height + 'px');
    set('padding', top + 'px ' + right + 'px ' + bottom + 'px ' + left + 'px');
    set('background-color', '#000');
    set('object-fit', 'fill');
    set('image-rendering', 'pixelated');
    if (fixed) {
        set('position', 'fixed');
        set('left', '0');
        set('top', '0');
        set('margin', '0');
        set('z-index', '1000');
    } else {
        for (const property of ['position', 'left', 'top', 'margin', 'z-index']) {
            canvas.style.removeProperty(property);
        }
    }
});

// The layout viewport: what a fixed or fullscreen element's 100% is.
EM_JS(int, duskhallInnerWidth, (), { return window.innerWidth; });
EM_JS(int, duskhallInnerHeight, (), { return window.innerHeight; });
EM_JS(int, duskhallScreenWidth, (), { return screen.width; });
EM_JS(int, duskhallScreenHeight, (), { return screen.height; });
EM_JS(double, duskhallPixelRatio, (), { return window.devicePixelRatio || 1; });

EM_JS(void, duskhallCanvasRect, (const char* selector, double* out), {
    const canvas = document.querySelector(UTF8ToString(selector));
    const r = canvas ? canvas.getBoundingClientRect() : { left: 0, top: 0, width: 0, height: 0 };
    HEAPF64[out >> 3] = r.left;
    HEAPF64[(out >> 3) + 1] = r.top;
    HEAPF64[(out >> 3) + 2] = r.width;
    HEAPF64[(out >> 3) + 3] = r.height;
});

EM_JS(int, duskhallViewportWidth, (), {
    return document.fullscreenElement ? screen.width : window.innerWidth;
});

EM_JS(int, duskhallViewportHeight, (), {
    return document.fullscreenElement ? screen.height : window.innerHeight;
});

// Asked from the frame loop, after the click that wanted it: the browser grants
// it while the page's transient user activation lasts. A refusal comes as the
// pointerlockerror event; the promise's rejection says the same again.
EM_JS(int, duskhallCanvasLockPointer, (const char* selector), {
    const canvas = document.querySelector(UTF8ToString(selector));
    if (!canvas || !canvas.requestPointerLock) {
        return 0;
    }
    const request = canvas.requestPointerLock();
    if (request && request.catch) {
        request.catch(() => {});
    }
    return 1;
});

// Asked whatever the window last heard: the page's lock can be in place before
// its pointerlockchange event has reached the window.
EM_JS(void, duskhallReleasePointer, (), {
    if (document.pointerLockElement && document.exitPointerLock) {
        document.exitPointerLock();
    }
});

EM_JS(int, duskhallPageHidden, (), {
    return document.hidden ? 1 : 0;
});

EM_JS(void, duskhallPageTitle, (const char* title), {
    document.title = UTF8ToString(title);
});

// The pixels are words 0xAARRGGBB; a canvas takes bytes red, green, blue, alpha.
EM_JS(int, duskhallPageIcon, (const unsigned* pixels, int width, int height), {
    const canvas = document.createElement('canvas');
    canvas.width = width;
    canvas.height = height;
    const context = canvas.getContext('2d');
    if (!context) {
        return 0;
    }
    const image = context.createImageData(width, height);
    const words = HEAPU32.subarray(pixels >> 2, (pixels >> 2) + width * height);
    for (let i = 0; i < words.length; ++i) {
        const word = words[i];
        image.data[4 * i] = (word >>> 16) & 255;
        image.data[4 * i + 1] = (word >>> 8) & 255;
        image.data[4 * i + 2] = word & 255;
        image.data[4 * i + 3] = word >>> 24;
    }
    context.putImageData(image, 0, 0);
    let link = document.querySelector('link[rel~="icon"]');
    if (!link) {
        link = document.createElement('link');
        link.rel = 'icon';
        document.head.appendChild(link);
    }
    link.href = canvas.toDataURL('image/png');
    return 1;
});
// clang-format on

namespace {

// The live window, for the refusal of a fullscreen request, which arrives from a
// promise rather than from a registered listener.
WebWindow* current = nullptr;

WebWindow* windowOf(void* userData) {
    return static_cast<WebWindow*>(userData);
}

EM_BOOL onKey(int type, const EmscriptenKeyboardEvent* e, void* userData) {
    WebWindow* window = windowOf(userData);
    const bool down = type == EMSCRIPTEN_EVENT_KEYDOWN;
    const std::uint32_t held = trackModifiers(window->modifiersSeen(), e->code, down,
                                              e->shiftKey != 0, e->ctrlKey != 0, e->altKey != 0,
                                              e->metaKey != 0);
    window->noteModifiersSeen(held);
    WebEvent event;
    event.modifiers = held;
    event.kind = down ? WebEventKind::KeyDown : WebEventKind::KeyUp;
    event.virtualKey = virtualKeyForCode(e->code);
    event.alt = e->altKey != 0;
    event.ctrl = e->ctrlKey != 0;
    event.repeat = e->repeat != 0;
    // The character follows its key, as on the other platforms.
    WebEvent typed;
    typed.kind = WebEventKind::Text;
    typed.modifiers = held;
    typed.codePoint = down ? typedCodePoint(e->key, event.ctrl, event.alt, e->metaKey != 0) : 0;
    if (event.virtualKey == 0) {
        if (typed.codePoint != 0) {
            window->queue(typed);
        }
        return EM_FALSE;
    }
    window->queue(event);
    if (typed.codePoint != 0) {
        window->queue(typed);
    }
    return window->keyIsOurs(event) && e->metaKey == 0 ? EM_TRUE : EM_FALSE;
}

EM_BOOL onMouse(int type, const EmscriptenMouseEvent* e, void* userData) {
    WebWindow* window = windowOf(userData);
    WebEvent event;
    if (type == EMSCRIPTEN_EVENT_MOUSEMOVE && window->locked()) {
        // A locked pointer stays put; only its movement is news.
        event.kind = WebEventKind::MouseDelta;
        event.x = static_cast<int>(e->movementX);
        event.y = static_cast<int>(e->movementY);
        window->queue(event);
        return EM_FALSE;
    }
    const bool inside = window->clientPosition(e->clientX, e->clientY, event.x, event.y);
    event.button = e->button;
    switch (type) {
    case EMSCRIPTEN_EVENT_MOUSEDOWN:
        if (!inside) {
            return EM_FALSE;
        }
        event.kind = WebEventKind::ButtonDown;
        break;
    case EMSCRIPTEN_EVENT_MOUSEUP:
        if (!inside && !window->captured()) {
            return EM_FALSE;
        }
        event.kind = WebEventKind::ButtonUp;
        break;
    default:
        // Outside the picture only while a button holds the pointer, like a capture.
        if (!inside && !window->captured()) {
            return EM_FALSE;
        }
        event.kind = WebEventKind::MouseMove;
        break;
    }
    window->queue(event);
    return type == EMSCRIPTEN_EVENT_MOUSEDOWN ? EM_TRUE : EM_FALSE;
}

EM_BOOL onWheel(int, const EmscriptenWheelEvent* e, void* userData) {
    WebEvent event;
    event.kind = WebEventKind::Wheel;
    event.x = wheelDistance(e->deltaX, e->deltaMode);
    event.y = -wheelDistance(e->deltaY, e->deltaMode); // the DOM counts towards the user
    if (event.x != 0 || event.y != 0) {
        windowOf(userData)->queue(event);
    }
    return EM_TRUE; // the page does not scroll under the picture
}

EM_BOOL onPointerLock(int, const EmscriptenPointerlockChangeEvent* e, void* userData) {
    WebWindow* window = windowOf(userData);
    const bool wasLocked = window->locked();
    if (e->isActive != 0 && !window->wantsLock()) {
        duskhallReleasePointer(); // granted after the hold had already ended
        return EM_FALSE;
    }
    window->setLocked(e->isActive != 0);
    if (wasLocked && e->isActive == 0) {
        WebEvent event;
        event.kind = WebEventKind::HoldLost;
        window->queue(event);
    }
    return EM_FALSE;
}

EM_BOOL onPointerLockError(int, const void*, void* userData) {
    WebEvent event;
    event.kind = WebEventKind::HoldLost;
    windowOf(userData)->queue(event);
    return EM_FALSE;
}

EM_BOOL onFocus(int type, const EmscriptenFocusEvent*, void* userData) {
    WebEvent event;
    event.kind = type == EMSCRIPTEN_EVENT_FOCUS ? WebEventKind::Focus : WebEventKind::Blur;
    windowOf(userData)->queue(event);
    return EM_FALSE;
}

EM_BOOL onFullscreen(int, const EmscriptenFullscreenChangeEvent* e, void* userData) {
    WebWindow* window = windowOf(userData);
    WebEvent event;
    event.kind = !e->isFullscreen && window->fullscreenStyle() ? WebEventKind::FullscreenLeft
                                                               : WebEventKind::Resized;
    window->queue(event);
    return EM_FALSE;
}

EM_BOOL onResize(int, const EmscriptenUiEvent*, void* userData) {
    WebEvent event;
    event.kind = WebEventKind::Resized;
    windowOf(userData)->queue(event);
    return EM_FALSE;
}

EM_BOOL onVisibility(int, const EmscriptenVisibilityChangeEvent*, void* userData) {
    WebEvent event;
    event.kind = WebEventKind::Resized;
    windowOf(userData)->queue(event);
    return EM_FALSE;
}

} // namespace

extern "C" EMSCRIPTEN_KEEPALIVE void duskhallWebFullscreenRefused() {
    if (current != nullptr) {
        WebEvent event;
        event.kind = WebEventKind::FullscreenLeft;
        current->queue(event);
    }
}

WebWindow::WebWindow(ScreenCore* screen, const char* canvas, std::int32_t width,
                     std::int32_t height)
    : WindowCore(screen, width, height), canvas_(canvas) {
    keyUpsMatchKeyDowns = true;
    valid_ = duskhallCanvasPrepare(canvas_, width, height) != 0;
    if (!valid_) {
        return;
    }
    cssSize_ = WindowSize{width, height};
    current = this;
    listen(true);
    rebuildSystemMenu();
}

bool WebWindow::anyListening() {
    return current != nullptr;
}

WebWindow::~WebWindow() {
    destroy();
}

void WebWindow::destroy() {
    if (!valid_ || destroyed) {
        destroyed = true;
        return;
    }
    destroyed = true;
    listen(false);
    if (current == this) {
        current = nullptr;
    }
    duskhallCanvasFullscreen(canvas_, 0);
    setVisible(false);
    duskhallCanvasStyle(canvas_, "cursor", "default");
}

void WebWindow::setCaption(const char* title) {
    if (!destroyed) {
        duskhallPageTitle(title);
    }
}

bool WebWindow::setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
    if (destroyed || duskhallPageIcon(pixels, width, height) != 0) {
        return true;
    }
    setDisplayError("setIcon: the browser gives no 2D canvas to draw the page's icon on");
    return false;
}

void WebWindow::listen(bool on) {
    void* self = on ? this : nullptr;
    const char* window = EMSCRIPTEN_EVENT_TARGET_WINDOW;
    const char* document = EMSCRIPTEN_EVENT_TARGET_DOCUMENT;
    emscripten_set_keydown_callback(window, self, EM_TRUE, on ? onKey : nullptr);
    emscripten_set_keyup_callback(window, self, EM_TRUE, on ? onKey : nullptr);
    emscripten_set_mousedown_callback(canvas_, self, EM_TRUE, on ? onMouse : nullptr);
    // Moves and releases are taken from the whole page so a held button is followed
    // outside the picture.
    emscripten_set_mousemove_callback(window, self, EM_TRUE, on ? onMouse : nullptr);
    emscripten_set_mouseup_callback(window, self, EM_TRUE, on ? onMouse : nullptr);
    emscripten_set_focus_callback(window, self, EM_TRUE, on ? onFocus : nullptr);
    emscripten_set_blur_callback(window, self, EM_TRUE, on ? onFocus : nullptr);
    emscripten_set_fullscreenchange_callback(document, self, EM_TRUE, on ? onFullscreen : nullptr);
    emscripten_set_resize_callback(window, self, EM_TRUE, on ? onResize : nullptr);
    emscripten_set_visibilitychange_callback(self, EM_TRUE, on ? onVisibility : nullptr);
    emscripten_set_wheel_callback(canvas_, self, EM_TRUE, on ? onWheel : nullptr);
    emscripten_set_pointerlockchange_callback(document, self, EM_TRUE,
                                              on ? onPointerLock : nullptr);
    emscripten_set_pointerlockerror_callback(document, self, EM_TRUE,
                                             on ? onPointerLockError : nullptr);
}

void WebWindow::queue(const WebEvent& event) {
    if (count_ == events_.size()) {
        return;
    }
    events_[(first_ + count_) % events_.size()] = event;
    ++count_;
}

void WebWindow::pumpMessages() {
    pumpStarting();
    while (dispatchNext()) {
    }
}

bool WebWindow::dispatchNext() {
    if (count_ == 0 || destroyed) {
        return false;
    }
    const WebEvent event = events_[first_];
    first_ = (first_ + 1) % events_.size();
    --count_;
    const bool key = event.kind == WebEventKind::KeyDown || event.kind == WebEventKind::KeyUp;
    if (key) {
        altHeld_ = event.alt;
    }
    if (key || event.kind == WebEventKind::Text) {
        modifierBits_ = event.modifiers;
    }
    if (event.kind == WebEventKind::Resized) {
        layout();
    }
    // The menu may change with each event (a zoom, a switch): translate late.
    const WebMessages messages = translateWebEvent(event, menuEntries);
    if (event.kind == WebEventKind::KeyDown || event.kind == WebEventKind::KeyUp) {
        // A shortcut's command follows its key's message; the screen carries out
        // one or the other.
        const std::int32_t command =
            messages.count > 1 ? static_cast<std::int32_t>(messages.messages[1].wParam) : 0;
        if (!takeShortcut(event.virtualKey, event.kind == WebEventKind::KeyDown, command) &&
            messages.count > 0) {
            handleMessage(messages.messages[0]);
        }
        return !destroyed;
    }
    for (const WindowMessage& message : messages) {
        handleMessage(message);
        if (destroyed) {
            return false;
        }
    }
    return true;
}

bool WebWindow::keyIsOurs(const WebEvent& event) const {
    constexpr int f5 = 0x74;
    constexpr int f11 = 0x7A;
    constexpr int f12 = 0x7B;
    // Reload, the browser's fullscreen and its tools stay the browser's.
    if (event.virtualKey == f5 || event.virtualKey == f11 || event.virtualKey == f12) {
        return false;
    }
    if (!event.ctrl) {
        return true;
    }
    ShortcutKey shortcut;
    shortcut.virtualKey = event.virtualKey;
    shortcut.ctrl = event.ctrl;
    shortcut.alt = event.alt;
    return menuShortcut(shortcut, menuEntries) != 0;
}

WindowSize WebWindow::clientArea() {
    if (fullscreenStyle_ || resizable) {
        return WindowSize{duskhallInnerWidth(), duskhallInnerHeight()};
    }
    return cssSize_;
}

void WebWindow::layout() {
    if (!valid_ || destroyed) {
        return;
    }
    const WindowSize client = clientArea();
    const WindowRect picture = pictureRect(screen->scaling(), WindowSize{width, height}, client);
    duskhallCanvasLayout(canvas_, client.width, client.height, picture.top,
                         client.width - picture.right, client.height - picture.bottom, picture.left,
                         resizable && !fullscreenStyle_ ? 1 : 0);
}

bool WebWindow::clientPosition(double clientX, double clientY, int& x, int& y) {
    double rect[4] = {0.0, 0.0, 0.0, 0.0};
    duskhallCanvasRect(canvas_, rect);
    x = static_cast<int>(clientX - rect[0]);
    y = static_cast<int>(clientY - rect[1]);
    return x >= 0 && y >= 0 && x < static_cast<int>(rect[2]) && y < static_cast<int>(rect[3]);
}

bool WebWindow::altHeld() {
    return altHeld_;
}

void WebWindow::setCapture() {
    captured_ = true;
}

void WebWindow::releaseCapture() {
    captured_ = false;
}

WindowSize WebWindow::clientSize() {
    return clientArea();
}

void WebWindow::setCursor(CursorKind cursor) {
    duskhallCanvasStyle(canvas_, "cursor", cursor == CursorKind::Arrow ? "default" : "none");
}

void WebWindow::setVisible(bool visible) {
    hidden_ = !visible;
    duskhallCanvasStyle(canvas_, "visibility", visible ? "visible" : "hidden");
}

void WebWindow::setFrameStyle(bool windowedStyle) {
    // The page's fullscreen, which the stylesheet fills with the picture at its shape.
    fullscreenStyle_ = !windowedStyle;
    duskhallCanvasFullscreen(canvas_, fullscreenStyle_ ? 1 : 0);
    layout();
}

WindowRect WebWindow::outerRect() {
    return WindowRect{0, 0, cssSize_.width, cssSize_.height};
}

void WebWindow::moveWindow(const WindowRect& outer) {
    // The page lays the canvas out; only the size is ours. Fullscreen keeps the
    // windowed size for the way back.
    if (fullscreenStyle_) {
        return;
    }
    cssSize_ =
        WindowSize{outer.width() > 0 ? outer.width() : 1, outer.height() > 0 ? outer.height() : 1};
    layout();
}

WindowSize WebWindow::screenSize() {
    return WindowSize{duskhallViewportWidth(), duskhallViewportHeight()};
}

FrameInsets WebWindow::frameInsets() {
    return FrameInsets{};
}

bool WebWindow::minimised() {
    return duskhallPageHidden() != 0;
}

bool WebWindow::maximised() {
    return false;
}

bool WebWindow::holdPointer(bool on) {
    wantsLock_ = on;
    if (!on) {
        duskhallReleasePointer();
        return true;
    }
    if (duskhallCanvasLockPointer(canvas_) == 0) {
        wantsLock_ = false;
        setDisplayError("no relative mouse: this page cannot lock the pointer");
        return false;
    }
    return true;
}

// The entries are kept in menuEntries; they decide which shortcuts work.
void WebWindow::applySystemMenu(const MenuList&) {}

// A resizable canvas covers the browser's viewport and follows it, as a window
// follows the user's drag.
void WebWindow::applyResizable() {
    layout();
    noteClientSize();
}

WindowSize WebWindow::desktopSize() {
    return WindowSize{duskhallScreenWidth(), duskhallScreenHeight()};
}

float WebWindow::displayScale() {
    return static_cast<float>(duskhallPixelRatio());
}

} // namespace duskhall
