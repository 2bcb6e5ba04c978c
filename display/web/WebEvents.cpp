#include "display/web/WebEvents.h"

#include "display/MenuShortcut.h"

namespace duskhall {

namespace {

constexpr int virtualKeyF10 = 0x79;
constexpr std::intptr_t repeatBit = std::intptr_t{1} << 30;

void add(WebMessages& out, std::uint32_t message, std::uintptr_t wParam = 0,
         std::intptr_t lParam = 0) {
    out.messages[static_cast<std::size_t>(out.count++)] = WindowMessage{message, wParam, lParam};
}

void translateKey(const WebEvent& event, const MenuList& entries, WebMessages& out) {
    if (event.virtualKey <= 0 || event.virtualKey > 0xFF) {
        return;
    }
    const auto key = static_cast<std::uintptr_t>(event.virtualKey);
    // Keys pressed with Alt held, and F10, come as system keys.
    const bool system = event.alt || event.virtualKey == virtualKeyF10;
    if (event.kind == WebEventKind::KeyUp) {
        add(out, system ? wm::SysKeyUp : wm::KeyUp, key);
        return;
    }
    add(out, system ? wm::SysKeyDown : wm::KeyDown, key, event.repeat ? repeatBit : 0);
    ShortcutKey shortcut;
    shortcut.virtualKey = event.virtualKey;
    shortcut.ctrl = event.ctrl;
    shortcut.alt = event.alt;
    shortcut.repeat = event.repeat;
    const std::int32_t command = menuShortcut(shortcut, entries);
    if (command != 0) {
        add(out, wm::SysCommand, static_cast<std::uintptr_t>(command));
    }
}

void translateButton(const WebEvent& event, WebMessages& out) {
    const bool down = event.kind == WebEventKind::ButtonDown;
    std::uint32_t message = 0;
    switch (event.button) {
    case 0:
        message = down ? wm::LButtonDown : wm::LButtonUp;
        break;
    case 1:
        message = down ? wm::MButtonDown : wm::MButtonUp;
        break;
    case 2:
        message = down ? wm::RButtonDown : wm::RButtonUp;
        break;
    default:
        return; // the extra buttons raise nothing
    }
    add(out, message, 0, mousePosition(event.x, event.y));
}

} // namespace

WebMessages translateWebEvent(const WebEvent& event, const MenuList& entries) {
    WebMessages out;
    switch (event.kind) {
    case WebEventKind::KeyDown:
    case WebEventKind::KeyUp:
        translateKey(event, entries, out);
        break;
    case WebEventKind::MouseMove:
        add(out, wm::MouseMove, 0, mousePosition(event.x, event.y));
        break;
    case WebEventKind::ButtonDown:
    case WebEventKind::ButtonUp:
        translateButton(event, out);
        break;
    case WebEventKind::Focus:
        add(out, wm::Activate, 1);
        break;
    case WebEventKind::Blur:
        add(out, wm::Activate, static_cast<std::uintptr_t>(ActivateInactive));
        break;
    case WebEventKind::FullscreenLeft:
        // As if "Windowed" had been chosen, so the screen's mode follows the page.
        if (entries.contains(menu::Windowed)) {
            add(out, wm::SysCommand, static_cast<std::uintptr_t>(menu::Windowed));
        }
        break;
    case WebEventKind::Resized:
        // The zoom entries depend on the room the page has.
        add(out, wm::Size);
        break;
    case WebEventKind::Wheel:
        if (event.y != 0) {
            add(out, wm::MouseWheel, wheelParam(event.y));
        }
        if (event.x != 0) {
            add(out, wm::MouseHWheel, wheelParam(event.x));
        }
        break;
    case WebEventKind::Text:
        add(out, wm::UniChar, event.codePoint);
        break;
    case WebEventKind::MouseDelta:
        add(out, wm::MouseDelta, 0, mousePosition(event.x, event.y));
        break;
    case WebEventKind::HoldLost:
        add(out, wm::HoldLost);
        break;
    }
    return out;
}

} // namespace duskhall
