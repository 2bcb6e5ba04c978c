#include "renderer/level/wad/WadLevel.h"

#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadMap.h"

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

// Until the WAD's own pictures are read, every texture is the checker.
class CheckerPixels : public WadTexturePixels {
  public:
    bool wall(const std::string&, std::vector<PackedPixel>&) override { return false; }
    bool flat(const std::string&, std::vector<PackedPixel>&) override { return false; }
};

} // namespace

bool isWadLevelArgument(const std::string& argument) {
    std::string file;
    std::string map;
    splitArgument(argument, file, map);
    return endsWithWad(file);
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
    CheckerPixels pixels;
    if (!importWadMap(map, pixels, imported, warnings, error)) {
        error = file + ": " + error;
        return false;
    }
    return true;
}
