#include "display/PlatformScreen.h"
#include "display/win32/Win32Screen.h"

#include <gtest/gtest.h>

#include <vector>

using namespace duskhall;

namespace {

// The platform screen on the system's own Direct3D 9 (Wine's, in the test runs).
TEST(Win32Direct3DTest, PlatformScreenShowsFramesThroughARealDevice) {
    std::unique_ptr<ScreenCore> created = createPlatformScreen();
    auto* screen = dynamic_cast<Win32Screen*>(created.get());
    ASSERT_NE(screen, nullptr);
    ASSERT_NE(screen->direct3d(), nullptr) << "Direct3D 9 is there";
    ASSERT_TRUE(screen->open("duskhall", 320, 240, ScreenMode::Unspecified, PixelMode::Integer));

    Direct3DOutput* output = screen->output();
    ASSERT_NE(output, nullptr);
    EXPECT_TRUE(output->usable());
    EXPECT_NE(output->surface(), nullptr);
    EXPECT_NE(output->format(), PixelFormat::NoFormat);
    D3DSURFACE_DESC description{};
    output->surface()->GetDesc(&description);
    EXPECT_EQ(description.Width, 320u);
    EXPECT_EQ(description.Height, 240u);
    EXPECT_EQ(description.Pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(description.Format, direct3DFormat(output->format()));

    std::vector<PackedPixel> frame(320 * 240, 0xFF8040C0u);
    EXPECT_TRUE(screen->showFrame(frame.data()));
    EXPECT_TRUE(IsWindowVisible(screen->window()->hwnd));
    EXPECT_TRUE(output->update(frame.data(), nullptr)) << "converted, uploaded and presented";
    EXPECT_TRUE(screen->paint());

    screen->close();
    EXPECT_FALSE(screen->isOpen());
    EXPECT_NE(screen->direct3d(), nullptr) << "the root object outlives the close";
}

} // namespace
