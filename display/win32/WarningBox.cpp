#include <duskhall/WarningBox.h>

#include <windows.h>

namespace duskhall {

void showWarningBox(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONWARNING);
}

} // namespace duskhall
