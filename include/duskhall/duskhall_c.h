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
    DH_MODE_UNSPECIFIED = 0, /* taken as windowed */
    DH_MODE_WINDOWED = 1,
    DH_MODE_FULLSCREEN = 2
};

/** Which device formats the screen may choose among (PixelMode). */
enum {
    DH_PIXEL_INTEGER = 0, /* suits dh_show_frame */
    DH_PIXEL_FLOAT = 1    /* tries a floating-point device format first */
};

/** Key codes, 0..255, the same on every platform: letters and digits as their
 * upper-case ASCII codes, arrows 37..40, F1..F12 112..123 (see KeyCode.h). */
enum {
    DH_KEY_ENTER = 10,
    DH_KEY_ESCAPE = 27,
    DH_KEY_SPACE = 32
};

/** How a frame fills a window of another size (Scaling). */
enum {
    DH_SCALING_FIT = 0,     /* the largest size of the frame's shape, black bars beside it */
    DH_SCALING_INTEGER = 1, /* the largest whole multiple, centred: crisp pixels */
    DH_SCALING_STRETCH = 2  /* the whole window, whatever its shape */
};

/** The modifier keys held, as bits of dh_modifiers (Modifiers): test a side alone
 * (DH_MOD_LEFT_SHIFT) or either side (DH_MOD_SHIFT). Where a platform cannot tell
 * the sides apart, the left key's bit stands for both. */
enum {
    DH_MOD_LEFT_SHIFT = 0x01,
    DH_MOD_RIGHT_SHIFT = 0x02,
    DH_MOD_LEFT_CONTROL = 0x04,
    DH_MOD_RIGHT_CONTROL = 0x08,
    DH_MOD_LEFT_ALT = 0x10,
    DH_MOD_RIGHT_ALT = 0x20,
    DH_MOD_LEFT_SUPER = 0x40, /* the Windows or Command key */
    DH_MOD_RIGHT_SUPER = 0x80,
    DH_MOD_SHIFT = 0x03,
    DH_MOD_CONTROL = 0x0C,
    DH_MOD_ALT = 0x30,
    DH_MOD_SUPER = 0xC0
};

/** The buttons held (1 or 0), the pointer position in frame pixels and the last
 * move's change dx, dy (the only measure of movement with the relative mouse on)
 * (MouseState). */
typedef struct dh_mouse {
    int32_t left;   /**< 1 while the left button is held */
    int32_t middle; /**< 1 while the middle button is held */
    int32_t right;  /**< 1 while the right button is held */
    float x;        /**< the pointer's column, 0 at the frame's left edge */
    float y;        /**< the pointer's row, 0 at the frame's top edge */
    float dx;       /**< the last move's change across, in frame pixels */
    float dy;       /**< the last move's change down, in frame pixels */
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

/** The title (UTF-8), "" while closed. */
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

/* ---- On an open screen ----
 * Each dh_set_... below acts on an open screen: it answers 1, or 0 with nothing
 * changed (dh_error() says why) on a closed screen and for refused arguments.
 * What it sets is kept over mode switches, closing and reopening, and the
 * matching getter answers it. */

/** Whether the user may resize the window by its edges (0, the default, or 1). */
int dh_set_resizable(dh_screen* screen, int on);
/** 1 when the user may resize the window. */
int dh_resizable(const dh_screen* screen);
/** How the frame fills a window of another size: DH_SCALING_... (FIT by default). */
int dh_set_scaling(dh_screen* screen, int32_t scaling);
/** The scaling in force: DH_SCALING_.... */
int32_t dh_scaling(const dh_screen* screen);
/** Sizes the window to factor times the frame; 0 when that does not fit the desktop. */
int dh_set_zoom(dh_screen* screen, int32_t factor);
/** Later frames have width x height pixels; the window keeps its size. */
int dh_set_frame_size(dh_screen* screen, int32_t width, int32_t height);
/** The desktop the window is on, in pixels (0 x 0 while closed); either pointer may be null. */
void dh_desktop_size(const dh_screen* screen, int32_t* width, int32_t* height);
/** 1.0 normally, 2.0 on a doubled high-DPI desktop (1.0 while closed). */
float dh_display_scale(const dh_screen* screen);

/** The modifier keys held now: DH_MOD_... bits. */
uint32_t dh_modifiers(const dh_screen* screen);
/** Shows (1, the default) or hides (0) the pointer over the window. */
int dh_set_cursor_visible(dh_screen* screen, int visible);
/** 1 while the pointer shows over the window. */
int dh_cursor_visible(const dh_screen* screen);
/** On (1): the pointer hidden and held, moves come as dh_mouse's dx and dy only. */
int dh_set_relative_mouse(dh_screen* screen, int on);
/** 1 while the pointer is held for the relative mouse. */
int dh_relative_mouse(const dh_screen* screen);

/** The window's title (UTF-8; null: empty). */
int dh_set_title(dh_screen* screen, const char* title);
/** A window without frame and caption (0, the default, or 1); fullscreen has none anyway. */
int dh_set_borderless(dh_screen* screen, int on);
/** 1 while the window is without frame and caption. */
int dh_borderless(const dh_screen* screen);
/** A window kept above the others (0, the default, or 1). */
int dh_set_always_on_top(dh_screen* screen, int on);
/** 1 while the window is kept above the others. */
int dh_always_on_top(const dh_screen* screen);
/** The window's icon: width x height words 0xAARRGGBB (alpha 255 opaque), row by
 * row, copied; each side 1 to 256. */
int dh_set_icon(dh_screen* screen, const uint32_t* pixels, int32_t width, int32_t height);

/* ---- Callbacks ----
 * Each setter installs one function (null removes it) and the user pointer it is
 * given back. They run inside dh_show_frame (and dh_open_screen, dh_close_screen),
 * may call the screen's functions except dh_close, and come in the order the C++
 * InputObserver documents. */

/** Called with a key code (DH_KEY_... and KeyCode.h). */
typedef void (*dh_key_callback)(dh_screen* screen, int32_t key, void* user);
/** Called with the mouse as now (valid during the call only). */
typedef void (*dh_mouse_callback)(dh_screen* screen, const dh_mouse* mouse, void* user);
/** Called with 1 when the window gains the keyboard focus, 0 when it loses it. */
typedef void (*dh_focus_callback)(dh_screen* screen, int active, void* user);
/** Called once a screen has opened. */
typedef void (*dh_opened_callback)(dh_screen* screen, void* user);
/** Returns 1 to let the window close, 0 to keep it open. */
typedef int (*dh_closing_callback)(dh_screen* screen, void* user);
/** Notches scrolled: dy positive away from the user, dx to the right. */
typedef void (*dh_wheel_callback)(dh_screen* screen, float dx, float dy, void* user);
/** Typed text, UTF-8, valid during the call only. */
typedef void (*dh_text_callback)(dh_screen* screen, const char* utf8, void* user);
/** The new size of the window's client area, in pixels. */
typedef void (*dh_resized_callback)(dh_screen* screen, int32_t width, int32_t height, void* user);

/** The first key-down of a key since its release (no auto-repeat). */
void dh_set_key_down_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** Every key-down, the first and each auto-repeat. */
void dh_set_key_stroke_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** A key released. */
void dh_set_key_up_callback(dh_screen* screen, dh_key_callback callback, void* user);
/** A mouse button pressed; its flag in the mouse is already set. */
void dh_set_button_down_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** A mouse button released (also outside the window while captured). */
void dh_set_button_up_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** The pointer moved, with the buttons as now held. */
void dh_set_pointer_moved_callback(dh_screen* screen, dh_mouse_callback callback, void* user);
/** The mouse wheel or a touchpad scrolled: one call per notch or precise-scroll event. */
void dh_set_wheel_callback(dh_screen* screen, dh_wheel_callback callback, void* user);
/** Text the user typed, after the keyboard layout, dead keys and composition: one
 * call per character or composed string, beside the key callbacks. */
void dh_set_text_callback(dh_screen* screen, dh_text_callback callback, void* user);
/** The window's client area changed size (the user, a zoom, a mode switch). */
void dh_set_resized_callback(dh_screen* screen, dh_resized_callback callback, void* user);
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
