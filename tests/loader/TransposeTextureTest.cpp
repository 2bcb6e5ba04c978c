#include "renderer/level/Level.h"
#include "renderer/level/PngLoader.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Swaps in a texture table of its own for the duration of a check.
class TransposeTexture : public ::testing::Test {
  protected:
    void SetUp() override {
        saved_ = textures;
        textures = table_;
        for (auto& t : table_) {
            t = Texture{64, 64, nullptr};
        }
    }
    void TearDown() override { textures = saved_; }

    Texture table_[textureCount];

  private:
    Texture* saved_ = nullptr;
};

PackedPixel imagePixel(int row, int column) {
    return 0xFF000000u | static_cast<PackedPixel>(row) << 8 | static_cast<PackedPixel>(column);
}

std::vector<PackedPixel> rowMajorImage() {
    std::vector<PackedPixel> pixels(64 * 64);
    for (int r = 0; r < 64; ++r) {
        for (int c = 0; c < 64; ++c) {
            pixels[r * 64 + c] = imagePixel(r, c);
        }
    }
    return pixels;
}

TEST_F(TransposeTexture, StoresEachImageColumnContiguously) {
    std::vector<PackedPixel> pixels = rowMajorImage();
    table_[2].pixels = pixels.data();
    transposeTexture(2);
    EXPECT_EQ(pixels[1], imagePixel(1, 0));
    EXPECT_EQ(pixels[64], imagePixel(0, 1));
    for (int c = 0; c < 64; ++c) {
        for (int r = 0; r < 64; ++r) {
            ASSERT_EQ(pixels[c * 64 + r], imagePixel(r, c)) << "column " << c << ", row " << r;
        }
    }
}

TEST_F(TransposeTexture, TouchesOnlyTheNamedRecord) {
    std::vector<PackedPixel> first = rowMajorImage();
    std::vector<PackedPixel> second = rowMajorImage();
    table_[0].pixels = first.data();
    table_[1].pixels = second.data();
    transposeTexture(1);
    EXPECT_EQ(first, rowMajorImage());
    EXPECT_NE(second, rowMajorImage());
    // A second transpose restores the image: the operation is its own inverse.
    transposeTexture(1);
    EXPECT_EQ(second, rowMajorImage());
}

TEST_F(TransposeTexture, LeavesARecordWithoutPixelsAlone) {
    transposeTexture(4);
    EXPECT_EQ(table_[4].pixels, nullptr);
}

} // namespace
