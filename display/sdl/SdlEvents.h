#pragma once

#include <duskhall/Modifiers.h>

#include "display/WindowGeometry.h"
#include "display/WindowMessage.h"

#include <SDL.h>

#include <array>

namespace duskhall {

// The window messages an SDL event stands for: none, one, a close followed by
// the destruction the system's default handling would carry out, a wheel's
// vertical and horizontal parts, or one character message for each character of
// a text event.
struct TranslatedEvent {
    std::array<WindowMessage, SDL_TEXTINPUTEVENT_TEXT_SIZE> messages{};
    int count = 0;
    const WindowMessage* begin() const { return messages.data(); }
    const WindowMessage* end() const { return messages.data() + count; }
};

// Events of other windows are dropped. While the pointer is held (relative
// mode), its motion comes as changes (wm::MouseDelta).
TranslatedEvent translateEvent(const SDL_Event& event, Uint32 windowId, bool pointerHeld = false);

// The modifier keys of an SDL modifier state, each side apart.
Modifiers modifiersFromSdl(Uint16 mod);

// The menu command a key press stands for (menuShortcut), when that entry is on
// the menu, else 0. Linux has no system menu.
std::int32_t shortcutCommand(const SDL_KeyboardEvent& key, const MenuList& entries);

} // namespace duskhall
