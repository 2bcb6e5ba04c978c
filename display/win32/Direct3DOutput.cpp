#include "display/win32/Direct3DOutput.h"

#include "convert/ConvertFrame.h"
#include "convert/FormatPreference.h"
#include "display/WindowGeometry.h"

#include <array>
#include <cassert>
#include <cstddef>

namespace duskhall {

namespace {

constexpr std::array<DWORD, 3> vertexProcessingFallbacks = {
    D3DCREATE_HARDWARE_VERTEXPROCESSING,
    D3DCREATE_MIXED_VERTEXPROCESSING,
    D3DCREATE_SOFTWARE_VERTEXPROCESSING,
};

template <typename Interface> void releaseAndClear(Interface*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

} // namespace

D3DFORMAT direct3DFormat(PixelFormat format) {
    switch (format) {
    case PixelFormat::XRGB8888:
        return D3DFMT_X8R8G8B8;
    case PixelFormat::XBGR8888:
        return D3DFMT_X8B8G8R8;
    case PixelFormat::RGB888:
        return D3DFMT_R8G8B8;
    case PixelFormat::RGB565:
        return D3DFMT_R5G6B5;
    case PixelFormat::XRGB1555:
        return D3DFMT_X1R5G5B5;
    case PixelFormat::FloatingPoint:
        return D3DFMT_A32B32G32R32F;
    default:
        return D3DFMT_UNKNOWN;
    }
}

Direct3DOutput::Direct3DOutput(IDirect3D9* direct3d, HWND window, std::int32_t width,
                               std::int32_t height, PixelMode pixelMode, bool windowed, bool vsync)
    : direct3d_(direct3d), window_(window), width_(width), height_(height), pixelMode_(pixelMode),
      windowed_(windowed), vsync_(vsync) {
    assert(window);
    createDevice();
}

Direct3DOutput::~Direct3DOutput() {
    release();
}

void Direct3DOutput::createDevice() {
    // Without a root object (Direct3D 9 missing) or a window nothing can be created;
    // the object stays unusable and the screen's enter operation closes the screen.
    if (direct3d_ == nullptr || window_ == nullptr) {
        return;
    }
    const std::size_t start = pixelMode_ == PixelMode::Float ? 0 : integerPreferenceStart;
    bool created = false;
    for (std::size_t i = start; i < formatPreference.size() && !created; ++i) {
        created = tryCreateDevice(direct3d_, width_, height_, formatPreference[i], windowed_);
    }
    if (!created) {
        return;
    }
    // A failure leaves surface_ null, whatever the failed call wrote; frames are then
    // dropped.
    IDirect3DSurface9* surface = nullptr;
    if (SUCCEEDED(device_->CreateOffscreenPlainSurface(
            static_cast<UINT>(width_), static_cast<UINT>(height_), direct3DFormat(format_),
            D3DPOOL_SYSTEMMEM, &surface, nullptr))) {
        surface_ = surface;
    }
}

bool Direct3DOutput::tryCreateDevice(IDirect3D9* direct3d, std::int32_t width, std::int32_t height,
                                     PixelFormat format, bool windowed) {
    format_ = format;
    parameters_ = D3DPRESENT_PARAMETERS{};
    parameters_.BackBufferWidth = static_cast<UINT>(width);
    parameters_.BackBufferHeight = static_cast<UINT>(height);
    parameters_.BackBufferFormat = direct3DFormat(format);
    parameters_.BackBufferCount = 2;
    parameters_.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters_.hDeviceWindow = window_;
    parameters_.Windowed = windowed ? TRUE : FALSE;
    parameters_.PresentationInterval =
        vsync_ ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    if (createWithEachVertexProcessing(direct3d)) {
        return true;
    }
    // Some adapters refuse a second back buffer; the rest of the parameters stay as
    // the first pass left them.
    parameters_.BackBufferCount = 1;
    return createWithEachVertexProcessing(direct3d);
}

bool Direct3DOutput::createWithEachVertexProcessing(IDirect3D9* direct3d) {
    for (DWORD flags : vertexProcessingFallbacks) {
        IDirect3DDevice9* created = nullptr;
        if (SUCCEEDED(direct3d->CreateDevice(D3DADAPTER_DEFAULT, D3DDEVTYPE_HAL, window_, flags,
                                             &parameters_, &created)) &&
            created != nullptr) {
            device_ = created;
            return true;
        }
    }
    device_ = nullptr;
    return false;
}

void Direct3DOutput::release() {
    releaseAndClear(surface_);
    releaseAndClear(device_);
}

bool Direct3DOutput::usable() {
    return device_ != nullptr && SUCCEEDED(device_->TestCooperativeLevel());
}

bool Direct3DOutput::update(const PackedPixel* pixels, const FloatPixel* floatPixels) {
    if (device_ == nullptr) {
        return false;
    }
    if (device_->TestCooperativeLevel() == D3DERR_DEVICENOTRESET) {
        device_->Reset(&parameters_);
    }
    if (!usable() || surface_ == nullptr) {
        return false;
    }
    D3DLOCKED_RECT locked{};
    if (FAILED(surface_->LockRect(&locked, nullptr, D3DLOCK_DISCARD))) {
        return false;
    }

    const bool floating = floatPixels != nullptr;
    const std::ptrdiff_t sourcePitch =
        static_cast<std::ptrdiff_t>(width_) *
        static_cast<std::ptrdiff_t>(floating ? sizeof(FloatPixel) : sizeof(PackedPixel));
    // Direct3D's only four-float surface, A32B32G32R32F, holds red first.
    convertFrame(floating ? PixelFormat::FloatingPoint : PixelFormat::XRGB8888,
                 floating ? static_cast<const void*>(floatPixels) : pixels, sourcePitch, format_,
                 locked.pBits, locked.Pitch, static_cast<std::uint32_t>(width_),
                 static_cast<std::uint32_t>(height_), FloatElementOrder::RedGreenBlueAlpha);
    surface_->UnlockRect();
    return present();
}

void Direct3DOutput::setVsync(bool on) {
    vsync_ = on;
    parameters_.PresentationInterval =
        on ? D3DPRESENT_INTERVAL_DEFAULT : D3DPRESENT_INTERVAL_IMMEDIATE;
    // Only the system-memory surface exists besides the device, and it survives a
    // reset; a failed one leaves the device to the lost-device path of update.
    if (device_ != nullptr) {
        device_->Reset(&parameters_);
    }
}

bool Direct3DOutput::present() {
    if (!usable()) {
        return false;
    }
    // A failed call counts as no back buffer, whatever it wrote.
    IDirect3DSurface9* backBuffer = nullptr;
    if (FAILED(device_->GetBackBuffer(0, 0, D3DBACKBUFFER_TYPE_MONO, &backBuffer)) ||
        backBuffer == nullptr) {
        return false;
    }
    // Without a surface there is nothing to copy: the copy counts as failed.
    const bool copied = surface_ != nullptr &&
                        SUCCEEDED(device_->UpdateSurface(surface_, nullptr, backBuffer, nullptr));
    backBuffer->Release();
    if (!copied) {
        return false;
    }
    RECT picture{};
    const bool framed = pictureInClient(picture);
    if (FAILED(device_->Present(nullptr, framed ? &picture : nullptr, nullptr, nullptr))) {
        return false;
    }
    if (framed) {
        paintBars(picture);
    }
    ValidateRect(window_, nullptr);
    return true;
}

bool Direct3DOutput::pictureInClient(RECT& picture) const {
    RECT client{};
    if (!windowed_ || GetClientRect(window_, &client) == 0) {
        return false;
    }
    const WindowSize area{client.right - client.left, client.bottom - client.top};
    const WindowRect rect = pictureRect(scaling_, WindowSize{width_, height_}, area);
    picture = RECT{rect.left, rect.top, rect.right, rect.bottom};
    return rect.left != 0 || rect.top != 0 || rect.width() != area.width ||
           rect.height() != area.height;
}

void Direct3DOutput::paintBars(const RECT& picture) const {
    HDC dc = GetDC(window_);
    if (dc == nullptr) {
        return;
    }
    RECT client{};
    GetClientRect(window_, &client);
    const auto black = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
    const RECT bars[] = {
        {client.left, client.top, client.right, picture.top},
        {client.left, picture.bottom, client.right, client.bottom},
        {client.left, picture.top, picture.left, picture.bottom},
        {picture.right, picture.top, client.right, picture.bottom},
    };
    for (const RECT& bar : bars) {
        if (bar.right > bar.left && bar.bottom > bar.top) {
            FillRect(dc, &bar, black);
        }
    }
    ReleaseDC(window_, dc);
}

} // namespace duskhall
