#pragma once

#include "renderer/level/Pixel.h"
#include "renderer/level/wad/WadFile.h"
#include "renderer/level/wad/WadTextures.h"

#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

// The sprite lumps of a WAD, between S_START and S_END (SS_START and SS_END too,
// nested markers inside). A lump is named by four letters, a frame letter and a
// rotation digit, optionally followed by a second frame and rotation that use the
// same picture mirrored: TROOA2A8 is frame A seen from rotation 2, and mirrored,
// from rotation 8. Rotation 0 is one picture seen alike from every side.
//
// The game numbers the eight rotations 1 to 8: 1 sees the thing head-on, and each
// next one sees it turned a further 45 degrees clockwise as seen from above, which
// is the viewer gone 45 degrees further counter-clockwise around it. That is the
// order of SpriteFrame's pictures, so rotation r is picture r - 1.

// The first frame letter is A; the game counts on past Z into [, \ and ].
constexpr char firstWadSpriteFrame = 'A';
constexpr std::int32_t wadSpriteFrames = 29;
constexpr std::int32_t wadSpriteRotations = 8;

// One use a lump name gives its picture.
struct WadSpriteUse {
    char frame = firstWadSpriteFrame;
    std::int32_t rotation = 0; // 0 for every side, else 1 to 8
    bool mirrored = false;
};

struct WadSpriteLumpName {
    std::string sprite;             // the four letters
    std::vector<WadSpriteUse> uses; // one, or two for a mirrored pair
};

// Splits a lump name; false when it is not a sprite's (wrong length, a frame
// beyond the last, a rotation other than 0 to 8).
bool parseWadSpriteName(const std::string& lumpName, WadSpriteLumpName& parsed);

// One picture of a frame as seen from one side.
struct WadSpriteView {
    std::string lump;      // the lump's name
    std::size_t index = 0; // the lump's index in the file
    bool mirrored = false;
};

// A sprite picture ready for a PNG: row by row, alpha 0 where no post covers a
// texel; the offsets are the picture's foot, from its left edge and its top row.
struct WadSpriteImage {
    std::vector<PackedPixel> pixels;
    std::int32_t width = 0, height = 0;
    std::int32_t leftOffset = 0, topOffset = 0;
};

// Where the importer gets the sprites things wear.
class WadSpriteSource {
  public:
    virtual ~WadSpriteSource() = default;
    // The views of the frame, as WadSprites::frame gives them.
    virtual bool frame(const std::string& sprite, char frame, std::vector<WadSpriteView>& views,
                       std::string& missing) = 0;
    // The view's picture; false with the problem (a damaged lump, too large).
    virtual bool image(const WadSpriteView& view, WadSpriteImage& image, std::string& problem) = 0;
};

class WadSprites {
  public:
    // Indexes the sprite lumps by name; a later lump of a sprite, frame and
    // rotation replaces an earlier one, and lumps of other names are passed over.
    // False, with the problem, when a start marker has no end.
    bool read(const WadFile& wad, std::string& error);

    // The views of a frame of a sprite (any case): one picture, or eight in
    // SpriteFrame's order. False when the file has no picture for it, or has some
    // of its eight rotations but not all (missing then names what is missing).
    bool frame(const std::string& sprite, char frame, std::vector<WadSpriteView>& views,
               std::string& missing) const;

    // The file read (null before read).
    const WadFile* file() const { return wad_; }

  private:
    // Per sprite and frame: index 0 for rotation 0, 1 to 8 for the rotations.
    struct FrameLumps {
        bool present[wadSpriteRotations + 1] = {};
        WadSpriteView views[wadSpriteRotations + 1];
    };
    static std::string key(const std::string& sprite, char frame);

    const WadFile* wad_ = nullptr;
    std::unordered_map<std::string, FrameLumps> frames_;
};

// The sprites of a WAD in its palette; pictures larger than a level's textures
// may be (maxTextureSide a side) are refused.
class WadSpritePictures : public WadSpriteSource {
  public:
    WadSpritePictures(const WadSprites& sprites, const WadPalette& palette)
        : sprites_(sprites), palette_(palette) {}
    bool frame(const std::string& sprite, char frame, std::vector<WadSpriteView>& views,
               std::string& missing) override {
        return sprites_.frame(sprite, frame, views, missing);
    }
    bool image(const WadSpriteView& view, WadSpriteImage& image, std::string& problem) override;

  private:
    const WadSprites& sprites_;
    WadPalette palette_;
};
