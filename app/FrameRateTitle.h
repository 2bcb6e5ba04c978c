#pragma once

#include <cstdint>

// The window title with an optional frame-rate readout ("duskhall · 60 fps"),
// measured over about a second of frames. Times are seconds on a steady clock.
class FrameRateTitle {
  public:
    static constexpr int Capacity = 64;
    static constexpr int BaseCapacity = 32; // leaves room for the longest readout

    // base is the title without the readout; longer ones are cut to 31 bytes.
    explicit FrameRateTitle(const char* base);

    bool showing() const { return showing_; }
    // Switches the readout on (measuring from now) or off; the title changes.
    void toggle(double now);
    // Counts a frame shown at now; true when the title has just changed.
    bool frameShown(double now);
    const char* title() const { return title_; }

  private:
    char base_[BaseCapacity];
    char title_[Capacity];
    bool showing_ = false;
    double since_ = 0.0;
    std::int64_t frames_ = 0;
};
