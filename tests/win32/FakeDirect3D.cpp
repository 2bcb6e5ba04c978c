#include "tests/win32/FakeDirect3D.h"

#include <utility>

FakeSurface::FakeSurface(EventLog& log, std::string name, D3DFORMAT format, D3DPOOL pool,
                         UINT width, UINT height, INT pitch)
    : log(log), name(std::move(name)), format(format), pool(pool), width(width), height(height),
      pitch(pitch), memory(static_cast<std::size_t>(pitch) * height, 0xCD) {}

ULONG FakeSurface::AddRef() {
    return ++references;
}

ULONG FakeSurface::Release() {
    log.push_back("Release " + name);
    return --references;
}

HRESULT FakeSurface::LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect, DWORD flags) {
    log.push_back("LockRect");
    ++locks;
    lockFlags = flags;
    lockedWholeSurface = rect == nullptr;
    if (FAILED(lockResult)) {
        return lockResult;
    }
    lockedRect->pBits = memory.data();
    lockedRect->Pitch = pitch;
    return D3D_OK;
}

HRESULT FakeSurface::UnlockRect() {
    log.push_back("UnlockRect");
    ++unlocks;
    return D3D_OK;
}

FakeDevice::FakeDevice(EventLog& log, FakeDirect3D& root, const D3DPRESENT_PARAMETERS& parameters,
                       DWORD behaviour)
    : log(log), root(root), parameters(parameters), behaviour(behaviour) {}

ULONG FakeDevice::AddRef() {
    return ++references;
}

ULONG FakeDevice::Release() {
    log.push_back("Release device");
    return --references;
}

HRESULT FakeDevice::TestCooperativeLevel() {
    log.push_back("TestCooperativeLevel");
    return cooperativeLevel;
}

HRESULT FakeDevice::Reset(D3DPRESENT_PARAMETERS* given) {
    log.push_back("Reset");
    ++resets;
    resetParameters = *given;
    cooperativeLevel = levelAfterReset;
    return SUCCEEDED(levelAfterReset) ? D3D_OK : D3DERR_DEVICELOST;
}

HRESULT FakeDevice::CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                D3DPOOL pool, IDirect3DSurface9** created,
                                                HANDLE* sharedHandle) {
    log.push_back(sharedHandle == nullptr ? "CreateOffscreenPlainSurface"
                                          : "CreateOffscreenPlainSurface shared");
    if (!createSurfaces) {
        // As with devices, a failed call may leave junk in the out argument.
        *created = reinterpret_cast<IDirect3DSurface9*>(static_cast<std::uintptr_t>(0xBAD));
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    const INT bytes = format == D3DFMT_A32B32G32R32F                           ? 16
                      : format == D3DFMT_R8G8B8                                ? 3
                      : (format == D3DFMT_R5G6B5 || format == D3DFMT_X1R5G5B5) ? 2
                                                                               : 4;
    const INT pitch = surfacePitch != 0 ? surfacePitch : static_cast<INT>(width) * bytes;
    root.surfaces.push_back(
        std::make_unique<FakeSurface>(log, "surface", format, pool, width, height, pitch));
    surface = root.surfaces.back().get();
    *created = surface;
    return D3D_OK;
}

HRESULT FakeDevice::GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                  IDirect3DSurface9** result) {
    log.push_back("GetBackBuffer");
    if (!giveBackBuffer || swapChain != 0 || index != 0 || type != D3DBACKBUFFER_TYPE_MONO) {
        *result = reinterpret_cast<IDirect3DSurface9*>(static_cast<std::uintptr_t>(0xBAD));
        return D3DERR_INVALIDCALL;
    }
    if (!backBuffer) {
        backBuffer = std::make_unique<FakeSurface>(log, "backbuffer", parameters.BackBufferFormat,
                                                   D3DPOOL_DEFAULT, parameters.BackBufferWidth,
                                                   parameters.BackBufferHeight, 4);
        backBuffer->references = 0;
    }
    backBuffer->AddRef();
    *result = backBuffer.get();
    return D3D_OK;
}

HRESULT FakeDevice::UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                                  IDirect3DSurface9* destination, const POINT* destinationPoint) {
    log.push_back("UpdateSurface");
    updateHadRectangles = sourceRect != nullptr || destinationPoint != nullptr;
    if (source == nullptr || source != surface || destination != backBuffer.get()) {
        return D3DERR_INVALIDCALL;
    }
    return updateResult;
}

HRESULT FakeDevice::Present(const RECT* sourceRect, const RECT* destinationRect,
                            HWND overrideWindow, const RGNDATA* dirtyRegion) {
    log.push_back("Present");
    ++presents;
    presentHadArguments = sourceRect != nullptr || destinationRect != nullptr ||
                          overrideWindow != nullptr || dirtyRegion != nullptr;
    if (destinationRect != nullptr) {
        presentDestination = *destinationRect;
    }
    return presentResult;
}

FakeDirect3D::FakeDirect3D(EventLog& log) : log(log) {}

FakeDirect3D::~FakeDirect3D() = default;

ULONG FakeDirect3D::AddRef() {
    return ++references;
}

ULONG FakeDirect3D::Release() {
    log.push_back("Release direct3d");
    return --references;
}

HRESULT FakeDirect3D::CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                   DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                                   IDirect3DDevice9** device) {
    log.push_back("CreateDevice");
    attempts.push_back({adapter, deviceType, focusWindow, behaviour, *parameters});
    if (accepts && !accepts(attempts.back())) {
        // Real drivers may leave junk behind in the out argument on failure.
        *device = reinterpret_cast<IDirect3DDevice9*>(static_cast<std::uintptr_t>(0xBAD));
        return D3DERR_NOTAVAILABLE;
    }
    devices.push_back(std::make_unique<FakeDevice>(log, *this, *parameters, behaviour));
    if (prepareDevice) {
        prepareDevice(*devices.back());
    }
    *device = devices.back().get();
    return D3D_OK;
}

std::function<bool(const CreationAttempt&)> acceptOnly(D3DFORMAT format, UINT backBuffers) {
    return [format, backBuffers](const CreationAttempt& attempt) {
        return attempt.parameters.BackBufferFormat == format &&
               (backBuffers == 0 || attempt.parameters.BackBufferCount == backBuffers);
    };
}
