#pragma once

#include <duskhall/Screen.h>

#include <array>
#include <cstdint>

namespace duskhall {

// Window placement and system-menu decisions as plain arithmetic, shared by
// every platform window.

struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
    std::int32_t width() const { return right - left; }
    std::int32_t height() const { return bottom - top; }
};

// Where a window is, so that a failed mode switch can put it back.
struct WindowPlacement {
    WindowRect outer;
    bool centred = false;
};

struct WindowSize {
    std::int32_t width = 0;
    std::int32_t height = 0;
};

// How far the windowed frame reaches beyond the client area on each side
// (what AdjustWindowRect adds).
struct FrameInsets {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

// Command identifiers of the screen's own system-menu entries.
namespace menu {
constexpr std::int32_t ZoomSeparator = 1;
constexpr std::int32_t OriginalSize = 2;
constexpr std::int32_t Zoom2 = 3;
constexpr std::int32_t Zoom4 = 4;
constexpr std::int32_t Zoom8 = 5;
constexpr std::int32_t ModeSeparator = 6;
constexpr std::int32_t Windowed = 7;
constexpr std::int32_t Fullscreen = 8;
constexpr std::int32_t CentreSeparator = 9;
constexpr std::int32_t Centre = 10;
} // namespace menu

// Entries are removed in this order before the menu is built again.
constexpr std::array<std::int32_t, 10> menuRemovalOrder = {1, 2, 3, 4, 5, 6, 8, 7, 9, 10};

struct MenuEntry {
    std::int32_t id = 0;
    const char* text = ""; // empty for separators
    bool separator() const { return text[0] == '\0'; }
};

// Fixed capacity so that rebuilding the menu never allocates.
struct MenuList {
    std::array<MenuEntry, 10> entries{};
    int count = 0;
    const MenuEntry* begin() const { return entries.data(); }
    const MenuEntry* end() const { return entries.data() + count; }
    bool contains(std::int32_t id) const;
};

struct MenuState {
    bool windowed = true;
    bool minimised = false;
    bool maximised = false;
    bool centred = false;
    WindowSize framebuffer;
    WindowSize screen;
};

// The entries appended after the system's own, in order.
MenuList systemMenuEntries(const MenuState& state);

// Whether the zoom to factor is offered: in a windowed, neither minimised nor
// maximised window, factor 1 always, a larger one while both zoomed sides stay
// strictly below the screen's.
bool zoomOffered(std::int32_t factor, const MenuState& state);

// The outer rectangle moved to the middle of the screen, size unchanged; halves
// round toward minus infinity and a negative position becomes 0.
WindowRect centredRect(const WindowRect& outer, WindowSize screen);

// The outer rectangle of a window whose client area is the framebuffer times
// factor, centred on the old outer rectangle and kept off negative positions.
WindowRect zoomedRect(const WindowRect& outer, WindowSize framebuffer, float factor,
                      const FrameInsets& insets);

// A client rectangle grown by the frame.
WindowRect growByFrame(const WindowRect& client, const FrameInsets& insets);

// The outer rectangle of a window whose frame changes from `from` to `to` while
// its client area stays where it is; moved right or down when the new frame
// would begin left of or above the origin, so the caption stays reachable.
WindowRect reframedRect(const WindowRect& outer, const FrameInsets& from, const FrameInsets& to);

// The popup of the fullscreen style: the screen, or the framebuffer when larger.
WindowRect fullscreenRect(WindowSize framebuffer, WindowSize screen);

// Where a picture keeps its shape in an area: the largest rectangle of the
// picture's proportions that fits, in the middle (bars on the two other sides).
// An empty picture or area gives the whole area.
WindowRect fittedRect(WindowSize picture, WindowSize area);

// Where a frame is shown in a client area under a scaling rule: Stretch fills
// the area; Fit is fittedRect; Integer is the largest whole multiple of the frame
// that fits, centred, or Fit when not even one does. Outputs draw into it and
// mouse positions are scaled from it; the rest of the area is black.
WindowRect pictureRect(Scaling scaling, WindowSize frame, WindowSize client);

} // namespace duskhall
