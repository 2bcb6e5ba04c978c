#include "renderer/level/PngLoader.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

const char* const textureFiles[] = {"wall1.png",  "wall2.png",  "wall3.png", "floor1.png",
                                    "floor2.png", "floor3.png", "floor4.png"};

std::vector<char> contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::string assetPath(const char* name) {
    return std::string(DUSKHALL_SOURCE_DIR) + "/assets/" + name;
}

// The committed textures are the generators' output; editing one by hand or
// changing a generator without regenerating them shows up here.
TEST(TextureAssets, GeneratorsReproduceTheCommittedFiles) {
    const struct {
        const char* generator;
        const char* folder;
        std::vector<const char*> files;
    } sets[] = {
        {MAKE_TEXTURES_PATH, "assets", {std::begin(textureFiles), std::end(textureFiles)}},
        {MAKE_LANTERN_TEXTURES_PATH,
         "levels",
         {"lantern-sky.png", "lantern-grate.png", "lantern-panels.png", "lantern-trim.png",
          "lantern-lamp-a.png", "lantern-lamp-b.png", "lantern-lamp-c.png", "lantern-barrel.png",
          "lantern-hanging.png"}},
    };
    for (const auto& set : sets) {
        TempDir dir;
        const std::string command =
            std::string("\"") + set.generator + "\" \"" + dir.path().string() + "\"";
        ASSERT_EQ(std::system(command.c_str()), 0) << command;
        for (const char* name : set.files) {
            SCOPED_TRACE(name);
            const std::vector<char> generated = contents(dir.file(name));
            ASSERT_FALSE(generated.empty());
            EXPECT_TRUE(generated ==
                        contents(std::string(DUSKHALL_SOURCE_DIR) + "/" + set.folder + "/" + name));
        }
    }
}

TEST(TextureAssets, EveryTextureLoadsAsADistinctImage) {
    std::vector<std::vector<PackedPixel>> images;
    for (const char* name : textureFiles) {
        SCOPED_TRACE(name);
        std::int32_t width = 0;
        std::int32_t height = 0;
        PackedPixel* pixels = nullptr;
        ASSERT_NE(loadPng(assetPath(name).c_str(), width, height, pixels), nullptr);
        EXPECT_EQ(width, 64);
        EXPECT_EQ(height, 64);
        images.emplace_back(pixels, pixels + 64 * 64);
        std::free(pixels);
        // A texture of a single colour would hide the texel addressing.
        const std::vector<PackedPixel>& image = images.back();
        EXPECT_GT(
            std::count_if(image.begin(), image.end(), [&](PackedPixel p) { return p != image[0]; }),
            64 * 64 / 2);
    }
    for (std::size_t i = 0; i < images.size(); ++i) {
        for (std::size_t j = i + 1; j < images.size(); ++j) {
            EXPECT_NE(images[i], images[j]) << textureFiles[i] << " and " << textureFiles[j];
        }
    }
}

} // namespace
