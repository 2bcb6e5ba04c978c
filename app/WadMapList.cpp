#include "app/WadMapList.h"

#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadSearch.h"

#include <cstdio>

int listWadMaps(const std::string& given) {
    std::string path;
    std::string error;
    WadFile wad;
    if (!findWad(given, path, error) || !wad.open(path, error)) {
        std::fprintf(stderr, "duskhall-render: %s\n", error.c_str());
        return 2;
    }
    const std::vector<std::string> names = wadMapNames(wad);
    if (names.empty()) {
        std::fprintf(stderr, "duskhall-render: %s: no maps (E1M1 or MAP01 markers) in it\n",
                     path.c_str());
        return 2;
    }
    for (const std::string& name : names) {
        WadMap map;
        if (!readWadMap(wad, name, map, error)) {
            std::fprintf(stderr, "duskhall-render: %s\n", error.c_str());
            return 2;
        }
        std::printf("%s sectors %zu lines %zu things %zu\n", name.c_str(), map.sectors.size(),
                    map.linedefs.size(), map.things.size());
    }
    return 0;
}
