#include "renderer/level/SuspectGeometry.h"

#include "renderer/level/LevelGeometry.h"
#include "renderer/level/NumberText.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace {

// Vertex-against-edge tests the pairwise checks may make; a level tangled beyond
// that (thousands of sectors over the same ground) is said to be checked in part.
constexpr double pairWorkBudget = 4.0e7;

struct Point {
    double x;
    double y;
};

struct Box {
    double left;
    double bottom;
    double right;
    double top;
};

// One edge of a sector with its place in the file.
struct SectorEdge {
    std::int32_t from;
    std::int32_t to;
    Point a;
    Point b;
};

// One corner of a sector with its place in the file.
struct Corner {
    std::int32_t vertex;
    Point at;
    std::string place;
};

double cross(Point o, Point a, Point b) {
    return (a.x - o.x) * (b.y - o.y) - (a.y - o.y) * (b.x - o.x);
}

std::string sectorPath(std::size_t s) {
    return "sectors[" + std::to_string(s) + "]";
}

std::string edgeText(const SectorEdge& edge) {
    return "the edge from vertex " + std::to_string(edge.from) + " to vertex " +
           std::to_string(edge.to);
}

class SuspectSearch {
  public:
    SuspectSearch(const LevelDescription& level, LevelWarnings& warnings)
        : level_(level), warnings_(warnings) {
        float largest = 1.0f;
        for (std::size_t v = 0; v < level.vertexX.size(); ++v) {
            largest = std::max({largest, std::fabs(level.vertexX[v]), std::fabs(level.vertexY[v])});
        }
        // Well below any spacing an author means, well above float rounding.
        nearness_ = 1e-4 + 1e-6 * static_cast<double>(largest);
        for (std::size_t s = 0; s < level.sectors.size(); ++s) {
            collect(s);
        }
    }

    void run() {
        checkPairs();
        checkOpenings();
    }

  private:
    Point vertexAt(std::int32_t v) const {
        return {level_.vertexX[static_cast<std::size_t>(v)],
                level_.vertexY[static_cast<std::size_t>(v)]};
    }

    void collectLoop(std::size_t s, const std::vector<std::int32_t>& loop,
                     const std::string& loopPath) {
        for (std::size_t i = 0; i < loop.size(); ++i) {
            const std::int32_t from = loop[i];
            const std::int32_t to = loop[(i + 1) % loop.size()];
            edges_[s].push_back({from, to, vertexAt(from), vertexAt(to)});
            corners_[s].push_back({from, vertexAt(from), loopPath + "[" + std::to_string(i) + "]"});
        }
    }

    void collect(std::size_t s) {
        const SectorDescription& sector = level_.sectors[s];
        edges_.emplace_back();
        corners_.emplace_back();
        collectLoop(s, sector.outline, sectorPath(s) + ".outline");
        for (std::size_t h = 0; h < sector.holes.size(); ++h) {
            collectLoop(s, sector.holes[h], sectorPath(s) + ".holes[" + std::to_string(h) + "]");
        }
        Box box{corners_[s][0].at.x, corners_[s][0].at.y, corners_[s][0].at.x, corners_[s][0].at.y};
        for (const Corner& corner : corners_[s]) {
            box = {std::min(box.left, corner.at.x), std::min(box.bottom, corner.at.y),
                   std::max(box.right, corner.at.x), std::max(box.top, corner.at.y)};
        }
        boxes_.push_back(box);
    }

    // Distance from p to the segment, and whether p falls strictly between its ends.
    double distanceTo(const SectorEdge& edge, Point p, bool& between) const {
        const double dx = edge.b.x - edge.a.x;
        const double dy = edge.b.y - edge.a.y;
        const double length = std::sqrt(dx * dx + dy * dy);
        const double along = ((p.x - edge.a.x) * dx + (p.y - edge.a.y) * dy) / length;
        between = along > nearness_ && along < length - nearness_;
        const double t = std::clamp(along / length, 0.0, 1.0);
        return std::hypot(p.x - (edge.a.x + t * dx), p.y - (edge.a.y + t * dy));
    }

    bool onBoundary(std::size_t s, Point p) const {
        for (const SectorEdge& edge : edges_[s]) {
            bool between = false;
            if (distanceTo(edge, p, between) <= nearness_) {
                return true;
            }
        }
        return false;
    }

    // Even-odd over the sector's outline and holes, its boundary counted outside.
    bool strictlyInside(std::size_t s, Point p) const {
        bool inside = false;
        for (const SectorEdge& edge : edges_[s]) {
            if ((edge.a.y > p.y) != (edge.b.y > p.y)) {
                const double crossX =
                    edge.a.x + (p.y - edge.a.y) * (edge.b.x - edge.a.x) / (edge.b.y - edge.a.y);
                inside = p.x < crossX ? !inside : inside;
            }
        }
        return inside && !onBoundary(s, p);
    }

    // Corners of sector s on the middle of an edge of sector t, or on a vertex of
    // t's that is not the same vertex.
    void findJunctions(std::size_t s, std::size_t t) {
        for (const Corner& corner : corners_[s]) {
            for (const SectorEdge& edge : edges_[t]) {
                if (corner.vertex == edge.from || corner.vertex == edge.to) {
                    continue;
                }
                bool between = false;
                const double distance = distanceTo(edge, corner.at, between);
                if (distance <= nearness_ && between) {
                    warnings_.add(corner.place,
                                  "vertex " + std::to_string(corner.vertex) + " " +
                                      pointText(static_cast<float>(corner.at.x),
                                                static_cast<float>(corner.at.y)) +
                                      " lies on the middle of " + edgeText(edge) + " of " +
                                      sectorPath(t) +
                                      ": a wall closes them off from each other there (split "
                                      "that edge at the vertex to make an opening)");
                } else if (corner.at.x == edge.a.x && corner.at.y == edge.a.y) {
                    warnings_.add(corner.place, "vertex " + std::to_string(corner.vertex) +
                                                    " is at the same point as vertex " +
                                                    std::to_string(edge.from) + " of " +
                                                    sectorPath(t) +
                                                    ": edges through different vertices never "
                                                    "make an opening (use one vertex)");
                }
            }
        }
    }

    // Sector s reaching into t: a corner or the middle of an edge strictly inside.
    bool reachesInto(std::size_t s, std::size_t t, std::string& how) const {
        for (std::size_t i = 0; i < corners_[s].size(); ++i) {
            const SectorEdge& edge = edges_[s][i];
            const Point middle{(edge.a.x + edge.b.x) * 0.5, (edge.a.y + edge.b.y) * 0.5};
            if (strictlyInside(t, edge.a)) {
                how = "vertex " + std::to_string(edge.from) + " of " + sectorPath(s) +
                      " lies inside " + sectorPath(t);
                return true;
            }
            if (strictlyInside(t, middle)) {
                how = edgeText(edge) + " of " + sectorPath(s) + " runs inside " + sectorPath(t);
                return true;
            }
        }
        return false;
    }

    bool edgesCross(std::size_t s, std::size_t t, std::string& how) const {
        for (const SectorEdge& e : edges_[s]) {
            for (const SectorEdge& f : edges_[t]) {
                const double d1 = cross(f.a, f.b, e.a);
                const double d2 = cross(f.a, f.b, e.b);
                const double d3 = cross(e.a, e.b, f.a);
                const double d4 = cross(e.a, e.b, f.b);
                if (((d1 > 0 && d2 < 0) || (d1 < 0 && d2 > 0)) &&
                    ((d3 > 0 && d4 < 0) || (d3 < 0 && d4 > 0))) {
                    how = edgeText(e) + " of " + sectorPath(s) + " crosses " + edgeText(f) +
                          " of " + sectorPath(t);
                    return true;
                }
            }
        }
        return false;
    }

    void findOverlap(std::size_t s, std::size_t t) {
        std::string how;
        if (edgesCross(s, t, how) || reachesInto(s, t, how) || reachesInto(t, s, how)) {
            warnings_.add(sectorPath(s), "overlaps " + sectorPath(t) + " (" + how +
                                             "): where two sectors cover the same ground, only "
                                             "the one holding the eye is drawn");
        }
    }

    // Sectors whose boxes overlap, found by a sweep along x.
    void checkPairs() {
        std::vector<std::size_t> order(boxes_.size());
        std::iota(order.begin(), order.end(), 0);
        std::sort(order.begin(), order.end(),
                  [&](std::size_t a, std::size_t b) { return boxes_[a].left < boxes_[b].left; });
        double work = 0.0;
        for (std::size_t i = 0; i < order.size(); ++i) {
            const Box& mine = boxes_[order[i]];
            for (std::size_t j = i + 1; j < order.size(); ++j) {
                const Box& theirs = boxes_[order[j]];
                if (theirs.left > mine.right + nearness_) {
                    break;
                }
                if (theirs.bottom > mine.top + nearness_ || theirs.top < mine.bottom - nearness_) {
                    continue;
                }
                const std::size_t s = std::min(order[i], order[j]);
                const std::size_t t = std::max(order[i], order[j]);
                work += 6.0 * static_cast<double>(edges_[s].size()) *
                        static_cast<double>(edges_[t].size());
                if (work > pairWorkBudget) {
                    warnings_.add("sectors", "so many sectors share the same ground that only "
                                             "some were checked for T-junctions and overlaps");
                    return;
                }
                findJunctions(s, t);
                findJunctions(t, s);
                findOverlap(s, t);
            }
        }
    }

    // The lowest gap between the higher floor and the lower ceiling over both
    // sectors' motions: it is concave in each lift, so the ends of the motions
    // are where it is smallest.
    void checkOpening(std::size_t s, std::size_t t, const SectorEdge& edge) {
        const SectorDescription& a = level_.sectors[s];
        const SectorDescription& b = level_.sectors[t];
        struct Heights {
            float floor;
            float ceiling;
        };
        const auto ends = [](const SectorDescription& sector) {
            std::vector<Heights> found{{sector.floor, sector.ceiling}};
            if (sector.motion.moves) {
                const float top = std::fabs(sector.motion.amplitude);
                found.push_back({sector.motion.floor, sector.motion.ceiling});
                found.push_back({top + sector.motion.floor, top + sector.motion.ceiling});
            }
            return found;
        };
        for (const Heights& mine : ends(a)) {
            for (const Heights& theirs : ends(b)) {
                const float floor = std::max(mine.floor, theirs.floor);
                const float ceiling = std::min(mine.ceiling, theirs.ceiling);
                if (!(floor < ceiling)) {
                    const bool moving = a.motion.moves || b.motion.moves;
                    warnings_.addOnce(
                        "opening " + std::to_string(s) + " " + std::to_string(t), sectorPath(s),
                        "the opening into " + sectorPath(t) + " at " + edgeText(edge) +
                            " is closed" + (moving ? " while they move" : "") +
                            ": the higher floor " + numberText(floor) +
                            " is not below the lower ceiling " + numberText(ceiling));
                    return;
                }
            }
        }
    }

    void checkOpenings() {
        const std::vector<std::vector<std::int32_t>> portals = findPortals(level_);
        for (std::size_t s = 0; s < portals.size(); ++s) {
            for (std::size_t k = 0; k < portals[s].size(); ++k) {
                const std::int32_t other = portals[s][k];
                if (other > static_cast<std::int32_t>(s)) {
                    checkOpening(s, static_cast<std::size_t>(other), edges_[s][k]);
                }
            }
        }
    }

    const LevelDescription& level_;
    LevelWarnings& warnings_;
    double nearness_ = 1e-4;
    std::vector<std::vector<SectorEdge>> edges_; // per sector, in edge order
    std::vector<std::vector<Corner>> corners_;   // per sector, corner i starts edge i
    std::vector<Box> boxes_;
};

} // namespace

void findSuspectGeometry(const LevelDescription& level, LevelWarnings& warnings) {
    SuspectSearch(level, warnings).run();
}
