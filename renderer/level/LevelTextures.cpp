#include "renderer/level/LevelTextures.h"

#include "renderer/level/LevelFile.h"
#include "renderer/level/PngLoader.h"
#include "renderer/level/TextureSearch.h"

#include <cstdlib>
#include <filesystem>
#include <system_error>

namespace {

// The first level texture of each name.
std::unordered_map<std::string, std::int32_t> textureIndices(const LevelDescription& level) {
    std::unordered_map<std::string, std::int32_t> indices;
    for (std::size_t i = 0; i < level.textures.size(); ++i) {
        indices.emplace(level.textures[i].name, static_cast<std::int32_t>(i));
    }
    return indices;
}

std::int32_t indexOf(const std::unordered_map<std::string, std::int32_t>& indices,
                     const std::string& name) {
    const auto found = indices.find(name);
    return found == indices.end() ? -1 : found->second;
}

std::string findTexture(const std::string& levelFolder, const std::string& file) {
    if (!levelFolder.empty()) {
        std::error_code error;
        const std::filesystem::path beside = std::filesystem::path(levelFolder) / file;
        if (std::filesystem::is_regular_file(beside, error)) {
            return beside.string();
        }
    }
    return texturePath(file.c_str());
}

} // namespace

std::string texturePlaces(const std::string& levelFolder) {
    std::error_code error;
    const std::string working = std::filesystem::current_path(error).string();
    std::string places = levelFolder.empty() ? "in the working directory "
                                             : "beside the level in " + printable(levelFolder) +
                                                   ", in the working directory ";
    places += printable(working);
    if (!textureDataFolder().empty()) {
        places += " and in " + printable(textureDataFolder());
    }
    return places;
}

std::string textureProblem(const std::string& file, const std::string& path,
                           const std::string& levelFolder, bool flat) {
    const std::string cause = pngProblem(path.c_str(), flat);
    if (cause == "was not found") {
        return "texture file " + printable(file) + " was not found (looked " +
               texturePlaces(levelFolder) +
               (levelFolder.empty() ? ")" : "; --textures DIR names another folder)");
    }
    return "texture file " + printable(file) + " (" + printable(path) + ") " + cause;
}

std::int32_t TexturePlan::wall(const std::string& name) const {
    const std::int32_t index = indexOf(textureNamed, name);
    return index < 0 ? -1 : wallRecord[static_cast<std::size_t>(index)];
}

std::int32_t TexturePlan::flat(const std::string& name) const {
    const std::int32_t index = indexOf(textureNamed, name);
    return index < 0 ? -1 : flatRecord[static_cast<std::size_t>(index)];
}

std::int32_t TexturePlan::middle(const std::string& name) const {
    const std::int32_t index = indexOf(textureNamed, name);
    return index < 0 ? -1 : middleRecord[static_cast<std::size_t>(index)];
}

TexturePlan planTextures(const LevelDescription& level) {
    TexturePlan plan;
    plan.textureNamed = textureIndices(level);
    const auto mark = [&plan](std::vector<bool>& used, const std::string& name) {
        const std::int32_t index = indexOf(plan.textureNamed, name);
        if (index >= 0) {
            used[static_cast<std::size_t>(index)] = true;
        }
    };
    std::vector<bool> onWalls(level.textures.size(), false);
    std::vector<bool> onFlats(level.textures.size(), false);
    std::vector<bool> onMiddles(level.textures.size(), false);
    // The sky is drawn column by column, like a wall; a flat wearing it is not drawn.
    mark(onWalls, level.sky);
    for (const SectorDescription& sector : level.sectors) {
        mark(onWalls, sector.wallTexture);
        for (const std::string* flat : {&sector.floorTexture, &sector.ceilingTexture}) {
            if (level.sky.empty() || *flat != level.sky) {
                mark(onFlats, *flat);
            }
        }
        for (const SideDescription& side : sector.sides) {
            mark(onWalls, side.texture);
            mark(onWalls, side.lower);
            mark(onWalls, side.upper);
            mark(onMiddles, side.middle);
        }
    }
    // Sprite pictures keep their transparent texels as middles do.
    for (const SpriteDescription& sprite : level.sprites) {
        for (const SpriteFrame& frame : sprite.frames) {
            for (const SpritePicture& picture : frame.pictures) {
                mark(onMiddles, picture.texture);
            }
        }
    }
    plan.wallRecord.assign(level.textures.size(), -1);
    plan.flatRecord.assign(level.textures.size(), -1);
    plan.middleRecord.assign(level.textures.size(), -1);
    const struct {
        const std::vector<bool>& used;
        std::vector<std::int32_t>& record;
        bool columnOrder;
        bool seeThrough;
    } kinds[] = {{onWalls, plan.wallRecord, true, false},
                 {onFlats, plan.flatRecord, false, false},
                 {onMiddles, plan.middleRecord, true, true}};
    for (const auto& kind : kinds) {
        for (std::size_t i = 0; i < level.textures.size(); ++i) {
            if (kind.used[i]) {
                kind.record[i] = static_cast<std::int32_t>(plan.files.size());
                plan.files.push_back(level.textures[i].file);
                plan.columnOrder.push_back(kind.columnOrder);
                plan.seeThrough.push_back(kind.seeThrough);
            }
        }
    }
    return plan;
}

bool loadTextures(const TexturePlan& plan, const std::string& levelFolder,
                  std::vector<Texture>& images, std::string& error) {
    images.clear();
    std::int64_t texels = 0;
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        const std::string& file = plan.files[i];
        const std::string path = findTexture(levelFolder, file);
        const bool flat = !plan.columnOrder[i];
        Texture image = {0, 0, nullptr};
        if (loadPng(path.c_str(), image.width, image.height, image.pixels, plan.seeThrough[i],
                    flat) == nullptr) {
            for (const Texture& earlier : images) {
                std::free(earlier.pixels);
            }
            images.clear();
            error = textureProblem(file, path, levelFolder, flat);
            return false;
        }
        images.push_back(image);
        texels += std::int64_t{image.width} * image.height;
        if (texels > maxLevelTexels) {
            for (const Texture& loaded : images) {
                std::free(loaded.pixels);
            }
            images.clear();
            error = "the textures up to " + printable(file) + " hold more than " +
                    std::to_string(maxLevelTexels) + " texels together, the most a level may have";
            return false;
        }
    }
    return true;
}
