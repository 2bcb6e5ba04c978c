#pragma once

#include "renderer/level/Pixel.h"

#include <cstdint>
#include <string>

// Saves frames as numbered PNG files in the working folder: duskhall-0001.png,
// duskhall-0002.png, ..., each under the next number whose file does not exist
// yet. An existing file is never replaced, not even one made meanwhile by someone
// else.
class Screenshots {
  public:
    static constexpr int mostNumber = 9999;

    explicit Screenshots(std::string prefix = "duskhall-") : prefix_(std::move(prefix)) {}

    // Writes width x height pixels. On success returns true and the file's name in
    // message; on failure false and why.
    bool save(const PackedPixel* pixels, std::int32_t width, std::int32_t height,
              std::string& message);

  private:
    std::string prefix_;
    int next_ = 1; // numbers below it were taken when last tried
};
