#pragma once

#include "convert/PixelConverterBase.h"

#include <cstdint>

namespace duskhall {

// The 18 converters, one from each source kind (XRGB8888, FloatingPoint) to each destination
// format. Each has exactly one instance, reached through lookupConverter; the copies do their
// block copy themselves, the others forward to the free routine of the same pair.

class XRGB8888ToXRGB8888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToXBGR8888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToRGB888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToBGR888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToRGB565Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToBGR565Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToXRGB1555Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToXBGR1555Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class XRGB8888ToFloatingPointConverter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToXRGB8888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToXBGR8888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToRGB888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToBGR888Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToRGB565Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToBGR565Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToXRGB1555Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToXBGR1555Converter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

class FloatingPointToFloatingPointConverter final : public PixelConverterBase {
  public:
    void convertRun(const void* source, void* destination, std::uint32_t count) override;
};

} // namespace duskhall
