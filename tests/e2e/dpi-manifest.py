#!/usr/bin/env python3
"""Each Windows program given carries a manifest resource (type 24, id 1) that
declares it per-monitor DPI aware. Without it Windows sizes its windows in
96-DPI units and blurs them up on a scaled monitor, and zoom sizes are no longer
real pixels."""
import struct
import sys


def resource_manifest(data):
    header = struct.unpack_from("<I", data, 0x3C)[0]
    if data[header:header + 4] != b"PE\0\0":
        raise ValueError("no PE signature")
    sections = struct.unpack_from("<H", data, header + 6)[0]
    optional_size = struct.unpack_from("<H", data, header + 20)[0]
    optional = header + 24
    magic = struct.unpack_from("<H", data, optional)[0]
    directories = optional + (96 if magic == 0x10B else 112)
    resource_rva = struct.unpack_from("<I", data, directories + 2 * 8)[0]
    table = optional + optional_size
    spans = []
    for i in range(sections):
        entry = table + 40 * i
        size, rva, _, raw = struct.unpack_from("<IIII", data, entry + 8)
        spans.append((rva, size, raw))

    def offset(rva):
        for start, size, raw in spans:
            if start <= rva < start + size:
                return raw + rva - start
        raise ValueError("address 0x%x is in no section" % rva)

    base = offset(resource_rva)

    def entries(directory):
        named, numbered = struct.unpack_from("<HH", data, base + directory + 12)
        for i in range(named + numbered):
            name, target = struct.unpack_from("<II", data, base + directory + 16 + 8 * i)
            yield name, target

    def child(directory, wanted):
        for name, target in entries(directory):
            if name == wanted and target & 0x80000000:
                return target & 0x7FFFFFFF
        raise ValueError("no resource %d" % wanted)

    if resource_rva == 0:
        raise ValueError("no resources at all")
    names = child(child(0, 24), 1)
    _, leaf = next(entries(names))
    rva, size = struct.unpack_from("<II", data, base + leaf)
    start = offset(rva)
    return data[start:start + size].decode("utf-8")


status = 0
for program in sys.argv[1:]:
    try:
        manifest = resource_manifest(open(program, "rb").read())
    except (ValueError, struct.error, StopIteration) as error:
        print("FAIL: %s: no manifest resource (%s)" % (program, error))
        status = 1
        continue
    if "PerMonitorV2" not in manifest or "true/pm" not in manifest:
        print("FAIL: %s: its manifest does not declare per-monitor DPI awareness" % program)
        status = 1
    else:
        print("PASS: %s declares per-monitor DPI awareness" % program)
sys.exit(status)
