#pragma once

#include "display/WindowGeometry.h"
#include "display/WindowMessage.h"

#include <array>
#include <cstdint>

namespace duskhall {

// What the page's DOM listeners record: plain values, queued until the screen
// pumps its messages at the next frame.
enum class WebEventKind {
    KeyDown,
    KeyUp,
    MouseMove,
    ButtonDown,
    ButtonUp,
    Focus,
    Blur,
    // The browser left fullscreen on its own (its Escape, a refused request).
    FullscreenLeft,
    // The viewport changed size or the page was hidden or shown again.
    Resized,
    // The wheel: x and y in 1/WheelDelta notches, y positive away from the user.
    Wheel,
    // A typed character: codePoint.
    Text,
    // The locked pointer moved by x, y CSS pixels.
    MouseDelta,
    // The browser ended the pointer lock by itself (its Escape, a refusal).
    HoldLost,
};

struct WebEvent {
    WebEventKind kind = WebEventKind::Resized;
    int virtualKey = 0; // keys: from virtualKeyForCode
    bool alt = false;
    bool ctrl = false;
    bool repeat = false;
    int x = 0; // mouse: position in the picture, in CSS pixels
    int y = 0;
    int button = 0; // mouse buttons: the DOM's numbering, 0 left, 1 middle, 2 right
    std::uint32_t codePoint = 0; // text
    // Keys and text: the modifier keys held once this event had happened (Modifiers bits).
    std::uint32_t modifiers = 0;
};

// The window messages an event stands for: none, one, or a key message followed
// by the menu command its shortcut chooses (menuShortcut).
struct WebMessages {
    std::array<WindowMessage, 2> messages{};
    int count = 0;
    const WindowMessage* begin() const { return messages.data(); }
    const WindowMessage* end() const { return messages.data() + count; }
};

// entries: the menu as last built, which decides the shortcuts and whether
// leaving fullscreen is a switch back to the windowed style.
WebMessages translateWebEvent(const WebEvent& event, const MenuList& entries);

} // namespace duskhall
