#pragma once

#include <duskhall/DisplayError.h>

namespace duskhall {

// Records why opening or switching a screen failed, for displayError().
void setDisplayError(const char* reason);

// Records "operation: reason" for displayError() and returns false: the answer of
// an operation that refuses and changes nothing.
bool refuseOperation(const char* operation, const char* reason);

// The refusal of an operation that needs an open screen.
bool refuseOnClosedScreen(const char* operation);

} // namespace duskhall
