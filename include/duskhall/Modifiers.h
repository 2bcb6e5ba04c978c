#pragma once

#include <cstdint>

namespace duskhall {

// The modifier keys held, as a small bit set: test with the named constants,
// singly (LeftShift) or as a pair (Shift, either side). Where a platform cannot
// tell the two sides apart, the left key's bit stands for both.
struct Modifiers {
    static constexpr std::uint32_t LeftShift = 1u << 0;
    static constexpr std::uint32_t RightShift = 1u << 1;
    static constexpr std::uint32_t LeftControl = 1u << 2;
    static constexpr std::uint32_t RightControl = 1u << 3;
    static constexpr std::uint32_t LeftAlt = 1u << 4;
    static constexpr std::uint32_t RightAlt = 1u << 5;
    static constexpr std::uint32_t LeftSuper = 1u << 6; // the Windows or Command key
    static constexpr std::uint32_t RightSuper = 1u << 7;
    static constexpr std::uint32_t Shift = LeftShift | RightShift;
    static constexpr std::uint32_t Control = LeftControl | RightControl;
    static constexpr std::uint32_t Alt = LeftAlt | RightAlt;
    static constexpr std::uint32_t Super = LeftSuper | RightSuper;

    std::uint32_t bits = 0;

    // True when any key of mask is held.
    constexpr bool any(std::uint32_t mask) const { return (bits & mask) != 0; }
    constexpr bool shift() const { return any(Shift); }
    constexpr bool control() const { return any(Control); }
    constexpr bool alt() const { return any(Alt); }
    constexpr bool super() const { return any(Super); }
    constexpr bool operator==(Modifiers other) const { return bits == other.bits; }
    constexpr bool operator!=(Modifiers other) const { return bits != other.bits; }
};

} // namespace duskhall
