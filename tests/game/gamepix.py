#!/usr/bin/env python3
# SPDX-License-Identifier: MIT
"""Questions about a screenshot that the whole-game and fault scripts ask beyond those of
the shared pixels.py (whose reader this module uses).

    gamepix.py FILE QUERY X Y W H [QUERY X Y W H ...]

    text_lines X Y W H    one "TOP BOTTOM LEFT RIGHT" (half-open) per band of rows that
                          hold dark pixels (luma below 128) inside the rectangle, top to
                          bottom; "none" when there is no dark pixel
    digest X Y W H        a digest of the rectangle's pixels: the same picture in the
                          rectangle gives the same digest
    white_box X Y W H     "LEFT TOP RIGHT BOTTOM" (half-open) of the white box around the
                          rectangle's middle: the white run along the middle row, and the
                          white run up and down that run's first column; "none" when the
                          middle is not white
"""

import hashlib
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


def q_digest(shot, x, y, w, h):
    """A digest of the rectangle's pixels: the same picture gives the same digest."""
    left, top, right, bottom = shot.clip(x, y, w, h)
    digest = hashlib.sha1()
    for row_y in range(top, bottom):
        digest.update(shot.row(row_y, left, right).tobytes())
    return digest.hexdigest()[:16]


QUERIES = {"text_lines": q_text_lines, "white_box": q_white_box, "digest": q_digest}


def main(argv):
    """Answers each query in turn ("QUERY X Y W H" after another), one block of lines each."""
    words = argv[2:]
    if len(argv) < 3 or len(words) % 5 or any(w not in QUERIES for w in words[::5]):
        sys.stderr.write(__doc__)
        return 2
    shot = Shot(argv[1])
    for i in range(0, len(words), 5):
        print(QUERIES[words[i]](shot, *(int(a) for a in words[i + 1 : i + 5])))
    return 0


if __name__ == "__main__":
    sys.exit(main(sys.argv))
