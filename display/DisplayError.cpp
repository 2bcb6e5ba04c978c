#include "display/DisplayError.h"

#include <cstddef>

namespace {

char lastError[256] = "";

} // namespace

void setDisplayError(const char* reason) {
    std::size_t length = 0;
    if (reason != nullptr) {
        while (length < sizeof lastError - 1 && reason[length] != '\0') {
            lastError[length] = reason[length];
            ++length;
        }
    }
    lastError[length] = '\0';
}

const char* displayError() {
    return lastError;
}
