#include "renderer/level/wad/SectorLoops.h"

#include <cmath>
#include <cstring>
#include <map>
#include <unordered_map>

namespace {

constexpr double fullTurn = 6.283185307179586;

struct SideEdge {
    std::int32_t from;
    std::int32_t to;
    std::int32_t line;
    bool front;
    double angle; // of from -> to
};

std::uint64_t pairKey(std::int32_t a, std::int32_t b) {
    return static_cast<std::uint64_t>(static_cast<std::uint32_t>(a)) << 32 |
           static_cast<std::uint32_t>(b);
}

// The lowest index of the points at each place.
std::vector<std::int32_t> samePlaceVertices(const std::vector<float>& x,
                                            const std::vector<float>& y) {
    std::unordered_map<std::uint64_t, std::int32_t> first;
    std::vector<std::int32_t> canonical(x.size());
    for (std::size_t i = 0; i < x.size(); ++i) {
        std::uint32_t bx = 0;
        std::uint32_t by = 0;
        const float px = x[i] == 0.0f ? 0.0f : x[i]; // -0 and 0 are one place
        const float py = y[i] == 0.0f ? 0.0f : y[i];
        std::memcpy(&bx, &px, sizeof bx);
        std::memcpy(&by, &py, sizeof by);
        canonical[i] =
            first.emplace(static_cast<std::uint64_t>(bx) << 32 | by, static_cast<std::int32_t>(i))
                .first->second;
    }
    return canonical;
}

class SectorTracer {
  public:
    SectorTracer(const std::vector<float>& x, const std::vector<float>& y, std::int32_t sector,
                 LevelWarnings& warnings)
        : x_(x), y_(y), sector_(sector), warnings_(warnings) {}

    // Keeps the side unless it repeats one already kept; a side with its reverse
    // also facing this sector is a line inside it, so neither is a wall.
    void add(std::int32_t from, std::int32_t to, std::int32_t line, bool front) {
        const auto same = byEnds_.find(pairKey(from, to));
        if (same != byEnds_.end()) {
            warnings_.add("",
                          "line " + std::to_string(line) + " lies on line " +
                              std::to_string(edges_[static_cast<std::size_t>(same->second)].line) +
                              " facing the same sector; left out");
            return;
        }
        const double angle = std::atan2(static_cast<double>(y_[static_cast<std::size_t>(to)]) -
                                            y_[static_cast<std::size_t>(from)],
                                        static_cast<double>(x_[static_cast<std::size_t>(to)]) -
                                            x_[static_cast<std::size_t>(from)]);
        byEnds_.emplace(pairKey(from, to), static_cast<std::int32_t>(edges_.size()));
        edges_.push_back({from, to, line, front, angle});
    }

    void trace(std::vector<TracedRegion>& regions) {
        removeInnerPairs();
        removeDangling();
        std::unordered_map<std::int32_t, std::vector<std::int32_t>> leaving;
        for (std::size_t e = 0; e < edges_.size(); ++e) {
            if (!removed_[e]) {
                leaving[edges_[e].from].push_back(static_cast<std::int32_t>(e));
            }
        }
        used_.assign(edges_.size(), false);
        for (std::size_t e = 0; e < edges_.size(); ++e) {
            if (!removed_[e] && !used_[e]) {
                walk(static_cast<std::int32_t>(e), leaving);
            }
        }
        group(regions);
    }

  private:
    void removeInnerPairs() {
        removed_.assign(edges_.size(), false);
        for (std::size_t e = 0; e < edges_.size(); ++e) {
            const auto reverse = byEnds_.find(pairKey(edges_[e].to, edges_[e].from));
            if (reverse != byEnds_.end() && !removed_[e]) {
                removed_[e] = true;
                removed_[static_cast<std::size_t>(reverse->second)] = true;
                warnings_.add(
                    "", "lines " + std::to_string(edges_[e].line) + " and " +
                            std::to_string(edges_[static_cast<std::size_t>(reverse->second)].line) +
                            " lie on each other with sector " + std::to_string(sector_) +
                            " on all sides; neither is a wall");
            }
        }
    }

    // Sides that end where no side of this sector goes on, or start where none
    // arrives, can be on no loop; taken first so no walk strays into them.
    void removeDangling() {
        std::unordered_map<std::int32_t, std::int32_t> arriving;
        std::unordered_map<std::int32_t, std::int32_t> leavingCount;
        for (std::size_t e = 0; e < edges_.size(); ++e) {
            if (!removed_[e]) {
                ++arriving[edges_[e].to];
                ++leavingCount[edges_[e].from];
            }
        }
        std::vector<std::int32_t> dropped;
        bool changed = true;
        while (changed) {
            changed = false;
            for (std::size_t e = 0; e < edges_.size(); ++e) {
                if (!removed_[e] &&
                    (arriving[edges_[e].from] == 0 || leavingCount[edges_[e].to] == 0)) {
                    removed_[e] = true;
                    --arriving[edges_[e].to];
                    --leavingCount[edges_[e].from];
                    dropped.push_back(static_cast<std::int32_t>(e));
                    changed = true;
                }
            }
        }
        if (!dropped.empty()) {
            dropUnclosed(dropped);
        }
    }

    // At the end of edge e, the side leaving there that turns most to the right:
    // the sector lies to the left of every side, so that one bounds the same piece.
    std::int32_t next(std::int32_t e,
                      const std::unordered_map<std::int32_t, std::vector<std::int32_t>>& leaving) {
        const SideEdge& in = edges_[static_cast<std::size_t>(e)];
        const auto found = leaving.find(in.to);
        if (found == leaving.end()) {
            return -1;
        }
        const double back = in.angle + fullTurn / 2.0;
        std::int32_t best = -1;
        double bestTurn = 0.0;
        for (const std::int32_t f : found->second) {
            double turn = std::fmod(back - edges_[static_cast<std::size_t>(f)].angle, fullTurn);
            if (turn <= 0.0) {
                turn += fullTurn;
            }
            if (best < 0 || turn < bestTurn) {
                best = f;
                bestTurn = turn;
            }
        }
        return best;
    }

    void walk(std::int32_t start,
              const std::unordered_map<std::int32_t, std::vector<std::int32_t>>& leaving) {
        std::vector<std::int32_t> path;
        std::unordered_map<std::int32_t, std::size_t> place; // edge -> position in path
        std::int32_t e = start;
        while (true) {
            used_[static_cast<std::size_t>(e)] = true;
            place.emplace(e, path.size());
            path.push_back(e);
            const std::int32_t f = next(e, leaving);
            if (f < 0 || (used_[static_cast<std::size_t>(f)] && place.count(f) == 0)) {
                dropUnclosed(path);
                return;
            }
            if (used_[static_cast<std::size_t>(f)]) {
                const std::size_t loopStart = place[f];
                if (loopStart > 0) {
                    dropUnclosed(std::vector<std::int32_t>(
                        path.begin(), path.begin() + static_cast<long>(loopStart)));
                }
                splitAtRepeats(std::vector<std::int32_t>(
                    path.begin() + static_cast<long>(loopStart), path.end()));
                return;
            }
            e = f;
        }
    }

    void dropUnclosed(const std::vector<std::int32_t>& path) {
        std::string text = "sector " + std::to_string(sector_) + ": the sides of line";
        text += path.size() > 1 ? "s " : " ";
        for (std::size_t i = 0; i < path.size() && i < 8; ++i) {
            text += (i > 0 ? ", " : "") +
                    std::to_string(edges_[static_cast<std::size_t>(path[i])].line);
        }
        text += path.size() > 8 ? ", ..." : "";
        warnings_.add("", text + " close no loop; left out");
    }

    // A closed walk through a point twice is two loops meeting there.
    void splitAtRepeats(const std::vector<std::int32_t>& walk) {
        std::vector<std::int32_t> stack;
        std::unordered_map<std::int32_t, std::size_t> startsAt; // vertex -> stack position
        for (const std::int32_t e : walk) {
            const std::int32_t from = edges_[static_cast<std::size_t>(e)].from;
            const auto repeat = startsAt.find(from);
            if (repeat != startsAt.end()) {
                const std::size_t begin = repeat->second;
                keepLoop(std::vector<std::int32_t>(stack.begin() + static_cast<long>(begin),
                                                   stack.end()));
                for (std::size_t i = begin; i < stack.size(); ++i) {
                    startsAt.erase(edges_[static_cast<std::size_t>(stack[i])].from);
                }
                stack.resize(begin);
            }
            startsAt.emplace(from, stack.size());
            stack.push_back(e);
        }
        keepLoop(stack);
    }

    void keepLoop(const std::vector<std::int32_t>& loopEdges) {
        TracedLoop loop;
        for (const std::int32_t e : loopEdges) {
            const SideEdge& edge = edges_[static_cast<std::size_t>(e)];
            loop.vertices.push_back(edge.from);
            loop.lines.push_back(edge.line);
            loop.frontSides.push_back(edge.front);
        }
        const double area = twiceArea(loop);
        if (area == 0.0) {
            warnings_.add("", "sector " + std::to_string(sector_) + ": a loop through line " +
                                  std::to_string(loop.lines[0]) + " encloses no area; left out");
            return;
        }
        (area > 0.0 ? outlines_ : holes_).push_back(loop);
        (area > 0.0 ? outlineAreas_ : holeAreas_).push_back(std::fabs(area));
    }

    double px(std::int32_t v) const { return x_[static_cast<std::size_t>(v)]; }
    double py(std::int32_t v) const { return y_[static_cast<std::size_t>(v)]; }

    double twiceArea(const TracedLoop& loop) const {
        double area = 0.0;
        for (std::size_t i = 0; i < loop.vertices.size(); ++i) {
            const std::int32_t a = loop.vertices[i];
            const std::int32_t b = loop.vertices[(i + 1) % loop.vertices.size()];
            area += px(a) * py(b) - px(b) * py(a);
        }
        return area;
    }

    bool contains(const TracedLoop& loop, double x, double y) const {
        bool inside = false;
        for (std::size_t i = 0; i < loop.vertices.size(); ++i) {
            const std::int32_t a = loop.vertices[i];
            const std::int32_t b = loop.vertices[(i + 1) % loop.vertices.size()];
            if ((py(a) > y) != (py(b) > y)) {
                const double crossX = px(a) + (y - py(a)) * (px(b) - px(a)) / (py(b) - py(a));
                inside = x < crossX ? !inside : inside;
            }
        }
        return inside;
    }

    // A point of the hole that is no corner of the outline, or the middle of its
    // first edge when every corner is shared.
    bool holeInside(const TracedLoop& hole, const TracedLoop& outline) const {
        for (const std::int32_t v : hole.vertices) {
            bool shared = false;
            for (const std::int32_t w : outline.vertices) {
                shared = shared || w == v;
            }
            if (!shared) {
                return contains(outline, px(v), py(v));
            }
        }
        const std::int32_t a = hole.vertices[0];
        const std::int32_t b = hole.vertices[1 % hole.vertices.size()];
        return contains(outline, (px(a) + px(b)) / 2.0, (py(a) + py(b)) / 2.0);
    }

    // Each hole goes to the smallest outline around it.
    void group(std::vector<TracedRegion>& regions) {
        const std::size_t first = regions.size();
        for (const TracedLoop& outline : outlines_) {
            regions.push_back({sector_, outline, {}});
        }
        for (std::size_t h = 0; h < holes_.size(); ++h) {
            std::int32_t best = -1;
            for (std::size_t o = 0; o < outlines_.size(); ++o) {
                if (outlineAreas_[o] > holeAreas_[h] && holeInside(holes_[h], outlines_[o]) &&
                    (best < 0 ||
                     outlineAreas_[o] < outlineAreas_[static_cast<std::size_t>(best)])) {
                    best = static_cast<std::int32_t>(o);
                }
            }
            if (best < 0) {
                warnings_.add("", "sector " + std::to_string(sector_) + ": the loop through line " +
                                      std::to_string(holes_[h].lines[0]) +
                                      " has the sector outside it and nothing around it; left out");
                continue;
            }
            regions[first + static_cast<std::size_t>(best)].holes.push_back(holes_[h]);
        }
    }

    const std::vector<float>& x_;
    const std::vector<float>& y_;
    std::int32_t sector_;
    LevelWarnings& warnings_;
    std::vector<SideEdge> edges_;
    std::unordered_map<std::uint64_t, std::int32_t> byEnds_;
    std::vector<bool> removed_;
    std::vector<bool> used_;
    std::vector<TracedLoop> outlines_;
    std::vector<double> outlineAreas_;
    std::vector<TracedLoop> holes_;
    std::vector<double> holeAreas_;
};

} // namespace

std::vector<TracedRegion> traceSectorLoops(const std::vector<float>& x, const std::vector<float>& y,
                                           const std::vector<MapLine>& lines,
                                           std::int32_t sectorCount, LevelWarnings& warnings) {
    const std::vector<std::int32_t> place = samePlaceVertices(x, y);
    std::vector<SectorTracer> tracers;
    tracers.reserve(static_cast<std::size_t>(sectorCount));
    for (std::int32_t s = 0; s < sectorCount; ++s) {
        tracers.emplace_back(x, y, s, warnings);
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const MapLine& line = lines[i];
        const auto index = static_cast<std::int32_t>(i);
        const std::int32_t a = place[static_cast<std::size_t>(line.from)];
        const std::int32_t b = place[static_cast<std::size_t>(line.to)];
        if (a == b) {
            warnings.add("", "line " + std::to_string(i) + " has no length; left out");
            continue;
        }
        if (line.front == line.back) {
            continue; // inside one sector: no wall
        }
        // The sector lies to the left of each traced side: the front side's line is
        // walked backwards.
        if (line.front >= 0 && line.front < sectorCount) {
            tracers[static_cast<std::size_t>(line.front)].add(b, a, index, true);
        }
        if (line.back >= 0 && line.back < sectorCount) {
            tracers[static_cast<std::size_t>(line.back)].add(a, b, index, false);
        }
    }
    std::vector<TracedRegion> regions;
    for (SectorTracer& tracer : tracers) {
        tracer.trace(regions);
    }
    return regions;
}
