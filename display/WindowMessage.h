#pragma once

#include <cstdint>

namespace duskhall {

// One window message as the window procedure receives it. The Win32 build feeds
// real messages, the SDL screen translates its events into the same records.
struct WindowMessage {
    std::uint32_t message = 0;
    std::uintptr_t wParam = 0;
    std::intptr_t lParam = 0;
};

// Message, key and hit-test numbers with their Win32 values, under our own names
// so that this header never clashes with <windows.h>.
namespace wm {
constexpr std::uint32_t Destroy = 0x0002;
constexpr std::uint32_t Size = 0x0005;
constexpr std::uint32_t Activate = 0x0006;
constexpr std::uint32_t Paint = 0x000F;
constexpr std::uint32_t Close = 0x0010;
constexpr std::uint32_t Quit = 0x0012;
constexpr std::uint32_t SetCursor = 0x0020;
constexpr std::uint32_t KeyDown = 0x0100;
constexpr std::uint32_t KeyUp = 0x0101;
constexpr std::uint32_t Char = 0x0102; // wParam: one UTF-16 code unit of typed text
constexpr std::uint32_t SysKeyDown = 0x0104;
constexpr std::uint32_t SysKeyUp = 0x0105;
constexpr std::uint32_t UniChar = 0x0109; // wParam: a whole code point of typed text
constexpr std::uint32_t SysCommand = 0x0112;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LButtonDown = 0x0201;
constexpr std::uint32_t LButtonUp = 0x0202;
constexpr std::uint32_t RButtonDown = 0x0204;
constexpr std::uint32_t RButtonUp = 0x0205;
constexpr std::uint32_t MButtonDown = 0x0207;
constexpr std::uint32_t MButtonUp = 0x0208;
// wParam's high 16 bits: the signed distance, WheelDelta a notch, positive away
// from the user (MouseWheel) or to the right (MouseHWheel).
constexpr std::uint32_t MouseWheel = 0x020A;
constexpr std::uint32_t MouseHWheel = 0x020E;
constexpr std::uint32_t Sizing = 0x0214;
constexpr std::uint32_t Moving = 0x0216;
// Our own, above WM_APP: the held pointer moved by lParam's (dx, dy) client
// pixels, packed as mousePosition packs a point; from platforms that report the
// movement of a held pointer themselves.
constexpr std::uint32_t MouseDelta = 0x8001;
// Our own: the platform let go of the held pointer by itself (the browser's
// Escape ends a pointer lock).
constexpr std::uint32_t HoldLost = 0x8002;
} // namespace wm

constexpr int WheelDelta = 120; // WHEEL_DELTA: one notch of a mouse wheel

// wParam of a wheel message for a distance in 1/WheelDelta notches.
constexpr std::uintptr_t wheelParam(int distance) {
    return static_cast<std::uintptr_t>(static_cast<std::uint16_t>(distance & 0xFFFF)) << 16;
}

namespace vk {
constexpr int Return = 0x0D;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
constexpr int LeftWindows = 0x5B;
constexpr int RightWindows = 0x5C;
constexpr int LeftShift = 0xA0;
constexpr int RightShift = 0xA1;
constexpr int LeftControl = 0xA2;
constexpr int RightControl = 0xA3;
constexpr int LeftMenu = 0xA4; // left Alt
constexpr int RightMenu = 0xA5;
} // namespace vk

constexpr std::intptr_t HitClient = 1; // HTCLIENT
constexpr int ActivateInactive = 0;    // WA_INACTIVE

// lParam of a mouse message: client x in the low 16 bits, y in the high 16 bits.
constexpr std::intptr_t mousePosition(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}

} // namespace duskhall
