#pragma once

#include "renderer/camera/FreeCamera.h"
#include <duskhall/KeyCode.h>
#include <duskhall/MouseState.h>

#include <cstdint>

// The demo's keys and mouse read as explore mode's input. Keys held come from the
// shell's key table; presses and the mouse arrive as events between frames.
class ExploreControls {
  public:
    static constexpr duskhall::KeyCode KeyTab = 9;
    static constexpr duskhall::KeyCode KeySpace = 32;
    static constexpr duskhall::KeyCode KeyF = 70;
    static constexpr duskhall::KeyCode KeyM = 77;
    static constexpr duskhall::KeyCode KeyP = 80;
    static constexpr duskhall::KeyCode KeyF12 = 123;
    // A drag across the whole 320-pixel frame turns the view about 180 degrees.
    static constexpr float radiansPerPixel = 0.01f;

    // What the user asked of the next frame.
    struct FrameInput {
        MoveInput move;
        bool toggleExplore = false;
        int screenshots = 0; // one for each F12 press
        bool toggleFrameRate = false;
        bool toggleMap = false;
        bool toggleSharp = false; // pixel art (320 x 240 scaled up) or drawn at the window's size
    };

    void keyDown(duskhall::KeyCode key);
    void buttonDown(const duskhall::MouseState& mouse);
    void buttonUp(const duskhall::MouseState& mouse);
    void pointerMoved(const duskhall::MouseState& mouse);
    // A move of the held pointer while looking around: turns by its change, the
    // same way a drag does.
    void looked(const duskhall::MouseState& mouse);
    // Whether explore mode is on, as the demo last said: a click there takes the
    // pointer for looking around.
    void setExploring(bool on) { exploring_ = on; }
    bool exploring() const { return exploring_; }
    // Keys and buttons released while the window is inactive are never reported.
    void focusLost();

    // The input for the next frame from the keys now held (indexed by KeyCode) and
    // the events since the last call, which it forgets. A key pressed twice asks
    // twice: two presses of Tab leave explore mode as it was.
    FrameInput takeFrameInput(const std::uint8_t (&keyHeld)[256]);

  private:
    int explorePresses_ = 0;
    int usePresses_ = 0;
    int screenshotPresses_ = 0;
    int frameRatePresses_ = 0;
    int mapPresses_ = 0;
    bool exploring_ = false;
    int sharpPresses_ = 0;
    bool dragging_ = false;
    float dragX_ = 0.0f;
    float mouseTurn_ = 0.0f;
};
