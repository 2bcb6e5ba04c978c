#include "renderer/level/wad/WadLevel.h"

#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

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

// The WAD's own pictures, each cut to the 64 x 64 texels a texture has: the top
// left corner of a larger one, a narrower or shorter one repeated to fill it.
class WadPixels : public WadTexturePixels {
  public:
    WadPixels(const WadTextures& textures, LevelWarnings& warnings)
        : textures_(textures), warnings_(warnings) {}

    bool wall(const std::string& name, std::vector<PackedPixel>& pixels) override {
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
        if (def.width != wadFlatSide || def.height != wadFlatSide) {
            warnings_.addOnce("cut textures", "",
                              "textures other than 64 x 64 are drawn by their top left 64 x 64 "
                              "texels, repeated where smaller (" +
                                  name + " is " + std::to_string(def.width) + " x " +
                                  std::to_string(def.height) + ")");
        }
        pixels.resize(static_cast<std::size_t>(wadFlatSide * wadFlatSide));
        for (std::int32_t y = 0; y < wadFlatSide; ++y) {
            for (std::int32_t x = 0; x < wadFlatSide; ++x) {
                pixels[static_cast<std::size_t>(y * wadFlatSide + x)] =
                    composed[static_cast<std::size_t>((y % def.height) * def.width +
                                                      x % def.width)];
            }
        }
        return true;
    }

    bool flat(const std::string& name, std::vector<PackedPixel>& pixels) override {
        std::string error;
        if (!textures_.hasFlat(name)) {
            return false;
        }
        if (!textures_.composeFlat(name, pixels, error)) {
            warnings_.add("", error + "; drawn as a checker");
            return false;
        }
        return true;
    }

  private:
    const WadTextures& textures_;
    LevelWarnings& warnings_;
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

bool importWadLevel(const std::string& argument, ImportedLevel& imported, LevelWarnings& warnings,
                    std::string& error) {
    std::string file;
    std::string mapName;
    splitArgument(argument, file, mapName);
    WadFile wad;
    if (!wad.open(file, error)) {
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
    WadPixels pixels(textures, warnings);
    if (!importWadMap(map, pixels, imported, warnings, error)) {
        error = file + ": " + error;
        return false;
    }
    return true;
}
