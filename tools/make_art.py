#!/usr/bin/python3
"""Draws the window's three pictures into ui/art/ as 8-bit run-length-encoded BMP files.

Deterministic: the same seed and font give the same bytes on every run.
  background.bmp  400 x 400  green-outlined cells on black
  back.bmp        142 x 28   "Back"
  continue.bmp    142 x 38   "Continue"
Needs Debian's python3-pil and fonts-dejavu-core.
"""
import math
import os
import random
import struct
import sys

from PIL import Image, ImageDraw, ImageFont

SEED = 1987
FONT = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf"
OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "ui", "art")

LINE = (0, 160, 50)     # brightest colour of a cell wall
DARK = (0, 40, 12)      # where a wall fades out
WORD = (0, 255, 0)


def rle8_row(indices):
    """One row as BI_RLE8 runs: repeats as (count, index); stretches of differing pixels
    as absolute runs (0, count, pixels..., padded to a word); then end of line."""
    out = bytearray()
    x, n = 0, len(indices)
    while x < n:
        run = 1
        while x + run < n and run < 255 and indices[x + run] == indices[x]:
            run += 1
        if run >= 2:
            out += bytes((run, indices[x]))
            x += run
            continue
        # Differing pixels up to the next repeat; fewer than three go as one-pixel runs.
        end = x + 1
        while end < n and end - x < 255 and not (end + 1 < n and indices[end] == indices[end + 1]):
            end += 1
        if end - x < 3:
            for i in range(x, end):
                out += bytes((1, indices[i]))
        else:
            out += bytes((0, end - x)) + bytes(indices[x:end])
            if (end - x) % 2:
                out += b"\0"
        x = end
    return bytes(out) + b"\0\0"


def write_bmp(path, width, height, pixel):
    """pixel(x, y) -> (r, g, b), y counted from the top. Written as an 8-bit run-length-
    encoded BMP (BI_RLE8), rows bottom-up, with a palette of exactly the colours used, in
    sorted order: Windows decodes it itself, and image viewers open it."""
    colours = sorted({pixel(x, y) for y in range(height) for x in range(width)})
    assert len(colours) <= 256, path
    index = {c: i for i, c in enumerate(colours)}
    rows = [rle8_row([index[pixel(x, y)] for x in range(width)])
            for y in range(height - 1, -1, -1)]  # bottom-up
    image = b"".join(rows) + b"\0\1"  # end of bitmap
    palette = b"".join(bytes((b, g, r, 0)) for r, g, b in colours)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(image), 2835, 2835,
                       len(colours), 0)
    offset = 14 + len(info) + len(palette)
    header = struct.pack("<2sIHHI", b"BM", offset + len(image), 0, 0, offset)
    with open(path, "wb") as f:
        f.write(header + info + palette + image)


def cell_seeds(rng, size, count):
    """Evenly spread points: a jittered grid, then a few rounds of pushing apart."""
    side = math.ceil(math.sqrt(count))
    step = size / side
    cells = [(i, j) for i in range(side) for j in range(side)]
    rng.shuffle(cells)
    points = [((i + rng.uniform(0.15, 0.85)) * step, (j + rng.uniform(0.15, 0.85)) * step)
              for i, j in cells[:count]]
    for _ in range(4):
        moved = []
        for k, (x, y) in enumerate(points):
            fx = fy = 0.0
            for m, (u, v) in enumerate(points):
                if m == k:
                    continue
                dx, dy = x - u, y - v
                d2 = dx * dx + dy * dy
                if d2 < (1.2 * step) ** 2:
                    f = 0.08 * step * step / max(d2, 1.0)
                    fx += dx * f
                    fy += dy * f
            moved.append((min(max(x + fx, 0.0), size - 1.0), min(max(y + fy, 0.0), size - 1.0)))
        points = moved
    return points


def background(rng):
    size, count = 400, 160
    seeds = cell_seeds(rng, size, count)
    bucket = 40
    grid = {}
    for p in seeds:
        grid.setdefault((int(p[0] // bucket), int(p[1] // bucket)), []).append(p)

    def near(x, y):
        bx, by = int(x // bucket), int(y // bucket)
        found = []
        for i in range(bx - 2, bx + 3):
            for j in range(by - 2, by + 3):
                found.extend(grid.get((i, j), ()))
        return found

    width = 1.6  # half-width of a wall, in pixels
    pixels = {}
    for y in range(size):
        for x in range(size):
            px, py = x + 0.5, y + 0.5
            d = sorted((u - px) ** 2 + (v - py) ** 2 for u, v in near(px, py))
            # Distance to the wall between the two nearest cells.
            a, b = math.sqrt(d[0]), math.sqrt(d[1])
            gap = (b * b - a * a) / (2 * b) if b > 0 else 0
            t = max(0.0, 1.0 - gap / width)
            if t <= 0:
                pixels[x, y] = (0, 0, 0)
                continue
            t = t * t * (3 - 2 * t)  # smooth fade into the dark green at the edge
            pixels[x, y] = tuple(round(DARK[c] + (LINE[c] - DARK[c]) * t) if t > 0.15
                                 else round(DARK[c] * t / 0.15) for c in range(3))
    return size, size, lambda x, y: pixels[x, y]


def word(text, width, height, target):
    """The word in bold sans-serif, its ink box as close as can be to `target` (w, h)."""
    best = None
    for points in range(10, 40):
        font = ImageFont.truetype(FONT, points)
        box = font.getbbox(text)
        w, h = box[2] - box[0], box[3] - box[1]
        score = abs(w - target[0]) + abs(h - target[1])
        if best is None or score < best[0]:
            best = (score, font, box)
    _, font, box = best
    mask = Image.new("L", (width, height), 0)
    ink_w, ink_h = box[2] - box[0], box[3] - box[1]
    left = (width - ink_w) // 2 - box[0]
    top = (height - ink_h) // 2 - box[1]
    ImageDraw.Draw(mask).text((left, top), text, fill=255, font=font)
    data = mask.load()
    return width, height, lambda x, y: (0, round(WORD[1] * data[x, y] / 255), 0)


def main():
    rng = random.Random(SEED)
    os.makedirs(OUT, exist_ok=True)
    for name, (w, h, pixel) in (("background.bmp", background(rng)),
                                ("back.bmp", word("Back", 142, 28, (52, 17))),
                                ("continue.bmp", word("Continue", 142, 38, (95, 18)))):
        write_bmp(os.path.join(OUT, name), w, h, pixel)
        print(os.path.normpath(os.path.join(OUT, name)))


if __name__ == "__main__":
    sys.exit(main())
