#pragma once

#include "renderer/level/Pixel.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadPicture.h"

#include <array>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The pictures of a WAD's walls, floors and ceilings: palette 0 of PLAYPAL, the
// patch names of PNAMES, the wall textures of TEXTURE1 and TEXTURE2 composed from
// their patches, and the 64 x 64 flats between F_START and F_END (FF_START and
// FF_END too, nested markers inside). Every texture record is checked when read;
// a texture's patches are decoded when it is composed.

constexpr std::int32_t maxWadTextureSide = 4096;
constexpr std::int32_t maxWadTextureTexels = 1 << 22;
constexpr std::size_t maxWadTexturePatches = 512;
constexpr std::int32_t wadFlatSide = 64;

struct WadTexturePatch {
    std::int16_t originX = 0, originY = 0; // where its top left goes in the texture
    std::uint16_t patch = 0;               // index into the patch names
};

struct WadTextureDef {
    std::string name;
    std::int32_t width = 0, height = 0;
    std::vector<WadTexturePatch> patches;
};

using WadPalette = std::array<PackedPixel, 256>; // 0xFFRRGGBB

class WadTextures {
  public:
    // Reads PLAYPAL, PNAMES, TEXTURE1 and TEXTURE2 (the last two each optional)
    // and finds the flats. The file must outlive this.
    bool read(const WadFile& wad, std::string& error);

    const WadPalette& palette() const { return palette_; }
    const std::vector<std::string>& patchNames() const { return patchNames_; }
    const std::vector<WadTextureDef>& textures() const { return textures_; }

    // The wall texture of that name (any case; the first of that name, as the
    // game looks them up), or -1.
    std::int64_t findTexture(const std::string& name) const;
    bool hasFlat(const std::string& name) const;

    // Row-major true-colour texels of the texture, 0 (alpha 0) where no patch
    // covers it; patches reaching outside the texture are clipped.
    bool composeTexture(std::size_t index, std::vector<PackedPixel>& pixels,
                        std::string& error) const;
    // Row-major 64 x 64 texels of the flat, all opaque.
    bool composeFlat(const std::string& name, std::vector<PackedPixel>& pixels,
                     std::string& error) const;
    // Any picture lump by name (a patch, a sprite): the last lump of that name.
    bool readPicture(const std::string& lumpName, WadPicture& picture, std::string& error) const;

  private:
    bool readPalette(std::string& error);
    bool readPatchNames(std::string& error);
    bool readTextureLump(const char* lumpName, std::string& error);

    const WadFile* wad_ = nullptr;
    WadPalette palette_{};
    std::vector<std::string> patchNames_;
    std::vector<WadTextureDef> textures_;
    std::unordered_map<std::string, std::size_t> firstTexture_;
    std::unordered_map<std::string, std::size_t> flatLumps_;
};
