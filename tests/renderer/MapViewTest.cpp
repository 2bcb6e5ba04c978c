#include "RendererFixture.h"

#include "renderer/level/Level.h"
#include "renderer/output/MapView.h"

#include <vector>

// The built-in level: a 20 x 10 box around the triangle room, whose left portal
// runs along x = 2 from y = -4 to 4. Fitted into 320 x 240 with a margin of 12
// pixels, a unit is 14.8 pixels and the plan's origin is pixel (160, 120).
using MapViewTest = RendererFixture;

TEST_F(MapViewTest, WallsPortalsAndTheEyeLandWhereThePlanPutsThem) {
    std::vector<PackedPixel> plan(screenPixels, 0);
    const MapView map(sectors, sectorCount, screenWidth, screenHeight);
    map.draw(plan.data(), {-4.0f, 0.0f, 0.0f}, false);
    const struct {
        std::int32_t column, row;
        PackedPixel colour;
        const char* what;
    } expected[] = {
        {12, 120, MapView::solidWall, "left wall, x = -10"},
        {308, 60, MapView::solidWall, "right wall, x = 10"},
        {100, 46, MapView::solidWall, "top wall, y = 5"},
        {100, 194, MapView::solidWall, "bottom wall, y = -5"},
        {190, 120, MapView::portal, "triangle's left portal, x = 2"},
        {101, 120, MapView::eye, "eye at (-4, 0)"},
        {111, 110, MapView::fieldOfView, "left edge of the view, 45 degrees up"},
        {111, 130, MapView::fieldOfView, "right edge of the view, 45 degrees down"},
        {60, 80, MapView::background, "inside the box"},
        {4, 4, MapView::background, "in the margin"},
    };
    for (const auto& e : expected) {
        EXPECT_EQ(plan[e.row * screenWidth + e.column], e.colour) << e.what;
    }
}

TEST_F(MapViewTest, OverThePictureTheLinesStandOnADarkenedFrame) {
    std::vector<PackedPixel> picture(screenPixels, 0xFF8040C0u);
    const MapView map(sectors, sectorCount, screenWidth, screenHeight);
    map.draw(picture.data(), {-4.0f, 0.0f, 0.0f}, true);
    EXPECT_EQ(picture[80 * screenWidth + 60], 0xFF201030u);
    EXPECT_EQ(picture[120 * screenWidth + 12], MapView::solidWall);
    EXPECT_EQ(picture[120 * screenWidth + 190], MapView::portal);
}

TEST_F(MapViewTest, TheWholePlanFitsBuffersOfAnyShape) {
    // A tall buffer: the box's width decides the scale, the plan sits centred.
    for (const auto& size : {std::pair<int, int>{100, 400}, {640, 480}, {1000, 60}}) {
        const MapView map(sectors, sectorCount, size.first, size.second);
        std::int32_t left, top, right, bottom;
        map.toPixel(-10.0f, 5.0f, left, top);
        map.toPixel(10.0f, -5.0f, right, bottom);
        const int margin = std::min(size.first, size.second) / 20;
        EXPECT_GE(left, margin - 1) << size.first;
        EXPECT_GE(top, margin - 1) << size.first;
        EXPECT_LE(right, size.first - margin) << size.first;
        EXPECT_LE(bottom, size.second - margin) << size.first;
        // Centred along the longer way, touching the margin along the other.
        EXPECT_NEAR(left + right, size.first, 1) << size.first;
        EXPECT_NEAR(top + bottom, size.second, 1) << size.first;
        EXPECT_TRUE(left <= margin + 1 || top <= margin + 1) << size.first;
    }
}

// The author's plan at 320 x 240 (14.8 pixels a unit): grid lines every 2 units,
// brighter through 0, under the walls; each sector's number at its middle.
TEST_F(MapViewTest, ThePlanHasAGridOfWholeUnitsAndTheSectorNumbers) {
    std::vector<PackedPixel> plan(screenPixels, 0);
    const MapView map(sectors, sectorCount, screenWidth, screenHeight);
    EXPECT_EQ(map.gridStep(), 2.0f);
    map.drawPlan(plan.data(), {-4.0f, 0.0f, 0.0f});
    EXPECT_EQ(plan[60 * screenWidth + 71], MapView::grid) << "x = -6";
    EXPECT_EQ(plan[60 * screenWidth + 72], MapView::background) << "beside x = -6";
    EXPECT_EQ(plan[60 * screenWidth + 160], MapView::axis) << "x = 0";
    EXPECT_EQ(plan[120 * screenWidth + 12], MapView::solidWall) << "the wall over the grid";
    EXPECT_EQ(plan[120 * screenWidth + 190], MapView::portal);
    // The triangle room (sector 1) has its number near its centroid, (4, 0).
    int labelled = 0;
    for (int row = 114; row <= 126; ++row) {
        for (int column = 213; column <= 225; ++column) {
            labelled += plan[row * screenWidth + column] == MapView::label ? 1 : 0;
        }
    }
    EXPECT_EQ(labelled, 8) << "the 8 dots of a 1";
    EXPECT_EQ(MapView(sectors, sectorCount, 3840, 2160).gridStep(), 1.0f);
    EXPECT_EQ(MapView(sectors, sectorCount, 160, 120).gridStep(), 5.0f);
}
