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
constexpr std::uint32_t SysKeyDown = 0x0104;
constexpr std::uint32_t SysKeyUp = 0x0105;
constexpr std::uint32_t SysCommand = 0x0112;
constexpr std::uint32_t MouseMove = 0x0200;
constexpr std::uint32_t LButtonDown = 0x0201;
constexpr std::uint32_t LButtonUp = 0x0202;
constexpr std::uint32_t RButtonDown = 0x0204;
constexpr std::uint32_t RButtonUp = 0x0205;
constexpr std::uint32_t MButtonDown = 0x0207;
constexpr std::uint32_t MButtonUp = 0x0208;
constexpr std::uint32_t Sizing = 0x0214;
constexpr std::uint32_t Moving = 0x0216;
} // namespace wm

namespace vk {
constexpr int Return = 0x0D;
constexpr int Menu = 0x12; // Alt
constexpr int Escape = 0x1B;
} // namespace vk

constexpr std::intptr_t HitClient = 1; // HTCLIENT
constexpr int ActivateInactive = 0;    // WA_INACTIVE

// lParam of a mouse message: client x in the low 16 bits, y in the high 16 bits.
constexpr std::intptr_t mousePosition(int x, int y) {
    return static_cast<std::intptr_t>((static_cast<std::uint32_t>(y & 0xFFFF) << 16) |
                                      static_cast<std::uint32_t>(x & 0xFFFF));
}

} // namespace duskhall
