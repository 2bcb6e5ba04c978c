#pragma once

#include <duskhall/PixelFormat.h>
#include <duskhall/PixelTypes.h>
#include <duskhall/Screen.h>

#include "display/ScreenOutput.h"

#include <d3d9.h>

#include <cstdint>

namespace duskhall {

// The Direct3D 9 format of a back buffer and offscreen surface in a pixel format;
// D3DFMT_UNKNOWN for the layouts Direct3D 9 has no format for.
D3DFORMAT direct3DFormat(PixelFormat format);

// One Direct3D 9 device for one window in one presentation mode, with the
// system-memory surface that frames are converted into. The construction probes
// the back-buffer formats by trying to create the device; the object never
// probes again. Deleting it releases what release() has not.
class Direct3DOutput : public ScreenOutput {
  public:
    // vsync: presentation waits for the refresh (the default present interval),
    // else it is immediate.
    Direct3DOutput(IDirect3D9* direct3d, HWND window, std::int32_t width, std::int32_t height,
                   PixelMode pixelMode, bool windowed, bool vsync = true);
    ~Direct3DOutput() override;
    Direct3DOutput(const Direct3DOutput&) = delete;
    Direct3DOutput& operator=(const Direct3DOutput&) = delete;

    void createDevice();
    // One format: two back buffers, then one, each with hardware, mixed and software
    // vertex processing; true when a device exists afterwards.
    bool tryCreateDevice(IDirect3D9* direct3d, std::int32_t width, std::int32_t height,
                         PixelFormat format, bool windowed);
    // Surface first, then device.
    void release();
    bool usable() override;

    // Converts one frame into the surface and presents it. The floating-point frame
    // wins when both are given.
    bool update(const PackedPixel* pixels, const FloatPixel* floatPixels) override;
    // Copies the surface onto the back buffer and presents it.
    bool present() override;
    // Resets the device with the new present interval.
    void setVsync(bool on) override;
    // A windowed device presents into the picture rectangle of the client area
    // and paints the bars around it black.
    void setScaling(Scaling scaling) override { scaling_ = scaling; }

    PixelFormat format() const { return format_; }
    bool windowed() const { return windowed_; }
    IDirect3DDevice9* device() const { return device_; }
    IDirect3DSurface9* surface() const { return surface_; }
    const D3DPRESENT_PARAMETERS& parameters() const { return parameters_; }

  private:
    bool createWithEachVertexProcessing(IDirect3D9* direct3d);
    // Where a windowed device shows the frame; false when it fills the client area.
    bool pictureInClient(RECT& picture) const;
    void paintBars(const RECT& picture) const;

    IDirect3D9* direct3d_;
    HWND window_;
    D3DPRESENT_PARAMETERS parameters_{};
    IDirect3DDevice9* device_ = nullptr;
    IDirect3DSurface9* surface_ = nullptr;
    std::int32_t width_;
    std::int32_t height_;
    PixelFormat format_ = PixelFormat::NoFormat;
    PixelMode pixelMode_;
    bool windowed_;
    bool vsync_;
    Scaling scaling_ = Scaling::Fit;
};

} // namespace duskhall
