#include "app/LevelExport.h"

#include "renderer/level/LevelFileWriter.h"
#include "renderer/level/wad/WadLevel.h"
#include "renderer/output/FramePng.h"

#include <cstdio>
#include <filesystem>
#include <fstream>

int exportWadLevel(const std::string& levelArgument, const std::string& folder) {
    if (!isWadLevelArgument(levelArgument)) {
        std::fprintf(stderr,
                     "duskhall-render: --export takes a WAD's map (--level FILE.wad:MAP)\n");
        return 2;
    }
    ImportedLevel imported;
    LevelWarnings warnings;
    std::string error;
    if (!importWadLevel(levelArgument, imported, warnings, error)) {
        std::fprintf(stderr, "duskhall-render: %s\n", error.c_str());
        return 2;
    }
    std::error_code made;
    std::filesystem::create_directories(folder, made);
    const std::filesystem::path file =
        std::filesystem::path(folder) / (imported.level.name + ".json");
    std::ofstream out(file, std::ios::binary);
    out << levelFileText(imported.level);
    out.close();
    if (!out) {
        std::fprintf(stderr, "duskhall-render: cannot write %s\n", file.string().c_str());
        return 2;
    }
    for (std::size_t i = 0; i < imported.level.textures.size(); ++i) {
        const std::string png =
            (std::filesystem::path(folder) / imported.level.textures[i].file).string();
        if (!writeTexturePng(png.c_str(), imported.pixels[i].data(), imported.sizes[i].width,
                             imported.sizes[i].height)) {
            std::fprintf(stderr, "duskhall-render: cannot write %s\n", png.c_str());
            return 2;
        }
    }
    std::printf("%s\n", file.string().c_str());
    return 0;
}
