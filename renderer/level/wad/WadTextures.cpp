#include "renderer/level/wad/WadTextures.h"

#include "renderer/level/LevelFile.h"
#include "renderer/level/wad/WadBytes.h"

#include <algorithm>

namespace {

constexpr std::size_t paletteBytes = 768;
constexpr std::size_t textureHeaderBytes = 22;
constexpr std::size_t texturePatchBytes = 10;
constexpr std::size_t flatBytes = 64 * 64;

} // namespace

bool WadTextures::read(const WadFile& wad, std::string& error) {
    wad_ = &wad;
    patchNames_.clear();
    textures_.clear();
    firstTexture_.clear();
    flatLumps_.clear();
    if (!readPalette(error) || !readPatchNames(error) || !readTextureLump("TEXTURE1", error) ||
        !readTextureLump("TEXTURE2", error)) {
        return false;
    }
    std::vector<WadRange> ranges;
    if (!wad.ranges("F_START", "FF_START", "F_END", "FF_END", ranges, error)) {
        return false;
    }
    // Markers inside (F1_START ...) have no bytes; later flats replace earlier ones.
    for (const WadRange& range : ranges) {
        for (std::size_t i = range.first; i < range.end; ++i) {
            if (wad.lump(i).size > 0) {
                flatLumps_[wad.lump(i).name] = i;
            }
        }
    }
    return true;
}

bool WadTextures::readPalette(std::string& error) {
    const std::int64_t index = wad_->find("PLAYPAL");
    if (index < 0) {
        error = wad_->problem("PLAYPAL", "missing, so the pictures have no colours");
        return false;
    }
    const WadLump& lump = wad_->lump(static_cast<std::size_t>(index));
    if (lump.size < paletteBytes) {
        error = wad_->problem("PLAYPAL", std::to_string(lump.size) + " bytes, a palette needs 768");
        return false;
    }
    const std::uint8_t* rgb = wad_->lumpData(static_cast<std::size_t>(index));
    for (std::size_t i = 0; i < palette_.size(); ++i) {
        palette_[i] = 0xFF000000u | PackedPixel{rgb[3 * i]} << 16 |
                      PackedPixel{rgb[3 * i + 1]} << 8 | rgb[3 * i + 2];
    }
    return true;
}

bool WadTextures::readPatchNames(std::string& error) {
    const std::int64_t index = wad_->find("PNAMES");
    if (index < 0) {
        return true; // a WAD without wall textures
    }
    const WadLump& lump = wad_->lump(static_cast<std::size_t>(index));
    const std::uint8_t* data = wad_->lumpData(static_cast<std::size_t>(index));
    const std::int32_t count = lump.size >= 4 ? wadI32(data) : -1;
    if (count < 0 || (lump.size - 4) / 8 < static_cast<std::size_t>(count)) {
        error = wad_->problem(
            "PNAMES", std::to_string(lump.size) + " bytes cannot hold " +
                          (count < 0 ? std::string("a count") : std::to_string(count) + " names"));
        return false;
    }
    patchNames_.resize(static_cast<std::size_t>(count));
    for (std::size_t i = 0; i < patchNames_.size(); ++i) {
        patchNames_[i] = wadName(data + 4 + 8 * i);
    }
    return true;
}

bool WadTextures::readTextureLump(const char* lumpName, std::string& error) {
    const std::int64_t index = wad_->find(lumpName);
    if (index < 0) {
        return true;
    }
    const std::size_t size = wad_->lump(static_cast<std::size_t>(index)).size;
    const std::uint8_t* data = wad_->lumpData(static_cast<std::size_t>(index));
    const auto fail = [&](const std::string& what) {
        error = wad_->problem(lumpName, what);
        return false;
    };
    const std::int32_t count = size >= 4 ? wadI32(data) : -1;
    if (count < 0 || (size - 4) / 4 < static_cast<std::size_t>(count)) {
        return fail(
            std::to_string(size) + " bytes cannot hold " +
            (count < 0 ? std::string("a count") : std::to_string(count) + " texture offsets"));
    }
    for (std::int32_t t = 0; t < count; ++t) {
        const std::string which = "texture " + std::to_string(t);
        const std::int32_t offset = wadI32(data + 4 + 4 * static_cast<std::size_t>(t));
        if (offset < 0 || static_cast<std::size_t>(offset) > size ||
            size - static_cast<std::size_t>(offset) < textureHeaderBytes) {
            return fail(which + " at " + std::to_string(offset) + " is not inside the lump");
        }
        const std::uint8_t* record = data + offset;
        WadTextureDef texture;
        texture.name = wadName(record);
        texture.width = wadI16(record + 12);
        texture.height = wadI16(record + 14);
        const std::int32_t patchCount = wadI16(record + 20);
        const std::string named = which + " (" + printable(texture.name) + ")";
        if (texture.width < 1 || texture.height < 1 || texture.width > maxWadTextureSide ||
            texture.height > maxWadTextureSide ||
            texture.width * texture.height > maxWadTextureTexels) {
            return fail(named + " is " + std::to_string(texture.width) + " x " +
                        std::to_string(texture.height) + ", the limits are 1 to " +
                        std::to_string(maxWadTextureSide) + " a side and " +
                        std::to_string(maxWadTextureTexels) + " texels");
        }
        if (patchCount < 1 || static_cast<std::size_t>(patchCount) > maxWadTexturePatches) {
            return fail(named + " has " + std::to_string(patchCount) +
                        " patches, the limit is 1 to " + std::to_string(maxWadTexturePatches));
        }
        if ((size - static_cast<std::size_t>(offset) - textureHeaderBytes) / texturePatchBytes <
            static_cast<std::size_t>(patchCount)) {
            return fail(named + "'s " + std::to_string(patchCount) +
                        " patches run past the end of the lump");
        }
        for (std::int32_t p = 0; p < patchCount; ++p) {
            const std::uint8_t* entry =
                record + textureHeaderBytes + texturePatchBytes * static_cast<std::size_t>(p);
            WadTexturePatch patch{wadI16(entry), wadI16(entry + 2), wadU16(entry + 4)};
            if (patch.patch >= patchNames_.size()) {
                return fail(named + " patch " + std::to_string(p) + " names patch " +
                            std::to_string(patch.patch) + " (PNAMES has " +
                            std::to_string(patchNames_.size()) + ")");
            }
            texture.patches.push_back(patch);
        }
        firstTexture_.emplace(texture.name, textures_.size());
        textures_.push_back(std::move(texture));
    }
    return true;
}

std::int64_t WadTextures::findTexture(const std::string& name) const {
    const auto it = firstTexture_.find(canonicalWadName(name));
    return it == firstTexture_.end() ? -1 : static_cast<std::int64_t>(it->second);
}

bool WadTextures::hasFlat(const std::string& name) const {
    return flatLumps_.count(canonicalWadName(name)) > 0;
}

bool WadTextures::readPicture(const std::string& lumpName, WadPicture& picture,
                              std::string& error) const {
    const std::int64_t index = wad_->find(lumpName);
    if (index < 0) {
        error = wad_->problem(lumpName, "no such lump");
        return false;
    }
    const std::size_t i = static_cast<std::size_t>(index);
    std::string problem;
    if (!decodeWadPicture(wad_->lumpData(i), wad_->lump(i).size, picture, problem)) {
        error = wad_->problem(wad_->lump(i).name, problem);
        return false;
    }
    return true;
}

bool WadTextures::composeTexture(std::size_t index, std::vector<PackedPixel>& pixels,
                                 std::string& error) const {
    const WadTextureDef& texture = textures_.at(index);
    pixels.assign(
        static_cast<std::size_t>(texture.width) * static_cast<std::size_t>(texture.height), 0);
    WadPicture patch;
    for (const WadTexturePatch& placed : texture.patches) {
        const std::string& name = patchNames_[placed.patch];
        if (!readPicture(name, patch, error)) {
            error += " (a patch of texture " + printable(texture.name) + ")";
            pixels.clear();
            return false;
        }
        // Only the part of the patch inside the texture is drawn.
        const std::int32_t x0 = std::max<std::int32_t>(0, placed.originX);
        const std::int32_t x1 = std::min<std::int32_t>(texture.width, placed.originX + patch.width);
        const std::int32_t y0 = std::max<std::int32_t>(0, placed.originY);
        const std::int32_t y1 =
            std::min<std::int32_t>(texture.height, placed.originY + patch.height);
        for (std::int32_t y = y0; y < y1; ++y) {
            for (std::int32_t x = x0; x < x1; ++x) {
                const std::int32_t px = x - placed.originX;
                const std::int32_t py = y - placed.originY;
                if (patch.opaque(px, py)) {
                    pixels[static_cast<std::size_t>(y) * static_cast<std::size_t>(texture.width) +
                           static_cast<std::size_t>(x)] = palette_[patch.index(px, py)];
                }
            }
        }
    }
    return true;
}

bool WadTextures::composeFlat(const std::string& name, std::vector<PackedPixel>& pixels,
                              std::string& error) const {
    const auto it = flatLumps_.find(canonicalWadName(name));
    if (it == flatLumps_.end()) {
        error = wad_->problem(name, "no such flat between F_START and F_END");
        return false;
    }
    const WadLump& lump = wad_->lump(it->second);
    if (lump.size != flatBytes) {
        error = wad_->problem(lump.name,
                              std::to_string(lump.size) + " bytes, a flat has 4096 (64 x 64)");
        return false;
    }
    const std::uint8_t* data = wad_->lumpData(it->second);
    pixels.resize(flatBytes);
    for (std::size_t i = 0; i < flatBytes; ++i) {
        pixels[i] = palette_[data[i]];
    }
    return true;
}
