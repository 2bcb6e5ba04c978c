#!/usr/bin/env python3
"""Writes the loader fuzzer's seed corpus: small PNG files, valid and broken,
built byte by byte here. Usage: make-corpus.py OUTDIR"""

import os
import struct
import sys
import zlib


def chunk(kind, data):
    body = kind + data
    return struct.pack(">I", len(data)) + body + struct.pack(">I", zlib.crc32(body) & 0xFFFFFFFF)


def header(width, height, depth, colour, interlace=0):
    return chunk(b"IHDR", struct.pack(">IIBBBBB", width, height, depth, colour, 0, 0, interlace))


CHANNELS = {0: 1, 2: 3, 3: 1, 4: 2, 6: 4}
SIGNATURE = b"\x89PNG\r\n\x1a\n"


def pack_row(samples, depth):
    """Packs samples of one row at the bit depth (big-endian, MSB first)."""
    if depth == 16:
        return b"".join(struct.pack(">H", s) for s in samples)
    if depth == 8:
        return bytes(samples)
    out, acc, bits = bytearray(), 0, 0
    for s in samples:
        acc = (acc << depth) | s
        bits += depth
        if bits == 8:
            out.append(acc)
            acc, bits = 0, 0
    if bits:
        out.append(acc << (8 - bits))
    return bytes(out)


ADAM7 = [(0, 0, 8, 8), (4, 0, 8, 8), (0, 4, 4, 8), (2, 0, 4, 4), (0, 2, 2, 4), (1, 0, 2, 2), (0, 1, 1, 2)]


def image_data(width, height, depth, colour, pixel, interlace):
    """Filter type 0 rows, Adam7 passes when interlaced."""
    raw = bytearray()
    passes = ADAM7 if interlace else [(0, 0, 1, 1)]
    for x0, y0, dx, dy in passes:
        xs = range(x0, width, dx)
        if not xs:
            continue
        for y in range(y0, height, dy):
            samples = [s for x in xs for s in pixel(x, y)]
            raw += b"\x00" + pack_row(samples, depth)
    return zlib.compress(bytes(raw), 9)


def png(width=64, height=64, depth=8, colour=2, interlace=0, pixel=None, extra=b"", split=1):
    if pixel is None:
        pixel = default_pixel(depth, colour)
    data = image_data(width, height, depth, colour, pixel, interlace)
    pieces = [data[i * len(data) // split:(i + 1) * len(data) // split] for i in range(split)]
    body = b"".join(chunk(b"IDAT", p) for p in pieces)
    return SIGNATURE + header(width, height, depth, colour, interlace) + extra + body + chunk(b"IEND", b"")


def default_pixel(depth, colour):
    top = (1 << depth) - 1
    def pixel(x, y):
        v = ((x // 8 + y // 8) % 2) * top
        return [v if i % 2 == 0 else top - v for i in range(CHANNELS[colour])]
    return pixel


def palette(entries):
    return chunk(b"PLTE", bytes(c for i in range(entries) for c in (i * 16 % 256, 255 - i, 90)))


def seeds():
    yield "rgb8", png()
    yield "rgba8", png(colour=6)
    yield "rgb16", png(depth=16)
    yield "grey1", png(depth=1, colour=0)
    yield "grey4", png(depth=4, colour=0)
    yield "grey8-trns", png(colour=0, extra=chunk(b"tRNS", b"\x00\x00"))
    yield "grey-alpha16", png(depth=16, colour=4)
    yield "palette2", png(depth=2, colour=3, extra=palette(4))
    yield "palette8-trns", png(colour=3, extra=palette(256) + chunk(b"tRNS", bytes(range(0, 256, 4))))
    yield "interlaced-rgb8", png(interlace=1)
    yield "interlaced-palette4", png(depth=4, colour=3, interlace=1, extra=palette(16))
    yield "split-idat", png(split=4)
    yield "ancillary", png(extra=chunk(b"gAMA", struct.pack(">I", 45455)) +
                           chunk(b"tEXt", b"Comment\x00texture") +
                           chunk(b"zTXt", b"Note\x00\x00" + zlib.compress(b"z" * 40)) +
                           chunk(b"sBIT", b"\x08\x08\x08") + chunk(b"pHYs", bytes(9)))
    good = png()
    yield "bad-signature", b"\x89PNX" + good[4:]
    yield "truncated-header", good[:20]
    yield "truncated-data", good[:len(good) - 30]
    yield "no-iend", good[:-12]
    bad_crc = bytearray(good)
    bad_crc[29] ^= 0xFF
    yield "bad-ihdr-crc", bytes(bad_crc)
    yield "65x64", png(width=65)
    yield "1x1", png(width=1, height=1)
    yield "24x40", png(width=24, height=40)
    yield "1025x1", png(width=1025, height=1)
    yield "declared-4096", SIGNATURE + header(4096, 4096, 8, 2) + chunk(b"IDAT", zlib.compress(b"\x00" * 64)) + chunk(b"IEND", b"")
    yield "short-data", SIGNATURE + header(64, 64, 8, 2) + chunk(b"IDAT", zlib.compress(b"\x00" * 100)) + chunk(b"IEND", b"")
    yield "bad-zlib", SIGNATURE + header(64, 64, 8, 2) + chunk(b"IDAT", b"\x78\x9c\xff\xff\xff\xff") + chunk(b"IEND", b"")
    yield "palette-missing", png(depth=8, colour=3)
    yield "bad-depth", SIGNATURE + header(64, 64, 3, 2) + chunk(b"IEND", b"")
    yield "huge-chunk-length", good[:33] + struct.pack(">I", 0x7FFFFFF0) + b"tEXt" + b"k\x00v"
    yield "unknown-critical", good[:33] + chunk(b"ABCD", b"1234") + good[33:]
    yield "empty", b""


def main():
    out = sys.argv[1]
    os.makedirs(out, exist_ok=True)
    for name, data in seeds():
        with open(os.path.join(out, name + ".png"), "wb") as f:
            f.write(data)


if __name__ == "__main__":
    main()
