#pragma once

#include <cstddef>

namespace duskhall {

// Copies source into destination, cut to capacity - 1 bytes (less a UTF-8
// character the cut would split), always NUL-terminated; a null source gives the empty text.
// Returns the length copied. capacity must be at least 1.
std::size_t copyBounded(char* destination, std::size_t capacity, const char* source);

} // namespace duskhall
