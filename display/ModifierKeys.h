#pragma once

#include <duskhall/Modifiers.h>

namespace duskhall {

// The modifiers held, asking held(virtualKey) about each side's own key
// (VK_LSHIFT, VK_RSHIFT, ..., VK_LWIN, VK_RWIN), as Windows tells them apart.
Modifiers modifiersFromVirtualKeys(bool (*held)(int virtualKey));

} // namespace duskhall
