#include "renderer/level/wad/SectorLoops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>

namespace {

struct Point {
    float x;
    float y;
};

// A small map and what its sectors must become: per region, its map sector, its
// outline's vertices as a set written from the lowest, then each hole likewise.
struct LoopCase {
    const char* name;
    std::vector<Point> points;
    std::vector<MapLine> lines;
    std::int32_t sectors;
    std::vector<std::string> regions; // "sector: outline | hole | hole"
    std::size_t warnings;
};

// A loop written from its lowest vertex, so any starting point compares equal.
std::string loopText(const TracedLoop& loop) {
    const auto lowest = std::min_element(loop.vertices.begin(), loop.vertices.end());
    std::vector<std::int32_t> turned(lowest, loop.vertices.end());
    turned.insert(turned.end(), loop.vertices.begin(), lowest);
    std::string text;
    for (const std::int32_t v : turned) {
        text += (text.empty() ? "" : " ") + std::to_string(v);
    }
    return text;
}

std::string regionText(const TracedRegion& region) {
    std::string text = std::to_string(region.mapSector) + ": " + loopText(region.outline);
    std::vector<std::string> holes;
    for (const TracedLoop& hole : region.holes) {
        holes.push_back(loopText(hole));
    }
    std::sort(holes.begin(), holes.end());
    for (const std::string& hole : holes) {
        text += " | " + hole;
    }
    return text;
}

// Squares: 0-3 the outer one (0,0)-(8,8), 4-7 a hole (2,2)-(6,6), 8-11 an island
// (3,3)-(5,5) inside the hole; lines run clockwise so their front faces inwards.
const std::vector<Point> nested = {{0, 0}, {0, 8}, {8, 8}, {8, 0}, {2, 2}, {2, 6},
                                   {6, 6}, {6, 2}, {3, 3}, {3, 5}, {5, 5}, {5, 3}};

std::vector<MapLine> square(std::int32_t first, std::int32_t front, std::int32_t back) {
    return {{first, first + 1, front, back},
            {first + 1, first + 2, front, back},
            {first + 2, first + 3, front, back},
            {first + 3, first, front, back}};
}

std::vector<MapLine> joined(std::vector<std::vector<MapLine>> parts) {
    std::vector<MapLine> all;
    for (const std::vector<MapLine>& part : parts) {
        all.insert(all.end(), part.begin(), part.end());
    }
    return all;
}

const LoopCase cases[] = {
    {"hole", nested, joined({square(0, 0, -1), square(4, -1, 0)}), 1, {"0: 0 3 2 1 | 4 5 6 7"}, 0},
    {"portal-hole",
     nested,
     joined({square(0, 0, -1), square(4, 1, 0)}),
     2,
     {"0: 0 3 2 1 | 4 5 6 7", "1: 4 7 6 5"},
     0},
    {"island-in-hole",
     nested,
     joined({square(0, 0, -1), square(4, 1, 0), square(8, 0, 1)}),
     2,
     {"0: 0 3 2 1 | 4 5 6 7", "0: 8 11 10 9", "1: 4 7 6 5 | 8 9 10 11"},
     0},
    // Two rooms of one sector side by side, not touching.
    {"two-regions",
     {{0, 0}, {0, 2}, {2, 2}, {2, 0}, {5, 0}, {5, 2}, {7, 2}, {7, 0}},
     joined({square(0, 0, -1), square(4, 0, -1)}),
     1,
     {"0: 0 3 2 1", "0: 4 7 6 5"},
     0},
    // A line with the sector on both sides splits nothing.
    {"self-referencing-line",
     {{0, 0}, {0, 2}, {2, 2}, {2, 0}},
     joined({square(0, 0, -1), {{0, 2, 0, 0}}}),
     1,
     {"0: 0 3 2 1"},
     0},
    // A pillar touching the outer wall at one corner: outline and hole share vertex 4.
    {"touching-hole",
     {{0, 0}, {0, 8}, {8, 8}, {8, 0}, {4, 8}, {3, 5}, {5, 5}},
     {{0, 1, 0, -1},
      {1, 4, 0, -1},
      {4, 2, 0, -1},
      {2, 3, 0, -1},
      {3, 0, 0, -1},
      {4, 6, -1, 0},
      {6, 5, -1, 0},
      {5, 4, -1, 0}},
     1,
     {"0: 0 3 2 4 1 | 4 6 5"},
     0},
    // A zero-length line (a point given twice), a line repeating another and a
    // side leading nowhere: all left out, each noted, the room still closes.
    {"faults",
     {{0, 0}, {0, 2}, {2, 2}, {2, 0}, {2, 2}, {1, 1}},
     joined({square(0, 0, -1), {{2, 4, 0, -1}, {1, 2, 0, -1}, {0, 5, -1, 0}}}),
     1,
     {"0: 0 3 2 1"},
     3},
    // A room whose wall has a gap closes no loop: nothing is drawn of it.
    {"unclosed",
     {{0, 0}, {0, 2}, {2, 2}, {2, 0}},
     {{0, 1, 0, -1}, {1, 2, 0, -1}, {2, 3, 0, -1}},
     1,
     {},
     1},
};

class SectorLoopsTest : public ::testing::TestWithParam<LoopCase> {};

TEST_P(SectorLoopsTest, TracesTheRegionsOfEachSector) {
    const LoopCase& c = GetParam();
    std::vector<float> x;
    std::vector<float> y;
    for (const Point& p : c.points) {
        x.push_back(p.x);
        y.push_back(p.y);
    }
    LevelWarnings warnings;
    const std::vector<TracedRegion> regions = traceSectorLoops(x, y, c.lines, c.sectors, warnings);
    std::vector<std::string> found;
    for (const TracedRegion& region : regions) {
        found.push_back(regionText(region));
        // Every edge names the line it lies on, walked the way the side faces.
        for (std::size_t i = 0; i < region.outline.vertices.size(); ++i) {
            const MapLine& line = c.lines[static_cast<std::size_t>(region.outline.lines[i])];
            const std::int32_t from = region.outline.vertices[i];
            EXPECT_EQ(region.outline.frontSides[i] ? line.front : line.back, region.mapSector);
            EXPECT_TRUE(from == line.from || from == line.to ||
                        (c.points[static_cast<std::size_t>(from)].x ==
                             c.points[static_cast<std::size_t>(line.to)].x &&
                         c.points[static_cast<std::size_t>(from)].y ==
                             c.points[static_cast<std::size_t>(line.to)].y));
        }
    }
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, c.regions);
    EXPECT_EQ(warnings.all().size(), c.warnings);
}

INSTANTIATE_TEST_SUITE_P(Maps, SectorLoopsTest, ::testing::ValuesIn(cases), [](const auto& info) {
    std::string name = info.param.name;
    std::replace(name.begin(), name.end(), '-', '_');
    return name;
});

} // namespace
