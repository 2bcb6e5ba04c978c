// libFuzzer target for level files: the JSON, every check, and for accepted
// levels the builder, a few frames and explore mode's steps.

#include "LevelExercise.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exerciseLevel(std::string(reinterpret_cast<const char*>(data), size));
    return 0;
}
