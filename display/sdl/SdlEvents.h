#pragma once

#include "display/WindowGeometry.h"
#include "display/WindowMessage.h"

#include <SDL.h>

#include <array>

namespace duskhall {

// The window messages an SDL event stands for: none, one, or a close followed by
// the destruction the system's default handling would carry out.
struct TranslatedEvent {
    std::array<WindowMessage, 2> messages{};
    int count = 0;
    const WindowMessage* begin() const { return messages.data(); }
    const WindowMessage* end() const { return messages.data() + count; }
};

// Events of other windows are dropped.
TranslatedEvent translateEvent(const SDL_Event& event, Uint32 windowId);

// The menu command a key press stands for (menuShortcut), when that entry is on
// the menu, else 0. Linux has no system menu.
std::int32_t shortcutCommand(const SDL_KeyboardEvent& key, const MenuList& entries);

} // namespace duskhall
