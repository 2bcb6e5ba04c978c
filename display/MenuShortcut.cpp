#include "display/MenuShortcut.h"

namespace duskhall {

std::int32_t menuShortcut(const ShortcutKey& key, const MenuList& entries) {
    if (!key.ctrl || key.alt || key.repeat) {
        return 0;
    }
    std::int32_t command = 0;
    switch (key.virtualKey) {
    case '1':
        command = menu::OriginalSize;
        break;
    case '2':
        command = menu::Zoom2;
        break;
    case '4':
        command = menu::Zoom4;
        break;
    case '8':
        command = menu::Zoom8;
        break;
    case 'F':
        command = entries.contains(menu::Fullscreen) ? menu::Fullscreen : menu::Windowed;
        break;
    case 'C':
        command = menu::Centre;
        break;
    default:
        return 0;
    }
    return entries.contains(command) ? command : 0;
}

} // namespace duskhall
