#include "display/win32/Direct3DOutput.h"
#include "tests/win32/FakeDirect3D.h"
#include "tests/win32/TestWindow.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace duskhall;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

// A frame whose every pixel differs from its neighbours in each row and column.
std::vector<PackedPixel> patternFrame() {
    std::vector<PackedPixel> frame(Width * Height);
    for (int y = 0; y < Height; ++y) {
        for (int x = 0; x < Width; ++x) {
            frame[y * Width + x] = 0xFF000000u | static_cast<PackedPixel>(x & 0xFF) << 16 |
                                   static_cast<PackedPixel>(y) << 8 |
                                   static_cast<PackedPixel>((x * 7 + y) & 0xFF);
        }
    }
    return frame;
}

std::uint16_t rgb565(PackedPixel v) {
    return static_cast<std::uint16_t>(((v >> 8) & 0xF800) | ((v >> 5) & 0x07E0) |
                                      ((v >> 3) & 0x001F));
}

class Direct3DUploadTest : public ::testing::Test {
  protected:
    std::unique_ptr<Direct3DOutput> make(PixelMode mode = PixelMode::Integer) {
        auto output =
            std::make_unique<Direct3DOutput>(&root, window.handle(), Width, Height, mode, true);
        device = root.lastDevice();
        surface = device != nullptr ? device->surface : nullptr;
        log.clear();
        return output;
    }

    TestWindow window;
    EventLog log;
    FakeDirect3D root{log};
    FakeDevice* device = nullptr;
    FakeSurface* surface = nullptr;
};

const EventLog uploadAndPresent = {
    "TestCooperativeLevel", "TestCooperativeLevel", "LockRect",
    "UnlockRect",           "TestCooperativeLevel", "GetBackBuffer",
    "UpdateSurface",        "Release backbuffer",   "Present",
};

TEST_F(Direct3DUploadTest, Rgb565FrameIsConvertedRowByRowIntoAWiderPitch) {
    root.accepts = acceptOnly(D3DFMT_R5G6B5);
    constexpr INT pitch = Width * 2 + 24;
    root.prepareDevice = [](FakeDevice& created) { created.surfacePitch = pitch; };
    auto output = make();
    ASSERT_NE(surface, nullptr);
    const std::vector<PackedPixel> frame = patternFrame();

    EXPECT_TRUE(output->update(frame.data(), nullptr));

    EXPECT_EQ(log, uploadAndPresent);
    EXPECT_EQ(surface->lockFlags, static_cast<DWORD>(D3DLOCK_DISCARD));
    EXPECT_TRUE(surface->lockedWholeSurface);
    EXPECT_FALSE(device->updateHadRectangles);
    EXPECT_FALSE(device->presentHadArguments);
    EXPECT_EQ(device->backBuffer->references, 0u);
    int wrong = 0;
    for (int y = 0; y < Height; ++y) {
        const unsigned char* row = surface->memory.data() + y * pitch;
        for (int x = 0; x < Width; ++x) {
            std::uint16_t value;
            std::memcpy(&value, row + 2 * x, 2);
            wrong += value != rgb565(frame[y * Width + x]);
        }
        for (int gap = Width * 2; gap < pitch; ++gap) {
            wrong += row[gap] != 0xCD;
        }
    }
    EXPECT_EQ(wrong, 0) << "rows land at pBits + y * Pitch and the gaps stay untouched";
}

TEST_F(Direct3DUploadTest, FloatFrameWinsOverTrueColourWhenBothAreGiven) {
    auto output = make(PixelMode::Integer);
    ASSERT_EQ(output->format(), PixelFormat::XRGB8888);
    std::vector<PackedPixel> packed(Width * Height, 0xFF112233u);
    std::vector<FloatPixel> floats(Width * Height, FloatPixel{1.0f, 0.5f, 0.25f, 1.0f});
    floats[Width * (Height - 1) + Width - 1] = FloatPixel{0.0f, 0.0f, 0.0f, 0.0f};

    EXPECT_TRUE(output->update(packed.data(), floats.data()));

    std::vector<std::uint32_t> words(Width * Height);
    std::memcpy(words.data(), surface->memory.data(), words.size() * 4);
    EXPECT_EQ(words[0], 0x00FF4080u);
    EXPECT_EQ(words[Width * 100 + 17], 0x00FF4080u);
    EXPECT_EQ(words.back(), 0u) << "the last float pixel of the last row";
}

// A32B32G32R32F holds red, green, blue, alpha: both frame kinds arrive in that order.
TEST_F(Direct3DUploadTest, FloatSurfaceReceivesRedGreenBlueAlpha) {
    auto output = make(PixelMode::Float);
    ASSERT_EQ(output->format(), PixelFormat::FloatingPoint);
    ASSERT_EQ(surface->format, D3DFMT_A32B32G32R32F);
    std::vector<FloatPixel> floats(Width * Height, FloatPixel{1.0f, 0.0f, 1.0f, 0.0f}); // green
    floats.back() = FloatPixel{1.0f, 0.75f, 0.5f, 0.25f};
    std::vector<PackedPixel> packed(Width * Height, 0xFF0000FFu); // blue
    packed.back() = 0xFFFF0000u;
    const auto element = [this](int pixel, int index) {
        float value;
        std::memcpy(&value, surface->memory.data() + pixel * 16 + index * 4, 4);
        return value;
    };
    const int last = Width * Height - 1;

    EXPECT_TRUE(output->update(nullptr, floats.data()));
    EXPECT_EQ(element(0, 0), 0.0f);
    EXPECT_EQ(element(0, 1), 1.0f);
    EXPECT_EQ(element(0, 2), 0.0f);
    EXPECT_EQ(element(0, 3), 1.0f) << "alpha last";
    EXPECT_EQ(element(last, 0), 0.25f);
    EXPECT_EQ(element(last, 1), 0.5f);
    EXPECT_EQ(element(last, 2), 0.75f);

    EXPECT_TRUE(output->update(packed.data(), nullptr));
    EXPECT_EQ(element(Width * 100 + 17, 0), 0.0f);
    EXPECT_EQ(element(Width * 100 + 17, 1), 0.0f);
    EXPECT_EQ(element(Width * 100 + 17, 2), 1.0f);
    EXPECT_EQ(element(last, 0), 1.0f);
    EXPECT_EQ(element(last, 1), 0.0f);
    EXPECT_EQ(element(last, 2), 0.0f);
}

TEST_F(Direct3DUploadTest, TrueColourFrameIntoXrgbIsCopiedExactly) {
    auto output = make();
    const std::vector<PackedPixel> frame = patternFrame();
    EXPECT_TRUE(output->update(frame.data(), nullptr));
    EXPECT_EQ(std::memcmp(surface->memory.data(), frame.data(), frame.size() * 4), 0);
}

TEST_F(Direct3DUploadTest, LostDeviceDropsFramesWithoutTouchingTheSurface) {
    auto output = make();
    device->cooperativeLevel = D3DERR_DEVICELOST;
    const std::vector<PackedPixel> frame = patternFrame();

    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_EQ(surface->locks, 0);
    EXPECT_EQ(device->resets, 0) << "a lost device is not reset until it says so";
    EXPECT_FALSE(output->present());
    EXPECT_EQ(device->presents, 0);
}

TEST_F(Direct3DUploadTest, DeviceWaitingForResetIsResetAndTheSameFrameShown) {
    auto output = make();
    device->cooperativeLevel = D3DERR_DEVICENOTRESET;
    const std::vector<PackedPixel> frame = patternFrame();

    EXPECT_TRUE(output->update(frame.data(), nullptr));
    EXPECT_EQ(device->resets, 1);
    EXPECT_EQ(
        std::memcmp(&device->resetParameters, &output->parameters(), sizeof(D3DPRESENT_PARAMETERS)),
        0);
    EXPECT_EQ(surface->locks, 1);
    EXPECT_EQ(device->presents, 1);
    EXPECT_EQ(std::memcmp(surface->memory.data(), frame.data(), frame.size() * 4), 0)
        << "the surface survives the reset and receives this frame";
}

TEST_F(Direct3DUploadTest, FailingResetIsTriedAgainEveryFrame) {
    auto output = make();
    device->cooperativeLevel = D3DERR_DEVICENOTRESET;
    device->levelAfterReset = D3DERR_DEVICENOTRESET;
    const std::vector<PackedPixel> frame = patternFrame();

    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_EQ(device->resets, 2);
    EXPECT_EQ(surface->locks, 0);

    device->levelAfterReset = D3D_OK;
    EXPECT_TRUE(output->update(frame.data(), nullptr));
    EXPECT_EQ(device->resets, 3);
    EXPECT_EQ(device->presents, 1);
}

TEST_F(Direct3DUploadTest, FailedLockDropsTheFrameWithoutUnlocking) {
    auto output = make();
    surface->lockResult = D3DERR_WASSTILLDRAWING;
    const std::vector<PackedPixel> frame = patternFrame();
    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_EQ(surface->unlocks, 0);
    EXPECT_EQ(device->presents, 0);
}

TEST_F(Direct3DUploadTest, FrameWithoutPixelsStillUnlocksAndPresentsTheOldContent) {
    auto output = make();
    EXPECT_TRUE(output->update(nullptr, nullptr));
    EXPECT_EQ(log, uploadAndPresent);
    EXPECT_EQ(surface->memory[0], 0xCD);
}

TEST_F(Direct3DUploadTest, PresentFailuresAreReportedAndTheBackBufferGivenBack) {
    auto output = make();
    {
        SCOPED_TRACE("no back buffer");
        device->giveBackBuffer = false;
        log.clear();
        EXPECT_FALSE(output->present());
        EXPECT_EQ(log, (EventLog{"TestCooperativeLevel", "GetBackBuffer"}));
        device->giveBackBuffer = true;
    }
    {
        SCOPED_TRACE("copy fails");
        device->updateResult = D3DERR_INVALIDCALL;
        log.clear();
        EXPECT_FALSE(output->present());
        EXPECT_EQ(log, (EventLog{"TestCooperativeLevel", "GetBackBuffer", "UpdateSurface",
                                 "Release backbuffer"}));
        EXPECT_EQ(device->backBuffer->references, 0u);
        device->updateResult = D3D_OK;
    }
    {
        SCOPED_TRACE("present fails");
        device->presentResult = D3DERR_DEVICELOST;
        EXPECT_FALSE(output->present());
        EXPECT_EQ(device->presents, 1);
        device->presentResult = D3D_OK;
    }
    EXPECT_TRUE(output->present());
}

// A windowed device shows the frame by the scaling rule in a client area of
// another shape: into the picture rectangle, or over all of it when it fills it.
TEST(Direct3DScaling, PresentsIntoThePictureRectangleOfTheClientArea) {
    TestWindow window(800, 500);
    EventLog log;
    FakeDirect3D root{log};
    Direct3DOutput output(&root, window.handle(), Width, Height, PixelMode::Integer, true);
    FakeDevice* device = root.lastDevice();
    ASSERT_NE(device, nullptr);
    struct Case {
        Scaling scaling;
        RECT expected;
    };
    for (const Case& c : {Case{Scaling::Fit, RECT{67, 0, 733, 500}},
                          Case{Scaling::Integer, RECT{80, 10, 720, 490}}}) {
        output.setScaling(c.scaling);
        device->presentDestination = RECT{};
        ASSERT_TRUE(output.present());
        EXPECT_TRUE(device->presentHadArguments);
        const RECT& got = device->presentDestination;
        EXPECT_EQ((std::vector<LONG>{got.left, got.top, got.right, got.bottom}),
                  (std::vector<LONG>{c.expected.left, c.expected.top, c.expected.right,
                                     c.expected.bottom}));
    }
    output.setScaling(Scaling::Stretch);
    ASSERT_TRUE(output.present());
    EXPECT_FALSE(device->presentHadArguments);
}

} // namespace
