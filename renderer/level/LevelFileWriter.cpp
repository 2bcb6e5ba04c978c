#include "renderer/level/LevelFileWriter.h"

#include <nlohmann/json.hpp>

namespace {

using Json = nlohmann::ordered_json;

// A float goes out as the double it widens to: read back and narrowed, it is the
// same float.
Json number(float value) {
    return static_cast<double>(value);
}

Json sideJson(const SideDescription& side) {
    Json out = {{"edge", side.edge}};
    const std::pair<const char*, const std::string*> names[] = {{"texture", &side.texture},
                                                                {"lower", &side.lower},
                                                                {"upper", &side.upper},
                                                                {"middle", &side.middle}};
    for (const auto& name : names) {
        if (!name.second->empty()) {
            out[name.first] = *name.second;
        }
    }
    if (side.blocking) {
        out["blocking"] = true;
    }
    if (side.givesOffset()) {
        out["offset"] = {number(side.offsetX), number(side.offsetY)};
    }
    if (side.lowerUnpegged) {
        out["lower-unpegged"] = true;
    }
    if (side.upperUnpegged) {
        out["upper-unpegged"] = true;
    }
    return out;
}

Json sectorJson(const SectorDescription& sector) {
    Json out = {{"outline", sector.outline}};
    if (!sector.holes.empty()) {
        out["holes"] = sector.holes;
    }
    out["floor"] = number(sector.floor);
    out["ceiling"] = number(sector.ceiling);
    out["wall-texture"] = sector.wallTexture;
    out["floor-texture"] = sector.floorTexture;
    out["ceiling-texture"] = sector.ceilingTexture;
    if (sector.light != 255) {
        out["light"] = sector.light;
    }
    if (!sector.sides.empty()) {
        Json sides = Json::array();
        for (const SideDescription& side : sector.sides) {
            sides.push_back(sideJson(side));
        }
        out["sides"] = sides;
    }
    if (sector.motion.moves) {
        out["motion"] = {{"amplitude", number(sector.motion.amplitude)},
                         {"speed", number(sector.motion.speed)},
                         {"floor", number(sector.motion.floor)},
                         {"ceiling", number(sector.motion.ceiling)}};
    }
    return out;
}

Json moverJson(const MoverDescription& mover) {
    Json out = {
        {"sector", mover.sector}, {"speed", number(mover.speed)}, {"wait", number(mover.wait)}};
    if (mover.heightGiven) {
        out[mover.lift ? "low-height" : "open-height"] = number(mover.height);
    }
    if (mover.stays) {
        out["stays-open"] = true;
    }
    return out;
}

Json triggerJson(const TriggerDescription& trigger) {
    Json out = Json::object();
    if (trigger.from >= 0) {
        out["line"] = {trigger.from, trigger.to};
    } else {
        out["sector"] = trigger.sector;
        out["edge"] = trigger.edge;
    }
    out["on"] = trigger.walk ? "walk" : "use";
    if (trigger.once) {
        out["once"] = true;
    }
    if (!trigger.targets.empty()) {
        out["sectors"] = trigger.targets;
    }
    return out;
}

// Doors and lifts, the triggers, each list only when it has something.
void addMovers(const LevelDescription& level, Json& root) {
    for (const bool lifts : {false, true}) {
        Json list = Json::array();
        for (const MoverDescription& mover : level.movers) {
            if (mover.lift == lifts) {
                list.push_back(moverJson(mover));
            }
        }
        if (!list.empty()) {
            root[lifts ? "lifts" : "doors"] = list;
        }
    }
    if (!level.triggers.empty()) {
        Json list = Json::array();
        for (const TriggerDescription& trigger : level.triggers) {
            list.push_back(triggerJson(trigger));
        }
        root["triggers"] = list;
    }
}

Json spriteJson(const SpriteDescription& sprite) {
    Json frames = Json::array();
    for (const SpriteFrame& frame : sprite.frames) {
        Json pictures = Json::array();
        for (const SpritePicture& picture : frame.pictures) {
            Json out = {{"texture", picture.texture}};
            if (picture.mirrored) {
                out["mirrored"] = true;
            }
            out["foot"] = {number(picture.footX), number(picture.footY)};
            pictures.push_back(out);
        }
        frames.push_back(pictures);
    }
    Json out = {{"name", sprite.name}, {"frames", frames}};
    if (sprite.framesPerSecond != 0.0f) {
        out["frames-per-second"] = number(sprite.framesPerSecond);
    }
    if (sprite.texelsPerUnit != 0.0f) {
        out["texels-per-unit"] = number(sprite.texelsPerUnit);
    }
    return out;
}

Json thingJson(const ThingDescription& thing) {
    Json out = {{"x", number(thing.x)}, {"y", number(thing.y)}};
    if (thing.angle != 0.0f) {
        out["angle"] = number(thing.angle);
    }
    out["sprite"] = thing.sprite;
    const std::pair<const char*, bool> flags[] = {
        {"hanging", thing.hanging}, {"bright", thing.bright}, {"solid", thing.solid}};
    for (const auto& flag : flags) {
        if (flag.second) {
            out[flag.first] = true;
        }
    }
    if (thing.radius != 0.0f) {
        out["radius"] = number(thing.radius);
    }
    return out;
}

// The sprites and things, each list only when it has something.
void addThings(const LevelDescription& level, Json& root) {
    if (!level.sprites.empty()) {
        Json list = Json::array();
        for (const SpriteDescription& sprite : level.sprites) {
            list.push_back(spriteJson(sprite));
        }
        root["sprites"] = list;
    }
    if (!level.things.empty()) {
        Json list = Json::array();
        for (const ThingDescription& thing : level.things) {
            list.push_back(thingJson(thing));
        }
        root["things"] = list;
    }
}

} // namespace

std::string levelFileText(const LevelDescription& level) {
    Json root = {{"duskhall-level", 1}};
    if (!level.name.empty()) {
        root["name"] = level.name;
    }
    if (level.scriptedCamera) {
        root["camera"] = "scripted";
    }
    Json textures = Json::object();
    for (const TextureFile& texture : level.textures) {
        textures[texture.name] = texture.file;
    }
    root["textures"] = textures;
    if (!level.sky.empty()) {
        root["sky"] = level.sky;
    }
    if (level.fakeContrast) {
        root["fake-contrast"] = true;
    }
    const LevelDescription defaults;
    if (level.texelsPerUnit != defaults.texelsPerUnit) {
        root["texels-per-unit"] = number(level.texelsPerUnit);
    }
    if (level.flatTexelsPerUnit != defaults.flatTexelsPerUnit) {
        root["flat-texels-per-unit"] = number(level.flatTexelsPerUnit);
    }
    if (level.roomAlignedWalls) {
        root["room-aligned-walls"] = true;
    }
    Json vertices = Json::array();
    for (std::size_t i = 0; i < level.vertexX.size(); ++i) {
        vertices.push_back({number(level.vertexX[i]), number(level.vertexY[i])});
    }
    root["vertices"] = vertices;
    Json sectors = Json::array();
    for (const SectorDescription& sector : level.sectors) {
        sectors.push_back(sectorJson(sector));
    }
    root["sectors"] = sectors;
    root["start"] = {{"x", number(level.startX)},
                     {"y", number(level.startY)},
                     {"angle", number(level.startAngle)}};
    root["body"] = {{"eye", number(level.body.eye)},
                    {"height", number(level.body.height)},
                    {"step", number(level.body.step)},
                    {"radius", number(level.body.radius)}};
    addMovers(level, root);
    addThings(level, root);
    return root.dump(1) + "\n";
}
