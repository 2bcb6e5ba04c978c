// libFuzzer target for WAD files: the directory, the sprites, the maps and their
// things, the palette, the textures composed from their patches, and the flats.

#include "WadExercise.h"

#include <cstddef>
#include <cstdint>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    exerciseWad(std::vector<std::uint8_t>(data, data + size));
    return 0;
}
