#!/usr/bin/env python3
"""Checks a screenshot of an example's window against what the example draws.

  check-frame.py pattern PPM MOUSE_X MOUSE_Y   green ramps across, blue down, a lit spot at the mouse
  check-frame.py swapped PPM MOUSE_X MOUSE_Y   the same with the ramps swapped (after Space)
  check-frame.py float PPM                     red ramps across, green down, blue the same everywhere
  check-frame.py viewer-SCALING PPM            the image viewer's picture (integer, fit or
                                               stretch) in its window resized to 700 x 400
  check-frame.py viewer-png PATH               writes the picture it shows: 160 x 120, red on
                                               the left half, blue on the right

The picture is the window's client area as a binary PPM: 320 x 240, 700 x 400 for the viewer.
"""
import struct
import sys
import zlib

WIDTH, HEIGHT = 320, 240


def read_ppm(path, size=(WIDTH, HEIGHT)):
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
    if (width, height) != size or len(pixels) < width * height * 3:
        sys.exit(f"{path}: {width}x{height}, not the {size[0]}x{size[1]} client area")
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


RED, BLUE, BLACK = (255, 0, 0), (0, 0, 255), (0, 0, 0)


def write_viewer_png(path):
    rows = b"".join(b"\0" + (b"\xff\0\0" * 80 + b"\0\0\xff" * 80) for _ in range(120))
    chunk = lambda kind, data: (struct.pack(">I", len(data)) + kind + data +
                                struct.pack(">I", zlib.crc32(kind + data)))
    with open(path, "wb") as f:
        f.write(b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", struct.pack(">IIBBBBB", 160, 120, 8, 2, 0, 0, 0)) +
                chunk(b"IDAT", zlib.compress(rows)) + chunk(b"IEND", b""))


# Points of the 700 x 400 window and what each scaling shows there. Fit: 533 x 400
# at x 83; Integer: three times the picture, 480 x 360 at (110, 20); Stretch: all.
VIEWER_POINTS = {
    "fit": [((40, 200), BLACK), ((100, 200), RED), ((600, 200), BLUE), ((650, 200), BLACK)],
    "integer": [((100, 200), BLACK), ((120, 200), RED), ((350, 10), BLACK), ((350, 30), BLUE),
                ((580, 200), BLUE), ((600, 200), BLACK)],
    "stretch": [((3, 3), RED), ((696, 396), BLUE), ((300, 200), RED), ((400, 200), BLUE)],
}


def check_viewer(pixel, scaling):
    wrong = [(point, pixel(*point), want) for point, want in VIEWER_POINTS[scaling]
             if not all(near(a, b, 8) for a, b in zip(pixel(*point), want))]
    for point, seen, want in wrong:
        print(f"{scaling}: at {point} {seen}, want {want}")
    if wrong:
        sys.exit(f"FAIL: the viewer does not place the picture as {scaling} scaling does")
    print(f"{scaling}: picture and bars where the scaling puts them")


def main():
    kind, path = sys.argv[1], sys.argv[2]
    if kind == "viewer-png":
        write_viewer_png(path)
        return
    if kind.startswith("viewer-"):
        check_viewer(read_ppm(path, (700, 400)), kind[len("viewer-"):])
        return
    pixel = read_ppm(path)
    if kind in ("pattern", "swapped"):
        check_pattern(pixel, int(sys.argv[3]), int(sys.argv[4]), kind == "swapped")
    elif kind == "float":
        check_float(pixel)
    else:
        sys.exit(f"unknown check {kind}")


main()
