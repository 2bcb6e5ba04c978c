#include "display/BoundedCopy.h"

namespace duskhall {

namespace {

// The length of text[0, length) without a UTF-8 sequence the cut left unfinished.
std::size_t wholeCharacters(const char* text, std::size_t length) {
    std::size_t start = length;
    while (start > 0 && (static_cast<unsigned char>(text[start - 1]) & 0xC0) == 0x80) {
        --start;
    }
    if (start == 0) {
        return length;
    }
    const auto lead = static_cast<unsigned char>(text[start - 1]);
    const std::size_t needed = lead >= 0xF0 ? 4 : lead >= 0xE0 ? 3 : lead >= 0xC0 ? 2 : 1;
    return length - (start - 1) < needed ? start - 1 : length;
}

} // namespace

std::size_t copyBounded(char* destination, std::size_t capacity, const char* source) {
    std::size_t length = 0;
    if (source != nullptr) {
        while (length + 1 < capacity && source[length] != '\0') {
            destination[length] = source[length];
            ++length;
        }
    }
    if (source != nullptr && source[length] != '\0') {
        length = wholeCharacters(destination, length);
    }
    destination[length] = '\0';
    return length;
}

} // namespace duskhall
