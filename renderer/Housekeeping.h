#pragma once

#include <cstdint>

// Shows a fatal message to the user and returns once it has been dismissed.
using FatalMessagePresenter = void (*)(const char* text, const char* caption);

// Installs how the fatal message is shown (a message box in the demo). Without
// one, the message only goes to standard error, as it always does.
void setFatalMessagePresenter(FatalMessagePresenter presenter);

// Registers a malloc'ed block; a null block ends the program with the
// "Housekeeping error" message and exit status 1.
std::int32_t HKPtr(void* block);
// Frees every registered block in registration order.
void HKFreeAll();
