#include "WadExercise.h"

#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

#include <cstdio>
#include <cstdlib>

namespace {

bool readMaps(const WadFile& wad, std::string& error) {
    for (const std::string& name : wadMapNames(wad)) {
        WadMap map;
        if (!readWadMap(wad, name, map, error)) {
            return false;
        }
        wadPlayerStart(map);
        wadSkyTexture(name);
        // The importer's turn comes here once it exists: the map into a level
        // description, refused or built like a level file.
    }
    return true;
}

bool readPictures(const WadFile& wad, std::string& error) {
    WadTextures textures;
    if (wad.find("PLAYPAL") < 0) {
        return true; // a WAD of maps only
    }
    if (!textures.read(wad, error)) {
        return false;
    }
    std::vector<PackedPixel> pixels;
    for (std::size_t i = 0; i < textures.textures().size(); ++i) {
        if (!textures.composeTexture(i, pixels, error)) {
            return false;
        }
    }
    for (std::size_t i = 0; i < wad.lumpCount(); ++i) {
        if (textures.hasFlat(wad.lump(i).name) &&
            !textures.composeFlat(wad.lump(i).name, pixels, error)) {
            return false;
        }
    }
    return true;
}

} // namespace

std::string exerciseWad(const std::vector<std::uint8_t>& bytes) {
    WadFile wad;
    std::string error;
    if (wad.openBytes(bytes, wadExerciseLabel, error) && readMaps(wad, error) &&
        readPictures(wad, error)) {
        return "";
    }
    const std::string prefix = std::string(wadExerciseLabel) + ": ";
    if (error.rfind(prefix, 0) != 0 || error.find('\n') != std::string::npos ||
        error.size() <= prefix.size()) {
        std::fprintf(stderr, "a refusal that is not one line naming the input: %s\n",
                     error.c_str());
        std::abort();
    }
    return error;
}
