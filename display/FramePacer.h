#pragma once

#include <chrono>
#include <cstdint>

namespace duskhall {

// When each frame of a frame-rate limit may be shown. Deadlines lie whole periods
// apart, so sleeping to them does not drift; a frame late by less than a period
// lets the next one come early, and one later than that restarts the count from
// now, so a stall is never caught up.
class FramePacer {
  public:
    using Clock = std::chrono::steady_clock;

    // 0 (or less) means no limit; a new rate starts a new count.
    void setRate(std::int32_t framesPerSecond);
    std::int32_t rate() const { return rate_; }
    // Forgets the last deadline: the next frame is shown at once.
    void restart() { started_ = false; }
    // When the frame asked for at now may be shown (now itself when at once), and
    // moves on to the next deadline.
    Clock::time_point nextFrame(Clock::time_point now);

  private:
    std::int32_t rate_ = 0;
    Clock::duration period_{};
    Clock::time_point deadline_{};
    bool started_ = false;
};

} // namespace duskhall
