#include "TestLevels.h"

#include "RendererFixture.h"
#include "renderer/draw/FrameLoop.h"
#include "renderer/draw/ScreenSize.h"
#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"

#include <gtest/gtest.h>

#include <fstream>

std::filesystem::path writeTestLevel(const std::string& name, const std::string& json) {
    const std::filesystem::path path = writeCodedTextures("level-" + name) / (name + ".json");
    std::ofstream(path, std::ios::binary) << json;
    return path;
}

std::string corridorLevel(int sectors, int vertices, double sectorLength) {
    std::string text = R"({ "duskhall-level": 1,
  "textures": { "side": "wall1.png", "end": "wall3.png", "floor": "floor1.png",
                "ceiling": "floor2.png" },
  "vertices": [)";
    for (int i = 0; i <= sectors; ++i) {
        const std::string x = std::to_string(i * sectorLength);
        text += (i == 0 ? "" : ", ") + ("[" + x + ", -1], [") + x + ", 1]";
    }
    for (int k = 2 * (sectors + 1); k < vertices; ++k) {
        text += ", [-5, " + std::to_string(k % 1000) + "]";
    }
    text += "],\n  \"sectors\": [";
    for (int i = 0; i < sectors; ++i) {
        const int b = 2 * i;
        text +=
            (i == 0 ? "\n" : ",\n") + ("{ \"outline\": [" + std::to_string(b)) + ", " +
            std::to_string(b + 2) + ", " + std::to_string(b + 3) + ", " + std::to_string(b + 1) +
            "], \"floor\": 0, \"ceiling\": 3, \"wall-texture\": \"side\", "
            "\"floor-texture\": \"floor\", \"ceiling-texture\": \"ceiling\"" +
            (i == sectors - 1 ? ", \"sides\": [{ \"edge\": 1, \"texture\": \"end\" }]" : "") + " }";
    }
    text += "],\n  \"start\": { \"x\": 0.5, \"y\": 0, \"angle\": 0 } }\n";
    return text;
}

std::vector<PackedPixel> drawFirstFrame(const std::filesystem::path& path) {
    std::string error;
    EXPECT_TRUE(loadLevel(path.string(), error)) << error;
    std::vector<PackedPixel> frame(screenPixels, 0);
    prepareFrames(frame.data());
    drawFrame();
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
    return frame;
}
