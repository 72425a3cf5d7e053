#!/usr/bin/python3
"""Draws the program's icon images and writes them as raw icon resources into app/icon/.

  icon_32x32_2.bin    32 x 32, 2 colours   (image 30001)
  icon_32x32_16.bin   32 x 32, 16 colours  (image 30002)
  icon_16x16_16.bin   16 x 16, 16 colours  (image 30003)
  group.bin           the icon group directory naming those three, in that order

Each image is a device-independent bitmap with its AND mask, as an icon resource holds it.
The picture: a small window seen in perspective (its top edge stepping down to the right),
white body, cyan title bar, black outline, grey shadow at the lower right; the 2-colour one
in black and white, with the title bar outlined and the shadow black.
Deterministic: no randomness, no fonts. Needs Debian's python3-pil.
"""
import os
import struct

from PIL import Image, ImageDraw

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "icon")

# The standard 16-colour palette, in the order Windows uses it.
VGA = [(0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128),
       (0, 128, 128), (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0),
       (255, 255, 0), (0, 0, 255), (255, 0, 255), (0, 255, 255), (255, 255, 255)]
BLACK, GREY, CYAN, WHITE = 0, 8, 14, 15
MONO = [(0, 0, 0), (255, 255, 255)]
CLEAR = -1  # transparent: AND mask set


def window_shape(size):
    """Corner points and title-bar depth of the window, scaled to `size` pixels."""
    s = size / 32.0

    def p(x, y):
        return (round(x * s), round(y * s))

    # Left edge taller than the right: the window turns away from the viewer.
    return {
        "top": [p(2, 4), p(25, 9)],
        "bottom": [p(2, 26), p(25, 23)],
        "bar": max(2, round(5 * s)),
        "shadow": max(1, round(2 * s)),
    }


def stepped_top(a, b):
    """The top edge as a staircase from a down to b, one step every few pixels."""
    (x0, y0), (x1, y1) = a, b
    steps = max(1, y1 - y0)
    points = [a]
    for i in range(1, steps + 1):
        x = x0 + round((x1 - x0) * i / steps)
        points += [(x, y0 + i - 1), (x, y0 + i)]
    return points


def draw(size, mono):
    img = Image.new("I", (size, size), CLEAR)
    d = ImageDraw.Draw(img)
    shape = window_shape(size)
    top = stepped_top(*shape["top"])
    bl, br = shape["bottom"]
    body = top + [br, bl]
    sh = shape["shadow"]
    d.polygon([(x + sh, y + sh) for x, y in body], fill=BLACK if mono else GREY)
    d.polygon(body, fill=WHITE)
    bar = top + [(x, y + shape["bar"]) for x, y in reversed(top)]
    if mono:
        d.polygon(bar, fill=WHITE, outline=BLACK)
    else:
        d.polygon(bar, fill=CYAN)
    d.line(body + [body[0]], fill=BLACK)
    d.line([(x, y + shape["bar"]) for x, y in top], fill=BLACK)
    return img


def dib(img, bits, palette):
    """An icon image: BITMAPINFOHEADER (height doubled), palette, XOR bits, AND mask."""
    w, h = img.size
    px = img.load()
    xor_stride = ((w * bits + 31) // 32) * 4
    and_stride = ((w + 31) // 32) * 4
    xor = bytearray()
    mask = bytearray()
    for y in range(h - 1, -1, -1):  # bottom-up
        row = bytearray(xor_stride)
        mrow = bytearray(and_stride)
        for x in range(w):
            v = px[x, y]
            if v == CLEAR:
                mrow[x // 8] |= 0x80 >> (x % 8)
                v = 0
            elif bits == 1:
                v = 1 if v == WHITE else 0
            if bits == 1:
                row[x // 8] |= v << (7 - x % 8)
            else:
                row[x // 2] |= v << (4 if x % 2 == 0 else 0)
        xor += row
        mask += mrow
    header = struct.pack("<IiiHHIIiiII", 40, w, 2 * h, 1, bits, 0, len(xor) + len(mask), 0, 0,
                         len(palette), 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    return header + pal + bytes(xor) + bytes(mask)


IMAGES = [  # (file, size, colours, bits, resource id)
    ("icon_32x32_2.bin", 32, 2, 1, 30001),
    ("icon_32x32_16.bin", 32, 16, 4, 30002),
    ("icon_16x16_16.bin", 16, 16, 4, 30003),
]


def main():
    os.makedirs(OUT, exist_ok=True)
    group = struct.pack("<HHH", 0, 1, len(IMAGES))
    for name, size, colours, bits, res_id in IMAGES:
        data = dib(draw(size, colours == 2), bits, MONO if colours == 2 else VGA)
        with open(os.path.join(OUT, name), "wb") as f:
            f.write(data)
        group += struct.pack("<BBBBHHIH", size, size, colours if colours < 256 else 0, 0, 1, bits,
                             len(data), res_id)
    with open(os.path.join(OUT, "group.bin"), "wb") as f:
        f.write(group)
    print(os.path.normpath(OUT))


if __name__ == "__main__":
    main()
