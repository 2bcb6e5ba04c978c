#include "display/web/PictureFit.h"

#include <cstdint>

namespace {

// numerator / denominator rounded to nearest, halves up; all values non-negative.
std::int32_t roundedQuotient(std::int64_t numerator, std::int64_t denominator) {
    return static_cast<std::int32_t>((2 * numerator + denominator) / (2 * denominator));
}

} // namespace

WindowRect fittedPicture(WindowSize picture, WindowSize area) {
    if (picture.width <= 0 || picture.height <= 0 || area.width <= 0 || area.height <= 0) {
        return WindowRect{};
    }
    std::int32_t width = area.width;
    std::int32_t height = area.height;
    // Compare the shapes exactly: area.w / area.h against picture.w / picture.h.
    if (std::int64_t{area.width} * picture.height > std::int64_t{area.height} * picture.width) {
        width = roundedQuotient(std::int64_t{area.height} * picture.width, picture.height);
    } else {
        height = roundedQuotient(std::int64_t{area.width} * picture.height, picture.width);
    }
    const std::int32_t left = (area.width - width) / 2;
    const std::int32_t top = (area.height - height) / 2;
    return WindowRect{left, top, left + width, top + height};
}
