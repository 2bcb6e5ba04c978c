#include "app/InstalledTextures.h"

#include "renderer/level/TextureSearch.h"

#include <filesystem>
#include <system_error>

void useInstalledTextures() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    if (error) {
        return; // the working directory stays the only place searched
    }
    // DUSKHALL_TEXTURE_SUBDIR is the data folder relative to the bin folder,
    // worked out from the install layout at configure time.
    setTextureDataFolder(
        (program.parent_path() / DUSKHALL_TEXTURE_SUBDIR).lexically_normal().string());
}
