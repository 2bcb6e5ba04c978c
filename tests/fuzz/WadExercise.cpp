#include "WadExercise.h"

#include "renderer/level/wad/WadImport.h"
#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

#include <cstdio>
#include <cstdlib>

namespace {

// Every texture missing: the importer's own checker stands in, so the maps are
// imported without composing pictures (readPictures does that on its own). The
// sprites are the file's, in a palette of black: the things' pictures are decoded
// as the programs decode them, a damaged one a warning.
class NoTexturePixels : public WadTexturePixels {
  public:
    explicit NoTexturePixels(WadSpriteSource& sprites) : sprites_(sprites) {}
    bool wall(const std::string&, std::vector<PackedPixel>&, ImportedSize&) override {
        return false;
    }
    bool flat(const std::string&, std::vector<PackedPixel>&) override { return false; }
    WadSpriteSource* sprites() override { return &sprites_; }

  private:
    WadSpriteSource& sprites_;
};

bool readMaps(const WadFile& wad, std::string& error) {
    WadSprites sprites;
    if (!sprites.read(wad, error)) {
        return false;
    }
    WadSpritePictures pictures(sprites, WadPalette{});
    for (const std::string& name : wadMapNames(wad)) {
        WadMap map;
        if (!readWadMap(wad, name, map, error)) {
            return false;
        }
        wadPlayerStart(map);
        wadSkyTexture(name);
        // A map the importer can make nothing of is refused, not an error of the
        // reader: only a crash, a leak or a hang is a finding here.
        NoTexturePixels none(pictures);
        ImportedLevel imported;
        LevelWarnings warnings;
        std::string refusal;
        importWadMap(map, none, imported, warnings, refusal);
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
