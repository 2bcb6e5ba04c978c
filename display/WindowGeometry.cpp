#include "display/WindowGeometry.h"

#include <algorithm>
#include <cmath>

namespace duskhall {

namespace {

void append(MenuList& list, std::int32_t id, const char* text) {
    list.entries[static_cast<std::size_t>(list.count)] = MenuEntry{id, text};
    ++list.count;
}

WindowRect shifted(const WindowRect& rect, std::int32_t dx, std::int32_t dy) {
    return WindowRect{rect.left + dx, rect.top + dy, rect.right + dx, rect.bottom + dy};
}

} // namespace

bool MenuList::contains(std::int32_t id) const {
    return std::any_of(begin(), end(), [id](const MenuEntry& entry) { return entry.id == id; });
}

MenuList systemMenuEntries(const MenuState& state) {
    MenuList list;
    if (state.windowed && !state.minimised && !state.maximised) {
        append(list, menu::ZoomSeparator, "");
        append(list, menu::OriginalSize, "Original Size");
        if (zoomOffered(2, state)) {
            append(list, menu::Zoom2, "2x Zoom");
        }
        if (zoomOffered(4, state)) {
            append(list, menu::Zoom4, "4x Zoom");
        }
        if (zoomOffered(8, state)) {
            append(list, menu::Zoom8, "8x Zoom");
        }
    }
    append(list, menu::ModeSeparator, "");
    if (state.windowed) {
        append(list, menu::Fullscreen, "Fullscreen");
    } else {
        append(list, menu::Windowed, "Windowed");
    }
    if (state.windowed && !state.centred) {
        append(list, menu::CentreSeparator, "");
        append(list, menu::Centre, "Center");
    }
    return list;
}

bool zoomOffered(std::int32_t factor, const MenuState& state) {
    if (!state.windowed || state.minimised || state.maximised || factor < 1) {
        return false;
    }
    // Strict on both sides: a zoom that exactly fills the screen is not offered.
    return factor == 1 ||
           (static_cast<std::int64_t>(state.framebuffer.width) * factor < state.screen.width &&
            static_cast<std::int64_t>(state.framebuffer.height) * factor < state.screen.height);
}

WindowRect centredRect(const WindowRect& outer, WindowSize screen) {
    const std::int32_t w = outer.width();
    const std::int32_t h = outer.height();
    // An arithmetic shift halves toward minus infinity, which the clamp then
    // turns into 0 for windows larger than the screen.
    const std::int32_t x = std::max((screen.width - w) >> 1, 0);
    const std::int32_t y = std::max((screen.height - h) >> 1, 0);
    return WindowRect{x, y, x + w, y + h};
}

WindowRect growByFrame(const WindowRect& client, const FrameInsets& insets) {
    return WindowRect{client.left - insets.left, client.top - insets.top,
                      client.right + insets.right, client.bottom + insets.bottom};
}

WindowRect reframedRect(const WindowRect& outer, const FrameInsets& from, const FrameInsets& to) {
    const WindowRect client{outer.left + from.left, outer.top + from.top, outer.right - from.right,
                            outer.bottom - from.bottom};
    WindowRect rect = growByFrame(client, to);
    const std::int32_t right = rect.left < 0 ? -rect.left : 0;
    const std::int32_t down = rect.top < 0 ? -rect.top : 0;
    return WindowRect{rect.left + right, rect.top + down, rect.right + right, rect.bottom + down};
}

WindowRect zoomedRect(const WindowRect& outer, WindowSize framebuffer, float factor,
                      const FrameInsets& insets) {
    const std::int32_t cx = (outer.left + outer.right) / 2;
    const std::int32_t cy = (outer.top + outer.bottom) / 2;
    const auto cw = static_cast<std::int32_t>(std::nearbyint(framebuffer.width * factor));
    const auto ch = static_cast<std::int32_t>(std::nearbyint(framebuffer.height * factor));

    WindowRect rect = growByFrame(WindowRect{0, 0, cw, ch}, insets);
    if (rect.left < 0) {
        rect.right -= rect.left;
        rect.left = 0;
    }
    if (rect.top < 0) {
        rect.bottom -= rect.top;
        rect.top = 0;
    }
    rect = shifted(rect, cx - rect.width() / 2, cy - rect.height() / 2);
    rect = shifted(rect, rect.left < 0 ? -rect.left : 0, rect.top < 0 ? -rect.top : 0);
    return rect;
}

WindowRect fullscreenRect(WindowSize framebuffer, WindowSize screen) {
    return WindowRect{0, 0, std::max(screen.width, framebuffer.width),
                      std::max(screen.height, framebuffer.height)};
}

WindowRect fittedRect(WindowSize picture, WindowSize area) {
    if (picture.width <= 0 || picture.height <= 0 || area.width <= 0 || area.height <= 0) {
        return WindowRect{0, 0, area.width, area.height};
    }
    // Scaled in 64 bits: the products outgrow 32 bits for large sizes. The side
    // that fits whole is kept; the other is scaled down from it.
    const auto width = static_cast<std::int32_t>(std::min<std::int64_t>(
        area.width, std::int64_t{area.height} * picture.width / picture.height));
    const auto height = static_cast<std::int32_t>(std::min<std::int64_t>(
        area.height, std::int64_t{area.width} * picture.height / picture.width));
    const std::int32_t left = (area.width - width) / 2;
    const std::int32_t top = (area.height - height) / 2;
    return WindowRect{left, top, left + width, top + height};
}

WindowRect pictureRect(Scaling scaling, WindowSize frame, WindowSize client) {
    if (scaling == Scaling::Stretch || frame.width <= 0 || frame.height <= 0) {
        return WindowRect{0, 0, client.width, client.height};
    }
    if (scaling == Scaling::Integer) {
        const std::int32_t factor =
            std::min(client.width / frame.width, client.height / frame.height);
        if (factor >= 1) {
            const auto width = static_cast<std::int32_t>(std::int64_t{frame.width} * factor);
            const auto height = static_cast<std::int32_t>(std::int64_t{frame.height} * factor);
            const std::int32_t left = (client.width - width) / 2;
            const std::int32_t top = (client.height - height) / 2;
            return WindowRect{left, top, left + width, top + height};
        }
    }
    return fittedRect(frame, client);
}

} // namespace duskhall
