#pragma once

// Shows a warning to the user in a modal box, when the platform can; returns
// once it has been dismissed. Each platform build provides it.
void showWarningBox(const char* text, const char* caption);
