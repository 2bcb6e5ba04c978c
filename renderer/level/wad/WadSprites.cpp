#include "renderer/level/wad/WadSprites.h"

#include "renderer/level/PngLoader.h"
#include "renderer/level/wad/WadBytes.h"
#include "renderer/level/wad/WadPicture.h"

namespace {

bool parseUse(char frame, char rotation, WadSpriteUse& use) {
    if (frame < firstWadSpriteFrame || frame >= firstWadSpriteFrame + wadSpriteFrames ||
        rotation < '0' || rotation > '0' + wadSpriteRotations) {
        return false;
    }
    use.frame = frame;
    use.rotation = rotation - '0';
    return true;
}

} // namespace

bool parseWadSpriteName(const std::string& lumpName, WadSpriteLumpName& parsed) {
    parsed = WadSpriteLumpName{};
    WadSpriteUse first;
    WadSpriteUse second;
    second.mirrored = true;
    const bool pair = lumpName.size() == 8;
    if ((lumpName.size() != 6 && !pair) || !parseUse(lumpName[4], lumpName[5], first) ||
        (pair && !parseUse(lumpName[6], lumpName[7], second))) {
        return false;
    }
    parsed.sprite = lumpName.substr(0, 4);
    parsed.uses.push_back(first);
    if (pair) {
        parsed.uses.push_back(second);
    }
    return true;
}

std::string WadSprites::key(const std::string& sprite, char frame) {
    return canonicalWadName(sprite) + frame;
}

bool WadSprites::read(const WadFile& wad, std::string& error) {
    wad_ = &wad;
    frames_.clear();
    std::vector<WadRange> ranges;
    if (!wad.ranges("S_START", "SS_START", "S_END", "SS_END", ranges, error)) {
        return false;
    }
    // Nested markers (S1_START ...) have no bytes and no sprite's name.
    for (const WadRange& range : ranges) {
        for (std::size_t i = range.first; i < range.end; ++i) {
            WadSpriteLumpName name;
            if (wad.lump(i).size == 0 || !parseWadSpriteName(wad.lump(i).name, name)) {
                continue;
            }
            for (const WadSpriteUse& use : name.uses) {
                FrameLumps& lumps = frames_[key(name.sprite, use.frame)];
                const auto r = static_cast<std::size_t>(use.rotation);
                lumps.present[r] = true;
                lumps.views[r] = {wad.lump(i).name, i, use.mirrored};
            }
        }
    }
    return true;
}

bool WadSprites::frame(const std::string& sprite, char frame, std::vector<WadSpriteView>& views,
                       std::string& missing) const {
    views.clear();
    const std::string name = key(sprite, frame);
    const auto it = frames_.find(name);
    if (it == frames_.end()) {
        missing = "no sprite lump " + name + "0 or " + name + "1 to " + name + "8";
        return false;
    }
    const FrameLumps& lumps = it->second;
    std::string absent;
    for (std::int32_t r = 1; r <= wadSpriteRotations; ++r) {
        if (!lumps.present[r]) {
            absent += (absent.empty() ? "" : ", ") + std::to_string(r);
        }
    }
    if (absent.empty()) {
        views.assign(lumps.views + 1, lumps.views + 1 + wadSpriteRotations);
        return true;
    }
    if (lumps.present[0]) {
        views.push_back(lumps.views[0]);
        return true;
    }
    missing = "sprite " + name + " has no picture for rotation " + absent;
    return false;
}

bool WadSpritePictures::image(const WadSpriteView& view, WadSpriteImage& image,
                              std::string& problem) {
    image = WadSpriteImage{};
    const WadFile& wad = *sprites_.file();
    WadPicture picture;
    std::string what;
    if (!decodeWadPicture(wad.lumpData(view.index), wad.lump(view.index).size, picture, what)) {
        problem = wad.problem(view.lump, what);
        return false;
    }
    if (picture.width > maxTextureSide || picture.height > maxTextureSide) {
        problem =
            wad.problem(view.lump, "a picture of " + std::to_string(picture.width) + " x " +
                                       std::to_string(picture.height) + ", a sprite has 1 to " +
                                       std::to_string(maxTextureSide) + " a side");
        return false;
    }
    image.width = picture.width;
    image.height = picture.height;
    image.leftOffset = picture.leftOffset;
    image.topOffset = picture.topOffset;
    image.pixels.assign(picture.indices.size(), 0);
    for (std::size_t i = 0; i < picture.indices.size(); ++i) {
        image.pixels[i] = picture.covered[i] != 0 ? palette_[picture.indices[i]] : 0;
    }
    return true;
}
