#include "renderer/level/BuiltInLevel.h"

LevelDescription builtInLevel() {
    LevelDescription level;
    level.name = "Duskhall";
    for (const char* name : {"wall1", "wall2", "wall3", "floor1", "floor2", "floor3", "floor4"}) {
        level.textures.push_back({name, std::string(name) + ".png"});
    }
    level.vertexX = {-10.0f, -10.0f, 10.0f, 10.0f, 8.0f, 2.0f, 2.0f};
    level.vertexY = {5.0f, -5.0f, -5.0f, 5.0f, 0.0f, 4.0f, -4.0f};

    SectorDescription hall;
    hall.outline = {0, 1, 2, 3};
    hall.holes = {{4, 6, 5}};
    hall.floor = 0.0f;
    hall.ceiling = 3.0f;
    // Its steps, seen from the triangle, are wall2; its own solid walls wall1.
    hall.wallTexture = "wall2";
    hall.floorTexture = "floor1";
    hall.ceilingTexture = "floor3";
    for (std::int32_t edge = 0; edge < 4; ++edge) {
        SideDescription side;
        side.edge = edge;
        side.texture = "wall1";
        hall.sides.push_back(side);
    }

    SectorDescription triangle;
    triangle.outline = {4, 5, 6};
    triangle.floor = -0.2f;
    triangle.ceiling = 2.5f;
    triangle.wallTexture = "wall3";
    triangle.floorTexture = "floor2";
    triangle.ceilingTexture = "floor4";
    // The room keeps its height of 2.5 while its floor rises and falls.
    triangle.motion = {true, 2.0f, 1.9f, -0.5f, 2.0f};

    level.sectors = {hall, triangle};
    level.startX = -2.0f;
    level.startY = 0.0f;
    level.startAngle = 0.0f;
    level.scriptedCamera = true;
    return level;
}
