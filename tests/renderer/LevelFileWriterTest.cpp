#include "renderer/level/LevelFileWriter.h"
#include "renderer/level/LevelFile.h"
#include "renderer/level/wad/WadLevel.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

bool sameSides(const std::vector<SideDescription>& a, const std::vector<SideDescription>& b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (a[i].edge != b[i].edge || a[i].texture != b[i].texture || a[i].lower != b[i].lower ||
            a[i].upper != b[i].upper || a[i].middle != b[i].middle ||
            a[i].blocking != b[i].blocking || a[i].offsetX != b[i].offsetX ||
            a[i].offsetY != b[i].offsetY || a[i].offsetGiven != b[i].offsetGiven ||
            a[i].lowerUnpegged != b[i].lowerUnpegged || a[i].upperUnpegged != b[i].upperUnpegged) {
            return false;
        }
    }
    return true;
}

// A map imported from a WAD, written as a level file and read back, is the same
// description to the last bit of every number: the exported file draws what the
// WAD draws.
TEST(LevelFileWriter, AnImportedMapReadsBackUnchanged) {
    const std::string wad = "/usr/share/games/doom/freedoom2.wad";
    if (!std::filesystem::exists(wad)) {
        GTEST_SKIP() << wad << " is not installed (Debian package freedoom)";
    }
    ImportedLevel imported;
    LevelWarnings warnings;
    std::string error;
    ASSERT_TRUE(importWadLevel(wad + ":MAP01", imported, warnings, error)) << error;
    const LevelDescription& level = imported.level;
    LevelDescription back;
    ASSERT_TRUE(parseLevelText(levelFileText(level), "MAP01.json", back, error)) << error;
    EXPECT_EQ(back.name, level.name);
    EXPECT_EQ(back.vertexX, level.vertexX);
    EXPECT_EQ(back.vertexY, level.vertexY);
    EXPECT_EQ(back.startX, level.startX);
    EXPECT_EQ(back.startY, level.startY);
    EXPECT_EQ(back.startAngle, level.startAngle);
    EXPECT_EQ(back.sky, level.sky);
    EXPECT_TRUE(back.body.eye == level.body.eye && back.body.height == level.body.height &&
                back.body.step == level.body.step && back.body.radius == level.body.radius);
    ASSERT_EQ(back.movers.size(), level.movers.size());
    for (std::size_t m = 0; m < level.movers.size(); ++m) {
        const MoverDescription& a = level.movers[m];
        const MoverDescription& b = back.movers[m];
        EXPECT_TRUE(a.sector == b.sector && a.lift == b.lift && a.stays == b.stays &&
                    a.speed == b.speed && a.wait == b.wait && a.heightGiven == b.heightGiven)
            << "movers[" << m << "]";
    }
    ASSERT_EQ(back.triggers.size(), level.triggers.size());
    for (std::size_t t = 0; t < level.triggers.size(); ++t) {
        const TriggerDescription& a = level.triggers[t];
        const TriggerDescription& b = back.triggers[t];
        EXPECT_TRUE(a.sector == b.sector && a.edge == b.edge && a.from == b.from && a.to == b.to &&
                    a.walk == b.walk && a.once == b.once && a.targets == b.targets)
            << "triggers[" << t << "]";
    }
    EXPECT_EQ(back.fakeContrast, level.fakeContrast);
    EXPECT_EQ(back.texelsPerUnit, level.texelsPerUnit);
    EXPECT_EQ(back.flatTexelsPerUnit, level.flatTexelsPerUnit);
    EXPECT_EQ(back.roomAlignedWalls, level.roomAlignedWalls);
    ASSERT_EQ(back.textures.size(), level.textures.size());
    ASSERT_EQ(back.sectors.size(), level.sectors.size());
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        const SectorDescription& a = level.sectors[s];
        const SectorDescription& b = back.sectors[s];
        EXPECT_TRUE(a.outline == b.outline && a.holes == b.holes && a.floor == b.floor &&
                    a.ceiling == b.ceiling && a.wallTexture == b.wallTexture &&
                    a.floorTexture == b.floorTexture && a.ceilingTexture == b.ceilingTexture &&
                    a.light == b.light && sameSides(a.sides, b.sides))
            << "sectors[" << s << "]";
    }
}

} // namespace
