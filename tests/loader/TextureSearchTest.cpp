#include "renderer/level/TextureSearch.h"

#include "TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

namespace {

void touch(const std::filesystem::path& path) {
    std::ofstream(path) << "png";
}

// Runs each case in a scratch working directory next to a scratch data folder,
// and puts the working directory and the search back afterwards.
class TextureSearchTest : public ::testing::Test {
  protected:
    void SetUp() override {
        previous_ = std::filesystem::current_path();
        std::filesystem::create_directory(root_.path() / "work");
        std::filesystem::create_directory(root_.path() / "data");
        std::filesystem::current_path(root_.path() / "work");
        setTextureDataFolder(data().string());
    }
    void TearDown() override {
        setTextureDataFolder("");
        std::filesystem::current_path(previous_);
    }
    std::filesystem::path data() const { return root_.path() / "data"; }

  private:
    TempDir root_;
    std::filesystem::path previous_;
};

TEST_F(TextureSearchTest, WorkingDirectoryComesFirst) {
    touch("wall1.png");
    touch(data() / "wall1.png");
    EXPECT_EQ(texturePath("wall1.png"), "wall1.png");
}

TEST_F(TextureSearchTest, DataFolderServesWhatTheWorkingDirectoryLacks) {
    touch(data() / "floor4.png");
    EXPECT_EQ(texturePath("floor4.png"), (data() / "floor4.png").string());
    // Each file is looked up on its own.
    touch("wall2.png");
    EXPECT_EQ(texturePath("wall2.png"), "wall2.png");
}

TEST_F(TextureSearchTest, MissingEverywhereKeepsTheNameSoTheLoaderReportsIt) {
    EXPECT_EQ(texturePath("wall3.png"), "wall3.png");
    // A folder of that name in the data folder is not a texture.
    std::filesystem::create_directory(data() / "floor1.png");
    EXPECT_EQ(texturePath("floor1.png"), "floor1.png");
}

TEST_F(TextureSearchTest, WithoutDataFolderOnlyTheWorkingDirectoryCounts) {
    touch(data() / "floor2.png");
    setTextureDataFolder("");
    EXPECT_EQ(texturePath("floor2.png"), "floor2.png");
}

} // namespace
