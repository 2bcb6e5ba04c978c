#include "renderer/level/wad/WadThings.h"

#include "renderer/level/wad/WadThingTypes.h"

#include <algorithm>
#include <cctype>
#include <unordered_map>

namespace {

// A lump name as a file name: letters and digits kept, anything else (frames
// past Z are [, \ and ]) written as _ and its code.
std::string spriteFile(const std::string& lump) {
    static const char digits[] = "0123456789ABCDEF";
    std::string file = "sprite-";
    for (const char c : lump) {
        if (std::isalnum(static_cast<unsigned char>(c)) != 0) {
            file += c;
        } else {
            const auto code = static_cast<unsigned char>(c);
            file += {'_', digits[code >> 4], digits[code & 15]};
        }
    }
    return file + ".png";
}

// Which drawn sector holds a point, by the even-odd rule over each sector's loops,
// its bounding box looked at first.
class SectorFinder {
  public:
    explicit SectorFinder(const LevelDescription& level) : level_(level) {
        for (const SectorDescription& sector : level.sectors) {
            Box box;
            for (const std::int32_t v : sector.outline) {
                const auto i = static_cast<std::size_t>(v);
                box.x0 = std::min(box.x0, level.vertexX[i]);
                box.x1 = std::max(box.x1, level.vertexX[i]);
                box.y0 = std::min(box.y0, level.vertexY[i]);
                box.y1 = std::max(box.y1, level.vertexY[i]);
            }
            boxes_.push_back(box);
        }
    }

    bool inAnySector(float x, float y) const {
        for (std::size_t s = 0; s < boxes_.size(); ++s) {
            const Box& box = boxes_[s];
            if (x >= box.x0 && x <= box.x1 && y >= box.y0 && y <= box.y1 && holds(s, x, y)) {
                return true;
            }
        }
        return false;
    }

  private:
    struct Box {
        float x0 = maxLevelCoordinate, x1 = -maxLevelCoordinate;
        float y0 = maxLevelCoordinate, y1 = -maxLevelCoordinate;
    };

    bool holds(std::size_t s, float x, float y) const {
        const SectorDescription& sector = level_.sectors[s];
        bool inside = false;
        for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
            std::int32_t from = 0;
            std::int32_t to = 0;
            sector.edgeEnds(k, from, to);
            const double ax = level_.vertexX[static_cast<std::size_t>(from)];
            const double ay = level_.vertexY[static_cast<std::size_t>(from)];
            const double bx = level_.vertexX[static_cast<std::size_t>(to)];
            const double by = level_.vertexY[static_cast<std::size_t>(to)];
            if ((ay > y) != (by > y) && x < ax + (y - ay) * (bx - ax) / (by - ay)) {
                inside = !inside;
            }
        }
        return inside;
    }

    const LevelDescription& level_;
    std::vector<Box> boxes_;
};

class ThingImport {
  public:
    ThingImport(const WadMap& map, WadSpriteSource* sprites, ImportedLevel& imported,
                LevelWarnings& warnings)
        : map_(map), sprites_(sprites), imported_(imported), warnings_(warnings),
          sectors_(imported.level) {}

    void run() {
        for (std::size_t i = 0; i < map_.things.size(); ++i) {
            const WadThing& thing = map_.things[i];
            if (!wadThingInSinglePlay(thing)) {
                continue;
            }
            const std::string place = "things[" + std::to_string(i) + "]";
            const WadThingType* type = findWadThingType(thing.type);
            if (type == nullptr) {
                const std::string number = std::to_string(thing.type);
                warnings_.addOnce("thing type " + number, place,
                                  "type " + number + " is not in the game's list; left out");
                continue;
            }
            if (type->sprite == nullptr) {
                continue; // a start or a landing mark
            }
            const std::string sprite = spriteFor(*type, place);
            if (sprite.empty()) {
                continue;
            }
            ThingDescription description;
            description.x = static_cast<float>(thing.x) / mapUnitsPerLevelUnit;
            description.y = static_cast<float>(thing.y) / mapUnitsPerLevelUnit;
            if (!sectors_.inAnySector(description.x, description.y)) {
                warnings_.addOnce("thing outside", place,
                                  "a thing stands outside every sector drawn; such things are "
                                  "left out");
                continue;
            }
            description.angle =
                static_cast<float>(static_cast<double>(thing.angle) * 3.141592653589793 / 180.0);
            description.sprite = sprite;
            description.hanging = type->hanging;
            description.bright = type->bright;
            description.solid = type->solid;
            description.radius = static_cast<float>(type->radius) / mapUnitsPerLevelUnit;
            imported_.level.things.push_back(description);
        }
    }

  private:
    // The level's sprite of the type's frames (its four letters and the frames,
    // TLMPABCD), made the first time; empty when the file cannot give it.
    std::string spriteFor(const WadThingType& type, const std::string& place) {
        const std::string name = std::string(type.sprite) + type.frames;
        const auto known = madeSprites_.find(name);
        if (known != madeSprites_.end()) {
            return known->second;
        }
        std::string& made = madeSprites_[name];
        SpriteDescription sprite;
        sprite.name = name;
        sprite.framesPerSecond = type.framesPerSecond;
        std::string problem = "the file has no sprites";
        for (const char* frame = type.frames; *frame != '\0'; ++frame) {
            std::vector<WadSpriteView> views;
            if (sprites_ == nullptr || !sprites_->frame(type.sprite, *frame, views, problem)) {
                return fail(type, place, problem);
            }
            sprite.frames.emplace_back();
            for (const WadSpriteView& view : views) {
                SpritePicture picture;
                if (!pictureFor(view, picture, problem)) {
                    return fail(type, place, problem);
                }
                sprite.frames.back().pictures.push_back(picture);
            }
        }
        if (!fitsTheLevel(problem)) {
            return fail(type, place, problem);
        }
        addPending();
        imported_.level.sprites.push_back(std::move(sprite));
        made = name;
        return made;
    }

    std::string fail(const WadThingType& type, const std::string& place,
                     const std::string& problem) {
        warnings_.add(place,
                      "things of type " + std::to_string(type.type) + " are left out: " + problem);
        dropPending();
        return "";
    }

    // The view as a picture of the level, its texture added with the rest of
    // the sprite's once all are read. The foot is counted on the picture as
    // stored, mirrored or not.
    bool pictureFor(const WadSpriteView& view, SpritePicture& picture, std::string& problem) {
        const std::string texture = "sprite:" + view.lump;
        auto it = feet_.find(texture);
        if (it == feet_.end()) {
            WadSpriteImage image;
            if (!sprites_->image(view, image, problem)) {
                return false;
            }
            it = feet_.emplace(texture, std::make_pair(image.leftOffset, image.topOffset)).first;
            pending_.push_back({texture, spriteFile(view.lump), std::move(image)});
        }
        picture.texture = texture;
        picture.mirrored = view.mirrored;
        picture.footX = static_cast<float>(it->second.first);
        picture.footY = static_cast<float>(it->second.second);
        return true;
    }

    // The pictures read for a sprite that could not be made are forgotten.
    void dropPending() {
        for (const PendingTexture& texture : pending_) {
            feet_.erase(texture.name);
        }
        pending_.clear();
    }

    // A level's textures are bounded in number and in texels together, so a
    // hostile file's sprites cannot take memory without bound.
    bool fitsTheLevel(std::string& problem) const {
        std::int64_t texels = 0;
        for (const ImportedSize& size : imported_.sizes) {
            texels += std::int64_t{size.width} * size.height;
        }
        for (const PendingTexture& texture : pending_) {
            texels += std::int64_t{texture.image.width} * texture.image.height;
        }
        if (imported_.level.textures.size() + pending_.size() >
            static_cast<std::size_t>(maxLevelTextures)) {
            problem = "its pictures would give the level more than " +
                      std::to_string(maxLevelTextures) + " textures";
            return false;
        }
        if (texels > maxLevelTexels) {
            problem = "its pictures would give the level's textures more than " +
                      std::to_string(maxLevelTexels) + " texels together";
            return false;
        }
        return true;
    }

    void addPending() {
        for (PendingTexture& texture : pending_) {
            addImportedTexture(imported_, texture.name, texture.file,
                               std::move(texture.image.pixels),
                               {texture.image.width, texture.image.height});
        }
        pending_.clear();
    }

    struct PendingTexture {
        std::string name;
        std::string file;
        WadSpriteImage image;
    };

    const WadMap& map_;
    WadSpriteSource* sprites_;
    ImportedLevel& imported_;
    LevelWarnings& warnings_;
    SectorFinder sectors_;
    std::unordered_map<std::string, std::string> madeSprites_; // frames -> sprite, "" failed
    std::unordered_map<std::string, std::pair<std::int32_t, std::int32_t>> feet_; // per texture
    std::vector<PendingTexture> pending_; // the pictures of the sprite being made
};

} // namespace

bool wadThingInSinglePlay(const WadThing& thing) {
    return (thing.flags & wadThingMedium) != 0 && (thing.flags & wadThingMultiplayer) == 0;
}

void addWadThings(const WadMap& map, WadSpriteSource* sprites, ImportedLevel& imported,
                  LevelWarnings& warnings) {
    ThingImport(map, sprites, imported, warnings).run();
}
