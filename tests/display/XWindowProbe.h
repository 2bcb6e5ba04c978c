#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Looks at windows on the X display from the outside, as a user or a window
// manager would.
class XWindowProbe {
  public:
    XWindowProbe();
    ~XWindowProbe();
    XWindowProbe(const XWindowProbe&) = delete;
    XWindowProbe& operator=(const XWindowProbe&) = delete;

    bool connected() const { return display_ != nullptr; }
    // The first viewable top-level window with this name, or 0.
    unsigned long findWindow(const std::string& name);
    // Waits up to the given time for findWindow to succeed.
    unsigned long waitForWindow(const std::string& name, int milliseconds);
    // The window's title as its WM_NAME holds it (UTF-8 from SDL), or empty.
    std::string windowName(unsigned long window);
    // What the close box does: asks the window to close (WM_DELETE_WINDOW).
    void askToClose(unsigned long window);
    // A property of 32-bit items (CARDINAL, ATOM), as a window manager reads it;
    // empty when the window has none.
    std::vector<unsigned long> property32(unsigned long window, const char* name);
    unsigned long atom(const char* name);
    // Sets the root window's RESOURCE_MANAGER string, as xrdb does; empty removes it.
    void setResources(const std::string& text);
    // The screen's width in pixels against its millimetres, in dots per inch.
    float screenDpi();
    // The window's pixels as 0x00RRGGBB, row-major; empty when it cannot be read.
    std::vector<std::uint32_t> capture(unsigned long window, int& width, int& height);

  private:
    struct _XDisplay* display_ = nullptr;
};
