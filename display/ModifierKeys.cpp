#include "display/ModifierKeys.h"

#include "display/WindowMessage.h"

#include <array>
#include <cstdint>
#include <utility>

namespace duskhall {

Modifiers modifiersFromVirtualKeys(bool (*held)(int virtualKey)) {
    static constexpr std::array<std::pair<int, std::uint32_t>, 8> keys = {{
        {vk::LeftShift, Modifiers::LeftShift},
        {vk::RightShift, Modifiers::RightShift},
        {vk::LeftControl, Modifiers::LeftControl},
        {vk::RightControl, Modifiers::RightControl},
        {vk::LeftMenu, Modifiers::LeftAlt},
        {vk::RightMenu, Modifiers::RightAlt},
        {vk::LeftWindows, Modifiers::LeftSuper},
        {vk::RightWindows, Modifiers::RightSuper},
    }};
    Modifiers modifiers;
    for (const auto& key : keys) {
        if (held(key.first)) {
            modifiers.bits |= key.second;
        }
    }
    return modifiers;
}

} // namespace duskhall
