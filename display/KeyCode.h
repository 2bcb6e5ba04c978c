#pragma once

#include <array>
#include <cstdint>

// Key codes 0..255: the Win32 virtual-key code of the key, except for twelve
// keys that are given their ASCII-like codes (Enter 10, minus 108, ...).
using KeyCode = std::int32_t;

constexpr KeyCode KeyEnter = 10;
constexpr KeyCode KeyEscape = 27;

// Virtual-key code -> KeyCode for all 256 virtual keys.
using KeyTable = std::array<KeyCode, 256>;

KeyTable makeKeyTable();
