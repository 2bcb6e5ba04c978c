#pragma once

#include <duskhall/InputObserver.h>
#include <duskhall/Modifiers.h>
#include <duskhall/MouseState.h>
#include <duskhall/PixelTypes.h>

#include "display/KeyTable.h"
#include "display/TypedText.h"
#include "display/WindowGeometry.h"
#include "display/WindowMessage.h"

#include <array>
#include <cstdint>

namespace duskhall {

class ScreenCore;

enum class CursorKind { Arrow, Blank };

// The screen's observer as the window sees it: read and set through the screen,
// which holds the only copy.
class ObserverLink {
  public:
    explicit ObserverLink(ScreenCore& screen) : screen_(screen) {}
    ObserverLink(const ObserverLink&) = delete;
    ObserverLink& operator=(const ObserverLink&) = delete;
    ObserverLink& operator=(InputObserver* observer);
    operator InputObserver*() const;
    InputObserver* operator->() const { return *this; }

  private:
    ScreenCore& screen_;
};

// The platform-independent half of a screen's window: its input state and every
// decision of the window procedure, placement and system menu. A platform window
// derives from it, implements the hooks with real calls and feeds its messages to
// handleMessage. The fields are the window record; the platform half reads them.
class WindowCore {
  public:
    // screen must not be null; its requests and switches are what the window asks for.
    WindowCore(ScreenCore* screen, std::int32_t width, std::int32_t height);
    virtual ~WindowCore() = default;
    WindowCore(const WindowCore&) = delete;
    WindowCore& operator=(const WindowCore&) = delete;

    // The window procedure's body. True when the caller then passes the message
    // on to the system's default handling: every message but a close the
    // observer refused, whose default handling would destroy the window.
    bool handleMessage(const WindowMessage& message);

    void applyWindowedStyle(std::int32_t width, std::int32_t height);
    void applyFullscreenStyle(std::int32_t width, std::int32_t height);
    void centre();
    void zoom(float factor);
    void rebuildSystemMenu();
    // First step of every pump: keep the cursor hidden over an active fullscreen window.
    void pumpStarting();
    WindowPlacement placement();
    void restorePlacement(const WindowPlacement& placement);
    void show() { setVisible(true); }
    // What the system menu's rules are decided on, as things are now.
    MenuState menuState();
    // Tells the observer the client area's size when it differs from the last
    // one told (the frame size at first); a minimised window's empty area is not
    // told.
    void noteClientSize();
    // Lets the user resize the window by its edges, or not.
    void setResizable(bool on);
    // For platforms whose keyboard shortcuts stand in for the system menu: with
    // the built-in keys on, carries out command (0: none) for the first press of
    // virtualKey and takes that press and its repeats from the observer; true
    // when the key event is taken. A release ends the taking.
    bool takeShortcut(int virtualKey, bool pressed, std::int32_t command);

    // The cursor over the client area: blank in the fullscreen style, while the
    // pointer is held and while the program hides it.
    CursorKind clientCursor(bool windowedStyle) const;
    // Shows the cursor the settings ask for now, if the pointer is over the window.
    void refreshCursor();
    // Holds the pointer (hidden, its moves reported as changes only) or lets it
    // go; holding again takes it anew where the window now is. False, with
    // displayError set, when the platform refuses to hold it.
    bool setPointerHeld(bool on);

    // The platform window's part of the screen lifecycle.
    // Handles this window's queued messages until none is left, or until the
    // window is destroyed or closed from inside a handler.
    virtual void pumpMessages() = 0;
    virtual bool hidden() const = 0;
    // Destroys (or at least hides) the platform window at once; the record stays
    // usable for messages still on their way. Sets destroyed.
    virtual void destroy() = 0;
    // Shows a new title (UTF-8) in the window's caption; windows without a caption
    // of their own ignore it.
    virtual void setCaption(const char* title) { (void)title; }
    // The modifier keys held now.
    virtual Modifiers modifiers() { return Modifiers{}; }
    // Keeps the window above the others, or lets it go back among them; windows
    // the system stacks itself ignore it.
    virtual void setTopmost(bool on) { (void)on; }
    // Shows width x height pixels 0xAARRGGBB (sides 1 to 256) as the window's icon.
    // False, with displayError saying why, when the system refuses it.
    virtual bool setIcon(const PackedPixel* pixels, std::int32_t width, std::int32_t height) {
        (void)pixels;
        (void)width;
        (void)height;
        return true;
    }
    // Drops (on) or restores the frame and caption of the windowed style, keeping
    // the client area where it is; in the fullscreen style it is kept for the
    // way back.
    void setBorderless(bool on);

    std::int32_t width;
    std::int32_t height;
    bool active = false;
    std::int32_t windowed = 1; // 1 in the windowed style, 0 in the fullscreen style
    MouseState mouse;
    KeyTable keyTable;
    std::array<bool, 256> keyLatched{};
    std::array<bool, 256> keyTaken{}; // pressed as a shortcut the screen acted on
    bool centred = false;
    // The windowed style without frame and caption; setFrameStyle(true) reads it.
    bool borderless = false;
    ScreenCore* screen;
    ObserverLink observer;
    // Set when the platform window has been destroyed (WM_DESTROY, or the screen
    // closed); the platform half must not touch its window any more.
    bool destroyed = false;
    // Set by the platform half when the system refused a style change.
    bool styleFailed = false;
    // Whether the user may resize the window (set through setResizable).
    bool resizable = false;
    // The client size the observer was last told of.
    WindowSize toldClientSize;
    // The menu entries last applied.
    MenuList menuEntries;
    // Set while the pointer is held for the relative mouse.
    bool pointerHeld = false;
    TypedText typedText;

  protected:
    // Set by platforms whose own key events may leave a release without its press
    // (a key taken as a shortcut, held when the window gained the focus): a keyUp
    // is then delivered only after a keyDown of that key. Windows keeps its
    // message table, where every release is delivered.
    bool keyUpsMatchKeyDowns = false;
    // Set by platforms that hold the pointer by moving it back to the client
    // area's centre after each move (Windows): their moves while held are then
    // read as changes from that centre. Others report them as wm::MouseDelta.
    bool holdsByWarping = false;

    // Platform hooks.
    virtual bool altHeld() = 0;
    virtual void setCapture() = 0;
    virtual void releaseCapture() = 0;
    virtual WindowSize clientSize() = 0;
    virtual void setCursor(CursorKind cursor) = 0;
    virtual void setVisible(bool visible) = 0;
    virtual void setFrameStyle(bool windowedStyle) = 0;
    virtual WindowRect outerRect() = 0;
    // Move and size the window (outer rectangle) without changing its z-order.
    virtual void moveWindow(const WindowRect& outer) = 0;
    virtual WindowSize screenSize() = 0;
    virtual FrameInsets frameInsets() = 0;
    virtual bool minimised() = 0;
    virtual bool maximised() = 0;
    // Remove the entries of menuRemovalOrder, then append these in order.
    virtual void applySystemMenu(const MenuList& entries) = 0;
    // Start or end holding the pointer over the client area (hidden, confined);
    // false, with displayError set, when the platform cannot.
    virtual bool holdPointer(bool on) {
        (void)on;
        return true;
    }
    // Put the pointer at this client position (platforms that hold by warping).
    virtual void warpPointer(std::int32_t clientX, std::int32_t clientY) {
        (void)clientX;
        (void)clientY;
    }
    // Whether the pointer is over the client area now.
    virtual bool pointerOverClient() { return true; }
    // Carries out a change of resizable (the windowed style's frame).
    virtual void applyResizable() {}

  public:
    // The picture's place changed (scaling, frame size): platforms that lay the
    // picture out themselves rather than in their output do it again.
    virtual void pictureChanged() {}
    // The desktop the window is on (its monitor), in pixels, and its scale: 1.0
    // normally, 2.0 on a doubled high-DPI desktop.
    virtual WindowSize desktopSize() { return screenSize(); }
    virtual float displayScale() { return 1.0f; }

  private:
    void keyPressed(int virtualKey);
    void keyReleased(int virtualKey);
    void menuCommand(std::uintptr_t command);
    void updatePosition(std::intptr_t lParam);
    void buttonPressed(bool MouseState::*button, std::intptr_t lParam);
    void buttonReleased(bool MouseState::*button, std::intptr_t lParam);
    bool closeAsked();
    void pointerMovedTo(std::intptr_t lParam);
    void heldPointerMoved(std::intptr_t lParam);
    void reportHeldMove(int clientDx, int clientDy);
    void wheelTurned(bool vertical, std::uintptr_t wParam);
    void deliverText(const TypedCharacters& characters);
    void focusLost();
    // Lets go of the pointer and turns the screen's relative mouse off.
    void releaseHold();
    void takePointerSettings();

    // Whether mouse holds a position moves can be measured from.
    bool positionKnown_ = false;
    // The client point a pointer held by warping is kept at.
    std::int32_t heldX_ = 0;
    std::int32_t heldY_ = 0;
};

} // namespace duskhall
