#include "renderer/level/wad/WadImport.h"

#include "renderer/level/LevelGeometry.h"
#include "renderer/level/wad/SectorLoops.h"
#include "renderer/level/wad/WadMovers.h"
#include "renderer/level/wad/WadThings.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

constexpr std::int32_t textureSide = 64;
constexpr const char* checkerName = "checker";
constexpr const char* flatPrefix = "flat:";
constexpr const char* middlePrefix = "middle:"; // keeps the texels no patch covers clear

// A room closed to nothing (a shut door, a crushed floor) keeps the smallest
// height the checks allow: its steps meet and cover the opening.
constexpr float closedGap = 1.0f / 1024.0f;

class MapImport {
  public:
    MapImport(const WadMap& map, WadTexturePixels& source, ImportedLevel& imported,
              LevelWarnings& warnings)
        : map_(map), source_(source), imported_(imported), warnings_(warnings) {}

    bool run(std::string& error) {
        imported_ = ImportedLevel{};
        LevelDescription& level = imported_.level;
        level.name = map_.name;
        // The game shades walls by their direction: its maps are drawn with it.
        level.fakeContrast = true;
        // The game's player: eye 41, height 56, step 24 and radius 16 map units.
        level.body = {41.0f / mapUnitsPerLevelUnit, 56.0f / mapUnitsPerLevelUnit,
                      24.0f / mapUnitsPerLevelUnit, 16.0f / mapUnitsPerLevelUnit};
        // One texel a map unit, walls hung and flats laid as the game does.
        level.texelsPerUnit = mapUnitsPerLevelUnit;
        level.flatTexelsPerUnit = mapUnitsPerLevelUnit;
        level.roomAlignedWalls = true;
        std::vector<float> x;
        std::vector<float> y;
        for (const WadVertex& v : map_.vertexes) {
            x.push_back(static_cast<float>(v.x) / mapUnitsPerLevelUnit);
            y.push_back(static_cast<float>(v.y) / mapUnitsPerLevelUnit);
        }
        std::vector<MapLine> lines;
        for (const WadLinedef& line : map_.linedefs) {
            lines.push_back({line.start, line.end, sectorOf(line.right), sectorOf(line.left)});
        }
        const std::vector<TracedRegion> regions = traceSectorLoops(
            x, y, lines, static_cast<std::int32_t>(map_.sectors.size()), warnings_);
        for (const TracedRegion& region : regions) {
            addSector(region);
        }
        level.vertexX = x; // the checks of each piece read the map's points
        level.vertexY = y;
        keepDrawableSectors();
        addWadMovers(map_, mapSectors_, edgeSides_, level, warnings_);
        keepUsedVertices(x, y);
        if (level.sectors.empty()) {
            error = map_.name + ": no sector of the map closes a loop";
            return false;
        }
        placeStart();
        addWadThings(map_, source_.sprites(), imported_, warnings_);
        std::string problem;
        if (!checkLevelGeometry(level, problem)) {
            error = map_.name + ": " + problem; // a fault the steps above let through
            return false;
        }
        return true;
    }

  private:
    std::int32_t sectorOf(std::int32_t side) const {
        return side == noWadSide ? -1 : map_.sidedefs[static_cast<std::size_t>(side)].sector;
    }

    // The level's name of a texture, added with its pixels the first time; a
    // missing one is the checker.
    std::string texture(const std::string& wadName, bool flat, bool seeThrough = false) {
        if (wadName.empty() || wadName == "-") {
            return "";
        }
        const std::string name =
            flat ? flatPrefix + wadName : (seeThrough ? middlePrefix + wadName : wadName);
        if (known_.count(name) != 0) {
            return known_[name];
        }
        std::vector<PackedPixel> pixels;
        ImportedSize size = {textureSide, textureSide};
        const bool found =
            flat ? source_.flat(wadName, pixels) : source_.wall(wadName, pixels, size);
        if (!found) {
            warnings_.add("", std::string(flat ? "flat " : "texture ") + wadName +
                                  " is not in the file; drawn as a checker");
            known_[name] = checker();
            return known_[name];
        }
        if (!flat && !seeThrough) {
            // A solid wall shows every texel: where no patch covers it, black.
            for (PackedPixel& texel : pixels) {
                texel = (texel >> 24) == 0 ? 0xFF000000u : texel;
            }
        }
        known_[name] = name;
        add(name, std::move(pixels), size);
        return name;
    }

    std::string checker() {
        if (known_.count(checkerName) == 0) {
            known_[checkerName] = checkerName;
            add(checkerName, checkerPixels(), {textureSide, textureSide});
        }
        return checkerName;
    }

    void add(const std::string& name, std::vector<PackedPixel> pixels, ImportedSize size) {
        std::string file;
        for (const char c : name) {
            file += c == ':' ? '-' : c; // a name that is also a safe file name
        }
        addImportedTexture(imported_, name, file + ".png", std::move(pixels), size);
    }

    // A wall needs a texture; the side's own, else the checker.
    std::string wallTexture(const std::string& wadName) {
        const std::string name = texture(wadName, false);
        return name.empty() ? checker() : name;
    }

    void addLoop(const TracedLoop& loop, std::vector<std::int32_t>& vertices,
                 SectorDescription& sector, std::vector<WadEdgeSide>& edgeSides) {
        for (std::size_t i = 0; i < loop.vertices.size(); ++i) {
            const WadLinedef& line = map_.linedefs[static_cast<std::size_t>(loop.lines[i])];
            const std::int32_t sideIndex = loop.frontSides[i] ? line.right : line.left;
            const WadSidedef& side = map_.sidedefs[static_cast<std::size_t>(sideIndex)];
            const std::int32_t other = sectorOf(loop.frontSides[i] ? line.left : line.right);
            SideDescription description;
            description.edge = sector.edgeCount(); // counts this loop as far as it goes
            description.offsetX = static_cast<float>(side.xOffset);
            description.offsetY = static_cast<float>(side.yOffset);
            // The game lays each side by its own offset and never runs a texture on
            // from one line to the next, split wall or not.
            description.offsetGiven = true;
            description.lowerUnpegged = (line.flags & wadLineLowerUnpegged) != 0;
            description.upperUnpegged = other >= 0 && (line.flags & wadLineUpperUnpegged) != 0;
            if (other < 0) {
                description.texture = wallTexture(side.middle);
            } else {
                // The steps the side shows when the room behind has them; a step
                // with no texture named is left to the sector's wall texture.
                description.lower = texture(side.lower, false);
                description.upper = texture(side.upper, false);
                description.middle = texture(side.middle, false, true);
                description.blocking = (line.flags & wadLineBlocking) != 0;
            }
            sector.sides.push_back(description);
            vertices.push_back(loop.vertices[i]);
            edgeSides.push_back({loop.lines[i], loop.frontSides[i]});
        }
    }

    void addSector(const TracedRegion& region) {
        const WadSector& source = map_.sectors[static_cast<std::size_t>(region.mapSector)];
        SectorDescription sector;
        sector.floor = static_cast<float>(source.floorHeight) / mapUnitsPerLevelUnit;
        sector.ceiling = static_cast<float>(source.ceilingHeight) / mapUnitsPerLevelUnit;
        if (source.ceilingHeight < source.floorHeight) {
            warnings_.add("sectors[" + std::to_string(region.mapSector) + "]",
                          "the ceiling is below the floor; the ceiling is drawn at the floor");
        }
        if (!(sector.floor < sector.ceiling)) {
            sector.ceiling = sector.floor + closedGap;
        }
        sector.light = std::clamp<std::int32_t>(source.light, 0, 255);
        if (sector.light != source.light) {
            warnings_.add("sectors[" + std::to_string(region.mapSector) + "]",
                          "the light " + std::to_string(source.light) +
                              " is outside 0 to 255; it is drawn at " +
                              std::to_string(sector.light));
        }
        sector.floorTexture = flat(source.floorFlat);
        sector.ceilingTexture = flat(source.ceilingFlat);
        if (sector.floorTexture.empty()) {
            sector.floorTexture = checkerFlat();
        }
        if (sector.ceilingTexture.empty()) {
            sector.ceilingTexture = checkerFlat();
        }
        std::vector<WadEdgeSide> edgeSides;
        addLoop(region.outline, sector.outline, sector, edgeSides);
        for (const TracedLoop& hole : region.holes) {
            sector.holes.emplace_back();
            addLoop(hole, sector.holes.back(), sector, edgeSides);
        }
        // Steps whose side names no texture take the room's first wall texture.
        sector.wallTexture = checker();
        for (const SideDescription& side : sector.sides) {
            for (const std::string* name : {&side.texture, &side.lower, &side.upper}) {
                if (!name->empty() && *name != checkerName) {
                    sector.wallTexture = *name;
                    break;
                }
            }
            if (sector.wallTexture != checkerName) {
                break;
            }
        }
        mapSectors_.push_back(region.mapSector);
        edgeSides_.push_back(std::move(edgeSides));
        imported_.level.sectors.push_back(std::move(sector));
    }

    // F_SKY1 floors and ceilings show the map's sky, when the file has its texture.
    std::string flat(const std::string& wadName) {
        if (wadName == wadSkyFlat && !sky().empty()) {
            return sky();
        }
        return texture(wadName, true);
    }

    const std::string& sky() {
        if (!skyLooked_) {
            skyLooked_ = true;
            const std::string name = wadSkyTexture(map_.name);
            std::vector<PackedPixel> pixels;
            ImportedSize size = {0, 0};
            if (source_.wall(name, pixels, size)) {
                imported_.level.sky = texture(name, false);
            } else {
                warnings_.add("", "the sky texture " + name + " is not in the file; " + wadSkyFlat +
                                      " is drawn as a flat");
            }
        }
        return imported_.level.sky;
    }

    std::string checkerFlat() {
        warnings_.add("", "a sector names no flat; drawn as a checker");
        return checker();
    }

    // Drops what the renderer cannot draw: a room whose loops cross, and a room
    // claiming an edge another already has in the same direction (two map sectors
    // over the same ground).
    void keepDrawableSectors() {
        LevelDescription& level = imported_.level;
        std::vector<bool> keep(level.sectors.size(), true);
        for (std::size_t s = 0; s < level.sectors.size(); ++s) {
            std::string problem;
            if (!checkSectorShape(level, s, problem)) {
                keep[s] = false;
                warnings_.add("sectors[" + std::to_string(mapSectors_[s]) + "]",
                              "a piece of it cannot be drawn (" + problem + "); left out");
            }
        }
        std::unordered_map<std::uint64_t, std::int32_t> users;
        for (std::size_t s = 0; s < level.sectors.size(); ++s) {
            if (!keep[s]) {
                continue;
            }
            const SectorDescription& sector = level.sectors[s];
            bool clash = false;
            for (std::int32_t k = 0; k < sector.edgeCount() && !clash; ++k) {
                std::int32_t from = 0;
                std::int32_t to = 0;
                sector.edgeEnds(k, from, to);
                clash = users.count(key(from, to)) != 0;
            }
            if (clash) {
                keep[s] = false;
                warnings_.add("sectors[" + std::to_string(mapSectors_[s]) + "]",
                              "a piece of it lies on ground another sector has; left out");
                continue;
            }
            for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
                std::int32_t from = 0;
                std::int32_t to = 0;
                sector.edgeEnds(k, from, to);
                users.emplace(key(from, to), static_cast<std::int32_t>(s));
            }
        }
        std::vector<SectorDescription> kept;
        std::vector<std::int32_t> keptMapSectors;
        std::vector<std::vector<WadEdgeSide>> keptEdgeSides;
        for (std::size_t s = 0; s < level.sectors.size(); ++s) {
            if (keep[s]) {
                kept.push_back(std::move(level.sectors[s]));
                keptMapSectors.push_back(mapSectors_[s]);
                keptEdgeSides.push_back(std::move(edgeSides_[s]));
            }
        }
        level.sectors = std::move(kept);
        mapSectors_ = std::move(keptMapSectors);
        edgeSides_ = std::move(keptEdgeSides);
    }

    static std::uint64_t key(std::int32_t from, std::int32_t to) {
        return static_cast<std::uint64_t>(static_cast<std::uint32_t>(from)) << 32 |
               static_cast<std::uint32_t>(to);
    }

    // Only the points some loop or walk line uses, renumbered in their order in
    // the map.
    void keepUsedVertices(const std::vector<float>& x, const std::vector<float>& y) {
        LevelDescription& level = imported_.level;
        std::vector<std::int32_t> renumbered(x.size(), -1);
        level.vertexX.clear();
        level.vertexY.clear();
        for (const TriggerDescription& trigger : level.triggers) {
            if (trigger.from >= 0) {
                renumbered[static_cast<std::size_t>(trigger.from)] = 0;
                renumbered[static_cast<std::size_t>(trigger.to)] = 0;
            }
        }
        for (const SectorDescription& sector : level.sectors) {
            for (const std::int32_t v : sector.outline) {
                renumbered[static_cast<std::size_t>(v)] = 0;
            }
            for (const std::vector<std::int32_t>& hole : sector.holes) {
                for (const std::int32_t v : hole) {
                    renumbered[static_cast<std::size_t>(v)] = 0;
                }
            }
        }
        for (std::size_t v = 0; v < x.size(); ++v) {
            if (renumbered[v] == 0) {
                renumbered[v] = static_cast<std::int32_t>(level.vertexX.size());
                level.vertexX.push_back(x[v]);
                level.vertexY.push_back(y[v]);
            }
        }
        for (TriggerDescription& trigger : level.triggers) {
            if (trigger.from >= 0) {
                trigger.from = renumbered[static_cast<std::size_t>(trigger.from)];
                trigger.to = renumbered[static_cast<std::size_t>(trigger.to)];
            }
        }
        for (SectorDescription& sector : level.sectors) {
            for (std::int32_t& v : sector.outline) {
                v = renumbered[static_cast<std::size_t>(v)];
            }
            for (std::vector<std::int32_t>& hole : sector.holes) {
                for (std::int32_t& v : hole) {
                    v = renumbered[static_cast<std::size_t>(v)];
                }
            }
        }
    }

    // Player 1's start, or a point just inside the first room's first wall.
    void placeStart() {
        LevelDescription& level = imported_.level;
        const WadThing* start = wadPlayerStart(map_);
        if (start != nullptr) {
            level.startX = static_cast<float>(start->x) / mapUnitsPerLevelUnit;
            level.startY = static_cast<float>(start->y) / mapUnitsPerLevelUnit;
            level.startAngle =
                static_cast<float>(static_cast<double>(start->angle) * 3.141592653589793 / 180.0);
            if (sectorHolding(level, level.startX, level.startY) >= 0) {
                return;
            }
            warnings_.add("things", "player 1 starts outside every sector drawn; started in the "
                                    "first sector instead");
        } else {
            warnings_.add("things", "no player 1 start; started in the first sector");
        }
        const SectorDescription& first = level.sectors[0];
        const auto a = static_cast<std::size_t>(first.outline[0]);
        const auto b = static_cast<std::size_t>(first.outline[1]);
        const float dx = level.vertexX[b] - level.vertexX[a];
        const float dy = level.vertexY[b] - level.vertexY[a];
        const float length = std::sqrt(dx * dx + dy * dy);
        const float inward = std::fmin(0.01f, length / 4.0f) / length;
        level.startX = (level.vertexX[a] + level.vertexX[b]) / 2.0f - dy * inward;
        level.startY = (level.vertexY[a] + level.vertexY[b]) / 2.0f + dx * inward;
        level.startAngle = std::atan2(dx, -dy); // facing into the room
    }

    const WadMap& map_;
    WadTexturePixels& source_;
    ImportedLevel& imported_;
    LevelWarnings& warnings_;
    std::unordered_map<std::string, std::string> known_; // level name -> name used
    std::vector<std::int32_t> mapSectors_;               // per level sector
    std::vector<std::vector<WadEdgeSide>> edgeSides_;    // per level sector, per edge
    bool skyLooked_ = false;
};

} // namespace

bool importWadMap(const WadMap& map, WadTexturePixels& source, ImportedLevel& imported,
                  LevelWarnings& warnings, std::string& error) {
    return MapImport(map, source, imported, warnings).run(error);
}

void addImportedTexture(ImportedLevel& imported, const std::string& name, const std::string& file,
                        std::vector<PackedPixel> pixels, ImportedSize size) {
    imported.level.textures.push_back({name, file});
    imported.pixels.push_back(std::move(pixels));
    imported.sizes.push_back(size);
}

std::vector<PackedPixel> checkerPixels() {
    std::vector<PackedPixel> pixels(static_cast<std::size_t>(textureSide * textureSide));
    for (std::int32_t y = 0; y < textureSide; ++y) {
        for (std::int32_t x = 0; x < textureSide; ++x) {
            const bool light = ((x / 8) + (y / 8)) % 2 == 0;
            pixels[static_cast<std::size_t>(y * textureSide + x)] =
                light ? 0xFFA0A0A0u : 0xFF505050u;
        }
    }
    return pixels;
}
