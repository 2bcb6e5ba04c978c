#pragma once

#include "display/WindowCore.h"
#include "display/web/WebEvents.h"

#include <array>
#include <cstddef>

namespace duskhall {

// The canvas of an open screen, standing in for a window. All decisions are
// WindowCore's; this class carries them out on the page and feeds it the DOM's
// events. The DOM delivers them between frames, so they wait in a queue of plain
// records until the screen pumps, as a window's messages wait for its pump.
// Sizes are CSS pixels of the canvas element, whose box is the client area: the
// picture is its content box, placed by the scaling rule, and the bars its black
// padding. Its own pixels stay the frame's.
class WebWindow : public WindowCore {
  public:
    // canvas: a selector for the page's canvas element.
    WebWindow(ScreenCore* screen, const char* canvas, std::int32_t width, std::int32_t height);
    ~WebWindow() override;

    // True while a window listens to the page: the page's keys and focus are
    // one, so one screen at a time can have them.
    static bool anyListening();
    // False when the page has no such canvas.
    bool valid() const { return valid_; }
    const char* canvas() const { return canvas_; }

    void pumpMessages() override;
    bool hidden() const override { return hidden_; }
    // Stops listening to the page and hides the canvas.
    void destroy() override;
    // The page's title stands for the caption: document.title.
    void setCaption(const char* title) override;
    // The page's icon (its favicon), drawn on a canvas of its own.
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override;

    // For the DOM listeners: records an event (dropped when the queue is full).
    void queue(const WebEvent& event);
    // Where a DOM client position lies in the client area, in CSS pixels; false
    // when outside it.
    bool clientPosition(double clientX, double clientY, int& x, int& y);
    // Whether the listener should keep a key from the browser's own handling.
    bool keyIsOurs(const WebEvent& event) const;
    bool captured() const { return captured_; }
    // The modifiers as the DOM's key events have left them, each event carrying
    // its own; the screen's are those of the events delivered so far.
    void noteModifiersSeen(std::uint32_t bits) { modifiersSeen_ = bits; }
    std::uint32_t modifiersSeen() const { return modifiersSeen_; }
    Modifiers modifiers() override { return Modifiers{modifierBits_}; }
    // Whether the page's pointer lock is on the canvas, as its change events said.
    bool locked() const { return locked_; }
    void setLocked(bool locked) { locked_ = locked; }
    // Whether the core still wants the pointer held: a lock the browser grants
    // after the core let go again is given straight back.
    bool wantsLock() const { return wantsLock_; }
    bool fullscreenStyle() const { return fullscreenStyle_; }

  protected:
    bool altHeld() override;
    void setCapture() override;
    void releaseCapture() override;
    WindowSize clientSize() override;
    void setCursor(CursorKind cursor) override;
    void setVisible(bool visible) override;
    void setFrameStyle(bool windowedStyle) override;
    WindowRect outerRect() override;
    void moveWindow(const WindowRect& outer) override;
    WindowSize screenSize() override;
    FrameInsets frameInsets() override;
    bool minimised() override;
    bool maximised() override;
    void applySystemMenu(const MenuList& entries) override;
    // The page's pointer lock; the browser grants it only shortly after a user
    // gesture (a click or a key).
    bool holdPointer(bool on) override;
    void applyResizable() override;

  public:
    void pictureChanged() override { layout(); }
    // The screen's size, and devicePixelRatio: both in CSS pixels.
    WindowSize desktopSize() override;
    float displayScale() override;

  private:
    // Runs the oldest queued event through the window logic; false when the
    // queue is empty or the window has been destroyed.
    bool dispatchNext();
    void listen(bool on);
    // The client area: the canvas's box in the windowed style, the viewport while
    // it is resizable, the screen in fullscreen.
    WindowSize clientArea();
    // Sizes and places the canvas element for the client area and the scaling.
    void layout();

    const char* canvas_;
    bool valid_ = false;
    bool hidden_ = true;
    bool fullscreenStyle_ = false;
    bool captured_ = false;
    bool altHeld_ = false;
    std::uint32_t modifierBits_ = 0;
    std::uint32_t modifiersSeen_ = 0;
    bool locked_ = false;
    bool wantsLock_ = false;
    // The canvas element's CSS size in the windowed style.
    WindowSize cssSize_;
    std::array<WebEvent, 256> events_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace duskhall
