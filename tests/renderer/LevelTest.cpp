#include "RendererFixture.h"

#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

using LevelTest = RendererFixture;

TEST_F(LevelTest, RoomsAreTheBuiltInLevel) {
    const float points[7][2] = {{-10, 5}, {-10, -5}, {10, -5}, {10, 5}, {8, 0}, {2, 4}, {2, -4}};
    for (int i = 0; i < 7; ++i) {
        EXPECT_TRUE(vertices[i].x == points[i][0] && vertices[i].y == points[i][1] &&
                    vertices[i].z == 0.0f)
            << "P" << i;
    }
    // Walls as (start vertex, end vertex, neighbour), in list order.
    const int walls0[7][3] = {{0, 1, -1}, {1, 2, -1}, {2, 3, -1}, {3, 0, -1},
                              {5, 4, 1},  {6, 5, 1},  {4, 6, 1}};
    const int walls1[3][3] = {{4, 5, 0}, {5, 6, 0}, {6, 4, 0}};
    const auto expectWalls = [](const Sector& sector, const int(*walls)[3], int count) {
        ASSERT_EQ(sector.wallCount, count);
        for (int i = 0; i < count; ++i) {
            const Wall& w = sector.walls[i];
            const Vec3 a = vertices[walls[i][0]], b = vertices[walls[i][1]];
            EXPECT_TRUE(w.a.x == a.x && w.a.y == a.y && w.a.z == 0.0f && w.b.x == b.x &&
                        w.b.y == b.y && w.b.z == 0.0f)
                << "wall " << i;
            EXPECT_EQ(w.neighbour, walls[i][2]) << "wall " << i;
        }
    };
    expectWalls(sectors[0], walls0, 7);
    expectWalls(sectors[1], walls1, 3);

    const Sector& s0 = sectors[0];
    const Sector& s1 = sectors[1];
    EXPECT_TRUE(s0.floorHeight == 0.0f && s0.ceilingHeight == 3.0f && s0.wallTexture == 1 &&
                s0.floorTexture == 3 && s0.ceilingTexture == 5);
    EXPECT_TRUE(s1.floorHeight == -0.2f && s1.ceilingHeight == 2.5f && s1.wallTexture == 2 &&
                s1.floorTexture == 4 && s1.ceilingTexture == 6);
    EXPECT_TRUE(solidSector.wallCount == 0 && solidSector.walls == nullptr &&
                solidSector.floorHeight == 0.0f && solidSector.ceilingHeight == 0.0f &&
                solidSector.wallTexture == 0);
}

TEST_F(LevelTest, WallTexturesAreStoredColumnByColumn) {
    for (std::int32_t index = 0; index < textureCount; ++index) {
        const Texture& texture = textures[index];
        EXPECT_TRUE(texture.width == 64 && texture.height == 64);
        ASSERT_NE(texture.pixels, nullptr);
        // Pixel 1 is image row 1, column 0 for the three walls; row 0, column 1 else.
        EXPECT_EQ(texture.pixels[1], index < 3 ? codedTexel(index, 0, 1) : codedTexel(index, 1, 0));
    }
}

TEST_F(LevelTest, FreeingTheLevelLeavesThePixelsWithTheRegistry) {
    EXPECT_EQ(HKCount(), 7);
    freeLevel();
    EXPECT_TRUE(textures == nullptr && sectors == nullptr && vertices == nullptr);
    EXPECT_EQ(HKCount(), 7);
    HKFreeAll();
    EXPECT_EQ(HKCount(), 0);
    freeLevel(); // a second time is harmless
}
