#include "RendererFixture.h"

#include "renderer/level/Level.h"

#include <cmath>

using ColumnDrawingTest = RendererFixture;

namespace {

constexpr std::int32_t column = 160; // slope 0: the ray runs straight along viewDir

} // namespace

TEST_F(ColumnDrawingTest, WorkedExampleFloorAndWallMeetAtDepthFour) {
    placeCamera(0.0f, 0.0f, 1.5f);
    EXPECT_EQ(projectRow(0.0f, 4.0f), 180);

    fillFlatCache(0, 0.0f);
    EXPECT_TRUE(flatCache[0].valid);
    EXPECT_EQ(flatCache[0].rowDepth[180], 1024); // 4.0 in 24.8
    EXPECT_EQ(flatCache[0].rowDepth[120], 0);

    // The wall's floor step at depth 4 advances 26214 / 65536 texture rows per
    // screen row, starting at texture row 0 on its top line.
    drawColumnPart(column, 0.0f, 4.0f, floorSide, 2, wallPiece, 37.4f, 0);
    EXPECT_EQ(clipTop, 0);
    EXPECT_EQ(clipBottom, 180);
    EXPECT_EQ(at(column, 179), untouched);
    for (std::int32_t n = 0; n < 60; ++n) {
        const Texel texel = texelAt(column, 180 + n);
        ASSERT_EQ(texel.texture, 2);
        ASSERT_EQ(texel.column, 37);
        ASSERT_EQ(texel.row, ((n * 26214) >> 16) & 63) << "screen row " << 180 + n;
    }
}

TEST_F(ColumnDrawingTest, SurfaceAtEyeHeightProjectsToTheCentreRow) {
    placeCamera(0.0f, 0.0f, 1.37f);
    for (float depth : {0.25f, 1.0f, 3.7f, 19.5f, 1000.0f, 1000000.0f}) {
        EXPECT_EQ(projectRow(1.37f, depth), 120) << depth;
    }
    // Above the eye is above the centre, below it below, nearer means farther off.
    EXPECT_LT(projectRow(2.0f, 4.0f), 120);
    EXPECT_GT(projectRow(0.0f, 4.0f), 120);
    EXPECT_GT(projectRow(0.0f, 2.0f), projectRow(0.0f, 4.0f));
}

TEST_F(ColumnDrawingTest, RowsOfADegenerateDepthAreHeldWithinTwoToThe24) {
    // A wall touching the eye: the offset would not fit in 32 bits unbounded.
    placeCamera(0.0f, 0.0f, 1.5f);
    EXPECT_EQ(projectRow(2.5f, 1.0e-20f), 120 - (1 << 24));
    EXPECT_EQ(projectRow(0.5f, 1.0e-20f), 120 + (1 << 24));
    // Inside the bound nothing is held: 1.0 above the eye at k = 2^17 is 2^17 x 120 rows.
    EXPECT_EQ(projectRow(2.5f, 1.3333334f / 131072.0f), 120 - 131072 * 120);
}

TEST_F(ColumnDrawingTest, ProjectionRoundsHalvesToEven) {
    // At depth 1.3333334 k is exactly 1, so the row offset is the height difference
    // times 120: 0.0625 gives 7.5 and 0.1875 gives 22.5.
    placeCamera(0.0f, 0.0f, 1.5f);
    EXPECT_EQ(projectRow(1.5625f, 1.3333334f), 120 - 8);
    EXPECT_EQ(projectRow(1.6875f, 1.3333334f), 120 - 22);
    EXPECT_EQ(projectRow(1.4375f, 1.3333334f), 120 + 8);

    // The offset is (height - eye) x k, then x 120, each product rounded to float.
    // At depth 16 (k = 0.083333336) a height 1.25 below the eye gives -12.500001 and
    // row 133; taking k x 120 first would give exactly -12.5 and row 132.
    EXPECT_EQ(projectRow(0.25f, 16.0f), 133);
    EXPECT_EQ(projectRow(2.75f, 16.0f), 107);
}

TEST_F(ColumnDrawingTest, FloorSpanShowsTheTexelUnderTheRowsWorldPoint) {
    placeCamera(0.3f, -0.7f, 1.5f);
    drawColumnPart(column, 0.0f, 4.0f, floorSide, 3, flatSpan, 0.0f, 0);
    EXPECT_EQ(clipBottom, 180);
    // Row 180 sees the floor 4 units ahead: x 4.3, y -0.7, 32 texels per unit,
    // image columns along x, rows along y, wrapping every 64 texels.
    const Texel texel = texelAt(column, 180);
    EXPECT_EQ(texel.texture, 3);
    EXPECT_EQ(texel.column, 137 & 63);
    EXPECT_EQ(texel.row, -23 & 63);
    // The bottom row sees the floor about 2.016 units ahead: x 2.316, texel 74.
    EXPECT_EQ(texelAt(column, 239).column, 74 & 63);
    EXPECT_EQ(texelAt(column, 239).row, -23 & 63);
    // Nothing above the floor line was touched.
    EXPECT_EQ(untouchedInColumn(column), 180);
}

TEST_F(ColumnDrawingTest, CentreRowDrawsTheTexelUnderTheCamera) {
    // A floor at eye height reaches row 120, whose cached depth is 0. Negative
    // camera coordinates wrap like positive ones: -0.01 is texel -1, i.e. 63.
    placeCamera(-0.01f, -3.0f, 1.5f);
    drawColumnPart(column, 1.5f, 4.0f, floorSide, 4, flatSpan, 0.0f, 2);
    EXPECT_EQ(clipBottom, 120);
    const Texel texel = texelAt(column, 120);
    EXPECT_EQ(texel.texture, 4);
    EXPECT_EQ(texel.column, 63);
    EXPECT_EQ(texel.row, 32); // -3.0 x 32 = -96, and -96 & 63 = 32
    // 2 world units are one 64-texel repeat, on either side of 0.
    for (float x : {-4.75f, -0.75f, 1.25f, 3.25f}) {
        placeCamera(x, 0.0f, 1.5f);
        drawColumnPart(column, 1.5f, 4.0f, floorSide, 3, flatSpan, 0.0f, 0);
        EXPECT_EQ(texelAt(column, 120).column, 40) << x;
    }
}

TEST_F(ColumnDrawingTest, CeilingStepStandsOnItsLine) {
    // Eye 1.5, ceiling line of height 3 at depth 4 is row 60: image row 63 sits just
    // above it and the rows above count down, 0.4 texture rows per screen row.
    placeCamera(0.0f, 0.0f, 1.5f);
    drawColumnPart(column, 3.0f, 4.0f, ceilingSide, 1, wallPiece, 5.0f, 0);
    EXPECT_EQ(clipTop, 60);
    EXPECT_EQ(clipBottom, 240);
    EXPECT_EQ(texelAt(column, 59).row, 63);
    EXPECT_EQ(texelAt(column, 57).row, 62);
    EXPECT_EQ(texelAt(column, 59).column, 5);
    EXPECT_EQ(texelAt(column, 59).texture, 1);
    EXPECT_EQ(at(column, 60), untouched);

    // With the first 30 rows closed, row 30 is 30 rows above the line: 12 texture
    // rows above row 0, image row 52.
    pixels.assign(screenPixels, untouched);
    openWindow(30, 240);
    drawColumnPart(column, 3.0f, 4.0f, ceilingSide, 1, wallPiece, 5.0f, 0);
    EXPECT_EQ(clipTop, 60);
    EXPECT_EQ(untouchedInColumn(column), 240 - 30);
    EXPECT_EQ(texelAt(column, 30).row, 52);
    EXPECT_EQ(texelAt(column, 59).row, 63);
}

TEST_F(ColumnDrawingTest, PieceOutsideTheWindowChangesNothing) {
    placeCamera(0.0f, 0.0f, 1.5f);
    openWindow(50, 100);
    drawColumnPart(column, 0.0f, 4.0f, floorSide, 3, flatSpan, 0.0f, 0);   // row 180
    drawColumnPart(column, 3.0f, 2.0f, ceilingSide, 5, flatSpan, 0.0f, 1); // row 0
    drawColumnPart(column, 0.0f, 4.0f, floorSide, 0, wallPiece, 1.0f, 0);
    drawColumnPart(column, 3.0f, 2.0f, ceilingSide, 0, wallPiece, 1.0f, 0);
    drawColumnPart(column, 0.0f, 4.0f, ceilingSide, 0, 3, 1.0f, 0); // no such kind
    EXPECT_EQ(clipTop, 50);
    EXPECT_EQ(clipBottom, 100);
    EXPECT_EQ(untouchedInColumn(column), 240);
}

TEST_F(ColumnDrawingTest, LineBeyondTheWindowFillsAndClosesIt) {
    placeCamera(0.0f, 0.0f, 1.5f);
    // A floor-side piece whose line (row 60) is above the window.
    openWindow(100, 200);
    drawColumnPart(column, 3.0f, 4.0f, floorSide, 3, flatSpan, 0.0f, 0);
    EXPECT_EQ(clipTop, 100);
    EXPECT_EQ(clipBottom, 100);
    EXPECT_EQ(untouchedInColumn(column), 240 - 100);

    // A ceiling-side piece whose line (row 180) is below the window.
    pixels.assign(screenPixels, untouched);
    openWindow(50, 150);
    drawColumnPart(column, 0.0f, 4.0f, ceilingSide, 2, wallPiece, 3.0f, 0);
    EXPECT_EQ(clipTop, 150);
    EXPECT_EQ(clipBottom, 150);
    EXPECT_EQ(untouchedInColumn(column), 240 - 100);
    EXPECT_EQ(texelAt(column, 50).texture, 2);
    EXPECT_EQ(texelAt(column, 149).texture, 2);
}

TEST_F(ColumnDrawingTest, SolidWallPiecesTogetherCloseTheColumn) {
    placeCamera(0.0f, 0.0f, 1.7f);
    for (float depth : {0.8f, 3.0f, 11.0f}) {
        pixels.assign(screenPixels, untouched);
        openWindow(30, 200);
        drawColumnPart(column, solidSector.floorHeight, depth, floorSide, 0, wallPiece, 9.0f, 0);
        drawColumnPart(column, solidSector.ceilingHeight, depth, ceilingSide, 0, wallPiece, 9.0f,
                       0);
        EXPECT_EQ(clipTop, clipBottom) << depth;
        for (std::int32_t y = 0; y < screenHeight; ++y) {
            const bool inside = y >= 30 && y < 200;
            ASSERT_EQ(at(column, y) != untouched, inside) << "depth " << depth << " row " << y;
            if (inside) {
                ASSERT_EQ(texelAt(column, y).texture, 0);
            }
        }
    }
}

TEST_F(ColumnDrawingTest, DegenerateDepthsStayInsideTheWindow) {
    placeCamera(0.0f, 0.0f, 1.5f);
    for (float depth : {0.0f, 1e-30f, -1e-30f, -0.5f}) {
        openWindow(10, 230);
        drawColumnPart(column, 0.0f, depth, floorSide, 0, wallPiece, 0.0f, 0);
        drawColumnPart(column, 3.0f, depth, ceilingSide, 0, wallPiece, 0.0f, 0);
        EXPECT_LE(0, clipTop);
        EXPECT_LE(clipTop, clipBottom);
        EXPECT_LE(clipBottom, 240);
    }
    EXPECT_EQ(at(column, 0), untouched);
    EXPECT_EQ(at(column, 239), untouched);
}

// A hit drawn at once, with the column's flat ray worked out before, is the four
// pieces drawn one by one: same pixels, same window, in any column and direction.
TEST_F(ColumnDrawingTest, HitDrawnAtOnceEqualsItsFourPieces) {
    const float turn = 0.6f;
    placeCamera(-1.3f, 2.2f, 1.62f, std::cos(turn), std::sin(turn));
    const Sector& room = sectors[1];
    const std::int32_t windows[][2] = {{0, screenHeight}, {30, 200}, {118, 119}};
    std::int32_t drawnRows = 0;
    for (std::int32_t x : {0, 37, 160, 319}) {
        for (float depth : {0.7f, 2.9f, 13.0f}) {
            for (const auto& window : windows) {
                for (std::int32_t s : {0, 1}) {
                    const Sector& behind = s == 0 ? room : solidSector;
                    const float u = 21.7f;
                    pixels.assign(screenPixels, untouched);
                    openWindow(window[0], window[1]);
                    drawColumnPart(x, sectors[s].floorHeight, depth, floorSide,
                                   sectors[s].floorTexture, flatSpan, 0.0f, 2 * s);
                    drawColumnPart(x, sectors[s].ceilingHeight, depth, ceilingSide,
                                   sectors[s].ceilingTexture, flatSpan, 0.0f, 2 * s + 1);
                    drawColumnPart(x, behind.floorHeight, depth, floorSide, behind.wallTexture,
                                   wallPiece, u, 0);
                    drawColumnPart(x, behind.ceilingHeight, depth, ceilingSide, behind.wallTexture,
                                   wallPiece, u, 0);
                    const std::vector<PackedPixel> expected = pixels;
                    drawnRows += screenHeight - untouchedInColumn(x);

                    pixels.assign(screenPixels, untouched);
                    ColumnState state = {pixels.data() + x, window[0], window[1]};
                    drawHit(state, flatColumnRay(x), depth, s, sectors[s], behind, u);
                    ASSERT_EQ(state.top, clipTop) << x << " " << depth << " " << s;
                    ASSERT_EQ(state.bottom, clipBottom) << x << " " << depth << " " << s;
                    ASSERT_EQ(pixels, expected) << x << " " << depth << " " << s;
                }
            }
        }
    }
    // The cases draw: flats, steps and whole solid walls.
    EXPECT_GT(drawnRows, 20 * screenHeight);
}
