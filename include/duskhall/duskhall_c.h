#ifndef DUSKHALL_C_H
#define DUSKHALL_C_H

/** \file
 * The display library for C and any language with a C foreign-function interface
 * (Python's ctypes for one): the C++ ScreenHandle and InputObserver behind an
 * opaque handle. Link the same libduskhall as C++ programs do. Functions return 1
 * for success and 0 for failure where they answer at all; dh_error() then says
 * why. Every function takes a null handle harmlessly (0, null or nothing).
 * Use a screen from the thread that created the first one, as in C++. */

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/** A screen: a window or the whole screen, and the callbacks it calls. */
typedef struct dh_screen dh_screen;

/** How a screen presents its frames (ScreenMode). */
enum {
    DH_MODE_UNSPECIFIED = 0, /**< taken as windowed */
    DH_MODE_WINDOWED = 1,    /**< a framed desktop window */
    DH_MODE_FULLSCREEN = 2   /**< the whole screen */
};

/** Which device formats the screen may choose among (PixelMode). */
enum {
    DH_PIXEL_INTEGER = 0, /**< suits dh_show_frame */
    DH_PIXEL_FLOAT = 1    /**< tries a floating-point device format first */
};

/** Key codes, 0..255, the same on every platform: letters and digits as their
 * upper-case ASCII codes, arrows 37..40, F1..F12 112..123 (see KeyCode.h). */
enum {
    DH_KEY_ENTER = 10,  /**< Enter */
    DH_KEY_ESCAPE = 27, /**< Escape */
    DH_KEY_SPACE = 32   /**< the space bar */
};

/** The buttons held (1 or 0) and the pointer position in frame pixels (MouseState). */
typedef struct dh_mouse {
    int32_t left;   /**< 1 while the left button is held */
    int32_t middle; /**< 1 while the middle button is held */
    int32_t right;  /**< 1 while the right button is held */
    float x;        /**< the pointer's column, 0 at the frame's left edge */
    float y;        /**< the pointer's row, 0 at the frame's top edge */
} dh_mouse;

/* ---- Screens ---- */

/** A closed screen with no callbacks, to install callbacks on before
 * dh_open_screen (so even "opened" reaches them). Null when no screen can be made
 * (dh_error() says why). Free it with dh_close. */
dh_screen* dh_create(void);

/** Closes the screen if it is open, then opens it: a window (or the whole screen)
 * of width x height pixels titled title (null: empty), mode one of DH_MODE_...,
 * pixelMode one of DH_PIXEL_.... 1 when open; 0, with the screen closed, when it
 * cannot open (dh_error() says why). */
int dh_open_screen(dh_screen* screen, const char* title, int32_t width, int32_t height,
                   int32_t mode, int32_t pixelMode);

/** dh_create then dh_open_screen: the open screen, or null (nothing to free) when
 * it cannot open, with dh_error() saying why. */
dh_screen* dh_open(const char* title, int32_t width, int32_t height, int32_t mode,
                   int32_t pixelMode);

/** 1 from a successful open until it closes (dh_close_screen, Escape, the close box). */
int dh_is_open(const dh_screen* screen);

/** One step of the frame loop: acts on a close or mode switch the user asked for,
 * keeps the frame rate, calls the callbacks for pending input, then shows the
 * frame. pixels: width x height words 0x--RRGGBB, row by row, read during the
 * call only. 0 whenever the screen is not open afterwards and for null pixels,
 * so `while (dh_show_frame(screen, pixels))` ends when the screen does. */
int dh_show_frame(dh_screen* screen, const uint32_t* pixels);

/** As dh_show_frame for a frame of floats: width x height pixels of four floats
 * each, in memory order alpha, blue, green, red (colours 0 to 1, alpha ignored),
 * row by row. */
int dh_show_float_frame(dh_screen* screen, const float* pixels);

/** Closes the window; the screen keeps its callbacks and settings and may be
 * opened again. May be called from a callback. */
void dh_close_screen(dh_screen* screen);

/** Closes the screen and frees it; null is harmless. Never from its own callback. */
void dh_close(dh_screen* screen);

/** Why the last failure happened, in words for the user ("" when unknown); it
 * stays until the next failure. Also after a dh_open that gave null. */
const char* dh_error(void);

/* ---- What the screen was opened with (the title, "" while closed) ---- */

/** The window's title. */
const char* dh_title(const dh_screen* screen);
/** The frame's width in pixels. */
int32_t dh_width(const dh_screen* screen);
/** The frame's height in pixels. */
int32_t dh_height(const dh_screen* screen);
/** DH_MODE_... in force (DH_MODE_UNSPECIFIED while closed). */
int32_t dh_mode(const dh_screen* screen);
/** DH_PIXEL_.... */
int32_t dh_pixel_mode(const dh_screen* screen);

/* ---- Settings (they outlive closing and reopening) ---- */

/** Changes the window's title (null: empty). */
void dh_set_title(dh_screen* screen, const char* title);
/** On (1, the default): showing a frame waits for the display's refresh. */
void dh_set_vsync(dh_screen* screen, int on);
/** 1 while vsync is on. */
int dh_vsync(const dh_screen* screen);
/** The most frames a second dh_show_frame lets through; 0 (the default, and for
 * negative values) means no limit. */
void dh_set_frame_rate(dh_screen* screen, int32_t framesPerSecond);
/** The frame rate limit, 0 for none. */
int32_t dh_frame_rate(const dh_screen* screen);
/** On (1, the default): Escape closes, Alt+Enter switches to and from fullscreen,
 * and on Linux Ctrl+1/2/4/8 zoom. Off: all of them are ordinary keys. */
void dh_set_built_in_keys(dh_screen* screen, int on);
/** 1 while the screen's own keys are on. */
int dh_built_in_keys(const dh_screen* screen);

/* ---- Callbacks ----
 * Each setter installs one function (null removes it) and the user pointer it is
 * given back. They run inside dh_show_frame (and dh_open_screen, dh_close_screen),
 * may call the screen's functions except dh_close, and come in the order the C++
 * InputObserver documents. */

/** A key event: the key's code (DH_KEY_... and see KeyCode.h). */
typedef void (*dh_key_callback)(dh_screen* screen, int32_t key, void* user);
/** A mouse event: the buttons and the pointer, valid during the call only. */
typedef void (*dh_mouse_callback)(dh_screen* screen, const dh_mouse* mouse, void* user);
/** The focus gained (1) or lost (0). */
typedef void (*dh_focus_callback)(dh_screen* screen, int active, void* user);
/** The screen has opened. */
typedef void (*dh_opened_callback)(dh_screen* screen, void* user);
/** Returns 1 to let the window close, 0 to keep it open. */
typedef int (*dh_closing_callback)(dh_screen* screen, void* user);

/** The first key-down of a key since its release (no auto-repeat). */
void dh_set_key_down_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** Every key-down, the first and each auto-repeat. */
void dh_set_key_stroke_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** A key released. */
void dh_set_key_up_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** A mouse button pressed (its flag already set). */
void dh_set_button_down_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** A mouse button released. */
void dh_set_button_up_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** The pointer moved, with the buttons as now held. */
void dh_set_pointer_moved_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** The window gained (1) or lost (0) the keyboard focus. */
void dh_set_focus_changed_callback(dh_screen* screen, dh_focus_callback callback, void* user);
/** Once at the end of each successful open. */
void dh_set_opened_callback(dh_screen* screen, dh_opened_callback callback, void* user);
/** The user asked to close the window (close box, Alt+F4); without a callback it closes. */
void dh_set_closing_callback(dh_screen* screen, dh_closing_callback callback, void* user);

#ifdef __cplusplus
}
#endif

#endif
