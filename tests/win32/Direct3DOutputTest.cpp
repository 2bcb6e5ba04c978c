#include "display/win32/Direct3DOutput.h"
#include "tests/win32/FakeDirect3D.h"
#include "tests/win32/TestWindow.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <vector>

using namespace duskhall;

namespace {

constexpr int Width = 320;
constexpr int Height = 240;

class Direct3DOutputTest : public ::testing::Test {
  protected:
    std::unique_ptr<Direct3DOutput> make(PixelMode mode = PixelMode::Integer,
                                         bool windowed = true) {
        return std::make_unique<Direct3DOutput>(&root, window.handle(), Width, Height, mode,
                                                windowed);
    }

    std::vector<D3DFORMAT> attemptedFormats() const {
        std::vector<D3DFORMAT> formats;
        for (const CreationAttempt& attempt : root.attempts) {
            formats.push_back(attempt.parameters.BackBufferFormat);
        }
        return formats;
    }

    TestWindow window;
    EventLog log;
    FakeDirect3D root{log};
};

TEST_F(Direct3DOutputTest, IntegerModeCreatesXrgbDeviceWithTwoBackBuffersFirst) {
    auto output = make();

    ASSERT_EQ(root.attempts.size(), 1u);
    const CreationAttempt& attempt = root.attempts[0];
    EXPECT_EQ(attempt.adapter, static_cast<UINT>(D3DADAPTER_DEFAULT));
    EXPECT_EQ(attempt.deviceType, D3DDEVTYPE_HAL);
    EXPECT_EQ(attempt.focusWindow, window.handle());
    EXPECT_EQ(attempt.behaviour, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING));

    D3DPRESENT_PARAMETERS expected{};
    expected.BackBufferWidth = Width;
    expected.BackBufferHeight = Height;
    expected.BackBufferFormat = D3DFMT_X8R8G8B8;
    expected.BackBufferCount = 2;
    expected.SwapEffect = D3DSWAPEFFECT_DISCARD;
    expected.hDeviceWindow = window.handle();
    expected.Windowed = TRUE;
    EXPECT_EQ(std::memcmp(&attempt.parameters, &expected, sizeof expected), 0)
        << "every other present parameter stays zero";

    EXPECT_EQ(output->format(), PixelFormat::XRGB8888);
    ASSERT_NE(root.lastDevice(), nullptr);
    EXPECT_EQ(output->device(), root.lastDevice());
    FakeSurface* surface = root.lastDevice()->surface;
    ASSERT_NE(surface, nullptr);
    EXPECT_EQ(output->surface(), surface);
    EXPECT_EQ(surface->format, D3DFMT_X8R8G8B8);
    EXPECT_EQ(surface->pool, D3DPOOL_SYSTEMMEM);
    EXPECT_EQ(surface->width, static_cast<UINT>(Width));
    EXPECT_EQ(surface->height, static_cast<UINT>(Height));
    EXPECT_EQ(log, (EventLog{"CreateDevice", "CreateOffscreenPlainSurface"}))
        << "no shared handle is asked for";
    EXPECT_TRUE(output->usable());
}

TEST_F(Direct3DOutputTest, FloatModeTriesFourFloatsInSixAttemptsBeforeXrgb) {
    root.accepts = acceptOnly(D3DFMT_X8R8G8B8);
    auto output = make(PixelMode::Float);

    ASSERT_EQ(root.attempts.size(), 7u);
    const DWORD hardware = D3DCREATE_HARDWARE_VERTEXPROCESSING;
    const DWORD mixed = D3DCREATE_MIXED_VERTEXPROCESSING;
    const DWORD software = D3DCREATE_SOFTWARE_VERTEXPROCESSING;
    const DWORD flags[] = {hardware, mixed, software, hardware, mixed, software, hardware};
    const UINT backBuffers[] = {2, 2, 2, 1, 1, 1, 2};
    for (std::size_t i = 0; i < 7; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(root.attempts[i].parameters.BackBufferFormat,
                  i < 6 ? D3DFMT_A32B32G32R32F : D3DFMT_X8R8G8B8);
        EXPECT_EQ(root.attempts[i].behaviour, flags[i]);
        EXPECT_EQ(root.attempts[i].parameters.BackBufferCount, backBuffers[i]);
    }
    EXPECT_EQ(output->format(), PixelFormat::XRGB8888);
    EXPECT_TRUE(output->usable());
}

TEST_F(Direct3DOutputTest, AdapterRefusingEverythingCostsThirtyAttemptsAndLeavesNothing) {
    root.accepts = [](const CreationAttempt&) { return false; };
    auto output = make();

    std::vector<D3DFORMAT> expected;
    for (D3DFORMAT format :
         {D3DFMT_X8R8G8B8, D3DFMT_X8B8G8R8, D3DFMT_R8G8B8, D3DFMT_R5G6B5, D3DFMT_X1R5G5B5}) {
        expected.insert(expected.end(), 6, format);
    }
    EXPECT_EQ(attemptedFormats(), expected) << "the four-float format is never asked for";
    EXPECT_EQ(output->format(), PixelFormat::XRGB1555);
    EXPECT_EQ(output->device(), nullptr) << "junk left by failed calls is not kept";
    EXPECT_EQ(output->surface(), nullptr);
    EXPECT_FALSE(output->usable());
    output->release();
    EXPECT_EQ(std::count(log.begin(), log.end(), "Release device"), 0);
}

TEST_F(Direct3DOutputTest, AdapterAcceptingOnlyRgb565SucceedsAfterEighteenFailures) {
    root.accepts = acceptOnly(D3DFMT_R5G6B5);
    auto output = make();

    ASSERT_EQ(root.attempts.size(), 19u);
    EXPECT_EQ(root.attempts[18].parameters.BackBufferFormat, D3DFMT_R5G6B5);
    EXPECT_EQ(root.attempts[18].parameters.BackBufferCount, 2u);
    EXPECT_EQ(root.attempts[18].behaviour, static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING));
    EXPECT_EQ(output->format(), PixelFormat::RGB565);
    ASSERT_NE(root.lastDevice()->surface, nullptr);
    EXPECT_EQ(root.lastDevice()->surface->format, D3DFMT_R5G6B5);
    EXPECT_EQ(root.lastDevice()->surface->pool, D3DPOOL_SYSTEMMEM);
}

TEST_F(Direct3DOutputTest, VertexProcessingAndBackBufferFallbacks) {
    {
        SCOPED_TRACE("no hardware vertex processing");
        root.accepts = [](const CreationAttempt& attempt) {
            return attempt.behaviour != D3DCREATE_HARDWARE_VERTEXPROCESSING;
        };
        auto output = make();
        ASSERT_EQ(root.attempts.size(), 2u);
        EXPECT_EQ(root.lastDevice()->behaviour,
                  static_cast<DWORD>(D3DCREATE_MIXED_VERTEXPROCESSING));
        EXPECT_EQ(root.lastDevice()->parameters.BackBufferCount, 2u);
    }
    root.attempts.clear();
    {
        SCOPED_TRACE("one back buffer only");
        root.accepts = [](const CreationAttempt& attempt) {
            return attempt.parameters.BackBufferCount == 1;
        };
        auto output = make();
        ASSERT_EQ(root.attempts.size(), 4u);
        EXPECT_EQ(root.lastDevice()->behaviour,
                  static_cast<DWORD>(D3DCREATE_HARDWARE_VERTEXPROCESSING));
        EXPECT_EQ(output->parameters().BackBufferCount, 1u);
        EXPECT_EQ(output->format(), PixelFormat::XRGB8888);
    }
}

TEST_F(Direct3DOutputTest, FullscreenDeviceIsNotWindowed) {
    auto output = make(PixelMode::Integer, false);
    ASSERT_EQ(root.attempts.size(), 1u);
    EXPECT_EQ(root.attempts[0].parameters.Windowed, FALSE);
    EXPECT_EQ(root.attempts[0].parameters.FullScreen_RefreshRateInHz, 0u);
    EXPECT_FALSE(output->windowed());
}

TEST_F(Direct3DOutputTest, FailedSurfaceCreationKeepsAUsableDeviceThatDropsFrames) {
    root.prepareDevice = [](FakeDevice& device) { device.createSurfaces = false; };
    auto output = make();
    EXPECT_NE(output->device(), nullptr);
    EXPECT_EQ(output->surface(), nullptr);
    EXPECT_TRUE(output->usable());

    std::vector<PackedPixel> frame(Width * Height, 0xFF102030u);
    EXPECT_FALSE(output->update(frame.data(), nullptr));
    EXPECT_FALSE(output->present());
    EXPECT_EQ(root.lastDevice()->presents, 0);
    EXPECT_EQ(root.lastDevice()->backBuffer->references, 0u) << "back buffer given back";
}

TEST_F(Direct3DOutputTest, MissingRootObjectLeavesTheOutputUnusable) {
    Direct3DOutput output(nullptr, window.handle(), Width, Height, PixelMode::Integer, true);
    EXPECT_EQ(output.device(), nullptr);
    EXPECT_FALSE(output.usable());
    std::vector<PackedPixel> frame(Width * Height);
    EXPECT_FALSE(output.update(frame.data(), nullptr));
    EXPECT_FALSE(output.present());
}

TEST_F(Direct3DOutputTest, ReleaseGoesSurfaceFirstThenDeviceAndClearsBoth) {
    auto output = make();
    log.clear();
    output->release();
    EXPECT_EQ(log, (EventLog{"Release surface", "Release device"}));
    EXPECT_EQ(output->surface(), nullptr);
    EXPECT_EQ(output->device(), nullptr);
    EXPECT_EQ(root.lastDevice()->references, 0u);
    EXPECT_EQ(root.lastDevice()->surface->references, 0u);

    output->release();
    EXPECT_EQ(log.size(), 2u) << "a second release has nothing left to release";
    EXPECT_EQ(root.references, 1u) << "the root object is only borrowed";
}

} // namespace
