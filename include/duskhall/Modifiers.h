#pragma once

#include <cstdint>

namespace duskhall {

/// The modifier keys held, as a small bit set: test with the named constants,
/// singly (LeftShift) or as a pair (Shift, either side). Where a platform cannot
/// tell the two sides apart, the left key's bit stands for both.
struct Modifiers {
    static constexpr std::uint32_t LeftShift = 1u << 0;    ///< the left Shift key
    static constexpr std::uint32_t RightShift = 1u << 1;   ///< the right Shift key
    static constexpr std::uint32_t LeftControl = 1u << 2;  ///< the left Control key
    static constexpr std::uint32_t RightControl = 1u << 3; ///< the right Control key
    static constexpr std::uint32_t LeftAlt = 1u << 4;      ///< the left Alt key
    static constexpr std::uint32_t RightAlt = 1u << 5;     ///< the right Alt key
    static constexpr std::uint32_t LeftSuper = 1u << 6;    ///< the left Windows or Command key
    static constexpr std::uint32_t RightSuper = 1u << 7;   ///< the right Windows or Command key
    static constexpr std::uint32_t Shift = LeftShift | RightShift;       ///< either Shift key
    static constexpr std::uint32_t Control = LeftControl | RightControl; ///< either Control key
    static constexpr std::uint32_t Alt = LeftAlt | RightAlt;             ///< either Alt key
    static constexpr std::uint32_t Super = LeftSuper | RightSuper;       ///< either Super key

    /// The keys held, a bit each.
    std::uint32_t bits = 0;

    /// True when any key of mask is held.
    constexpr bool any(std::uint32_t mask) const { return (bits & mask) != 0; }
    /// True when either Shift key is held.
    constexpr bool shift() const { return any(Shift); }
    /// True when either Control key is held.
    constexpr bool control() const { return any(Control); }
    /// True when either Alt key is held.
    constexpr bool alt() const { return any(Alt); }
    /// True when either Super key is held.
    constexpr bool super() const { return any(Super); }
    /// The same keys held.
    constexpr bool operator==(Modifiers other) const { return bits == other.bits; }
    /// Other keys held.
    constexpr bool operator!=(Modifiers other) const { return bits != other.bits; }
};

} // namespace duskhall
