#pragma once

#include "tests/win32/Direct3DStubs.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

// Fake Direct3D 9 objects for the output and screen tests. Every object writes
// what is done to it into one shared event log, so tests can check the order of
// calls across objects. The root keeps every device and surface alive until the
// test ends, so released objects can still be inspected.

using EventLog = std::vector<std::string>;

class FakeDirect3D;

struct FakeSurface : StubDirect3DSurface9 {
    FakeSurface(EventLog& log, std::string name, D3DFORMAT format, D3DPOOL pool, UINT width,
                UINT height, INT pitch);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE LockRect(D3DLOCKED_RECT* lockedRect, const RECT* rect,
                                       DWORD flags) override;
    HRESULT STDMETHODCALLTYPE UnlockRect() override;

    EventLog& log;
    std::string name;
    D3DFORMAT format;
    D3DPOOL pool;
    UINT width;
    UINT height;
    INT pitch;
    std::vector<unsigned char> memory;
    ULONG references = 1;
    HRESULT lockResult = D3D_OK;
    DWORD lockFlags = 0;
    bool lockedWholeSurface = false;
    int locks = 0;
    int unlocks = 0;
};

struct FakeDevice : StubDirect3DDevice9 {
    FakeDevice(EventLog& log, FakeDirect3D& root, const D3DPRESENT_PARAMETERS& parameters,
               DWORD behaviour);

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE TestCooperativeLevel() override;
    HRESULT STDMETHODCALLTYPE Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT STDMETHODCALLTYPE CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format,
                                                          D3DPOOL pool, IDirect3DSurface9** surface,
                                                          HANDLE* sharedHandle) override;
    HRESULT STDMETHODCALLTYPE GetBackBuffer(UINT swapChain, UINT index, D3DBACKBUFFER_TYPE type,
                                            IDirect3DSurface9** backBuffer) override;
    HRESULT STDMETHODCALLTYPE UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                                            IDirect3DSurface9* destination,
                                            const POINT* destinationPoint) override;
    HRESULT STDMETHODCALLTYPE Present(const RECT* sourceRect, const RECT* destinationRect,
                                      HWND overrideWindow, const RGNDATA* dirtyRegion) override;

    EventLog& log;
    FakeDirect3D& root;
    D3DPRESENT_PARAMETERS parameters;
    DWORD behaviour;
    ULONG references = 1;
    // What TestCooperativeLevel answers, and what it answers after a Reset.
    HRESULT cooperativeLevel = D3D_OK;
    HRESULT levelAfterReset = D3D_OK;
    int resets = 0;
    D3DPRESENT_PARAMETERS resetParameters{};
    bool createSurfaces = true;
    // Row pitch of the surfaces this device creates; 0 means packed rows.
    INT surfacePitch = 0;
    FakeSurface* surface = nullptr;
    std::unique_ptr<FakeSurface> backBuffer;
    bool giveBackBuffer = true;
    HRESULT updateResult = D3D_OK;
    HRESULT presentResult = D3D_OK;
    bool updateHadRectangles = false;
    bool presentHadArguments = false;
    RECT presentDestination{}; // the last one given

    int presents = 0;
};

// One CreateDevice call as the root saw it.
struct CreationAttempt {
    UINT adapter;
    D3DDEVTYPE deviceType;
    HWND focusWindow;
    DWORD behaviour;
    D3DPRESENT_PARAMETERS parameters;
};

class FakeDirect3D : public StubDirect3D9 {
  public:
    explicit FakeDirect3D(EventLog& log);
    ~FakeDirect3D() override;

    ULONG STDMETHODCALLTYPE AddRef() override;
    ULONG STDMETHODCALLTYPE Release() override;
    HRESULT STDMETHODCALLTYPE CreateDevice(UINT adapter, D3DDEVTYPE deviceType, HWND focusWindow,
                                           DWORD behaviour, D3DPRESENT_PARAMETERS* parameters,
                                           IDirect3DDevice9** device) override;

    // Decides which attempts succeed; by default every one does.
    std::function<bool(const CreationAttempt&)> accepts;
    // Applied to every device right after it is created, before the caller sees it.
    std::function<void(FakeDevice&)> prepareDevice;

    EventLog& log;
    ULONG references = 1;
    std::vector<CreationAttempt> attempts;
    std::vector<std::unique_ptr<FakeDevice>> devices;
    // Surfaces of every device, kept here so they outlive their release.
    std::vector<std::unique_ptr<FakeSurface>> surfaces;

    FakeDevice* lastDevice() const { return devices.empty() ? nullptr : devices.back().get(); }
};

// Accepts only attempts whose back-buffer format and count match.
std::function<bool(const CreationAttempt&)> acceptOnly(D3DFORMAT format, UINT backBuffers = 0);
