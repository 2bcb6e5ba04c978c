#pragma once

#include <cstdint>

// Shows a fatal message to the user and returns once it has been dismissed.
using FatalMessagePresenter = void (*)(const char* text, const char* caption);

// Installs how the fatal message is shown (a message box in the demo). Without
// one, the message only goes to standard error, as it always does.
void setFatalMessagePresenter(FatalMessagePresenter presenter);

// Registers a malloc'ed block and returns its slot; a null block ends the program
// with the "Housekeeping error" message and exit status 1.
std::int32_t HKPtr(void* block);
// Frees every registered block in registration order. The slot storage is kept
// for later registrations.
void HKFreeAll();

// Read-only view of the registry, for checks.
std::int32_t HKCapacity();
std::int32_t HKCount();
