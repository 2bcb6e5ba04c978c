#include "display/WarningBox.h"

#include <windows.h>

void showWarningBox(const char* text, const char* caption) {
    MessageBoxA(nullptr, text, caption, MB_OK | MB_ICONWARNING);
}
