#include "RendererFixture.h"

#include "renderer/draw/CurrentViewColumns.h"
#include "renderer/draw/Traversal.h"

#include <cmath>

namespace {

Wall wallFrom(float ax, float ay, float bx, float by, std::int32_t neighbour = -1) {
    return {Vec3(ax, ay, 0.0f), Vec3(bx, by, 0.0f), neighbour};
}

Ray rayFrom(float x, float y, float dx, float dy) {
    return {Vec3(x, y, 1.5f), Vec3(dx, dy, 0.0f)};
}

} // namespace

TEST(IntersectWallTest, HitsFromTheFrontWithThePositionAlongTheWall) {
    const Wall wall = wallFrom(4.0f, -1.0f, 4.0f, 3.0f); // faces -x
    WallHit hit;
    ASSERT_TRUE(intersectWall(rayFrom(0.0f, 0.0f, 1.0f, 0.5f), wall, hit));
    EXPECT_FLOAT_EQ(hit.point.x, 4.0f);
    EXPECT_FLOAT_EQ(hit.point.y, 2.0f);
    EXPECT_FLOAT_EQ(hit.along, 3.0f);
    // Both end points belong to the wall; just beyond them does not.
    ASSERT_TRUE(intersectWall(rayFrom(0.0f, -1.0f, 1.0f, 0.0f), wall, hit));
    EXPECT_EQ(hit.along, 0.0f);
    ASSERT_TRUE(intersectWall(rayFrom(0.0f, 3.0f, 1.0f, 0.0f), wall, hit));
    EXPECT_EQ(hit.along, 4.0f);
    EXPECT_FALSE(intersectWall(rayFrom(0.0f, 3.01f, 1.0f, 0.0f), wall, hit));
    EXPECT_FALSE(intersectWall(rayFrom(0.0f, -1.01f, 1.0f, 0.0f), wall, hit));
}

TEST(IntersectWallTest, PositionAlongTheWallKeepsItsOrderOfOperations) {
    // g x (u . direction) / f + u . (origin - a), left to right, every step rounded
    // to float: 0.488788366 here, where dividing by f before multiplying by g would
    // give 0.488788128. Frames depend on these last bits.
    const Wall wall = wallFrom(4.0f, -3.0f, 4.25f, 5.0f);
    WallHit hit;
    ASSERT_TRUE(intersectWall(rayFrom(0.0f, 0.5f, 1.0f, -0.75f), wall, hit));
    EXPECT_EQ(hit.along, 0.488788366f);
    EXPECT_EQ(hit.point.x, 4.01526737f);
    EXPECT_EQ(hit.point.y, -2.51145005f);
}

TEST(IntersectWallTest, MissesFromBehindAwayAndAlong) {
    const Wall wall = wallFrom(4.0f, -1.0f, 4.0f, 3.0f);
    WallHit hit;
    EXPECT_FALSE(intersectWall(rayFrom(0.0f, 0.0f, 1.0f, 0.0f), wallFrom(4.0f, 3.0f, 4.0f, -1.0f),
                               hit));                                         // its back side
    EXPECT_FALSE(intersectWall(rayFrom(6.0f, 0.0f, -1.0f, 0.0f), wall, hit)); // from behind
    EXPECT_FALSE(intersectWall(rayFrom(6.0f, 0.0f, 1.0f, 0.0f), wall, hit));  // behind, away
    EXPECT_FALSE(intersectWall(rayFrom(0.0f, 0.0f, -1.0f, 0.0f), wall, hit)); // front, away
    EXPECT_FALSE(intersectWall(rayFrom(0.0f, 0.0f, 0.0f, 1.0f), wall, hit));  // parallel
}

using TraversalTest = RendererFixture;

TEST_F(TraversalTest, SolidWallFinishesTheColumnInOneStep) {
    placeCamera(0.0f, 0.0f, 1.5f, -1.0f, 0.0f);
    renderColumn(7, 0, rayFrom(0.0f, 0.0f, -1.0f, 0.0f)); // towards x = -10
    EXPECT_EQ(lastColumnVisits, 1);
    EXPECT_EQ(clipTop, clipBottom);
    EXPECT_EQ(untouchedInColumn(7), 0);
    // Solid walls take texture 0 whichever sector lists them.
    EXPECT_EQ(texelAt(7, 120).texture, 0);
    EXPECT_EQ(clipTop, projectRow(0.0f, 10.0f)); // pieces meet on the floor line
}

TEST_F(TraversalTest, PortalChainVisitsTheTriangleAndComesBack) {
    // Along y = 0.5 from x = -3: into the triangle at x = 2 (depth 5), out through
    // P4 -> P5 at x = 7.25, on to the outer wall at x = 10.
    placeCamera(-3.0f, 0.5f, 1.5f);
    sectors[1].floorHeight = 0.5f;
    sectors[1].ceilingHeight = 3.0f;
    renderColumn(160, 0, rayFrom(-3.0f, 0.5f, 1.0f, 0.0f));
    EXPECT_EQ(lastColumnVisits, 3);
    EXPECT_EQ(clipTop, clipBottom);
    EXPECT_EQ(untouchedInColumn(160), 0);
    // The triangle's raised floor step, seen from sector 0, uses texture 2.
    const std::int32_t stepRow = projectRow(0.5f, 5.0f);
    EXPECT_EQ(texelAt(160, stepRow).texture, 2);
    EXPECT_EQ(texelAt(160, stepRow).row, 0);
    // Its floor is sector 1's floor texture (4), its ceiling sector 0's (5, both 3.0).
    EXPECT_EQ(texelAt(160, stepRow - 1).texture, 4);
    EXPECT_EQ(texelAt(160, 0).texture, 5);
}

TEST_F(TraversalTest, FacesOfTheOuterRoomSeenFromTheTriangleUseTexture1) {
    // From inside the triangle at x = 6, looking along -x at the wall x = 2 (depth
    // 4): sector 0's floor (0) is a step up, rows 180 to 199, and its ceiling (3) a
    // step down, rows 40 to 59.
    placeCamera(6.0f, 0.0f, 1.5f, -1.0f, 0.0f);
    sectors[1].floorHeight = -0.5f;
    sectors[1].ceilingHeight = 3.5f;
    renderColumn(160, 1, rayFrom(6.0f, 0.0f, -1.0f, 0.0f));
    EXPECT_EQ(lastColumnVisits, 2);
    EXPECT_EQ(untouchedInColumn(160), 0);
    for (std::int32_t y : {180, 199, 40, 59}) {
        EXPECT_EQ(texelAt(160, y).texture, 1) << y;
    }
    EXPECT_EQ(texelAt(160, 200).texture, 4); // sector 1's floor below the step
    EXPECT_EQ(texelAt(160, 39).texture, 6);  // and its ceiling above
}

TEST_F(TraversalTest, CrossedPortalsTwinIsNotHit) {
    // Crossing sector 0's wall 5 (P6 -> P5, x = 2) at y = 1 into the triangle.
    const Ray entering = rayFrom(0.0f, 1.0f, 1.0f, 0.0f);
    WallHit hit;
    ASSERT_TRUE(intersectWall(entering, sectors[0].walls[5], hit));
    const Ray inside = {hit.point, entering.direction};
    const Wall& twin = sectors[1].walls[1]; // P5 -> P6
    EXPECT_FALSE(intersectWall(inside, twin, hit));
    // The ray goes on and leaves through the triangle's wall P4 -> P5.
    EXPECT_FALSE(intersectWall(inside, sectors[1].walls[2], hit));
    EXPECT_TRUE(intersectWall(inside, sectors[1].walls[0], hit));
    EXPECT_GT(hit.point.x, 2.0f);
}

TEST_F(TraversalTest, EqualDepthsKeepTheEarlierWall) {
    // Two solid walls meet at (4, 0) on the ray; the first listed is drawn. Its
    // position along the wall tells which one it was: 0 for the upper, 1 (texture
    // column 16) for the lower.
    Wall upperFirst[] = {wallFrom(4.0f, 0.0f, 4.0f, 1.0f), wallFrom(4.0f, -1.0f, 4.0f, 0.0f)};
    Wall lowerFirst[] = {upperFirst[1], upperFirst[0]};
    placeCamera(0.0f, 0.0f, 1.5f);
    const Sector saved = sectors[0];
    for (Wall* walls : {upperFirst, lowerFirst}) {
        sectors[0].walls = walls;
        sectors[0].wallCount = 2;
        openWindow();
        renderColumn(160, 0, rayFrom(0.0f, 0.0f, 1.0f, 0.0f));
        EXPECT_EQ(texelAt(160, 120).texture, 0);
        EXPECT_EQ(texelAt(160, 120).column, walls == upperFirst ? 0 : 16);
    }
    sectors[0] = saved;
}

TEST_F(TraversalTest, SectorWithoutWallsDrawsNothing) {
    placeCamera(0.0f, 0.0f, 1.5f);
    const Sector saved = sectors[1];
    sectors[1].wallCount = 0;
    openWindow(20, 220);
    renderColumn(33, 1, rayFrom(4.0f, 0.0f, 1.0f, 0.0f));
    EXPECT_EQ(clipTop, 20);
    EXPECT_EQ(clipBottom, 220);
    EXPECT_EQ(untouchedInColumn(33), 240);
    sectors[1] = saved;
}

TEST_F(TraversalTest, RayThroughASharedPortalEndPointEnds) {
    // Along y = 4 the ray grazes the triangle at P5, where sector 0's portal P6 -> P5
    // and sector 1's portal P4 -> P5 meet: each hands the ray to the other at the
    // same point and depth, so only the visit bound ends the column.
    placeCamera(-4.0f, 4.0f, 1.5f);
    renderColumn(160, 0, rayFrom(-4.0f, 4.0f, 1.0f, 0.0f));
    EXPECT_EQ(lastColumnVisits, maxSectorVisits);
    EXPECT_LE(0, clipTop);
    EXPECT_LE(clipTop, clipBottom);
    EXPECT_LE(clipBottom, 240);
    // What was drawn is drawn at the corner's depth of 6: the floor line there.
    EXPECT_EQ(clipBottom, projectRow(0.0f, 6.0f));
}

TEST_F(TraversalTest, RayThroughASharedPortalEndPointGoesOnInALevelWalkedFromItsStart) {
    // The same ray where no camera script is pinned: it goes on past P5 in the
    // room beyond the corner and ends on the outer wall, the column filled.
    placeCamera(-4.0f, 4.0f, 1.5f);
    levelStart.scripted = false;
    renderColumn(160, 0, rayFrom(-4.0f, 4.0f, 1.0f, 0.0f));
    levelStart.scripted = true;
    EXPECT_LT(lastColumnVisits, 8);
    EXPECT_EQ(clipTop, clipBottom);
    EXPECT_EQ(untouchedInColumn(160), 0);
    EXPECT_EQ(texelAt(160, 120).texture, 0); // the outer room's solid wall
}

TEST(IntersectWallTest, MovedWallIsHitWhereItNowIs) {
    Wall wall = wallFrom(0.0f, 0.0f, 3.0f, 4.0f);
    EXPECT_EQ(wall.length, 5.0f);
    EXPECT_EQ(wall.unit.x, 0.6f);
    EXPECT_EQ(wall.unit.y, 0.8f);
    EXPECT_EQ(wall.normal.x, -0.8f);
    EXPECT_EQ(wall.normal.y, 0.6f);
    // Moved to x = 4, facing -x: the ray along +x from the origin now meets it at
    // (4, 0.5); with the old geometry it would have missed or hit elsewhere.
    wall.setEnds(Vec3(4.0f, -1.0f, 0.0f), Vec3(4.0f, 3.0f, 0.0f));
    WallHit hit;
    ASSERT_TRUE(intersectWall(rayFrom(0.0f, 0.5f, 1.0f, 0.0f), wall, hit));
    EXPECT_EQ(hit.point.x, 4.0f);
    EXPECT_EQ(hit.point.y, 0.5f);
    EXPECT_EQ(hit.along, 1.5f);
}
