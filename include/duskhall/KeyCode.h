#pragma once

#include <cstdint>

namespace duskhall {

/// A key, 0..255, the same on every platform: the Windows virtual-key code of
/// the key (letters 'A'..'Z' and digits '0'..'9' as their upper-case ASCII codes,
/// arrows 37..40, F1..F12 112..123; both Shift keys 16, both Control keys 17,
/// both Alt keys 18), except twelve keys given ASCII-like codes: Enter 10,
/// Insert 155, Delete 127, ; 59, = 61, , 44, - 108, . 46, / 47, [ 91, \ 92, ] 93.
using KeyCode = std::int32_t;

constexpr KeyCode KeyEnter = 10;  ///< Enter
constexpr KeyCode KeyEscape = 27; ///< Escape
constexpr KeyCode KeySpace = 32;  ///< the space bar

} // namespace duskhall
