#include "RendererFixture.h"

#include "renderer/level/Housekeeping.h"
#include "renderer/level/Level.h"
#include "renderer/output/FramePng.h"

PackedPixel codedTexel(std::int32_t texture, std::int32_t column, std::int32_t row) {
    return 0xFF000000u | static_cast<PackedPixel>(texture << 16 | column << 8 | row);
}

std::filesystem::path writeCodedTextures(const std::string& name) {
    static const char* const files[] = {"wall1.png",  "wall2.png",  "wall3.png", "floor1.png",
                                        "floor2.png", "floor3.png", "floor4.png"};
    const std::filesystem::path dir =
        std::filesystem::path(DUSKHALL_BINARY_DIR) / "renderer-test-textures" / name;
    std::filesystem::create_directories(dir);
    std::vector<PackedPixel> image(64 * 64);
    for (std::int32_t index = 0; index < 7; ++index) {
        for (std::int32_t i = 0; i < 64 * 64; ++i) {
            image[i] = codedTexel(index, i % 64, i / 64);
        }
        EXPECT_TRUE(writeFramePng((dir / files[index]).string().c_str(), image.data(), 64, 64));
    }
    return dir;
}

void RendererFixture::SetUp() {
    const ::testing::TestInfo* info = ::testing::UnitTest::GetInstance()->current_test_info();
    const std::filesystem::path dir =
        writeCodedTextures(std::string(info->test_suite_name()) + "." + info->name());
    const std::filesystem::path previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
    buildLevel();
    std::filesystem::current_path(previous);
    pixels.assign(screenPixels, untouched);
    prepareFrames(pixels.data());
}

void RendererFixture::TearDown() {
    freeLevel();
    HKFreeAll();
    framebuffer = nullptr;
}

Texel RendererFixture::texelAt(std::int32_t x, std::int32_t y) const {
    const PackedPixel p = at(x, y);
    return {static_cast<std::int32_t>(p >> 16 & 0xFF), static_cast<std::int32_t>(p >> 8 & 0xFF),
            static_cast<std::int32_t>(p & 0xFF)};
}

std::int32_t RendererFixture::untouchedInColumn(std::int32_t x) const {
    std::int32_t count = 0;
    for (std::int32_t y = 0; y < screenHeight; ++y) {
        count += at(x, y) == untouched ? 1 : 0;
    }
    return count;
}

void RendererFixture::placeCamera(float x, float y, float eye, float dx, float dy) {
    cameraPos = Vec3(x, y, eye);
    viewDir = Vec3(dx, dy, 0.0f);
    viewSide = Vec3(dy, -dx, 0.0f);
    invalidateFlatCache();
    openWindow();
}

void RendererFixture::openWindow(std::int32_t top, std::int32_t bottom) {
    clipTop = top;
    clipBottom = bottom;
}
