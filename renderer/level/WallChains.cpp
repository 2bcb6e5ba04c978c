#include "renderer/level/WallChains.h"

#include <cmath>

namespace {

struct Step {
    double x, y;
};

class LoopChains {
  public:
    LoopChains(const LevelDescription& level, const SectorDescription& sector,
               const std::vector<std::int32_t>& neighbours, std::vector<WallChainPlace>& places)
        : level_(level), sector_(sector), neighbours_(neighbours), places_(places),
          restarts_(places.size(), false) {
        for (const SideDescription& side : sector.sides) {
            restarts_[static_cast<std::size_t>(side.edge)] = side.givesOffset();
        }
    }

    // The loop's edges first to first + size - 1, the last one followed by the first.
    void chain(std::int32_t first, std::int32_t size) {
        const auto at = [&](std::int32_t i) { return first + (i % size + size) % size; };
        std::int32_t begin = 0;
        while (begin < size && continues(at(begin - 1), at(begin))) {
            ++begin;
        }
        if (begin == size) {
            return; // one straight run round a loop cannot be: leave every edge alone
        }
        std::vector<std::int32_t> run;
        for (std::int32_t i = begin; i < begin + size; ++i) {
            const std::int32_t edge = at(i);
            if (!run.empty() && !(continues(at(i - 1), edge) && sameWay(run.front(), edge))) {
                place(run);
                run.clear();
            }
            run.push_back(edge);
        }
        place(run);
    }

  private:
    Step point(std::int32_t vertex) const {
        const auto v = static_cast<std::size_t>(vertex);
        return {level_.vertexX[v], level_.vertexY[v]};
    }
    Step start(std::int32_t edge) const {
        std::int32_t from = 0, to = 0;
        sector_.edgeEnds(edge, from, to);
        return point(from);
    }
    Step end(std::int32_t edge) const {
        std::int32_t from = 0, to = 0;
        sector_.edgeEnds(edge, from, to);
        return point(to);
    }
    Step direction(std::int32_t edge) const {
        const Step a = start(edge), b = end(edge);
        return {b.x - a.x, b.y - a.y};
    }
    static double distance(Step p, Step q) {
        // sqrt rounds exactly on every build, so every build places the runs alike.
        return std::sqrt((q.x - p.x) * (q.x - p.x) + (q.y - p.y) * (q.y - p.y));
    }

    bool sameWay(std::int32_t first, std::int32_t second) const {
        const Step u = direction(first), v = direction(second);
        const double lengths = std::sqrt((u.x * u.x + u.y * u.y) * (v.x * v.x + v.y * v.y));
        return u.x * v.x + u.y * v.y > 0.0 &&
               std::fabs(u.x * v.y - u.y * v.x) <= wallChainSine * lengths;
    }
    bool solid(std::int32_t edge) const { return neighbours_[static_cast<std::size_t>(edge)] < 0; }
    bool continues(std::int32_t previous, std::int32_t edge) const {
        return previous != edge && solid(previous) && solid(edge) &&
               !restarts_[static_cast<std::size_t>(edge)] && sameWay(previous, edge);
    }

    void place(const std::vector<std::int32_t>& run) {
        const Step head = start(run.front()), tail = end(run.back());
        for (const std::int32_t edge : run) {
            WallChainPlace& at = places_[static_cast<std::size_t>(edge)];
            at.head = run.front();
            at.before =
                edge == run.front() ? 0.0f : static_cast<float>(distance(head, start(edge)));
            at.after = edge == run.back() ? 0.0f : static_cast<float>(distance(end(edge), tail));
        }
    }

    const LevelDescription& level_;
    const SectorDescription& sector_;
    const std::vector<std::int32_t>& neighbours_;
    std::vector<WallChainPlace>& places_;
    std::vector<bool> restarts_;
};

} // namespace

std::vector<WallChainPlace> chainWalls(const LevelDescription& level,
                                       const SectorDescription& sector,
                                       const std::vector<std::int32_t>& neighbours) {
    std::vector<WallChainPlace> places(static_cast<std::size_t>(sector.edgeCount()));
    for (std::size_t k = 0; k < places.size(); ++k) {
        places[k].head = static_cast<std::int32_t>(k);
    }
    LoopChains chains(level, sector, neighbours, places);
    std::int32_t first = 0;
    chains.chain(first, static_cast<std::int32_t>(sector.outline.size()));
    first += static_cast<std::int32_t>(sector.outline.size());
    for (const std::vector<std::int32_t>& hole : sector.holes) {
        chains.chain(first, static_cast<std::int32_t>(hole.size()));
        first += static_cast<std::int32_t>(hole.size());
    }
    return places;
}
