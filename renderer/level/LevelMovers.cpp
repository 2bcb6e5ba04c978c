#include "renderer/level/LevelMovers.h"

#include <algorithm>
#include <limits>

LevelMovers levelMovers;

namespace {

// The lowest neighbouring ceiling (a door's) or the lowest floor of the sector
// and its neighbours (a lift's); a sector without neighbours keeps its own.
float computedTarget(const LevelDescription& level,
                     const std::vector<std::vector<std::int32_t>>& portals,
                     const MoverDescription& mover) {
    const auto s = static_cast<std::size_t>(mover.sector);
    const SectorDescription& own = level.sectors[s];
    float lowest = std::numeric_limits<float>::infinity();
    for (const std::int32_t neighbour : portals[s]) {
        if (neighbour >= 0) {
            const SectorDescription& other = level.sectors[static_cast<std::size_t>(neighbour)];
            lowest = std::min(lowest, mover.lift ? other.floor : other.ceiling);
        }
    }
    if (mover.lift) {
        return std::min(lowest, own.floor);
    }
    return lowest == std::numeric_limits<float>::infinity() ? own.ceiling : lowest - doorLip;
}

std::int32_t moverOf(const LevelDescription& level, std::int32_t sector) {
    for (std::size_t m = 0; m < level.movers.size(); ++m) {
        if (level.movers[m].sector == sector) {
            return static_cast<std::int32_t>(m);
        }
    }
    return -1;
}

} // namespace

void buildMovers(const LevelDescription& level,
                 const std::vector<std::vector<std::int32_t>>& portals, LevelMovers& movers) {
    movers = {};
    movers.movers.reserve(level.movers.size());
    for (const MoverDescription& m : level.movers) {
        const SectorDescription& sector = level.sectors[static_cast<std::size_t>(m.sector)];
        const float rest = m.lift ? sector.floor : sector.ceiling;
        const float target = m.heightGiven ? m.height : computedTarget(level, portals, m);
        movers.movers.push_back({m.sector, !m.lift, !m.stays, rest, target, m.speed, m.wait,
                                 MoverPhase::rest, rest, rest, 0.0});
    }
    movers.lines.reserve(level.triggers.size());
    for (const TriggerDescription& t : level.triggers) {
        std::int32_t from = t.from;
        std::int32_t to = t.to;
        if (from < 0) {
            level.sectors[static_cast<std::size_t>(t.sector)].edgeEnds(t.edge, from, to);
        }
        const auto first = static_cast<std::int32_t>(movers.targets.size());
        if (t.targets.empty()) {
            const std::int32_t behind =
                portals[static_cast<std::size_t>(t.sector)][static_cast<std::size_t>(t.edge)];
            movers.targets.push_back(moverOf(level, behind));
        }
        for (const std::int32_t target : t.targets) {
            movers.targets.push_back(moverOf(level, target));
        }
        const auto count = static_cast<std::int32_t>(movers.targets.size()) - first;
        movers.lines.push_back({level.vertexX[static_cast<std::size_t>(from)],
                                level.vertexY[static_cast<std::size_t>(from)],
                                level.vertexX[static_cast<std::size_t>(to)],
                                level.vertexY[static_cast<std::size_t>(to)],
                                t.from < 0 ? t.sector : -1, t.walk, t.once, false, first, count});
    }
}
