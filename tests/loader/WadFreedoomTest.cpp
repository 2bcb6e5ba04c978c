#include "renderer/level/wad/WadMap.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

namespace {

const char* const freedoomFolder = "/usr/share/games/doom";

struct FreedoomWad {
    const char* file;
    std::size_t maps;
    const char* first;
    const char* last;
};

// Debian's freedoom WADs, read in place: every map reads, with its player start.
TEST(FreedoomWads, EveryMapReadsWithItsRecordsInRange) {
    const std::vector<FreedoomWad> wads = {{"freedoom1.wad", 36, "E1M1", "E4M9"},
                                           {"freedoom2.wad", 32, "MAP01", "MAP32"}};
    for (const FreedoomWad& expected : wads) {
        const std::string path = std::string(freedoomFolder) + "/" + expected.file;
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << path << " is not installed (Debian package freedoom)";
        }
        SCOPED_TRACE(path);
        WadFile wad;
        std::string error;
        ASSERT_TRUE(wad.open(path, error)) << error;
        EXPECT_TRUE(wad.isIwad());
        const std::vector<std::string> names = wadMapNames(wad);
        ASSERT_EQ(names.size(), expected.maps);
        EXPECT_EQ(names.front(), expected.first);
        EXPECT_EQ(names.back(), expected.last);
        for (const std::string& name : names) {
            WadMap map;
            ASSERT_TRUE(readWadMap(wad, name, map, error)) << error;
            EXPECT_GT(map.sectors.size(), 0u) << name;
            EXPECT_GT(map.linedefs.size(), 0u) << name;
            EXPECT_NE(wadPlayerStart(map), nullptr) << name;
        }
    }
}

} // namespace
