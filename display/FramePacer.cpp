#include "display/FramePacer.h"

namespace duskhall {

void FramePacer::setRate(std::int32_t framesPerSecond) {
    rate_ = framesPerSecond > 0 ? framesPerSecond : 0;
    period_ = rate_ > 0
                  ? std::chrono::duration_cast<Clock::duration>(std::chrono::seconds(1)) / rate_
                  : Clock::duration{};
    started_ = false;
}

FramePacer::Clock::time_point FramePacer::nextFrame(Clock::time_point now) {
    if (rate_ == 0) {
        return now;
    }
    if (!started_) {
        started_ = true;
        deadline_ = now + period_;
        return now;
    }
    const Clock::time_point shown = now < deadline_ ? deadline_ : now;
    // Late by more than a period: the missed deadlines are not caught up.
    deadline_ = now - deadline_ > period_ ? now + period_ : deadline_ + period_;
    return shown;
}

} // namespace duskhall
