#pragma once

namespace duskhall {

/// Shows a message to the user in a modal box with the given caption and returns
/// once it has been dismissed: a message box on Windows, an SDL message box on
/// Linux (nothing without a display). For a fatal message before a program ends.
void showWarningBox(const char* text, const char* caption);

} // namespace duskhall
