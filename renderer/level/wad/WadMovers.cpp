#include "renderer/level/wad/WadMovers.h"

#include "renderer/level/wad/WadLineSpecials.h"

#include <algorithm>
#include <string>
#include <unordered_map>

namespace {

struct EdgePlace {
    std::int32_t sector = -1;
    std::int32_t edge = 0;
};

class MoverImport {
  public:
    MoverImport(const WadMap& map, const std::vector<std::int32_t>& mapSectors,
                const std::vector<std::vector<WadEdgeSide>>& edgeSides, LevelDescription& level,
                LevelWarnings& warnings)
        : map_(map), level_(level), warnings_(warnings), sideEdges_(2 * map.linedefs.size()),
          pieces_(map.sectors.size()), kinds_(level.sectors.size(), Kind::none) {
        for (std::size_t s = 0; s < map.sectors.size(); ++s) {
            tagged_[map.sectors[s].tag].push_back(static_cast<std::int32_t>(s));
        }
        for (std::size_t s = 0; s < edgeSides.size(); ++s) {
            pieces_[static_cast<std::size_t>(mapSectors[s])].push_back(
                static_cast<std::int32_t>(s));
            for (std::size_t k = 0; k < edgeSides[s].size(); ++k) {
                const WadEdgeSide& side = edgeSides[s][k];
                sideEdges_[sideIndex(side.line, side.front)] = {static_cast<std::int32_t>(s),
                                                                static_cast<std::int32_t>(k)};
            }
        }
    }

    void run() {
        for (std::size_t i = 0; i < map_.linedefs.size(); ++i) {
            if (map_.linedefs[i].special != 0) {
                addLine(static_cast<std::int32_t>(i));
            }
        }
        // Doors first, then lifts, as a level file lists them.
        std::stable_partition(level_.movers.begin(), level_.movers.end(),
                              [](const MoverDescription& m) { return !m.lift; });
    }

  private:
    enum class Kind : std::uint8_t { none, door, lift };

    static std::size_t sideIndex(std::int32_t line, bool front) {
        return 2 * static_cast<std::size_t>(line) + (front ? 0 : 1);
    }

    std::int32_t sectorOf(std::int32_t side) const {
        return side == noWadSide ? -1 : map_.sidedefs[static_cast<std::size_t>(side)].sector;
    }

    static std::string linePlace(std::int32_t line) {
        return "linedefs[" + std::to_string(line) + "]";
    }

    void addLine(std::int32_t index) {
        const WadLinedef& line = map_.linedefs[static_cast<std::size_t>(index)];
        const WadLineRecord record = {line.special, line.tag, index, sectorOf(line.right),
                                      sectorOf(line.left)};
        const std::string special = std::to_string(line.special);
        WadLineAction action;
        if (!wadLineAction(record, action)) {
            WadLineRecord withBack = record;
            withBack.back = record.front;
            if (wadLineAction(withBack, action)) {
                warnings_.addOnce("door without back", linePlace(index),
                                  "a door line with no sector behind it opens nothing");
            } else {
                warnings_.addOnce("special " + special, linePlace(index),
                                  "special " + special +
                                      " opens no door and lowers no lift; the line does nothing");
            }
            return;
        }
        if (wadLockedDoor(line.special)) {
            warnings_.addOnce("locked doors", linePlace(index),
                              "locked doors open without their keys");
        }
        std::vector<std::int32_t> targets;
        if (action.behind) {
            addTargets(record.back, action, targets);
        } else if (action.tag == 0) {
            warnings_.addOnce("tag 0", linePlace(index),
                              "a switch or walk-over line with tag 0 acts on no sector");
            return;
        } else {
            const auto tagged = tagged_.find(action.tag);
            for (std::size_t k = 0; tagged != tagged_.end() && k < tagged->second.size(); ++k) {
                addTargets(tagged->second[k], action, targets);
            }
        }
        std::sort(targets.begin(), targets.end());
        targets.erase(std::unique(targets.begin(), targets.end()), targets.end());
        // A used line is met from its front; a walked one either way.
        EdgePlace place = sideEdges_[sideIndex(index, true)];
        if (place.sector < 0 && action.walk) {
            place = sideEdges_[sideIndex(index, false)];
        }
        // A walk line inside one room (the same sector on both sides) is no edge:
        // it is drawn between its own two points.
        const WadVertex& start = map_.vertexes[line.start];
        const WadVertex& end = map_.vertexes[line.end];
        const bool drawn =
            place.sector < 0 && action.walk && (start.x != end.x || start.y != end.y);
        if (targets.empty() || (place.sector < 0 && !drawn)) {
            warnings_.addOnce("idle trigger", linePlace(index),
                              targets.empty()
                                  ? "a door or lift line has no sector drawn to act on"
                                  : "a door or lift line is not drawn; it does nothing");
            return;
        }
        // A hostile file's every line naming every sector would want memory
        // without bound; real maps have a few hundred targets at most.
        if (targetsGiven_ + targets.size() > static_cast<std::size_t>(maxLevelEdges)) {
            warnings_.addOnce("too many targets", linePlace(index),
                              "the door and lift lines act on more than " +
                                  std::to_string(maxLevelEdges) +
                                  " sectors in all; this line and later ones do nothing");
            return;
        }
        targetsGiven_ += targets.size();
        TriggerDescription trigger;
        trigger.sector = drawn ? 0 : place.sector;
        trigger.edge = drawn ? 0 : place.edge;
        trigger.from = drawn ? line.start : -1;
        trigger.to = drawn ? line.end : -1;
        trigger.walk = action.walk;
        trigger.once = action.once;
        trigger.targets = std::move(targets);
        level_.triggers.push_back(std::move(trigger));
    }

    // Every drawn piece of the map sector becomes a door or lift of the line's kind,
    // unless an earlier line made it the other kind; it is acted on either way.
    void addTargets(std::int32_t mapSector, const WadLineAction& action,
                    std::vector<std::int32_t>& targets) {
        const Kind kind = action.lift ? Kind::lift : Kind::door;
        for (const std::int32_t piece : pieces_[static_cast<std::size_t>(mapSector)]) {
            Kind& has = kinds_[static_cast<std::size_t>(piece)];
            if (has == Kind::none) {
                has = kind;
                MoverDescription mover;
                mover.sector = piece;
                mover.lift = action.lift;
                mover.stays = action.stays;
                mover.speed = action.speed;
                mover.wait = action.wait;
                level_.movers.push_back(mover);
            } else if (has != kind) {
                warnings_.addOnce("door and lift", "sectors[" + std::to_string(mapSector) + "]",
                                  "lines make it both a door and a lift; it stays what the first "
                                  "line made it");
            }
            targets.push_back(piece);
        }
    }

    const WadMap& map_;
    LevelDescription& level_;
    LevelWarnings& warnings_;
    std::vector<EdgePlace> sideEdges_;              // per line side: the edge traced from it
    std::vector<std::vector<std::int32_t>> pieces_; // per map sector: its level sectors
    std::vector<Kind> kinds_;                       // per level sector
    std::unordered_map<std::int32_t, std::vector<std::int32_t>> tagged_; // map sectors by tag
    std::size_t targetsGiven_ = 0;
};

} // namespace

void addWadMovers(const WadMap& map, const std::vector<std::int32_t>& mapSectors,
                  const std::vector<std::vector<WadEdgeSide>>& edgeSides, LevelDescription& level,
                  LevelWarnings& warnings) {
    MoverImport(map, mapSectors, edgeSides, level, warnings).run();
}
