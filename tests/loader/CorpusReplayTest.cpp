#include "renderer/level/PngLoader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace {

std::vector<std::filesystem::path> corpusFiles() {
    const std::filesystem::path corpus =
        std::filesystem::path(DUSKHALL_SOURCE_DIR) / "tests" / "fuzz" / "corpus";
    std::vector<std::filesystem::path> files;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        if (entry.is_regular_file()) {
            files.push_back(entry.path());
        }
    }
    std::sort(files.begin(), files.end());
    return files;
}

// Every input the fuzzer has kept, valid or broken, must give either nothing or
// a whole opaque texture of 1 to 1024 texels a side (as a flat, 64 x 64); the
// sanitizer build catches memory faults on the way.
TEST(LoaderCorpus, EveryFileGivesNullOrAWholeTexture) {
    const std::vector<std::filesystem::path> files = corpusFiles();
    ASSERT_GE(files.size(), 10u) << "the seed corpus is missing";
    int loaded = 0;
    for (const auto& file : files) {
        for (const bool flat : {false, true}) {
            SCOPED_TRACE(file.filename().string() + (flat ? " as a flat" : ""));
            std::int32_t width = -1;
            std::int32_t height = -1;
            PackedPixel* pixels = nullptr;
            PackedPixel* result =
                loadPng(file.string().c_str(), width, height, pixels, false, flat);
            EXPECT_EQ(pixels, result);
            if (result == nullptr) {
                continue;
            }
            ++loaded;
            EXPECT_TRUE(width >= 1 && width <= 1024 && height >= 1 && height <= 1024);
            if (flat) {
                EXPECT_EQ(width, 64);
                EXPECT_EQ(height, 64);
            }
            EXPECT_TRUE(std::all_of(result, result + width * height,
                                    [](PackedPixel p) { return p >> 24 == 0xFF; }));
            std::free(result);
        }
    }
    // The seeds hold valid textures too; if none loads, the loader is broken.
    EXPECT_GT(loaded, 0);
}

} // namespace
