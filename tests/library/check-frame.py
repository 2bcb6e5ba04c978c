#!/usr/bin/env python3
"""Checks a screenshot of an example's window against what the example draws.

  check-frame.py pattern PPM MOUSE_X MOUSE_Y   green ramps across, blue down, a lit spot at the mouse
  check-frame.py swapped PPM MOUSE_X MOUSE_Y   the same with the ramps swapped (after Space)
  check-frame.py float PPM                     red ramps across, green down, blue the same everywhere

The picture is the window's 320 x 240 client area as a binary PPM.
"""
import sys

WIDTH, HEIGHT = 320, 240


def read_ppm(path):
    with open(path, "rb") as f:
        data = f.read()
    fields = []
    pos = 0
    while len(fields) < 4:
        while data[pos:pos + 1].isspace():
            pos += 1
        if data[pos:pos + 1] == b"#":
            pos = data.index(b"\n", pos)
            continue
        end = pos
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[pos:end])
        pos = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit(f"{path}: not an 8-bit binary PPM")
    width, height = int(fields[1]), int(fields[2])
    pixels = data[pos + 1:]
    if (width, height) != (WIDTH, HEIGHT) or len(pixels) < width * height * 3:
        sys.exit(f"{path}: {width}x{height}, not the {WIDTH}x{HEIGHT} client area")
    return lambda x, y: tuple(pixels[(y * width + x) * 3:(y * width + x) * 3 + 3])


def near(value, expected, tolerance=2):
    return abs(value - expected) <= tolerance


def check_pattern(pixel, mouse_x, mouse_y, swapped):
    wrong = 0
    reds = set()
    for y in range(HEIGHT):
        for x in range(WIDTH):
            if (x - mouse_x) ** 2 + (y - mouse_y) ** 2 <= 15 ** 2:
                continue  # the lit spot and its edge
            r, g, b = pixel(x, y)
            across, down = x * 255 // (WIDTH - 1), y * 255 // (HEIGHT - 1)
            if swapped:
                across, down = down, across
            if not (near(g, across) and near(b, down)):
                wrong += 1
            reds.add(r)
    lit = sum(pixel(x, y) == (255, 255, 255)
              for y in range(mouse_y - 8, mouse_y + 9) for x in range(mouse_x - 8, mouse_x + 9)
              if (x - mouse_x) ** 2 + (y - mouse_y) ** 2 <= 8 ** 2)
    print(f"{'swapped' if swapped else 'pattern'}: {wrong} pixels off the ramps, {len(reds)} red values, {lit} lit pixels at the mouse")
    if wrong > WIDTH * HEIGHT // 200:
        sys.exit("FAIL: the window does not show the example's ramps")
    if len(reds) < 64:
        sys.exit("FAIL: the red pattern is missing")
    if lit < 190:
        sys.exit("FAIL: no lit spot at the mouse pointer")


def check_float(pixel):
    wrong = 0
    blues = {}
    for y in range(HEIGHT):
        for x in range(WIDTH):
            r, g, b = pixel(x, y)
            if not (near(r, x * 255 / (WIDTH - 1)) and near(g, y * 255 / (HEIGHT - 1))):
                wrong += 1
            blues[b] = blues.get(b, 0) + 1
    common = max(blues.values())
    print(f"float: {wrong} pixels off the ramps, blue {max(blues, key=blues.get)} on {common} pixels")
    if wrong > WIDTH * HEIGHT // 200:
        sys.exit("FAIL: the window does not show the example's float ramps")
    # One frame's blue is the same everywhere (a frame shown half-way may split it).
    if common < WIDTH * HEIGHT // 2:
        sys.exit("FAIL: blue varies across the frame")


def main():
    kind, path = sys.argv[1], sys.argv[2]
    pixel = read_ppm(path)
    if kind in ("pattern", "swapped"):
        check_pattern(pixel, int(sys.argv[3]), int(sys.argv[4]), kind == "swapped")
    elif kind == "float":
        check_float(pixel)
    else:
        sys.exit(f"unknown check {kind}")


main()
