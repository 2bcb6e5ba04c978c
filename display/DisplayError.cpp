#include "display/DisplayError.h"

#include "display/BoundedCopy.h"

namespace duskhall {

namespace {

char lastError[256] = "";

} // namespace

void setDisplayError(const char* reason) {
    copyBounded(lastError, sizeof lastError, reason);
}

const char* displayError() {
    return lastError;
}

} // namespace duskhall
