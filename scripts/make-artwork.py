#!/usr/bin/env python3
"""Generates the launcher's artwork with the standard library only:
res/background.bmp  110 x 139, 8 bits per pixel, BI_RGB, 256-entry colour table: a calm blue-grey
                    vertical gradient with a faint diagonal weave (stretched behind the dialog's panel);
res/launcher.ico    a headset over a blue disc, as 16 x 16 (4 bits), 32 x 32 and 48 x 48 (8 bits).
The output is deterministic; run it from anywhere: python3 scripts/make-artwork.py
"""
import math
import os
import struct

ROOT = os.path.dirname(os.path.dirname(os.path.abspath(__file__)))
RES = os.path.join(ROOT, "res")


# ---- device-independent bitmaps ----------------------------------------------------------------------

def info_header(width, height, bits, colours):
    """BITMAPINFOHEADER; height is the stored height (doubled for icon images)."""
    stride = row_stride(width, bits)
    return struct.pack("<IiiHHIIiiII", 40, width, height, 1, bits, 0,  # BI_RGB
                       stride * abs(height), 0, 0, colours, 0)


def row_stride(width, bits):
    return ((width * bits + 31) // 32) * 4


def colour_table(palette, entries):
    """RGBQUADs (blue, green, red, 0), padded with black to the given number of entries."""
    out = bytearray()
    for i in range(entries):
        r, g, b = palette[i] if i < len(palette) else (0, 0, 0)
        out += bytes((b, g, r, 0))
    return bytes(out)


def pack_rows(indices, width, height, bits):
    """Palette indices (row-major, top row first) as bottom-up rows padded to 32 bits."""
    stride = row_stride(width, bits)
    out = bytearray()
    for y in range(height - 1, -1, -1):
        row = indices[y * width:(y + 1) * width]
        line = bytearray()
        if bits == 8:
            line += bytes(row)
        elif bits == 4:
            for x in range(0, width, 2):
                hi = row[x]
                lo = row[x + 1] if x + 1 < width else 0
                line.append((hi << 4) | lo)
        elif bits == 1:
            for x in range(0, width, 8):
                byte = 0
                for k in range(8):
                    if x + k < width and row[x + k]:
                        byte |= 0x80 >> k
                line.append(byte)
        line += bytes(stride - len(line))
        out += line
    return bytes(out)


# ---- background -------------------------------------------------------------------------------------

BG_W, BG_H = 110, 139


def lerp(a, b, t):
    return a + (b - a) * t


def background():
    # 256 shades from a pale blue-grey to a deeper slate, in order, so that neighbouring indices
    # are neighbouring shades.
    top, bottom = (222, 230, 238), (122, 140, 162)
    palette = []
    for i in range(256):
        t = i / 255.0
        palette.append(tuple(int(round(lerp(top[c], bottom[c], t))) for c in range(3)))
    pixels = []
    for y in range(BG_H):
        base = (y / (BG_H - 1)) ** 1.15 * 232.0
        for x in range(BG_W):
            # A faint weave of diagonal lines, a few shades darker, and a soft light from the upper left.
            weave = 7.0 if (x + y) % 9 == 0 else (3.0 if (x - y) % 9 == 0 else 0.0)
            glow = -10.0 * math.exp(-((x - 20) ** 2 + (y - 15) ** 2) / 2500.0)
            index = int(round(base + weave + glow))
            pixels.append(max(0, min(255, index)))
    table = colour_table(palette, 256)
    bits = pack_rows(pixels, BG_W, BG_H, 8)
    header = info_header(BG_W, BG_H, 8, 256)
    offset = 14 + len(header) + len(table)
    file_header = struct.pack("<2sIHHI", b"BM", offset + len(bits), 0, 0, offset)
    return file_header + header + table + bits


# ---- icon -------------------------------------------------------------------------------------------

DISC_TOP, DISC_BOTTOM = (86, 146, 214), (28, 72, 142)
RIM = (18, 42, 88)
HEADSET, HEADSET_SHADE = (250, 251, 253), (196, 208, 224)


def headset_layers(u, v):
    """Colour at a point of the unit design square (0..1, y downwards), or None outside the motif."""
    cx, cy = 0.5, 0.5
    d = math.hypot(u - cx, v - cy)
    colour = None
    if d <= 0.465:
        colour = tuple(lerp(DISC_TOP[c], DISC_BOTTOM[c], v) for c in range(3))
        if d > 0.425:
            colour = RIM
    # Headband: the upper part of a ring.
    hx, hy = 0.5, 0.54
    r = math.hypot(u - hx, v - hy)
    if 0.245 <= r <= 0.31 and v <= hy + 0.02:
        colour = HEADSET
    # Ear cups: rounded blocks at both ends of the band.
    for left, inner in ((0.145, 0.295), (0.705, 0.705)):
        if rounded_box(u, v, left, 0.47, 0.15, 0.25, 0.05):
            colour = HEADSET_SHADE if abs(u - inner) < 0.04 else HEADSET
    # Microphone boom from the left cup toward the mouth, ending in a small capsule.
    mx, my = 0.5, 0.60
    rb = math.hypot(u - mx, v - my)
    if 0.205 <= rb <= 0.245 and v > 0.68 and u < 0.52:
        colour = HEADSET
    if math.hypot(u - 0.54, v - 0.83) <= 0.055:
        colour = HEADSET
    return colour


def rounded_box(u, v, x, y, w, h, radius):
    qx = max(abs(u - (x + w / 2)) - (w / 2 - radius), 0.0)
    qy = max(abs(v - (y + h / 2)) - (h / 2 - radius), 0.0)
    return math.hypot(qx, qy) <= radius


def render_icon(size, samples=6):
    """RGB pixels and a transparency mask (1 = transparent), supersampled."""
    rgb, mask = [], []
    for y in range(size):
        for x in range(size):
            acc = [0.0, 0.0, 0.0]
            hits = 0
            for sy in range(samples):
                for sx in range(samples):
                    c = headset_layers((x + (sx + 0.5) / samples) / size,
                                       (y + (sy + 0.5) / samples) / size)
                    if c is not None:
                        hits += 1
                        for k in range(3):
                            acc[k] += c[k]
            if hits * 2 < samples * samples:
                rgb.append((0, 0, 0))
                mask.append(1)
            else:
                rgb.append(tuple(int(round(a / hits)) for a in acc))
                mask.append(0)
    return rgb, mask


def median_cut(colours, count):
    """A palette of at most count colours for the given list of RGB tuples."""
    boxes = [sorted(set(colours))]
    while len(boxes) < count:
        boxes.sort(key=lambda b: max(max(c[k] for c in b) - min(c[k] for c in b) for k in range(3))
                   if len(b) > 1 else -1)
        box = boxes.pop()
        if len(box) < 2:
            boxes.append(box)
            break
        spans = [max(c[k] for c in box) - min(c[k] for c in box) for k in range(3)]
        axis = spans.index(max(spans))
        box.sort(key=lambda c: c[axis])
        half = len(box) // 2
        boxes += [box[:half], box[half:]]
    return [tuple(sum(c[k] for c in b) // len(b) for k in range(3)) for b in boxes if b]


def nearest(palette, colour):
    return min(range(len(palette)),
               key=lambda i: sum((palette[i][k] - colour[k]) ** 2 for k in range(3)))


def icon_image(size, bits):
    rgb, mask = render_icon(size)
    opaque = [c for c, m in zip(rgb, mask) if not m]
    entries = 1 << bits
    # Index 0 is black, used under the transparent parts of the mask.
    palette = [(0, 0, 0)] + median_cut(opaque, entries - 1)
    indices = [0 if m else nearest(palette, c) for c, m in zip(rgb, mask)]
    data = (info_header(size, size * 2, bits, entries) + colour_table(palette, entries)
            + pack_rows(indices, size, size, bits) + pack_rows(mask, size, size, 1))
    return data


def icon_file():
    images = [(16, 4), (32, 8), (48, 8)]
    blobs = [icon_image(size, bits) for size, bits in images]
    out = bytearray(struct.pack("<HHH", 0, 1, len(images)))
    offset = 6 + 16 * len(images)
    for (size, bits), blob in zip(images, blobs):
        colour_count = (1 << bits) if bits < 8 else 0
        out += struct.pack("<BBBBHHII", size, size, colour_count, 0, 1, bits, len(blob), offset)
        offset += len(blob)
    for blob in blobs:
        out += blob
    return bytes(out)


def main():
    with open(os.path.join(RES, "background.bmp"), "wb") as f:
        f.write(background())
    with open(os.path.join(RES, "launcher.ico"), "wb") as f:
        f.write(icon_file())


if __name__ == "__main__":
    main()
