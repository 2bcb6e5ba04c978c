#include "display/DisplayError.h"

#include "display/BoundedCopy.h"

#include <cstdio>

namespace duskhall {

namespace {

char lastError[256] = "";

} // namespace

void setDisplayError(const char* reason) {
    copyBounded(lastError, sizeof lastError, reason);
}

bool refuseOperation(const char* operation, const char* reason) {
    char text[sizeof lastError];
    std::snprintf(text, sizeof text, "%s: %s", operation, reason);
    setDisplayError(text);
    return false;
}

bool refuseOnClosedScreen(const char* operation) {
    return refuseOperation(operation, "the screen is not open");
}

const char* displayError() {
    return lastError;
}

} // namespace duskhall
