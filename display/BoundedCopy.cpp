#include "display/BoundedCopy.h"

namespace duskhall {

std::size_t copyBounded(char* destination, std::size_t capacity, const char* source) {
    std::size_t length = 0;
    if (source != nullptr) {
        while (length + 1 < capacity && source[length] != '\0') {
            destination[length] = source[length];
            ++length;
        }
    }
    destination[length] = '\0';
    return length;
}

} // namespace duskhall
