#include "renderer/level/LevelGeometry.h"

#include "renderer/level/NumberText.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

struct Point {
    double x;
    double y;
};

struct Edge {
    std::int32_t from;
    std::int32_t to;
    Point a;
    Point b;
};

Point vertexAt(const LevelDescription& level, std::int32_t v) {
    return {level.vertexX[static_cast<std::size_t>(v)], level.vertexY[static_cast<std::size_t>(v)]};
}

double cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

// Twice the signed area: positive for a counter-clockwise loop.
double loopArea(const LevelDescription& level, const std::vector<std::int32_t>& loop) {
    double area = 0.0;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const Point a = vertexAt(level, loop[i]);
        const Point b = vertexAt(level, loop[(i + 1) % loop.size()]);
        area += a.x * b.y - b.x * a.y;
    }
    return area;
}

bool between(double value, double end1, double end2) {
    return value >= std::fmin(end1, end2) && value <= std::fmax(end1, end2);
}

// True when p, known to be on the line through a and b, lies on the segment.
bool onSegment(Point a, Point b, Point p) {
    return between(p.x, a.x, b.x) && between(p.y, a.y, b.y);
}

// True when the two segments have any point in common, end points included.
bool segmentsMeet(Point a, Point b, Point c, Point d) {
    const double d1 = cross(c, d, a);
    const double d2 = cross(c, d, b);
    const double d3 = cross(a, b, c);
    const double d4 = cross(a, b, d);
    if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) && ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
        return true;
    }
    return (d1 == 0 && onSegment(c, d, a)) || (d2 == 0 && onSegment(c, d, b)) ||
           (d3 == 0 && onSegment(a, b, c)) || (d4 == 0 && onSegment(a, b, d));
}

// Whether the edge from a to b crosses the horizontal ray from p to the right:
// one step of the even-odd rule.
bool crossesRayRight(Point a, Point b, Point p) {
    return (a.y > p.y) != (b.y > p.y) && p.x < a.x + (p.y - a.y) * (b.x - a.x) / (b.y - a.y);
}

// Even-odd over one loop, read in place: the level's things each look for their
// sector when it is built, so no edge list is made for every sector they try.
bool insideLoop(const LevelDescription& level, const std::vector<std::int32_t>& loop, Point p) {
    bool inside = false;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        inside ^= crossesRayRight(vertexAt(level, loop[i]),
                                  vertexAt(level, loop[(i + 1) % loop.size()]), p);
    }
    return inside;
}

// Even-odd over the sector's outline and holes together.
bool insideSector(const LevelDescription& level, const SectorDescription& sector, Point p) {
    bool inside = insideLoop(level, sector.outline, p);
    for (const std::vector<std::int32_t>& hole : sector.holes) {
        inside ^= insideLoop(level, hole, p);
    }
    return inside;
}

std::vector<Edge> loopEdges(const LevelDescription& level, const std::vector<std::int32_t>& loop) {
    std::vector<Edge> edges;
    for (std::size_t i = 0; i < loop.size(); ++i) {
        const std::int32_t from = loop[i];
        const std::int32_t to = loop[(i + 1) % loop.size()];
        edges.push_back({from, to, vertexAt(level, from), vertexAt(level, to)});
    }
    return edges;
}

std::vector<Edge> sectorEdges(const LevelDescription& level, const SectorDescription& sector) {
    std::vector<Edge> edges = loopEdges(level, sector.outline);
    for (const std::vector<std::int32_t>& hole : sector.holes) {
        const std::vector<Edge> holeEdges = loopEdges(level, hole);
        edges.insert(edges.end(), holeEdges.begin(), holeEdges.end());
    }
    return edges;
}

std::uint64_t edgeKey(std::int32_t from, std::int32_t to) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(from)) << 32 |
           static_cast<std::uint32_t>(to);
}

class GeometryCheck {
  public:
    GeometryCheck(const LevelDescription& level, std::string& problem)
        : level_(level), problem_(problem) {}

    bool run() {
        std::size_t totalEdges = 0;
        for (const SectorDescription& sector : level_.sectors) {
            totalEdges += static_cast<std::size_t>(sector.edgeCount());
        }
        if (totalEdges > static_cast<std::size_t>(maxLevelEdges)) {
            return fail("sectors", "the sectors have " + std::to_string(totalEdges) +
                                       " walls in all; a level may have at most " +
                                       std::to_string(maxLevelEdges));
        }
        for (std::size_t s = 0; s < level_.sectors.size(); ++s) {
            const std::int32_t walls = level_.sectors[s].edgeCount();
            if (walls > maxSectorEdges) {
                return fail(sectorPath(s), "has " + std::to_string(walls) +
                                               " walls in its outline and holes; a sector may "
                                               "have at most " +
                                               std::to_string(maxSectorEdges));
            }
        }
        for (std::size_t s = 0; s < level_.sectors.size(); ++s) {
            if (!checkSector(s)) {
                return false;
            }
        }
        return checkSharedEdges() && checkStart();
    }

  private:
    bool fail(const std::string& path, const std::string& message) {
        problem_ = path + ": " + message;
        return false;
    }

    static std::string sectorPath(std::size_t s) { return "sectors[" + std::to_string(s) + "]"; }

    // The place of edge k (its first vertex) in the file.
    std::string edgePath(std::size_t s, std::int32_t k) const {
        const SectorDescription& sector = level_.sectors[s];
        std::size_t index = static_cast<std::size_t>(k);
        if (index < sector.outline.size()) {
            return sectorPath(s) + ".outline[" + std::to_string(index) + "]";
        }
        index -= sector.outline.size();
        for (std::size_t h = 0; h < sector.holes.size(); ++h) {
            if (index < sector.holes[h].size()) {
                return sectorPath(s) + ".holes[" + std::to_string(h) + "][" +
                       std::to_string(index) + "]";
            }
            index -= sector.holes[h].size();
        }
        return sectorPath(s);
    }

    static std::string edgeName(const Edge& edge) {
        return "the edge from vertex " + std::to_string(edge.from) + " to vertex " +
               std::to_string(edge.to);
    }

    // Heights are kept in single precision: two that the file writes differently
    // may be one number, which the message then says.
    static std::string notBelow(float floor, float ceiling) {
        std::string text =
            "floor " + numberText(floor) + " is not below ceiling " + numberText(ceiling);
        if (floor == ceiling) {
            text += " (heights are kept to about 7 significant digits; these are the same)";
        }
        return text;
    }

    bool checkHeights(std::size_t s) {
        const SectorDescription& sector = level_.sectors[s];
        // A closed door's ceiling may lie on its floor.
        bool door = false;
        for (const MoverDescription& mover : level_.movers) {
            door = door || (!mover.lift && mover.sector == static_cast<std::int32_t>(s));
        }
        if (!(sector.floor < sector.ceiling) && !(door && sector.floor == sector.ceiling)) {
            return fail(sectorPath(s), notBelow(sector.floor, sector.ceiling));
        }
        if (sector.motion.moves && !(sector.motion.floor < sector.motion.ceiling)) {
            return fail(sectorPath(s) + ".motion",
                        notBelow(sector.motion.floor, sector.motion.ceiling));
        }
        return true;
    }

    // Loops of one sector may touch at a shared vertex (maps are full of pillars
    // standing against a wall at a corner); one loop may not pass a vertex twice.
    bool checkRepeats(std::size_t s) {
        const SectorDescription& sector = level_.sectors[s];
        std::size_t loopEnd = sector.outline.size();
        std::size_t nextHole = 0;
        std::unordered_map<std::int32_t, bool> seen;
        for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
            if (static_cast<std::size_t>(k) == loopEnd) {
                seen.clear();
                loopEnd += sector.holes[nextHole++].size();
            }
            std::int32_t from = 0;
            std::int32_t to = 0;
            sector.edgeEnds(k, from, to);
            if (!seen.emplace(from, true).second) {
                return fail(edgePath(s, k), "vertex " + std::to_string(from) +
                                                " is repeated (a vertex may appear once in a "
                                                "sector's outline and holes)");
            }
        }
        return true;
    }

    bool checkTurns(std::size_t s) {
        const SectorDescription& sector = level_.sectors[s];
        const double outline = loopArea(level_, sector.outline);
        if (outline == 0.0) {
            return fail(sectorPath(s) + ".outline", "encloses no area");
        }
        if (outline < 0.0) {
            return fail(sectorPath(s) + ".outline",
                        "runs clockwise seen from above; an outline runs counter-clockwise");
        }
        for (std::size_t h = 0; h < sector.holes.size(); ++h) {
            const double hole = loopArea(level_, sector.holes[h]);
            const std::string path = sectorPath(s) + ".holes[" + std::to_string(h) + "]";
            if (hole == 0.0) {
                return fail(path, "encloses no area");
            }
            if (hole > 0.0) {
                return fail(path, "runs counter-clockwise seen from above; a hole runs clockwise");
            }
        }
        return true;
    }

    // Edges meet only where they follow each other in a loop, and there only at
    // their shared end: anything else crosses, touches or folds back.
    bool checkCrossings(std::size_t s, const std::vector<Edge>& edges) {
        for (std::size_t i = 0; i < edges.size(); ++i) {
            if (edges[i].a.x == edges[i].b.x && edges[i].a.y == edges[i].b.y) {
                return fail(edgePath(s, static_cast<std::int32_t>(i)),
                            edgeName(edges[i]) + " has no length (both are at the same point)");
            }
        }
        for (std::size_t i = 0; i < edges.size(); ++i) {
            for (std::size_t j = i + 1; j < edges.size(); ++j) {
                const Edge& e = edges[i];
                const Edge& f = edges[j];
                bool meets = false;
                const bool eFromShared = e.from == f.from || e.from == f.to;
                const bool eToShared = e.to == f.from || e.to == f.to;
                if (eFromShared && eToShared) {
                    meets = true; // the same edge twice, or folded back onto itself
                } else if (eFromShared || eToShared) {
                    // Edges with a vertex in common (neighbours along a loop, or loops
                    // touching there): only lying along each other is wrong.
                    const Point shared = eToShared ? e.b : e.a;
                    const Point mine = eToShared ? e.a : e.b;
                    const std::int32_t sharedVertex = eToShared ? e.to : e.from;
                    const Point theirs = f.from == sharedVertex ? f.b : f.a;
                    meets = cross(shared, mine, theirs) == 0.0 &&
                            (mine.x - shared.x) * (theirs.x - shared.x) +
                                    (mine.y - shared.y) * (theirs.y - shared.y) >
                                0.0;
                } else {
                    meets = segmentsMeet(e.a, e.b, f.a, f.b);
                }
                if (meets) {
                    return fail(edgePath(s, static_cast<std::int32_t>(j)),
                                edgeName(f) + " crosses or touches " + edgeName(e) +
                                    " (a sector's outline and holes may not cross themselves "
                                    "or each other)");
                }
            }
        }
        return true;
    }

    bool checkHolesInside(std::size_t s) {
        const SectorDescription& sector = level_.sectors[s];
        for (std::size_t h = 0; h < sector.holes.size(); ++h) {
            const std::string path = sectorPath(s) + ".holes[" + std::to_string(h) + "]";
            const Point corner = probePoint(sector, h);
            if (!insideLoop(level_, sector.outline, corner)) {
                return fail(path, "lies outside the sector's outline");
            }
            for (std::size_t g = 0; g < sector.holes.size(); ++g) {
                if (g != h && insideLoop(level_, sector.holes[g], corner)) {
                    return fail(path, "lies inside holes[" + std::to_string(g) + "]");
                }
            }
        }
        return true;
    }

    // A corner of hole h that no other loop of the sector uses, or the middle of
    // its first edge when it shares every corner: inside or outside another loop
    // is then never decided on that loop's own boundary.
    Point probePoint(const SectorDescription& sector, std::size_t h) const {
        const std::vector<std::int32_t>& hole = sector.holes[h];
        for (const std::int32_t v : hole) {
            bool shared =
                std::find(sector.outline.begin(), sector.outline.end(), v) != sector.outline.end();
            for (std::size_t g = 0; g < sector.holes.size() && !shared; ++g) {
                shared = g != h && std::find(sector.holes[g].begin(), sector.holes[g].end(), v) !=
                                       sector.holes[g].end();
            }
            if (!shared) {
                return vertexAt(level_, v);
            }
        }
        const Point a = vertexAt(level_, hole[0]);
        const Point b = vertexAt(level_, hole[1 % hole.size()]);
        return {(a.x + b.x) / 2.0, (a.y + b.y) / 2.0};
    }

  public:
    bool checkSector(std::size_t s) {
        if (!checkHeights(s) || !checkRepeats(s) || !checkTurns(s)) {
            return false;
        }
        const std::vector<Edge> edges = sectorEdges(level_, level_.sectors[s]);
        return checkCrossings(s, edges) && checkHolesInside(s);
    }

  private:
    bool checkSharedEdges() {
        std::unordered_map<std::uint64_t, std::int32_t> users; // directed edge -> sector
        for (std::size_t s = 0; s < level_.sectors.size(); ++s) {
            const SectorDescription& sector = level_.sectors[s];
            for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
                std::int32_t from = 0;
                std::int32_t to = 0;
                sector.edgeEnds(k, from, to);
                const auto same = users.find(edgeKey(from, to));
                const auto reverse = users.find(edgeKey(to, from));
                const std::string name = "the edge from vertex " + std::to_string(from) +
                                         " to vertex " + std::to_string(to);
                if (same != users.end() && reverse != users.end()) {
                    return fail(edgePath(s, k),
                                name + " is already a portal between " +
                                    sectorPath(static_cast<std::size_t>(reverse->second)) +
                                    " and " + sectorPath(static_cast<std::size_t>(same->second)) +
                                    "; an edge joins at most two sectors");
                }
                if (same != users.end()) {
                    return fail(edgePath(s, k),
                                name + " is already used in the same direction by " +
                                    sectorPath(static_cast<std::size_t>(same->second)) +
                                    " (two sectors share an edge in opposite directions)");
                }
                users.emplace(edgeKey(from, to), static_cast<std::int32_t>(s));
            }
        }
        return true;
    }

    bool checkStart() {
        std::string problem;
        return checkStartPoint(level_, level_.startX, level_.startY, problem) ||
               fail("start", problem);
    }

    const LevelDescription& level_;
    std::string& problem_;
};

} // namespace

bool checkLevelGeometry(const LevelDescription& level, std::string& problem) {
    return GeometryCheck(level, problem).run();
}

bool checkSectorShape(const LevelDescription& level, std::size_t sector, std::string& problem) {
    return GeometryCheck(level, problem).checkSector(sector);
}

std::vector<std::vector<std::int32_t>> findPortals(const LevelDescription& level) {
    std::unordered_map<std::uint64_t, std::int32_t> users;
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        const SectorDescription& sector = level.sectors[s];
        for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
            std::int32_t from = 0;
            std::int32_t to = 0;
            sector.edgeEnds(k, from, to);
            users.emplace(edgeKey(from, to), static_cast<std::int32_t>(s));
        }
    }
    std::vector<std::vector<std::int32_t>> neighbours(level.sectors.size());
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        const SectorDescription& sector = level.sectors[s];
        for (std::int32_t k = 0; k < sector.edgeCount(); ++k) {
            std::int32_t from = 0;
            std::int32_t to = 0;
            sector.edgeEnds(k, from, to);
            const auto other = users.find(edgeKey(to, from));
            neighbours[s].push_back(other != users.end() ? other->second : -1);
        }
    }
    return neighbours;
}

bool checkStartPoint(const LevelDescription& level, float x, float y, std::string& problem) {
    const std::string point = "the point " + pointText(x, y);
    if (sectorHolding(level, x, y) < 0) {
        problem = point + " is inside no sector";
        return false;
    }
    // The walker keeps the eye this far from a solid wall; nearer, it starts
    // inside its own margin (on a corner the whole frame is floor).
    const Point p{x, y};
    const std::vector<std::vector<std::int32_t>> portals = findPortals(level);
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        const std::vector<Edge> edges = sectorEdges(level, level.sectors[s]);
        for (std::size_t k = 0; k < edges.size(); ++k) {
            if (portals[s][k] >= 0) {
                continue;
            }
            const Edge& edge = edges[k];
            const double dx = edge.b.x - edge.a.x;
            const double dy = edge.b.y - edge.a.y;
            const double t =
                std::fmax(0.0, std::fmin(1.0, ((p.x - edge.a.x) * dx + (p.y - edge.a.y) * dy) /
                                                  (dx * dx + dy * dy)));
            const double distance = std::hypot(p.x - edge.a.x - t * dx, p.y - edge.a.y - t * dy);
            if (distance < static_cast<double>(level.body.radius)) {
                problem = point + " is " + numberText(static_cast<float>(distance)) +
                          " from the solid wall from vertex " + std::to_string(edge.from) +
                          " to vertex " + std::to_string(edge.to) + " of sectors[" +
                          std::to_string(s) + "]; the eye starts at least " +
                          numberText(level.body.radius) +
                          " (the walker's radius) from every solid wall";
                return false;
            }
        }
    }
    return true;
}

std::int32_t sectorHolding(const LevelDescription& level, float x, float y) {
    for (std::size_t s = 0; s < level.sectors.size(); ++s) {
        if (insideSector(level, level.sectors[s], {x, y})) {
            return static_cast<std::int32_t>(s);
        }
    }
    return -1;
}
