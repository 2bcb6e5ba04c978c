#include "display/sdl/SdlEvents.h"

#include "display/MenuShortcut.h"
#include "display/TypedText.h"
#include "display/sdl/SdlKeyMap.h"

#include <cmath>

namespace duskhall {

namespace {

constexpr int virtualKeyF10 = 0x79;
constexpr std::intptr_t repeatBit = std::intptr_t{1} << 30;

void add(TranslatedEvent& out, std::uint32_t message, std::uintptr_t wParam = 0,
         std::intptr_t lParam = 0) {
    out.messages[static_cast<std::size_t>(out.count++)] = WindowMessage{message, wParam, lParam};
}

void translateKey(const SDL_KeyboardEvent& key, TranslatedEvent& out) {
    const int virtualKey = virtualKeyFor(key.keysym.scancode);
    if (virtualKey == 0) {
        return;
    }
    // Keys pressed with Alt held, and F10, come as system keys.
    const bool system = (key.keysym.mod & KMOD_ALT) != 0 || virtualKey == virtualKeyF10;
    if (key.type == SDL_KEYDOWN) {
        add(out, system ? wm::SysKeyDown : wm::KeyDown, static_cast<std::uintptr_t>(virtualKey),
            key.repeat != 0 ? repeatBit : 0);
    } else {
        add(out, system ? wm::SysKeyUp : wm::KeyUp, static_cast<std::uintptr_t>(virtualKey));
    }
}

void translateButton(const SDL_MouseButtonEvent& button, TranslatedEvent& out) {
    const bool down = button.type == SDL_MOUSEBUTTONDOWN;
    std::uint32_t message = 0;
    switch (button.button) {
    case SDL_BUTTON_LEFT:
        message = down ? wm::LButtonDown : wm::LButtonUp;
        break;
    case SDL_BUTTON_RIGHT:
        message = down ? wm::RButtonDown : wm::RButtonUp;
        break;
    case SDL_BUTTON_MIDDLE:
        message = down ? wm::MButtonDown : wm::MButtonUp;
        break;
    default:
        return; // the extra buttons raise nothing
    }
    add(out, message, 0, mousePosition(button.x, button.y));
}

// A wheel distance in notches as a wheel message's 1/WheelDelta steps.
void addWheel(TranslatedEvent& out, std::uint32_t message, float notches) {
    const long distance = std::lround(static_cast<double>(notches) * WheelDelta);
    if (distance != 0) {
        add(out, message, wheelParam(static_cast<int>(distance)));
    }
}

void translateWheel(const SDL_MouseWheelEvent& wheel, TranslatedEvent& out) {
#if SDL_VERSION_ATLEAST(2, 0, 18)
    float x = wheel.preciseX;
    float y = wheel.preciseY;
#else
    auto x = static_cast<float>(wheel.x);
    auto y = static_cast<float>(wheel.y);
#endif
    // A "natural scrolling" desktop flips the values; the notches stay the wheel's.
    if (wheel.direction == SDL_MOUSEWHEEL_FLIPPED) {
        x = -x;
        y = -y;
    }
    addWheel(out, wm::MouseWheel, y);
    addWheel(out, wm::MouseHWheel, x);
}

void translateText(const char* text, TranslatedEvent& out) {
    while (out.count < static_cast<int>(out.messages.size())) {
        const std::uint32_t codePoint = nextCodePoint(text);
        if (codePoint == 0) {
            break;
        }
        add(out, wm::UniChar, codePoint);
    }
}

void translateWindowEvent(const SDL_WindowEvent& window, TranslatedEvent& out) {
    switch (window.event) {
    case SDL_WINDOWEVENT_CLOSE:
        add(out, wm::Close);
        add(out, wm::Destroy);
        break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
        add(out, wm::Activate, 1);
        break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
        add(out, wm::Activate, static_cast<std::uintptr_t>(ActivateInactive));
        break;
    case SDL_WINDOWEVENT_EXPOSED:
        add(out, wm::Paint);
        break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
        add(out, wm::Sizing);
        break;
    case SDL_WINDOWEVENT_MINIMIZED:
    case SDL_WINDOWEVENT_MAXIMIZED:
    case SDL_WINDOWEVENT_RESTORED:
        add(out, wm::Size);
        break;
    case SDL_WINDOWEVENT_MOVED:
        add(out, wm::Moving, 0, mousePosition(window.data1, window.data2));
        break;
    default:
        break;
    }
}

} // namespace

TranslatedEvent translateEvent(const SDL_Event& event, Uint32 windowId, bool pointerHeld) {
    TranslatedEvent out;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.windowID == windowId) {
            translateKey(event.key, out);
        }
        break;
    case SDL_MOUSEMOTION:
        if (event.motion.windowID == windowId && pointerHeld) {
            add(out, wm::MouseDelta, 0, mousePosition(event.motion.xrel, event.motion.yrel));
        } else if (event.motion.windowID == windowId) {
            add(out, wm::MouseMove, 0, mousePosition(event.motion.x, event.motion.y));
        }
        break;
    case SDL_MOUSEWHEEL:
        if (event.wheel.windowID == windowId && event.wheel.which != SDL_TOUCH_MOUSEID) {
            translateWheel(event.wheel, out);
        }
        break;
    case SDL_TEXTINPUT:
        if (event.text.windowID == windowId) {
            translateText(event.text.text, out);
        }
        break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
        if (event.button.windowID == windowId) {
            translateButton(event.button, out);
        }
        break;
    case SDL_WINDOWEVENT:
        if (event.window.windowID == windowId) {
            translateWindowEvent(event.window, out);
        }
        break;
    case SDL_QUIT:
        // An interrupt from the terminal ends the program like the close box.
        add(out, wm::Close);
        add(out, wm::Destroy);
        break;
    default:
        break;
    }
    return out;
}

Modifiers modifiersFromSdl(Uint16 mod) {
    Modifiers modifiers;
    modifiers.bits = ((mod & KMOD_LSHIFT) != 0 ? Modifiers::LeftShift : 0u) |
                     ((mod & KMOD_RSHIFT) != 0 ? Modifiers::RightShift : 0u) |
                     ((mod & KMOD_LCTRL) != 0 ? Modifiers::LeftControl : 0u) |
                     ((mod & KMOD_RCTRL) != 0 ? Modifiers::RightControl : 0u) |
                     ((mod & KMOD_LALT) != 0 ? Modifiers::LeftAlt : 0u) |
                     ((mod & KMOD_RALT) != 0 ? Modifiers::RightAlt : 0u) |
                     ((mod & KMOD_LGUI) != 0 ? Modifiers::LeftSuper : 0u) |
                     ((mod & KMOD_RGUI) != 0 ? Modifiers::RightSuper : 0u);
    return modifiers;
}

std::int32_t shortcutCommand(const SDL_KeyboardEvent& key, const MenuList& entries) {
    if (key.type != SDL_KEYDOWN) {
        return 0;
    }
    ShortcutKey shortcut;
    shortcut.virtualKey = virtualKeyFor(key.keysym.scancode);
    shortcut.ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
    shortcut.alt = (key.keysym.mod & KMOD_ALT) != 0;
    shortcut.repeat = key.repeat != 0;
    return menuShortcut(shortcut, entries);
}

} // namespace duskhall
