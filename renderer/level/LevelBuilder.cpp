#include "renderer/level/LevelBuilder.h"

#include "renderer/draw/FlatCache.h"
#include "renderer/draw/FrameThings.h"
#include "renderer/draw/SectorLight.h"
#include "renderer/draw/Traversal.h"
#include "renderer/draw/WallSpans.h"
#include "renderer/level/Level.h"
#include "renderer/level/LevelGeometry.h"
#include "renderer/level/LevelMovers.h"
#include "renderer/level/LevelThings.h"
#include "renderer/level/PngLoader.h"
#include "renderer/level/WallChains.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>

namespace {

// Hands out flat cache entries: one per distinct height of the surfaces that
// stand still (their depths are the same bits), one per surface that moves.
class FlatKeys {
  public:
    std::int32_t standing(float height) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &height, sizeof bits);
        const auto found = byHeight_.emplace(bits, count_);
        if (found.second) {
            ++count_;
        }
        return found.first->second;
    }
    std::int32_t moving() { return count_++; }
    std::int32_t count() const { return count_; }

  private:
    std::unordered_map<std::uint32_t, std::int32_t> byHeight_;
    std::int32_t count_ = 0;
};

const SideDescription* sideOf(const SectorDescription& sector, std::int32_t edge) {
    for (const SideDescription& side : sector.sides) {
        if (side.edge == edge) {
            return &side;
        }
    }
    return nullptr;
}

// The wall of edge k with its textures: a solid wall its own (default: the
// sector's wall texture), a portal's steps those named for them (default: the wall
// texture of the sector behind); in a run of straight walls, it wears the offset
// of the run's first side.
Wall buildWall(const LevelDescription& level, const TexturePlan& plan, std::int32_t s,
               std::int32_t k, std::int32_t neighbour, const WallChainPlace& chain) {
    const SectorDescription& sector = level.sectors[static_cast<std::size_t>(s)];
    std::int32_t from = 0;
    std::int32_t to = 0;
    sector.edgeEnds(k, from, to);
    Wall wall(vertices[from], vertices[to], neighbour);
    if (level.fakeContrast) {
        // Lit from the side, as it were: a wall along x a step darker, one along y a
        // step brighter.
        const Vec3 a = vertices[from], b = vertices[to];
        wall.contrast = a.y == b.y ? -1 : (a.x == b.x ? 1 : 0);
    }
    wall.chainBefore = chain.before;
    wall.chainAfter = chain.after;
    const SideDescription* head = sideOf(sector, chain.head);
    if (head != nullptr) {
        wall.offsetX = head->offsetX;
        wall.offsetY = head->offsetY;
    }
    const SideDescription* side = sideOf(sector, k);
    if (side != nullptr) {
        wall.lowerUnpegged = side->lowerUnpegged;
        wall.upperUnpegged = side->upperUnpegged;
    }
    if (neighbour < 0) {
        const std::string& name =
            side != nullptr && !side->texture.empty() ? side->texture : sector.wallTexture;
        wall.lowerTexture = plan.wall(name);
        wall.upperTexture = wall.lowerTexture;
    } else {
        const std::string& behind = level.sectors[static_cast<std::size_t>(neighbour)].wallTexture;
        wall.lowerTexture =
            plan.wall(side != nullptr && !side->lower.empty() ? side->lower : behind);
        wall.upperTexture =
            plan.wall(side != nullptr && !side->upper.empty() ? side->upper : behind);
        if (side != nullptr) {
            wall.middleTexture = side->middle.empty() ? -1 : plan.middle(side->middle);
            wall.blocking = side->blocking;
        }
    }
    return wall;
}

bool sameSpot(Vec3 p, Vec3 q) {
    return p.x == q.x && p.y == q.y;
}

// A portal flagged on either side blocks from both: the walker judges the walls of
// the room it stands in.
void blockBothSides() {
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        for (std::int32_t w = 0; w < sectors[s].wallCount; ++w) {
            const Wall& wall = sectors[s].walls[w];
            if (!wall.blocking || wall.neighbour < 0) {
                continue;
            }
            Sector& behind = sectors[wall.neighbour];
            for (std::int32_t v = 0; v < behind.wallCount; ++v) {
                Wall& twin = behind.walls[v];
                if (twin.neighbour == s && sameSpot(twin.a, wall.b) && sameSpot(twin.b, wall.a)) {
                    twin.blocking = true;
                }
            }
        }
    }
}

// The outline's walls in order, then each hole's last edge first: a ray meeting
// two walls at the same depth takes the first listed, and the built-in level's
// frames were made with its hole's walls in that order.
std::vector<std::int32_t> wallOrder(const SectorDescription& sector) {
    std::vector<std::int32_t> order;
    std::int32_t k = 0;
    for (; k < static_cast<std::int32_t>(sector.outline.size()); ++k) {
        order.push_back(k);
    }
    for (const std::vector<std::int32_t>& hole : sector.holes) {
        const auto size = static_cast<std::int32_t>(hole.size());
        for (std::int32_t i = size - 1; i >= 0; --i) {
            order.push_back(k + i);
        }
        k += size;
    }
    return order;
}

std::int32_t moverIn(const LevelDescription& level, std::int32_t sector) {
    for (std::size_t m = 0; m < level.movers.size(); ++m) {
        if (level.movers[m].sector == sector) {
            return static_cast<std::int32_t>(m);
        }
    }
    return -1;
}

void buildTextures(const TexturePlan& plan, const std::vector<Texture>& images) {
    levelTextureCount = static_cast<std::int32_t>(plan.files.size());
    textures = new Texture[plan.files.size()]();
    for (std::size_t i = 0; i < plan.files.size(); ++i) {
        textures[i] = images[i];
        if (plan.columnOrder[i]) {
            transposeTexture(static_cast<std::int32_t>(i));
        }
    }
}

// The flats of sectors below full light get their shades made now: a shaded floor
// row then costs one more index bit pattern, not a multiply a pixel.
void shadeLitFlats() {
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        const Sector& sector = sectors[s];
        if (darkOf(sector.light, 0) == 0) {
            continue;
        }
        levelShadedFlats = true;
        const std::pair<std::int32_t, bool> flats[] = {{sector.floorTexture, sector.floorSky},
                                                       {sector.ceilingTexture, sector.ceilingSky}};
        for (const auto& flat : flats) {
            Texture& texture = textures[flat.first];
            if (flat.second || texture.shades != nullptr) {
                continue;
            }
            const std::int32_t count = texture.width * texture.height;
            texture.shades = new PackedPixel[static_cast<std::size_t>(count) * (darkestShade + 1)];
            fillShades(texture.pixels, count, texture.shades);
        }
    }
}

} // namespace

void buildLevelFrom(const LevelDescription& level, const TexturePlan& plan,
                    const std::vector<Texture>& images) {
    freeLevel(); // a level built before is replaced
    buildTextures(plan, images);
    levelAlignment = {level.texelsPerUnit, level.flatTexelsPerUnit, level.roomAlignedWalls};
    skyTexture = level.sky.empty() ? -1 : plan.wall(level.sky);

    solidSector = {};
    vertices = new Vec3[level.vertexX.size()];
    for (std::size_t i = 0; i < level.vertexX.size(); ++i) {
        vertices[i] = Vec3(level.vertexX[i], level.vertexY[i], 0.0f);
    }

    const std::vector<std::vector<std::int32_t>> portals = findPortals(level);
    sectorCount = static_cast<std::int32_t>(level.sectors.size());
    sectors = new Sector[level.sectors.size()]();
    FlatKeys keys;
    std::int32_t portalWalls = 0;
    sectorMotionCount = 0;
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        const SectorDescription& description = level.sectors[static_cast<std::size_t>(s)];
        Sector& sector = sectors[s];
        const std::vector<std::int32_t> order = wallOrder(description);
        const std::vector<std::int32_t>& neighbours = portals[static_cast<std::size_t>(s)];
        const std::vector<WallChainPlace> chains = chainWalls(level, description, neighbours);
        sector.wallCount = static_cast<std::int32_t>(order.size());
        sector.walls = new Wall[order.size()];
        for (std::size_t i = 0; i < order.size(); ++i) {
            const std::int32_t neighbour = neighbours[static_cast<std::size_t>(order[i])];
            sector.walls[i] = buildWall(level, plan, s, order[i], neighbour,
                                        chains[static_cast<std::size_t>(order[i])]);
            portalWalls += neighbour >= 0 ? 1 : 0;
        }
        sector.floorHeight = description.floor;
        sector.ceilingHeight = description.ceiling;
        sector.wallTexture = plan.wall(description.wallTexture);
        sector.floorTexture = plan.flat(description.floorTexture);
        sector.ceilingTexture = plan.flat(description.ceilingTexture);
        sector.floorSky = !level.sky.empty() && description.floorTexture == level.sky;
        sector.ceilingSky = !level.sky.empty() && description.ceilingTexture == level.sky;
        sector.light = description.light;
        const bool moves = description.motion.moves;
        // A door's ceiling and a lift's floor leave the height they share a key by.
        const std::int32_t mover = moverIn(level, s);
        const bool liftFloor = mover >= 0 && level.movers[static_cast<std::size_t>(mover)].lift;
        const bool doorCeiling = mover >= 0 && !liftFloor;
        sector.floorKey = moves || liftFloor ? keys.moving() : keys.standing(sector.floorHeight);
        sector.ceilingKey =
            moves || doorCeiling ? keys.moving() : keys.standing(sector.ceilingHeight);
        sectorMotionCount += moves ? 1 : 0;
    }

    blockBothSides();
    shadeLitFlats();

    sectorMotions = new SectorMotion[static_cast<std::size_t>(sectorMotionCount)];
    std::int32_t motion = 0;
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        const MotionDescription& m = level.sectors[static_cast<std::size_t>(s)].motion;
        if (m.moves) {
            sectorMotions[motion++] = {s, m.amplitude, m.speed, m.floor, m.ceiling};
        }
    }

    levelStart = {level.startX, level.startY, level.startAngle,
                  sectorHolding(level, level.startX, level.startY), level.scriptedCamera};
    levelBody = level.body;
    buildMovers(level, portals, levelMovers);
    buildThings(level, plan);
    frameThings.resize(levelThingCount);
    resizeFlatCache(std::max(keys.count(), flatCacheEntries));
    frameWallSpans.resize(sectors, sectorCount);
    // A ray crosses each portal at most once, except through a corner two portals
    // share, where it is handed back and forth at one spot: that ends at the bound.
    maxSectorVisits = std::max(minSectorVisits, portalWalls + 2);
}
