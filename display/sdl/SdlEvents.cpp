#include "display/sdl/SdlEvents.h"

#include "display/MenuShortcut.h"
#include "display/sdl/SdlKeyMap.h"

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

TranslatedEvent translateEvent(const SDL_Event& event, Uint32 windowId) {
    TranslatedEvent out;
    switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
        if (event.key.windowID == windowId) {
            translateKey(event.key, out);
        }
        break;
    case SDL_MOUSEMOTION:
        if (event.motion.windowID == windowId) {
            add(out, wm::MouseMove, 0, mousePosition(event.motion.x, event.motion.y));
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
