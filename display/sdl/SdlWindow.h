#pragma once

#include "display/WindowCore.h"

#include <SDL.h>

#include <array>
#include <cstddef>

namespace duskhall {

// The SDL window of an open screen. All decisions are WindowCore's; this class
// only carries them out with SDL and feeds it the translated events. Positions
// and sizes are those of the client area: the window manager's frame is not
// ours to count (SDL cannot report it before the window is mapped).
class SdlWindow : public WindowCore {
  public:
    SdlWindow(ScreenCore* screen, const char* title, std::int32_t width, std::int32_t height);
    ~SdlWindow() override;

    // False when SDL could not create the window.
    bool valid() const { return window_ != nullptr; }
    SDL_Window* handle() const { return window_; }
    Uint32 id() const { return id_; }

    void pumpMessages() override;
    bool hidden() const override;
    // Hides the window at once; SDL's window goes with the record.
    void destroy() override;
    void setCaption(const char* title) override;
    Modifiers modifiers() override;
    void setTopmost(bool on) override;
    bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) override;

    // Translates one event and runs it through the window logic; a keyboard
    // shortcut standing in for the system menu is carried out instead of the key
    // while the built-in keys are on.
    void dispatch(const SDL_Event& event);
    // Called with each renderer made; after the first, puts the window back where
    // the last move put it: making the first renderer may make SDL create the
    // window anew at the place it was created at.
    void keepPlace();
    // Keeps an event of this window until the next pump (dropped when full).
    void enqueue(const SDL_Event& event);

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
    // SDL's relative mouse mode: hidden, held, motion reported as changes.
    bool holdPointer(bool on) override;
    void applyResizable() override;

  public:
    float displayScale() override;

  private:
    bool ourOwnMove(std::intptr_t position) const;

    SDL_Window* window_ = nullptr;
    Uint32 id_ = 0;
    bool fullscreenStyle_ = false;
    // Where our last move put the window, so its echo is not taken for a user drag.
    int movedX_ = 0;
    int movedY_ = 0;
    bool moved_ = false;
    bool rendererMade_ = false;
    // The modifiers as the key events delivered so far left them: SDL's own state
    // has already taken in every event queued behind them.
    Uint16 eventModifiers_ = 0;
    std::array<SDL_Event, 256> pending_{};
    std::size_t first_ = 0;
    std::size_t count_ = 0;
};

} // namespace duskhall
