#include "renderer/level/wad/WadLevel.h"

#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadSearch.h"
#include "renderer/level/wad/WadTextures.h"

#include "renderer/level/PngLoader.h"

#include <algorithm>
#include <cctype>

namespace {

bool endsWithWad(const std::string& text) {
    if (text.size() < 4) {
        return false;
    }
    std::string tail = text.substr(text.size() - 4);
    for (char& c : tail) {
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    }
    return tail == ".wad";
}

// FILE.wad:MAP splits at the last colon when what is before it names a WAD.
void splitArgument(const std::string& argument, std::string& file, std::string& map) {
    const std::size_t colon = argument.rfind(':');
    if (colon != std::string::npos && endsWithWad(argument.substr(0, colon))) {
        file = argument.substr(0, colon);
        map = argument.substr(colon + 1);
    } else {
        file = argument;
        map.clear();
    }
}

// The WAD's own pictures: wall textures at their own size (at most the 1024 texels
// a side a texture may have), flats laid on the ground as the game lays them, their
// rows running southwards.
class WadPixels : public WadTexturePixels {
  public:
    WadPixels(const WadTextures& textures, WadSpriteSource& sprites, LevelWarnings& warnings)
        : textures_(textures), sprites_(sprites), warnings_(warnings) {}

    WadSpriteSource* sprites() override { return &sprites_; }

    bool wall(const std::string& name, std::vector<PackedPixel>& pixels,
              ImportedSize& size) override {
        const std::int64_t index = textures_.findTexture(name);
        std::vector<PackedPixel> composed;
        std::string error;
        if (index < 0) {
            return false;
        }
        if (!textures_.composeTexture(static_cast<std::size_t>(index), composed, error)) {
            warnings_.add("", error + "; drawn as a checker");
            return false;
        }
        const WadTextureDef& def = textures_.textures()[static_cast<std::size_t>(index)];
        size = {std::min(def.width, maxTextureSide), std::min(def.height, maxTextureSide)};
        // A level's images are bounded together; a map asking for more (real maps
        // use a few million texels) still draws, the rest as checkers.
        texels_ += std::int64_t{size.width} * size.height;
        if (texels_ > maxLevelTexels) {
            warnings_.addOnce("texels", "",
                              "the map's wall textures hold more than " +
                                  std::to_string(maxLevelTexels) +
                                  " texels together; those past it are drawn as checkers");
            pixels = checkerPixels();
            size = {wadFlatSide, wadFlatSide};
            return true;
        }
        if (size.width != def.width || size.height != def.height) {
            warnings_.add("", "texture " + name + " is " + std::to_string(def.width) + " x " +
                                  std::to_string(def.height) + "; drawn by its first " +
                                  std::to_string(size.width) + " x " + std::to_string(size.height) +
                                  " texels");
        }
        pixels.resize(static_cast<std::size_t>(size.width) * static_cast<std::size_t>(size.height));
        for (std::int32_t y = 0; y < size.height; ++y) {
            for (std::int32_t x = 0; x < size.width; ++x) {
                pixels[static_cast<std::size_t>(y * size.width + x)] =
                    composed[static_cast<std::size_t>(y * def.width + x)];
            }
        }
        return true;
    }

    bool flat(const std::string& name, std::vector<PackedPixel>& pixels) override {
        std::string error;
        std::vector<PackedPixel> lump;
        if (!textures_.hasFlat(name)) {
            return false;
        }
        if (!textures_.composeFlat(name, lump, error)) {
            warnings_.add("", error + "; drawn as a checker");
            return false;
        }
        // A level's flat row r lies at y = r (texels from 0 northwards); the game's
        // row r at y = -r.
        pixels.resize(lump.size());
        for (std::int32_t r = 0; r < wadFlatSide; ++r) {
            const std::int32_t from = (wadFlatSide - r) % wadFlatSide;
            std::copy_n(lump.begin() + from * wadFlatSide, wadFlatSide,
                        pixels.begin() + r * wadFlatSide);
        }
        return true;
    }

  private:
    const WadTextures& textures_;
    WadSpriteSource& sprites_;
    LevelWarnings& warnings_;
    std::int64_t texels_ = 0; // of the wall textures handed out so far
};

} // namespace

bool isWadLevelArgument(const std::string& argument) {
    std::string file;
    std::string map;
    splitArgument(argument, file, map);
    return endsWithWad(file);
}

std::string wadLevelFile(const std::string& argument) {
    std::string file;
    std::string map;
    splitArgument(argument, file, map);
    return file;
}

bool findWadLevel(std::string& argument, std::string& error) {
    std::string file;
    std::string map;
    splitArgument(argument, file, map);
    std::string path;
    if (!findWad(file, path, error)) {
        return false;
    }
    argument = map.empty() ? path : path + ":" + map;
    return true;
}

bool importWadLevel(const std::string& argument, ImportedLevel& imported, LevelWarnings& warnings,
                    std::string& error) {
    std::string file;
    std::string mapName;
    splitArgument(argument, file, mapName);
    // A bare name (freedoom2.wad) is looked for where WAD files are installed.
    std::string path;
    WadFile wad;
    if (!findWad(file, path, error) || !wad.open(path, error)) {
        return false;
    }
    if (mapName.empty()) {
        const std::vector<std::string> names = wadMapNames(wad);
        if (names.empty()) {
            error = wad.problem("directory", "the file holds no map");
            return false;
        }
        mapName = names.front();
    }
    WadMap map;
    if (!readWadMap(wad, mapName, map, error)) {
        return false;
    }
    WadTextures textures;
    if (!textures.read(wad, error)) {
        return false;
    }
    WadSprites sprites;
    if (!sprites.read(wad, error)) {
        return false;
    }
    WadSpritePictures pictures(sprites, textures.palette());
    WadPixels pixels(textures, pictures, warnings);
    if (!importWadMap(map, pixels, imported, warnings, error)) {
        error = file + ": " + error;
        return false;
    }
    return true;
}
