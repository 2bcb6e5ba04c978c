#include "app/FrameRateTitle.h"

#include <cmath>
#include <cstdio>

namespace {

constexpr double measuringTime = 1.0;

} // namespace

FrameRateTitle::FrameRateTitle(const char* base) {
    std::snprintf(base_, sizeof base_, "%s", base);
    std::snprintf(title_, sizeof title_, "%s", base_);
}

void FrameRateTitle::toggle(double now) {
    showing_ = !showing_;
    since_ = now;
    frames_ = 0;
    // Until the first second is measured the readout says it is measuring.
    if (showing_) {
        std::snprintf(title_, sizeof title_, "%s \xC2\xB7 \xE2\x80\xA6 fps", base_);
    } else {
        std::snprintf(title_, sizeof title_, "%s", base_);
    }
}

bool FrameRateTitle::frameShown(double now) {
    if (!showing_) {
        return false;
    }
    ++frames_;
    const double elapsed = now - since_;
    if (!(elapsed >= measuringTime)) {
        return false;
    }
    const long rate = std::lround(static_cast<double>(frames_) / elapsed);
    std::snprintf(title_, sizeof title_, "%s \xC2\xB7 %ld fps", base_, rate);
    since_ = now;
    frames_ = 0;
    return true;
}
