#include "app/FrameSizeArgument.h"

#include "renderer/draw/FrameGeometry.h"

#include <cctype>

namespace {

// Decimal digits, a minus sign allowed so that a negative side is reported as out
// of range; up to 18 digits, so that any number given is read as one.
bool parseSide(std::string text, long long& value) {
    const bool negative = !text.empty() && text[0] == '-';
    if (negative) {
        text.erase(0, 1);
    }
    if (text.empty() || text.size() > 18) {
        return false;
    }
    value = 0;
    for (char c : text) {
        if (!std::isdigit(static_cast<unsigned char>(c))) {
            return false;
        }
        value = value * 10 + (c - '0');
    }
    value = negative ? -value : value;
    return true;
}

std::string allowedSizes() {
    return "from " + std::to_string(minFrameWidth) + "x" + std::to_string(minFrameHeight) + " to " +
           std::to_string(maxFrameWidth) + "x" + std::to_string(maxFrameHeight);
}

} // namespace

bool parseFrameSize(const std::string& text, std::int32_t& width, std::int32_t& height,
                    std::string& error) {
    const std::size_t cross = text.find_first_of("xX");
    long long w = 0;
    long long h = 0;
    if (cross == std::string::npos || !parseSide(text.substr(0, cross), w) ||
        !parseSide(text.substr(cross + 1), h)) {
        error = "size \"" + text + "\" is not WIDTHxHEIGHT in pixels, like 1920x1080";
        return false;
    }
    if (w < minFrameWidth || w > maxFrameWidth || h < minFrameHeight || h > maxFrameHeight) {
        error = "size " + text + " is outside the sizes drawn, " + allowedSizes();
        return false;
    }
    width = static_cast<std::int32_t>(w);
    height = static_cast<std::int32_t>(h);
    return true;
}
