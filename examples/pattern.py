#!/usr/bin/env python3
"""The pattern example in Python, through ctypes and libduskhall.so alone.

  pattern.py [path/to/libduskhall.so]

An animated pattern in a 320 x 240 window: the mouse pointer lights up a spot,
Space swaps the two colour ramps, Escape or the close box ends it with status 0.
"""
import ctypes
import ctypes.util
import sys

WIDTH, HEIGHT = 320, 240
DH_MODE_WINDOWED, DH_PIXEL_INTEGER, DH_KEY_SPACE = 1, 0, 32


class Mouse(ctypes.Structure):
    _fields_ = [("left", ctypes.c_int32), ("middle", ctypes.c_int32), ("right", ctypes.c_int32),
                ("x", ctypes.c_float), ("y", ctypes.c_float), ("dx", ctypes.c_float),
                ("dy", ctypes.c_float)]


KEY_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.c_int32, ctypes.c_void_p)
MOUSE_CALLBACK = ctypes.CFUNCTYPE(None, ctypes.c_void_p, ctypes.POINTER(Mouse), ctypes.c_void_p)


def load(path):
    lib = ctypes.CDLL(path or ctypes.util.find_library("duskhall") or "libduskhall.so.0")
    lib.dh_create.restype = ctypes.c_void_p
    lib.dh_open_screen.argtypes = [ctypes.c_void_p, ctypes.c_char_p] + [ctypes.c_int32] * 4
    lib.dh_show_frame.argtypes = [ctypes.c_void_p, ctypes.c_void_p]
    lib.dh_set_frame_rate.argtypes = [ctypes.c_void_p, ctypes.c_int32]
    lib.dh_close.argtypes = [ctypes.c_void_p]
    lib.dh_error.restype = ctypes.c_char_p
    lib.dh_set_key_down_callback.argtypes = [ctypes.c_void_p, KEY_CALLBACK, ctypes.c_void_p]
    for name in ("pointer_moved", "button_down", "button_up"):
        getattr(lib, f"dh_set_{name}_callback").argtypes = [ctypes.c_void_p, MOUSE_CALLBACK,
                                                              ctypes.c_void_p]
    return lib


def main():
    lib = load(sys.argv[1] if len(sys.argv) > 1 else None)
    state = {"swapped": False, "mouse": None}

    # Input arrives inside dh_show_frame; the callbacks only record it.
    def key_down(_screen, key, _user):
        if key == DH_KEY_SPACE:
            state["swapped"] = not state["swapped"]

    def mouse_event(_screen, mouse, _user):
        state["mouse"] = (mouse.contents.x, mouse.contents.y, mouse.contents.left)

    # Kept referenced while the screen may call them.
    on_key, on_mouse = KEY_CALLBACK(key_down), MOUSE_CALLBACK(mouse_event)
    screen = lib.dh_create()
    if not screen:
        sys.exit(f"pattern.py: no screen: {lib.dh_error().decode()}")
    lib.dh_set_key_down_callback(screen, on_key, None)
    for name in ("pointer_moved", "button_down", "button_up"):
        getattr(lib, f"dh_set_{name}_callback")(screen, on_mouse, None)
    if not lib.dh_open_screen(screen, b"duskhall pattern", WIDTH, HEIGHT, DH_MODE_WINDOWED,
                              DH_PIXEL_INTEGER):
        error = lib.dh_error().decode()
        lib.dh_close(screen)
        sys.exit(f"pattern.py: cannot open a window: {error}")
    lib.dh_set_frame_rate(screen, 60)

    across = [x * 255 // (WIDTH - 1) for x in range(WIDTH)]
    down = [y * 255 // (HEIGHT - 1) for y in range(HEIGHT)]
    pixels = (ctypes.c_uint32 * (WIDTH * HEIGHT))()
    frame = 0
    while True:
        # Green and blue ramp across and down (swapped by Space); red moves with the frame.
        swapped = state["swapped"]
        rows = []
        for y in range(HEIGHT):
            d = down[y]
            if swapped:
                rows += [0xFF000000 | ((x ^ y) + frame & 0xFF) << 16 | d << 8 | across[x]
                         for x in range(WIDTH)]
            else:
                rows += [0xFF000000 | ((x ^ y) + frame & 0xFF) << 16 | across[x] << 8 | d
                         for x in range(WIDTH)]
        pixels[:] = rows
        if state["mouse"]:
            mx, my, left = state["mouse"]
            radius = 24 if left else 12
            for y in range(max(0, int(my) - radius), min(HEIGHT, int(my) + radius + 1)):
                for x in range(max(0, int(mx) - radius), min(WIDTH, int(mx) + radius + 1)):
                    if (x - mx) ** 2 + (y - my) ** 2 <= radius * radius:
                        pixels[y * WIDTH + x] = 0xFFFFFFFF
        # 0 once the screen has closed (Escape, the close box).
        if not lib.dh_show_frame(screen, pixels):
            break
        frame += 1
    lib.dh_close(screen)


if __name__ == "__main__":
    main()
