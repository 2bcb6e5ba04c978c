#include "renderer/level/TextureSearch.h"

#include <filesystem>
#include <system_error>

namespace {

std::string dataFolder;

bool isFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

} // namespace

void setTextureDataFolder(const std::string& folder) {
    dataFolder = folder;
}

const std::string& textureDataFolder() {
    return dataFolder;
}

std::string texturePath(const char* name) {
    if (dataFolder.empty() || isFile(name)) {
        return name;
    }
    const std::filesystem::path installed = std::filesystem::path(dataFolder) / name;
    return isFile(installed) ? installed.string() : name;
}
