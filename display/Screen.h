#pragma once

#include "convert/PixelTypes.h"

#include <cstdint>

class InputObserver;

// How a screen presents its frames. Values other than 0 and 1 ask for fullscreen.
enum class ScreenMode : std::int32_t {
    Unspecified = 0,
    Windowed = 1,
    Fullscreen = 2,
};

// Which device formats the output may choose among.
enum class PixelMode : std::int32_t {
    Integer = 0,
    Float = 1,
};

// The display interface the renderer talks to. The order of the operations is
// part of the interface: keep it.
class Screen {
  public:
    virtual ~Screen() = default;
    virtual bool isOpen() const = 0;
    virtual bool open(const char* title, std::int32_t width, std::int32_t height, ScreenMode mode,
                      PixelMode pixelMode) = 0;
    virtual void close() = 0;
    // Both take width x height pixels, row-major.
    virtual bool showFrame(const PackedPixel* pixels) = 0;
    virtual bool showFloatFrame(const FloatPixel* pixels) = 0;
    virtual const char* title() const = 0;
    virtual std::int32_t width() const = 0;
    virtual std::int32_t height() const = 0;
    virtual PixelMode pixelMode() const = 0;
    virtual ScreenMode screenMode() const = 0;
    virtual InputObserver* observer() const = 0;
    virtual void setObserver(InputObserver* observer) = 0;
    // The object observers are given instead of the implementation itself.
    virtual Screen* owner() = 0;
    virtual void setOwner(Screen* owner) = 0;
};
