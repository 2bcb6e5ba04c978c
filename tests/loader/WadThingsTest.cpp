#include "renderer/level/wad/WadThings.h"
#include "TestWad.h"
#include "renderer/level/wad/WadImport.h"
#include "renderer/level/wad/WadLevel.h"
#include "renderer/level/wad/WadThingTypes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <set>

namespace {

// A w x h picture of palette index `colour`, its top left texel left uncovered,
// with the offsets given.
std::vector<std::uint8_t> spriteLump(int w, int h, int colour, int left, int top) {
    WadPicture p;
    p.width = w;
    p.height = h;
    p.leftOffset = left;
    p.topOffset = top;
    p.indices.assign(static_cast<std::size_t>(w * h), static_cast<std::uint8_t>(colour));
    p.covered.assign(static_cast<std::size_t>(w * h), 1);
    p.covered[0] = 0;
    return wad_bytes::picture(p);
}

WadPalette testPalette() {
    WadPalette palette{};
    for (int i = 0; i < 256; ++i) {
        palette[static_cast<std::size_t>(i)] = wad_bytes::paletteColour(i);
    }
    return palette;
}

// The lump names of a frame's views, a * after a mirrored one.
std::vector<std::string> viewNames(const std::vector<WadSpriteView>& views) {
    std::vector<std::string> names;
    for (const WadSpriteView& view : views) {
        names.push_back(view.lump + (view.mirrored ? "*" : ""));
    }
    return names;
}

// Names parse into their uses; a frame's lumps, mirrored pairs among them, give
// its eight views in SpriteFrame's order (rotation r as picture r - 1); a later
// lump replaces an earlier one; a frame short of a rotation is not a frame.
TEST(WadSprites, NamesAndMirroredPairsGiveTheEightViewsInOrder) {
    const struct {
        const char* name;
        bool parses;
        const char* uses; // frame, rotation, m when mirrored, per use
    } names[] = {{"TROOA2A8", true, "A2 A8m"}, {"BAR1B0", true, "B0"},  {"VILE[1", true, "[1"},
                 {"TROOA9", false, ""},        {"TROO^1", false, ""},   {"TROOA1A", false, ""},
                 {"S_START", false, ""},       {"TROOA1Z9", false, ""}, {"POSSA", false, ""}};
    for (const auto& c : names) {
        WadSpriteLumpName parsed;
        ASSERT_EQ(parseWadSpriteName(c.name, parsed), c.parses) << c.name;
        std::string uses;
        for (const WadSpriteUse& use : parsed.uses) {
            uses += (uses.empty() ? "" : " ") + std::string(1, use.frame) +
                    std::to_string(use.rotation) + (use.mirrored ? "m" : "");
        }
        EXPECT_EQ(uses, c.uses) << c.name;
        EXPECT_EQ(parsed.sprite, c.parses ? std::string(c.name).substr(0, 4) : "") << c.name;
    }

    TestWad test;
    test.marker("S_START").marker("S1_START");
    for (const char* name :
         {"TROOA1", "TROOA2A8", "TROOA3A7", "TROOA4A6", "TROOA5", "BAR1A0", "POSSA1", "POSSA2",
          "POSSA3", "POSSA4", "POSSA5", "POSSA6", "POSSA7"}) {
        test.lump(name, spriteLump(2, 2, 7, 1, 2));
    }
    test.marker("S1_END").marker("S_END").lump("BAR1A0", spriteLump(1, 1, 3, 0, 0));
    test.marker("SS_START").lump("BAR1A0", spriteLump(3, 1, 9, 0, 0)).marker("SS_END");
    WadFile wad;
    std::string error;
    ASSERT_TRUE(wad.openBytes(test.bytes(), "test.wad", error)) << error;
    WadSprites sprites;
    ASSERT_TRUE(sprites.read(wad, error)) << error;
    std::vector<WadSpriteView> views;
    std::string missing;
    ASSERT_TRUE(sprites.frame("troo", 'A', views, missing)) << missing;
    EXPECT_EQ(viewNames(views),
              (std::vector<std::string>{"TROOA1", "TROOA2A8", "TROOA3A7", "TROOA4A6", "TROOA5",
                                        "TROOA4A6*", "TROOA3A7*", "TROOA2A8*"}));
    ASSERT_TRUE(sprites.frame("BAR1", 'A', views, missing)) << missing;
    ASSERT_EQ(views.size(), 1u);
    EXPECT_EQ(wad.lump(views[0].index).size, spriteLump(3, 1, 9, 0, 0).size()); // the last one
    EXPECT_FALSE(sprites.frame("POSS", 'A', views, missing));
    EXPECT_EQ(missing, "sprite POSSA has no picture for rotation 8");
    EXPECT_FALSE(sprites.frame("TROO", 'B', views, missing));
    EXPECT_TRUE(views.empty());

    // The picture: alpha 0 where no post covers a texel, the foot at its offsets.
    WadSpritePictures pictures(sprites, testPalette());
    ASSERT_TRUE(sprites.frame("TROO", 'A', views, missing));
    WadSpriteImage image;
    ASSERT_TRUE(pictures.image(views[1], image, error)) << error;
    EXPECT_EQ(image.pixels,
              (std::vector<PackedPixel>{0, wad_bytes::paletteColour(7), wad_bytes::paletteColour(7),
                                        wad_bytes::paletteColour(7)}));
    EXPECT_EQ(image.width * 10 + image.height, 22);
    EXPECT_EQ(image.leftOffset * 10 + image.topOffset, 12);
}

// Every texture and flat the map names exists, in one colour; the sprites are the
// WAD's.
class SpritePixels : public WadTexturePixels {
  public:
    explicit SpritePixels(WadSpriteSource& sprites) : sprites_(sprites) {}
    bool wall(const std::string&, std::vector<PackedPixel>& pixels, ImportedSize& size) override {
        pixels.assign(64 * 64, 0xFF804020u);
        size = {64, 64};
        return true;
    }
    bool flat(const std::string&, std::vector<PackedPixel>& pixels) override {
        pixels.assign(64 * 64, 0xFF204080u);
        return true;
    }
    WadSpriteSource* sprites() override { return &sprites_; }

  private:
    WadSpriteSource& sprites_;
};

// Single play at the middle skill: things of other skills and multiplayer ones
// left out, starts and landings not drawn; an unknown type, a missing sprite, a
// damaged one and a thing outside the room each said once and left out; the rest
// placed in level units, turned in radians, dressed as the list says.
TEST(WadThings, TheMapsThingsAreFilteredPlacedAndDressed) {
    WadMap map = wad_bytes::squareRoom("MAP01");
    map.things = {
        {128, 128, 90, 1, 7},    {64, 32, 90, 2035, 2}, // player 1, a barrel at middle skill only
        {70, 70, 0, 2035, 5},    {80, 80, 0, 2035, 23}, // not at middle skill; multiplayer only
        {90, 90, 0, 11, 7},      {90, 90, 0, 14, 7},    // deathmatch start, teleport landing
        {50, 50, 0, 32000, 7},   {60, 60, 0, 32000, 7}, // an unknown type, twice
        {40, 40, 0, 2028, 7},                           // a floor lamp without its sprite
        {40, 80, 0, 44, 7},                             // a torch, one frame damaged
        {-96, 40, 0, 3001, 7},                          // outside the room
        {200, 100, 45, 3001, 7}, {160, 224, 180, 2035, 7}};
    TestWad test;
    test.marker("S_START");
    for (const char* name :
         {"TROOA1", "TROOA2A8", "TROOA3A7", "TROOA4A6", "TROOA5", "TBLUA0", "TBLUB0", "TBLUC0"}) {
        test.lump(name, spriteLump(4, 6, 20, 2, 5));
    }
    test.lump("BAR1A0", spriteLump(3, 5, 30, 1, 4)).lump("BAR1B0", spriteLump(3, 5, 31, 1, 4));
    test.lump("TBLUD0", {4, 0, 6, 0}).marker("S_END");
    // DUSKHALL_WAD_SEEDS=folder writes the map and its sprites there, a seed of the
    // fuzzer's.
    test.map(map);
    if (const char* seeds = std::getenv("DUSKHALL_WAD_SEEDS")) {
        test.write(std::string(seeds) + "/things-0.wad");
    }
    WadFile wad;
    std::string error;
    ASSERT_TRUE(wad.openBytes(test.bytes(), "test.wad", error)) << error;
    WadSprites sprites;
    ASSERT_TRUE(sprites.read(wad, error)) << error;
    WadSpritePictures pictures(sprites, testPalette());
    SpritePixels pixels(pictures);
    ImportedLevel imported;
    LevelWarnings warnings;
    ASSERT_TRUE(importWadMap(map, pixels, imported, warnings, error)) << error;
    const LevelDescription& level = imported.level;

    std::vector<std::string> said;
    for (const LevelWarning& warning : warnings.all()) {
        said.push_back(LevelWarnings::line(warning));
    }
    EXPECT_EQ(said, (std::vector<std::string>{
                        "things[6]: type 32000 is not in the game's list; left out",
                        "things[8]: things of type 2028 are left out: no sprite lump COLUA0 or "
                        "COLUA1 to COLUA8",
                        "things[9]: things of type 44 are left out: test.wad: TBLUD0: 4 bytes, a "
                        "picture header needs 8",
                        "things[10]: a thing stands outside every sector drawn; such things are "
                        "left out"}));

    ASSERT_EQ(level.things.size(), 3u);
    const ThingDescription& barrel = level.things[0];
    EXPECT_EQ(barrel.x, 2.0f);
    EXPECT_EQ(barrel.y, 1.0f);
    EXPECT_EQ(barrel.angle, static_cast<float>(3.141592653589793 / 2.0));
    EXPECT_EQ(barrel.sprite, "BAR1AB");
    EXPECT_TRUE(barrel.solid);
    EXPECT_FALSE(barrel.hanging || barrel.bright);
    EXPECT_EQ(barrel.radius, 10.0f / 32.0f);
    const ThingDescription& imp = level.things[1];
    EXPECT_EQ(imp.x * 32.0f, 200.0f);
    EXPECT_EQ(imp.angle, static_cast<float>(3.141592653589793 / 4.0));
    EXPECT_EQ(imp.sprite, "TROOA");
    EXPECT_EQ(level.things[2].sprite, "BAR1AB");

    // One sprite per type's frames, its pictures textures of their own, once each.
    ASSERT_EQ(level.sprites.size(), 2u);
    const SpriteDescription& barrels = level.sprites[0];
    EXPECT_EQ(barrels.name, "BAR1AB");
    EXPECT_EQ(barrels.framesPerSecond, 35.0f / 6.0f);
    ASSERT_EQ(barrels.frames.size(), 2u);
    ASSERT_EQ(barrels.frames[1].pictures.size(), 1u);
    const SpritePicture& b = barrels.frames[1].pictures[0];
    EXPECT_EQ(b.texture, "sprite:BAR1B0");
    EXPECT_EQ(b.footX * 10 + b.footY, 14.0f);
    const SpriteDescription& imps = level.sprites[1];
    ASSERT_EQ(imps.frames.size(), 1u);
    ASSERT_EQ(imps.frames[0].pictures.size(), 8u);
    std::string order;
    for (const SpritePicture& p : imps.frames[0].pictures) {
        order += p.texture.substr(12) + (p.mirrored ? "m " : " ");
    }
    EXPECT_EQ(order, "1 2A8 3A7 4A6 5 4A6m 3A7m 2A8m ");
    std::set<std::string> spriteTextures;
    for (std::size_t i = 0; i < level.textures.size(); ++i) {
        if (level.textures[i].name.rfind("sprite:", 0) == 0) {
            spriteTextures.insert(level.textures[i].name);
            EXPECT_EQ(imported.pixels[i].size(),
                      static_cast<std::size_t>(imported.sizes[i].width * imported.sizes[i].height));
            EXPECT_EQ(imported.pixels[i][0], 0u) << "the uncovered texel is clear";
        }
    }
    EXPECT_EQ(spriteTextures.size(), 7u); // the imp's five, the barrel's two; no torch's
}

} // namespace

// Debian's Freedoom WADs, read in place: in every map each thing single play
// shows at the middle skill wears a sprite of the file, with every picture a
// texture of the level, and nothing about things is reported.
TEST(FreedoomThings, EveryMapsThingsWearSpritesOfTheFile) {
    std::size_t mostTextures = 0;
    for (const char* name : {"freedoom1.wad", "freedoom2.wad"}) {
        const std::string path = std::string("/usr/share/games/doom/") + name;
        if (!std::filesystem::exists(path)) {
            GTEST_SKIP() << path << " is not installed (Debian package freedoom)";
        }
        WadFile wad;
        std::string error;
        ASSERT_TRUE(wad.open(path, error)) << error;
        for (const std::string& mapName : wadMapNames(wad)) {
            SCOPED_TRACE(path + ":" + mapName);
            WadMap map;
            ASSERT_TRUE(readWadMap(wad, mapName, map, error)) << error;
            std::size_t shown = 0;
            for (const WadThing& thing : map.things) {
                const WadThingType* type = findWadThingType(thing.type);
                shown += wadThingInSinglePlay(thing) && type != nullptr && type->sprite != nullptr;
            }
            ImportedLevel imported;
            LevelWarnings warnings;
            ASSERT_TRUE(importWadLevel(path + ":" + mapName, imported, warnings, error)) << error;
            for (const LevelWarning& warning : warnings.all()) {
                EXPECT_NE(warning.place.rfind("things[", 0), 0u) << LevelWarnings::line(warning);
            }
            const LevelDescription& level = imported.level;
            EXPECT_EQ(level.things.size(), shown);
            std::set<std::string> textures;
            for (const TextureFile& texture : level.textures) {
                textures.insert(texture.name);
            }
            std::set<std::string> sprites;
            for (const SpriteDescription& sprite : level.sprites) {
                sprites.insert(sprite.name);
                for (const SpriteFrame& frame : sprite.frames) {
                    ASSERT_TRUE(frame.pictures.size() == 1 || frame.pictures.size() == 8);
                    for (const SpritePicture& picture : frame.pictures) {
                        EXPECT_EQ(textures.count(picture.texture), 1u) << picture.texture;
                    }
                }
            }
            for (const ThingDescription& thing : level.things) {
                EXPECT_EQ(sprites.count(thing.sprite), 1u) << thing.sprite;
            }
            mostTextures = std::max(mostTextures, level.textures.size());
        }
    }
    std::printf("at most %zu textures in a map\n", mostTextures);
    EXPECT_LE(mostTextures, static_cast<std::size_t>(maxLevelTextures));
}
