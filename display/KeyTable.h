#pragma once

#include <duskhall/KeyCode.h>

#include <array>

namespace duskhall {

// Virtual-key code -> KeyCode for all 256 virtual keys.
using KeyTable = std::array<KeyCode, 256>;

KeyTable makeKeyTable();

} // namespace duskhall
