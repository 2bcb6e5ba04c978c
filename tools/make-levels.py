#!/usr/bin/env python3
"""Writes the sample levels under levels/: a hall of pillars and alcoves, a
staircase with a landing, a courtyard with windows, and the Lantern Yard, lit
room by room under a dusk sky (its textures come from make-lantern-textures). The output depends on
nothing but this file, so running it again must give the committed files
(tools/make-levels.py --check says whether it does).

usage: make-levels.py [--out DIR] [--check]
"""

import argparse
import json
import os
import sys

TEXTURES = {
    "brick": "wall1.png",
    "stone": "wall2.png",
    "metal": "wall3.png",
    "tiles": "floor1.png",
    "planks": "floor2.png",
    "cobbles": "floor3.png",
    "coffers": "floor4.png",
}


class LevelWriter:
    """Collects vertices and sectors, checking as it goes what the loader would
    refuse, so a mistake here shows up when the file is made."""

    def __init__(self, name):
        self.name = name
        self.vertices = []
        self.index = {}
        self.sectors = []
        self.edges = {}  # (from, to) -> sector

    def vertex(self, x, y):
        key = (float(x), float(y))
        if key not in self.index:
            self.index[key] = len(self.vertices)
            self.vertices.append(key)
        return self.index[key]

    def sector(self, corners, floor, ceiling, wall, flat, top, sides=None, light=None):
        """corners run counter-clockwise seen from above; returns the sector's number."""
        area = 0.0
        for i, (x0, y0) in enumerate(corners):
            x1, y1 = corners[(i + 1) % len(corners)]
            area += x0 * y1 - x1 * y0
        number = len(self.sectors)
        if area <= 0.0:
            raise ValueError(f"{self.name}: sector {number} does not run counter-clockwise")
        if not floor < ceiling:
            raise ValueError(f"{self.name}: sector {number}: floor not below ceiling")
        outline = [self.vertex(x, y) for x, y in corners]
        if len(set(outline)) != len(outline):
            raise ValueError(f"{self.name}: sector {number} repeats a corner")
        for i, a in enumerate(outline):
            b = outline[(i + 1) % len(outline)]
            if (a, b) in self.edges:
                raise ValueError(f"{self.name}: sector {number} reuses edge {a}->{b}")
            self.edges[(a, b)] = number
        record = {
            "outline": outline,
            "floor": floor,
            "ceiling": ceiling,
            "wall-texture": wall,
            "floor-texture": flat,
            "ceiling-texture": top,
        }
        if light is not None:
            record["light"] = light
        if sides:
            record["sides"] = sides
        self.sectors.append(record)
        return number

    def check_joins(self):
        """Every corner that lies on another edge must be a corner of that edge's
        sector too, or the two sides would not meet as a portal."""
        for (a, b), owner in self.edges.items():
            ax, ay = self.vertices[a]
            bx, by = self.vertices[b]
            for v, (px, py) in enumerate(self.vertices):
                if v in (a, b):
                    continue
                cross = (bx - ax) * (py - ay) - (by - ay) * (px - ax)
                along = (px - ax) * (bx - ax) + (py - ay) * (by - ay)
                if cross == 0.0 and 0.0 < along < (bx - ax) ** 2 + (by - ay) ** 2:
                    raise ValueError(
                        f"{self.name}: corner {v} lies inside edge {a}->{b} of sector {owner}"
                    )

    def json(self, start, angle, textures=None, extra=None):
        """extra: further top-level fields, written after the textures."""
        self.check_joins()
        level = {
            "duskhall-level": 1,
            "name": self.name,
            "textures": textures or TEXTURES,
            "vertices": [[number(x), number(y)] for x, y in self.vertices],
            "sectors": self.sectors,
            "start": {"x": start[0], "y": start[1], "angle": angle},
        }
        return format_level(level, extra or {})


def number(value):
    return int(value) if float(value).is_integer() else value


def format_level(level, extra):
    """One vertex and one sector a line: short enough to read, diff and edit."""
    lines = ["{"]
    for key in ("duskhall-level", "name", "textures"):
        lines.append(f"  {json.dumps(key)}: {json.dumps(level[key])},")
    for key, value in extra.items():
        if key in ("sprites", "things"):
            # One sprite or thing a line, as the sectors.
            lines.append(f"  {json.dumps(key)}: [")
            for i, entry in enumerate(value):
                tail = "," if i + 1 < len(value) else ""
                lines.append("    " + json.dumps(entry) + tail)
            lines.append("  ],")
            continue
        lines.append(f"  {json.dumps(key)}: {json.dumps(value)},")
    lines.append('  "vertices": [')
    vertices = [json.dumps(v) for v in level["vertices"]]
    for i in range(0, len(vertices), 8):
        tail = "," if i + 8 < len(vertices) else ""
        lines.append("    " + ", ".join(vertices[i : i + 8]) + tail)
    lines.append("  ],")
    lines.append('  "sectors": [')
    for i, sector in enumerate(level["sectors"]):
        tail = "," if i + 1 < len(level["sectors"]) else ""
        lines.append("    " + json.dumps(sector) + tail)
    lines.append("  ],")
    lines.append(f'  "start": {json.dumps(level["start"])}')
    lines.append("}")
    return "\n".join(lines) + "\n"


def rect(x0, y0, x1, y1):
    return [(x0, y0), (x1, y0), (x1, y1), (x0, y1)]


def pillar_hall():
    """A nave of 3 x 3 bays between slim square pillars, tallest down the middle,
    with a raised alcove off every other bay of the long walls and an entrance
    passage at the west end."""
    level = LevelWriter("Hall of pillars")
    widths = [3, 1, 3, 1, 3, 1, 3, 1, 3]  # bays and the pillars' rows between them
    depths = [3, 1, 3, 1, 3]
    xs = [sum(widths[:i]) for i in range(len(widths) + 1)]
    ys = [sum(depths[:i]) for i in range(len(depths) + 1)]
    pillars = {(c, r) for c in (1, 3, 5, 7) for r in (1, 3)}
    ceilings = {0: 3.5, 1: 4.5, 2: 5.0, 3: 4.5, 4: 3.5}
    for r in range(len(depths)):
        for c in range(len(widths)):
            if (c, r) in pillars:
                continue
            flat = "tiles" if c % 2 == 0 and r % 2 == 0 else "cobbles"
            level.sector(rect(xs[c], ys[r], xs[c + 1], ys[r + 1]),
                         0.0, ceilings[r], "stone", flat, "coffers")
    top = ys[-1]
    for c in (0, 2, 4, 6, 8):
        x0, x1 = xs[c], xs[c + 1]
        if c % 4 == 0:
            level.sector(rect(x0, top, x1, top + 1.5), 0.3, 2.6, "brick", "planks", "planks")
        else:
            level.sector(rect(x0, -1.5, x1, 0), 0.3, 2.6, "brick", "planks", "planks")
    middle = ys[2]
    level.sector(rect(-5, middle, 0, ys[3]), 0.0, 3.0, "metal", "cobbles", "coffers")
    return level.json((-4.0, middle + 1.5), 0.0)


def staircase():
    """From a hall up five steps to a landing half way, a quarter turn, and five
    more steps to a room three units above the hall."""
    level = LevelWriter("Staircase")
    rise, tread, steps = 0.3, 0.6, 5
    level.sector([(0, 0), (6, 0), (8, 1), (8, 4), (6, 6), (0, 6)], 0.0, 5.0,
                 "stone", "tiles", "coffers")
    for i in range(steps):
        x0 = 8 + tread * i
        floor = round(rise * (i + 1), 6)
        level.sector(rect(round(x0, 6), 1, round(x0 + tread, 6), 4), floor, round(floor + 3.0, 6),
                     "brick", "planks", "coffers")
    landing = round(rise * steps, 6)
    landing_x = round(8 + tread * steps, 6)
    level.sector(rect(landing_x, 1, landing_x + 3, 4), landing, 5.5, "stone", "cobbles", "coffers")
    for i in range(steps):
        y0 = 4 + tread * i
        floor = round(landing + rise * (i + 1), 6)
        level.sector(rect(landing_x, round(y0, 6), landing_x + 3, round(y0 + tread, 6)),
                     floor, round(floor + 3.0, 6), "brick", "planks", "coffers")
    top = round(landing + rise * steps, 6)
    far = round(4 + tread * steps, 6)
    level.sector([(landing_x, far), (landing_x + 3, far), (landing_x + 5, far + 2),
                  (landing_x + 5, far + 6), (landing_x - 2, far + 6), (landing_x - 2, far + 2)],
                 top, top + 3.0, "metal", "tiles", "coffers")
    return level.json((2.0, 2.5), 0.0)


def courtyard():
    """An open court inside a wall half a unit thick, with a door and windows on
    three sides into rooms of their own heights and a door down into a cellar."""
    level = LevelWriter("Courtyard")
    size, wall = 12, 0.5
    court_floor, court_ceiling = 0.0, 9.0
    # Openings along each side of the court: (start, end, floor, ceiling); the rest
    # of the side is solid wall.
    west = [(2.5, 4.0, 1.0, 2.2), (5.0, 7.0, 0.0, 2.3), (8.0, 9.5, 1.0, 2.2)]
    north = [(2.0, 3.5, 1.2, 3.0), (5.0, 7.0, 0.2, 3.0), (8.5, 10.0, 1.2, 3.0)]
    east = [(5.0, 7.0, 0.0, 3.0), (7.5, 8.5, 0.8, 2.8)]
    south = [(5.0, 7.0, 0.0, 2.2)]

    def points(side, openings):
        return sorted({p for o in openings for p in o[:2]}, reverse=side in ("north", "west"))

    court = [(0, 0)]
    court += [(x, 0) for x in points("south", south)]
    court += [(size, 0)]
    court += [(size, y) for y in points("east", east)]
    court += [(size, size)]
    court += [(x, size) for x in points("north", north)]
    court += [(0, size)]
    court += [(0, y) for y in points("west", west)]
    level.sector(court, court_floor, court_ceiling, "stone", "cobbles", "coffers")

    for a, b, floor, ceiling in south:
        level.sector(rect(a, -wall, b, 0), floor, ceiling, "stone", "cobbles", "planks")
    for a, b, floor, ceiling in east:
        level.sector(rect(size, a, size + wall, b), floor, ceiling, "stone", "cobbles", "planks")
    for a, b, floor, ceiling in north:
        level.sector(rect(a, size, b, size + wall), floor, ceiling, "stone", "cobbles", "planks")
    for a, b, floor, ceiling in west:
        level.sector(rect(-wall, a, 0, b), floor, ceiling, "stone", "cobbles", "planks")

    # A low room to the west, its wall along x = -0.5 with the same openings.
    x = -wall
    west_room = [(x - 6, 1.5), (x, 1.5)] + [(x, y) for y in sorted(points("west", west))]
    west_room += [(x, 10.5), (x - 6, 10.5)]
    level.sector(west_room, 0.0, 2.6, "brick", "planks", "planks")
    # A tall hall to the north, one step up.
    y = size + wall
    north_hall = [(1, y)] + [(px, y) for px in sorted(points("north", north))]
    north_hall += [(11, y), (11, y + 6), (1, y + 6)]
    level.sector(north_hall, 0.4, 6.0, "stone", "tiles", "coffers")
    # A room of metal to the east.
    x = size + wall
    east_room = [(x, 3), (x + 6, 3), (x + 6, 9.5), (x, 9.5)]
    east_room += [(x, py) for py in sorted(points("east", east), reverse=True)]
    level.sector(east_room, 0.0, 4.0, "metal", "tiles", "coffers")
    # A cellar half a unit down through the south door.
    y = -wall
    level.sector([(4, y - 4), (8, y - 4), (7, y), (5, y)], -0.5, 2.0,
                 "brick", "cobbles", "planks")
    return level.json((6.0, 3.0), 1.5707964)


def lantern_yard():
    """A lit hall with panelled walls, a dark corridor fading out east to a side
    room, and through a gate and a grated window a courtyard under the sky."""
    level = LevelWriter("Lantern Yard")
    textures = {
        "brick": "wall1.png",
        "stone": "wall2.png",
        "tiles": "floor1.png",
        "cobbles": "floor3.png",
        "coffers": "floor4.png",
        "panels": "lantern-panels.png",
        "trim": "lantern-trim.png",
        "grate": "lantern-grate.png",
        "sky": "lantern-sky.png",
        "lamp-a": "lantern-lamp-a.png",
        "lamp-b": "lantern-lamp-b.png",
        "lamp-c": "lantern-lamp-c.png",
        "barrel": "lantern-barrel.png",
        "hanging": "lantern-hanging.png",
    }
    # The hall: its east wall opens into the corridor, its north wall into the gate
    # and the window. Edges: 0 south, 1 east below the corridor, 2 the corridor,
    # 3 east above it, 4 north-east, 5 the window, 6 between, 7 the gate, 8 north-west,
    # 9 west.
    hall = [(0, 0), (8, 0), (8, 2), (8, 4), (8, 6), (7, 6), (5, 6), (4, 6), (2, 6), (0, 6)]
    level.sector(hall, 0.0, 3.0, "panels", "tiles", "coffers", light=224, sides=[
        {"edge": 0, "offset": [16, 8]},
        {"edge": 5, "middle": "grate", "blocking": True, "lower": "trim"},
        {"edge": 7, "upper": "trim", "upper-unpegged": True},
        {"edge": 9, "lower-unpegged": True},
    ])
    # The corridor: long, low and dark, fading out towards the side room.
    level.sector(rect(8, 2, 22, 4), 0.0, 2.6, "brick", "cobbles", "coffers", light=144)
    # The side room, a step up, its step faces trimmed.
    level.sector([(22, -2), (28, -2), (28, 8), (22, 8), (22, 4), (22, 2)], 0.4, 4.0,
                 "stone", "tiles", "coffers", light=176)
    # The window (a sill, behind the grate) and the gate, into the courtyard.
    level.sector(rect(5, 6, 7, 8), 0.8, 2.4, "stone", "cobbles", "cobbles", light=192)
    level.sector(rect(2, 6, 4, 8), 0.0, 2.5, "stone", "cobbles", "cobbles", light=192)
    # The courtyard, open to the sky.
    court = [(-2, 8), (2, 8), (4, 8), (5, 8), (7, 8), (14, 8), (14, 20), (-2, 20)]
    level.sector(court, 0.0, 4.5, "stone", "cobbles", "sky", light=240)
    # Lamps flicker (three frames, not in step: a, b, c, b), barrels stand in the
    # way, lanterns hang in the corridor; the walk keeps clear of them.
    def picture(texture, foot):
        return [{"texture": texture, "foot": foot}]
    sprites = [
        {"name": "lamp", "frames": [picture("lamp-a", [8, 48]), picture("lamp-b", [8, 48]),
                                    picture("lamp-c", [8, 48]), picture("lamp-b", [8, 48])],
         "frames-per-second": 7, "texels-per-unit": 20},
        {"name": "barrel", "frames": [picture("barrel", [12, 32])], "texels-per-unit": 24},
        {"name": "lantern", "frames": [picture("hanging", [8, 0])], "texels-per-unit": 32},
    ]
    lamp = {"sprite": "lamp", "bright": True, "solid": True, "radius": 0.25}
    barrel = {"sprite": "barrel", "solid": True, "radius": 0.45}
    lantern = {"sprite": "lantern", "hanging": True, "bright": True}
    things = [
        {"x": 7.4, "y": 0.6, **lamp}, {"x": 0.6, "y": 5.4, **lamp},
        {"x": 0.8, "y": 0.8, **barrel}, {"x": 7.4, "y": 5.4, **barrel},
        {"x": 12, "y": 3, **lantern}, {"x": 18, "y": 3, **lantern},
        {"x": 27.3, "y": -1.3, **barrel}, {"x": 26.2, "y": -1.4, **barrel},
        {"x": 27.3, "y": 7.3, **lamp},
        {"x": 0, "y": 12, **lamp}, {"x": 12, "y": 12, **lamp},
        {"x": 13.2, "y": 19.2, **barrel}, {"x": 12.2, "y": 19.3, **barrel},
        {"x": 13.3, "y": 18.2, **barrel},
    ]
    return level.json((1.5, 3.0), 0.0, textures,
                      {"sky": "sky", "fake-contrast": True, "sprites": sprites, "things": things})


LEVELS = {
    "pillar-hall.json": pillar_hall,
    "staircase.json": staircase,
    "courtyard.json": courtyard,
    "lantern-yard.json": lantern_yard,
}


def main():
    parser = argparse.ArgumentParser(description="Writes the sample levels.")
    root = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
    parser.add_argument("--out", default=os.path.join(root, "levels"))
    parser.add_argument("--check", action="store_true",
                        help="compare with the files in --out instead of writing them")
    args = parser.parse_args()
    stale = []
    for name, make in LEVELS.items():
        text = make()
        path = os.path.join(args.out, name)
        if args.check:
            try:
                with open(path, encoding="utf-8") as existing:
                    if existing.read() != text:
                        stale.append(path)
            except OSError:
                stale.append(path)
        else:
            os.makedirs(args.out, exist_ok=True)
            with open(path, "w", encoding="utf-8", newline="\n") as out:
                out.write(text)
    if stale:
        print("make-levels: differs from what tools/make-levels.py writes: " + ", ".join(stale),
              file=sys.stderr)
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
