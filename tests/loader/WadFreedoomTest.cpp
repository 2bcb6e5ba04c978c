#include "renderer/level/wad/WadMap.h"
#include "renderer/level/wad/WadTextures.h"

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

// Debian's freedoom WADs, read in place: every map reads, with its player start
// and its sky; every texture, flat and sprite decodes.
TEST(FreedoomWads, EveryMapAndPictureReads) {
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
        WadTextures textures;
        ASSERT_TRUE(textures.read(wad, error)) << error;
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
            EXPECT_GE(textures.findTexture(wadSkyTexture(name)), 0) << name;
        }
        // Every texture, flat and sprite decodes.
        std::vector<PackedPixel> pixels;
        for (std::size_t i = 0; i < textures.textures().size(); ++i) {
            ASSERT_TRUE(textures.composeTexture(i, pixels, error)) << error;
        }
        std::size_t flats = 0;
        for (std::size_t i = 0; i < wad.lumpCount(); ++i) {
            if (textures.hasFlat(wad.lump(i).name)) {
                ASSERT_TRUE(textures.composeFlat(wad.lump(i).name, pixels, error)) << error;
                ++flats;
            }
        }
        EXPECT_TRUE(textures.hasFlat(wadSkyFlat));
        EXPECT_GT(flats, 50u);
        std::vector<WadRange> sprites;
        ASSERT_TRUE(wad.ranges("S_START", "SS_START", "S_END", "SS_END", sprites, error));
        ASSERT_EQ(sprites.size(), 1u);
        WadPicture picture;
        for (std::size_t i = sprites[0].first; i < sprites[0].end; ++i) {
            ASSERT_TRUE(textures.readPicture(wad.lump(i).name, picture, error)) << error;
        }
    }
}

} // namespace
