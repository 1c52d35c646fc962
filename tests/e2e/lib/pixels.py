#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Answers questions about the pixels of a screenshot, for the end-to-end scripts.

    pixels.py FILE QUERY [QUERY ...]

Each query is one word followed by its arguments; the answers are printed one line per
query, in order. Rectangles are X Y W H in screenshot pixels (left, top, width, height:
the columns X..X+W-1 and the rows Y..Y+H-1, clipped to the image). A colour is R,G,B
(decimal) or #RRGGBB and is matched exactly.

    count X Y W H COLOUR          pixels of COLOUR in the rectangle
    present X Y W H COLOUR        "yes" when the rectangle holds COLOUR, else "no"
    bbox X Y W H COLOUR           "LEFT TOP RIGHT BOTTOM" of the pixels of COLOUR, half-open
                                  (RIGHT and BOTTOM one past the last), or "none"
    centre X Y W H COLOUR         "CX CY N": N pixels of COLOUR; CX is the column that holds
                                  the (N/2+1)-th of them counted column by column from the
                                  left, CY the row that holds it counted row by row from the
                                  top; "none" when there are none
    blobs X Y W H COLOUR          one "CX CY N" per 8-connected group of COLOUR pixels
                                  (centre of its bounding box, pixel count), groups ordered
                                  top to bottom then left to right; "none" when there are none
    darker X Y W H LEVEL          pixels whose red, green and blue are all below LEVEL (text)
    pixel X Y                     "R,G,B" of one pixel
    colours X Y W H [MAX]         the MAX (default 10) commonest colours, "R,G,B N" each,
                                  separated by blanks on one line
    nonwhite_rows X Y W H         "TOP BOTTOM" (half-open) of the rows that hold a pixel other
                                  than white, or "none"
    solid X Y W H COLOUR R        "X Y" of the pixel nearest the rectangle's middle whose whole
                                  square of radius R around it is COLOUR, or "none"
    first X Y DX DY N COLOUR...   the first step K (0 to N-1) at which the pixel (X + K*DX,
                                  Y + K*DY) is one of the colours, or "none"
    white_tail X Y W H            the first row from which every row down to the bottom of the
                                  rectangle is all white, or "none" when its last row is not

Only ImageMagick's convert is needed (no imaging module): the image is read as a binary
PPM.
"""

import subprocess
import sys
from array import array


class Shot:
    """The pixels of one screenshot, one 32-bit value per pixel (R | G << 8 | B << 16)."""

    def __init__(self, path):
        ppm = subprocess.run(
            ["convert", path, "-depth", "8", "ppm:-"], check=True, stdout=subprocess.PIPE
        ).stdout
        fields, offset = self._header(ppm)
        if fields[0] != b"P6" or int(fields[3]) != 255:
            raise ValueError(f"{path}: not an 8-bit binary PPM")
        self.width = int(fields[1])
        self.height = int(fields[2])
        rgb = ppm[offset : offset + self.width * self.height * 3]
        padded = bytearray(self.width * self.height * 4)
        padded[0::4] = rgb[0::3]
        padded[1::4] = rgb[1::3]
        padded[2::4] = rgb[2::3]
        self.pixels = array("I")
        if self.pixels.itemsize != 4:
            self.pixels = array("L")
        self.pixels.frombytes(bytes(padded))
        if sys.byteorder == "big":
            self.pixels.byteswap()

    @staticmethod
    def _header(data):
        """The four header fields of a PPM and the offset of its pixel data."""
        fields = []
        pos = 0
        while len(fields) < 4:
            while data[pos : pos + 1].isspace():
                pos += 1
            if data[pos : pos + 1] == b"#":
                pos = data.index(b"\n", pos) + 1
                continue
            start = pos
            while not data[pos : pos + 1].isspace():
                pos += 1
            fields.append(data[start:pos])
        return fields, pos + 1

    def clip(self, x, y, w, h):
        left, top = max(0, x), max(0, y)
        right, bottom = min(self.width, x + w), min(self.height, y + h)
        return left, top, max(left, right), max(top, bottom)

    def row(self, y, left, right):
        base = y * self.width
        return self.pixels[base + left : base + right]

    def count(self, rect, value):
        left, top, right, bottom = self.clip(*rect)
        return sum(self.row(y, left, right).count(value) for y in range(top, bottom))

    def points(self, rect, value):
        """(x, y) of every pixel of the colour, row by row."""
        left, top, right, bottom = self.clip(*rect)
        for y in range(top, bottom):
            row = self.row(y, left, right)
            if row.count(value) == 0:
                continue
            for i, v in enumerate(row):
                if v == value:
                    yield left + i, y


def parse_colour(text):
    if text.startswith("#") and len(text) == 7:
        r, g, b = (int(text[i : i + 2], 16) for i in (1, 3, 5))
    else:
        r, g, b = (int(part) for part in text.split(","))
    for part in (r, g, b):
        if not 0 <= part <= 255:
            raise ValueError(f"colour {text} out of range")
    return r | g << 8 | b << 16


def colour_text(value):
    return f"{value & 0xFF},{value >> 8 & 0xFF},{value >> 16 & 0xFF}"


def rect_args(args):
    return tuple(int(a) for a in args[:4])


def q_count(shot, args):
    return str(shot.count(rect_args(args), parse_colour(args[4])))


def q_present(shot, args):
    return "yes" if shot.count(rect_args(args), parse_colour(args[4])) else "no"


def q_bbox(shot, args):
    xs, ys = [], []
    for x, y in shot.points(rect_args(args), parse_colour(args[4])):
        xs.append(x)
        ys.append(y)
    if not xs:
        return "none"
    return f"{min(xs)} {min(ys)} {max(xs) + 1} {max(ys) + 1}"


def q_centre(shot, args):
    pts = list(shot.points(rect_args(args), parse_colour(args[4])))
    if not pts:
        return "none"
    wanted = len(pts) // 2  # index of the (N/2+1)-th pixel
    by_column = sorted(pts)
    by_row = sorted(pts, key=lambda p: (p[1], p[0]))
    return f"{by_column[wanted][0]} {by_row[wanted][1]} {len(pts)}"


def q_blobs(shot, args):
    remaining = set(shot.points(rect_args(args), parse_colour(args[4])))
    groups = []
    while remaining:
        seed = remaining.pop()
        stack, members = [seed], [seed]
        while stack:
            x, y = stack.pop()
            for dx in (-1, 0, 1):
                for dy in (-1, 0, 1):
                    n = (x + dx, y + dy)
                    if n in remaining:
                        remaining.remove(n)
                        stack.append(n)
                        members.append(n)
        xs = [p[0] for p in members]
        ys = [p[1] for p in members]
        groups.append(((min(ys) + max(ys)) // 2, (min(xs) + max(xs)) // 2, len(members)))
    if not groups:
        return "none"
    return "\n".join(f"{cx} {cy} {n}" for cy, cx, n in sorted(groups))


def q_darker(shot, args):
    left, top, right, bottom = shot.clip(*rect_args(args))
    level = int(args[4])
    total = 0
    for y in range(top, bottom):
        for v in set(shot.row(y, left, right)):
            if (v & 0xFF) < level and (v >> 8 & 0xFF) < level and (v >> 16 & 0xFF) < level:
                total += shot.row(y, left, right).count(v)
    return str(total)


def q_pixel(shot, args):
    x, y = int(args[0]), int(args[1])
    if not (0 <= x < shot.width and 0 <= y < shot.height):
        raise ValueError(f"pixel {x},{y} outside the {shot.width}x{shot.height} image")
    return colour_text(shot.pixels[y * shot.width + x])


def q_colours(shot, args):
    left, top, right, bottom = shot.clip(*rect_args(args))
    limit = int(args[4]) if len(args) > 4 else 10
    tally = {}
    for y in range(top, bottom):
        for v in shot.row(y, left, right):
            tally[v] = tally.get(v, 0) + 1
    ranked = sorted(tally.items(), key=lambda item: -item[1])[:limit]
    return " ".join(f"{colour_text(v)} {n}" for v, n in ranked)


def q_nonwhite_rows(shot, args):
    left, top, right, bottom = shot.clip(*rect_args(args))
    white = parse_colour("255,255,255")
    rows = [y for y in range(top, bottom) if shot.row(y, left, right).count(white) != right - left]
    if not rows:
        return "none"
    return f"{rows[0]} {rows[-1] + 1}"


def q_solid(shot, args):
    rect = rect_args(args)
    value = parse_colour(args[4])
    radius = int(args[5])
    left, top, right, bottom = shot.clip(*rect)
    mx, my = (left + right) // 2, (top + bottom) // 2
    side = 2 * radius + 1
    candidates = sorted(shot.points(rect, value), key=lambda p: (p[0] - mx) ** 2 + (p[1] - my) ** 2)
    for x, y in candidates:
        if x - radius < 0 or y - radius < 0 or x + radius >= shot.width or y + radius >= shot.height:
            continue
        if all(shot.row(yy, x - radius, x + radius + 1).count(value) == side
               for yy in range(y - radius, y + radius + 1)):
            return f"{x} {y}"
    return "none"


def q_first(shot, args):
    x, y, dx, dy, steps = (int(a) for a in args[:5])
    values = {parse_colour(a) for a in args[5:]}
    for k in range(steps):
        px, py = x + k * dx, y + k * dy
        if 0 <= px < shot.width and 0 <= py < shot.height:
            if shot.pixels[py * shot.width + px] in values:
                return str(k)
    return "none"


def q_white_tail(shot, args):
    left, top, right, bottom = shot.clip(*rect_args(args))
    white = parse_colour("255,255,255")
    y = bottom
    while y > top and shot.row(y - 1, left, right).count(white) == right - left:
        y -= 1
    return "none" if y == bottom else str(y)


QUERIES = {
    "count": (q_count, 5),
    "present": (q_present, 5),
    "bbox": (q_bbox, 5),
    "centre": (q_centre, 5),
    "blobs": (q_blobs, 5),
    "darker": (q_darker, 5),
    "pixel": (q_pixel, 2),
    "colours": (q_colours, 4),
    "nonwhite_rows": (q_nonwhite_rows, 4),
    "solid": (q_solid, 6),
    "first": (q_first, 6),
    "white_tail": (q_white_tail, 4),
}


def main(argv):
    if len(argv) < 3:
        sys.stderr.write(__doc__)
        return 2
    shot = Shot(argv[1])
    words = argv[2:]
    answers = []
    while words:
        name = words.pop(0)
        if name not in QUERIES:
            sys.stderr.write(f"pixels.py: unknown query {name}\n")
            return 2
        func, minimum = QUERIES[name]
        args = []
        while words and words[0] not in QUERIES:
            args.append(words.pop(0))
        if len(args) < minimum:
            sys.stderr.write(f"pixels.py: {name} needs {minimum} arguments, got {args}\n")
            return 2
        answers.append(func(shot, args))
    print("\n".join(answers))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
