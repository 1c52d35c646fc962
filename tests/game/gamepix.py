#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Questions about a screenshot that the whole-game and fault scripts ask beyond those of
the shared pixels.py (whose reader this module uses).

    gamepix.py FILE QUERY ARGS...

    text_lines X Y W H    one "TOP BOTTOM LEFT RIGHT" (half-open) per band of rows that
                          hold dark pixels (luma below 128) inside the rectangle, top to
                          bottom; "none" when there is no dark pixel
    white_box X Y W H     "LEFT TOP RIGHT BOTTOM" (half-open) of the white box around the
                          rectangle's middle: the white run along the middle row, and the
                          white run up and down that run's first column; "none" when the
                          middle is not white
"""

import os
import sys

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "e2e", "lib"))
from pixels import Shot  # noqa: E402

WHITE = 0xFFFFFF


def luma(value):
    r, g, b = value & 0xFF, value >> 8 & 0xFF, value >> 16 & 0xFF
    return (299 * r + 587 * g + 114 * b) // 1000


def q_text_lines(shot, x, y, w, h):
    left, top, right, bottom = shot.clip(x, y, w, h)
    bands = []
    current = None
    for row_y in range(top, bottom):
        dark = [i for i, v in enumerate(shot.row(row_y, left, right)) if v != WHITE and luma(v) < 128]
        if dark:
            lo, hi = left + dark[0], left + dark[-1] + 1
            if current is None:
                current = [row_y, row_y + 1, lo, hi]
            else:
                current[1] = row_y + 1
                current[2] = min(current[2], lo)
                current[3] = max(current[3], hi)
        elif current is not None:
            bands.append(current)
            current = None
    if current is not None:
        bands.append(current)
    if not bands:
        return "none"
    return "\n".join(" ".join(str(v) for v in band) for band in bands)


def q_white_box(shot, x, y, w, h):
    left, top, right, bottom = shot.clip(x, y, w, h)
    mx, my = (left + right) // 2, (top + bottom) // 2

    def white(px, py):
        return shot.pixels[py * shot.width + px] == WHITE

    if not white(mx, my):
        return "none"
    x0 = mx
    while x0 > left and white(x0 - 1, my):
        x0 -= 1
    x1 = mx + 1
    while x1 < right and white(x1, my):
        x1 += 1
    # Down and up the white run's first column, which text inside the box leaves alone.
    y0 = my
    while y0 > top and white(x0, y0 - 1):
        y0 -= 1
    y1 = my + 1
    while y1 < bottom and white(x0, y1):
        y1 += 1
    return f"{x0} {y0} {x1} {y1}"


QUERIES = {"text_lines": q_text_lines, "white_box": q_white_box}


def main(argv):
    if len(argv) != 7 or argv[2] not in QUERIES:
        sys.stderr.write(__doc__)
        return 2
    shot = Shot(argv[1])
    print(QUERIES[argv[2]](shot, *(int(a) for a in argv[3:7])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
