#pragma once

namespace duskhall {

// What a window asks of the screen that owns it. Requests are flags the next
// frame acts on; the enter operations switch at once.
class ScreenControl {
  public:
    virtual bool paint() = 0;
    virtual bool enterFullscreen() = 0;
    virtual bool enterWindowed() = 0;
    virtual void requestToggle() = 0;
    virtual void requestClose() = 0;

  protected:
    // Never deleted through this interface.
    ~ScreenControl() = default;
};

} // namespace duskhall
