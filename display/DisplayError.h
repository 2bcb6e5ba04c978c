#pragma once

#include <duskhall/DisplayError.h>

namespace duskhall {

// Records why opening or switching a screen failed, for displayError().
void setDisplayError(const char* reason);

} // namespace duskhall
