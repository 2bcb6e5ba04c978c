#pragma once

// Why the last attempt to open or switch a screen failed, in words for the user.
// Platform screens record it; an empty text means no reason is known.
void setDisplayError(const char* reason);
const char* displayError();
