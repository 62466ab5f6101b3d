#!/usr/bin/python3
"""Makes the installer's own art: the window's background picture, its icon
and the hand pointer.

    /usr/bin/python3 make_art.py [output directory]

Writes background.jpg, velmora.ico and hand.cur (by default beside this
script). Everything is drawn from fixed numbers and a seeded random stream, so
the same Debian packages (python3-pil with its libjpeg-turbo and zlib) make
the same bytes every time.
"""

import io
import math
import random
import struct
import sys
from pathlib import Path

from PIL import Image, ImageChops, ImageDraw, ImageFilter

BACKGROUND_SIZE = (1279, 719)
JPEG_QUALITY = 88
SEED = 0x5E1A


# ---------------------------------------------------------------- background

def lerp(a, b, t):
    return a + (b - a) * t


def mix(c1, c2, t):
    return tuple(int(round(lerp(x, y, t))) for x, y in zip(c1, c2))


def gradient(stops, t):
    """Colour at t in [0, 1] along (position, colour) stops."""
    for (p1, c1), (p2, c2) in zip(stops, stops[1:]):
        if t <= p2:
            return mix(c1, c2, (t - p1) / (p2 - p1) if p2 > p1 else 0.0)
    return stops[-1][1]


SKY = [
    (0.00, (20, 22, 58)),
    (0.30, (48, 40, 96)),
    (0.52, (112, 68, 122)),
    (0.66, (196, 110, 118)),
    (0.76, (240, 164, 120)),
    (1.00, (250, 206, 150)),
]


def ridge(width, base, amplitude, waves, phase):
    """Heights of a soft hill line across the picture."""
    points = []
    for x in range(0, width + 1, 4):
        u = x / width
        y = base
        for i, (length, weight) in enumerate(waves):
            y -= amplitude * weight * math.sin(2 * math.pi * u * length + phase * (i + 1))
        points.append((x, y))
    return points


def draw_background(scale=2):
    rnd = random.Random(SEED)
    w, h = BACKGROUND_SIZE[0] * scale, BACKGROUND_SIZE[1] * scale
    horizon = 0.70 * h

    sky = Image.new("RGB", (w, h))
    draw = ImageDraw.Draw(sky)
    for y in range(h):
        draw.line([(0, y), (w, y)], fill=gradient(SKY, min(1.0, y / horizon * 0.78)))

    # The glow of the sun that has just set, left of centre, away from the
    # column of buttons on the right.
    glow = Image.new("L", (w, h), 0)
    ImageDraw.Draw(glow).ellipse([0.10 * w, 0.52 * h, 0.62 * w, 0.98 * h], fill=150)
    glow = glow.filter(ImageFilter.GaussianBlur(90 * scale))
    sky.paste(Image.new("RGB", (w, h), (255, 214, 160)), (0, 0), glow)

    # Stars, thinning towards the horizon and towards the right.
    stars = ImageDraw.Draw(sky)
    for _ in range(260):
        x = rnd.random() * w
        y = (rnd.random() ** 1.7) * 0.55 * h
        if x > 0.70 * w and rnd.random() < 0.75:
            continue
        fade = 1.0 - y / (0.55 * h)
        radius = scale * (0.6 + 1.2 * rnd.random() ** 3)
        shine = int(140 + 115 * fade * rnd.random())
        stars.ellipse([x - radius, y - radius, x + radius, y + radius], fill=(shine, shine, min(255, shine + 20)))

    # A thin crescent moon.
    moon = Image.new("L", (w, h), 0)
    md = ImageDraw.Draw(moon)
    mx, my, mr = 0.18 * w, 0.17 * h, 34 * scale
    md.ellipse([mx - mr, my - mr, mx + mr, my + mr], fill=255)
    md.ellipse([mx - mr + 16 * scale, my - mr - 8 * scale, mx + mr + 16 * scale, my + mr - 8 * scale], fill=0)
    halo = moon.filter(ImageFilter.GaussianBlur(18 * scale)).point(lambda v: v // 2)
    sky.paste(Image.new("RGB", (w, h), (255, 236, 200)), (0, 0), halo)
    sky.paste(Image.new("RGB", (w, h), (255, 246, 222)), (0, 0), moon)

    # Hills in four layers, paler with distance.
    layers = [
        (0.70, 26, [(1.3, 0.7), (3.1, 0.3)], 0.4, (138, 92, 132)),
        (0.76, 34, [(0.9, 0.6), (2.3, 0.4)], 1.9, (92, 62, 108)),
        (0.84, 40, [(0.7, 0.7), (1.9, 0.3)], 3.2, (52, 40, 82)),
        (0.93, 44, [(0.5, 0.8), (1.6, 0.2)], 4.7, (26, 22, 50)),
    ]
    for base, amplitude, waves, phase, colour in layers:
        line = ridge(w, base * h, amplitude * scale, waves, phase)
        ImageDraw.Draw(sky).polygon(line + [(w, h), (0, h)], fill=colour)

    # Sky lanterns drifting up from the valley, all on the left two thirds.
    lanterns = [(0.30, 0.46, 1.0), (0.38, 0.34, 0.8), (0.46, 0.52, 0.7), (0.24, 0.58, 0.6),
                (0.55, 0.40, 0.55), (0.61, 0.57, 0.45), (0.17, 0.42, 0.5), (0.50, 0.27, 0.4)]
    light = Image.new("L", (w, h), 0)
    body = Image.new("L", (w, h), 0)
    ld, bd = ImageDraw.Draw(light), ImageDraw.Draw(body)
    for u, v, size in lanterns:
        cx, cy = u * w, v * h
        lw, lh = 9 * scale * size, 13 * scale * size
        ld.ellipse([cx - 4 * lw, cy - 3 * lh, cx + 4 * lw, cy + 3 * lh], fill=int(120 * size + 40))
        bd.rounded_rectangle([cx - lw, cy - lh, cx + lw, cy + lh], radius=lw * 0.6, fill=255)
    light = light.filter(ImageFilter.GaussianBlur(16 * scale))
    sky.paste(Image.new("RGB", (w, h), (255, 170, 90)), (0, 0), light)
    sky.paste(Image.new("RGB", (w, h), (255, 208, 128)), (0, 0), body)

    picture = sky.resize(BACKGROUND_SIZE, Image.Resampling.LANCZOS)

    # A little grain, so that the long gradients do not band.
    grain = bytes(128 + rnd.randint(-3, 3) for _ in range(BACKGROUND_SIZE[0] * BACKGROUND_SIZE[1]))
    noise = Image.frombytes("L", BACKGROUND_SIZE, grain).convert("RGB")
    return ImageChops.add(picture, noise, offset=-128)


# ---------------------------------------------------------------------- icon

ICON_DIB_SIZES = [16, 24, 32, 48, 64, 72, 96, 128]


def draw_emblem(size=1024):
    """The icon's master drawing: a dusk tile with a crescent moon, a hill and
    a lantern."""
    s = size / 256
    tile = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    shape = Image.new("L", (size, size), 0)
    ImageDraw.Draw(shape).rounded_rectangle([8 * s, 8 * s, 248 * s, 248 * s], radius=48 * s, fill=255)

    fill = Image.new("RGB", (size, size))
    fd = ImageDraw.Draw(fill)
    for y in range(size):
        fd.line([(0, y), (size, y)], fill=gradient(SKY, y / size))
    hill = ridge(size, 196 * s, 16 * s, [(0.8, 0.8), (1.7, 0.2)], 2.4)
    fd.polygon(hill + [(size, size), (0, size)], fill=(40, 32, 70))

    moon = Image.new("L", (size, size), 0)
    md = ImageDraw.Draw(moon)
    md.ellipse([56 * s, 40 * s, 164 * s, 148 * s], fill=255)
    md.ellipse([86 * s, 22 * s, 194 * s, 130 * s], fill=0)
    fill.paste((255, 240, 204), (0, 0), moon)

    glow = Image.new("L", (size, size), 0)
    ImageDraw.Draw(glow).ellipse([140 * s, 104 * s, 228 * s, 200 * s], fill=170)
    glow = glow.filter(ImageFilter.GaussianBlur(14 * s))
    fill.paste((255, 170, 90), (0, 0), glow)
    lantern = Image.new("L", (size, size), 0)
    ImageDraw.Draw(lantern).rounded_rectangle([166 * s, 124 * s, 202 * s, 178 * s], radius=12 * s, fill=255)
    fill.paste((255, 206, 120), (0, 0), lantern)

    tile.paste(fill, (0, 0), shape)
    return tile


def png_bytes(image, **options):
    out = io.BytesIO()
    image.save(out, "PNG", optimize=False, compress_level=9, **options)
    return out.getvalue()


def palette_image(rgba, colours):
    """The picture in `colours` colours, the last one black for the
    transparent pixels: (palette indices as a P image, palette, opaque mask)."""
    opaque = rgba.getchannel("A").point(lambda a: 255 if a >= 128 else 0)
    flat = Image.new("RGB", rgba.size, (0, 0, 0))
    flat.paste(rgba.convert("RGB"), (0, 0), opaque)
    quantised = flat.quantize(colors=colours - 1, method=Image.Quantize.MEDIANCUT, dither=Image.Dither.NONE)
    palette = quantised.getpalette()[: 3 * (colours - 1)]
    palette += [0] * (3 * (colours - 1) - len(palette))
    palette += [0, 0, 0]
    indices = quantised.point(lambda i: i)
    indices.paste(colours - 1, (0, 0), Image.eval(opaque, lambda a: 255 - a))
    indices.putpalette(palette)
    return indices, palette, opaque


def row_bytes(bits_per_row):
    return (bits_per_row + 31) // 32 * 4


def dib_image(rgba, bit_count):
    """An icon image as the platform stores it: BITMAPINFOHEADER with twice
    the height, colour table, colour rows and mask rows, bottom row first."""
    size = rgba.width
    colours = {4: 16, 8: 256}.get(bit_count, 0)
    if colours:
        indices, palette, opaque = palette_image(rgba, colours)
        table = b"".join(bytes((palette[3 * i + 2], palette[3 * i + 1], palette[3 * i], 0)) for i in range(colours))
        pixels = indices.tobytes()
        colour_rows = []
        for y in range(size):
            row = pixels[y * size:(y + 1) * size]
            if bit_count == 4:
                packed = bytes((row[x] << 4) | (row[x + 1] if x + 1 < size else 0) for x in range(0, size, 2))
            else:
                packed = bytes(row)
            colour_rows.append(packed.ljust(row_bytes(size * bit_count), b"\0"))
    else:
        table = b""
        opaque = rgba.getchannel("A").point(lambda a: 255 if a else 0)
        r, g, b, a = rgba.split()
        bgra = Image.merge("RGBA", (b, g, r, a)).tobytes()
        colour_rows = [bgra[y * size * 4:(y + 1) * size * 4] for y in range(size)]
    mask = opaque.tobytes()
    mask_rows = []
    for y in range(size):
        bits = bytearray(row_bytes(size))
        for x in range(size):
            if not mask[y * size + x]:
                bits[x // 8] |= 0x80 >> (x % 8)
        mask_rows.append(bytes(bits))
    data = b"".join(reversed(colour_rows)) + b"".join(reversed(mask_rows))
    header = struct.pack("<IiiHHIIiiII", 40, size, 2 * size, 1, bit_count, 0, len(data), 0, 0, 0, 0)
    return header + table + data


def icon_file(images, file_type=1):
    """An .ico (type 1) or .cur (type 2) file from (width, height, colour count,
    planes or hot spot x, bit count or hot spot y, bytes), in that order."""
    header = struct.pack("<HHH", 0, file_type, len(images))
    offset = len(header) + 16 * len(images)
    directory, bodies = b"", b""
    for width, height, colour_count, field1, field2, data in images:
        directory += struct.pack("<BBBBHHII", width % 256, height % 256, colour_count, 0, field1, field2, len(data),
                                 offset)
        bodies += data
        offset += len(data)
    return header + directory + bodies


def make_icon():
    master = draw_emblem()
    big = master.resize((256, 256), Image.Resampling.LANCZOS)
    png16, _, _ = palette_image(big, 16)
    png256, _, _ = palette_image(big, 256)
    images = [
        (256, 256, 16, 1, 4, png_bytes(png16, bits=4, transparency=15)),
        (256, 256, 0, 1, 8, png_bytes(png256, transparency=255)),
        (256, 256, 0, 1, 32, png_bytes(big)),
    ]
    for bit_count in (4, 8, 32):
        for size in ICON_DIB_SIZES:
            small = master.resize((size, size), Image.Resampling.LANCZOS)
            images.append((size, size, 16 if bit_count == 4 else 0, 1, bit_count, dib_image(small, bit_count)))
    return icon_file(images)


# -------------------------------------------------------------------- cursor

HAND_HOTSPOT = (11, 1)


def make_hand_cursor():
    """A pointing hand, 32 by 32, white with a black outline; the hot spot is
    the tip of the index finger."""
    k = 8  # drawn at 8 times the size
    shape = Image.new("L", (32 * k, 32 * k), 0)
    d = ImageDraw.Draw(shape)

    def box(x0, y0, x1, y1, r):
        d.rounded_rectangle([x0 * k, y0 * k, x1 * k, y1 * k], radius=r * k, fill=255)

    box(9.0, 1.0, 13.4, 17.0, 2.2)    # index finger
    box(12.6, 9.0, 16.8, 18.0, 2.1)   # middle
    box(16.0, 10.0, 20.2, 19.0, 2.1)  # ring
    box(19.4, 11.5, 23.4, 20.0, 2.0)  # little
    box(9.0, 13.0, 23.4, 25.5, 4.0)   # palm
    box(10.5, 24.0, 21.5, 30.0, 1.0)  # wrist
    d.polygon([(9.6 * k, 15.5 * k), (5.5 * k, 12.2 * k), (3.4 * k, 13.8 * k), (8.5 * k, 22.5 * k),
               (10.5 * k, 22.5 * k)], fill=255)  # thumb

    outline = shape.filter(ImageFilter.MaxFilter(2 * k + 1))
    ink = Image.new("L", shape.size, 0)
    ld = ImageDraw.Draw(ink)
    for x, top in ((13.0, 9.5), (16.4, 10.5), (19.8, 12.0)):
        ld.line([(x * k, top * k), (x * k, 17.0 * k)], fill=255, width=int(0.9 * k))
    ld.line([(10.5 * k, 25.0 * k), (21.5 * k, 25.0 * k)], fill=255, width=int(0.9 * k))

    white = shape.copy()
    white.paste(0, (0, 0), ink)
    hand = Image.merge("RGBA", (white, white, white, outline)).resize((32, 32), Image.Resampling.LANCZOS)
    return icon_file([(32, 32, 0, HAND_HOTSPOT[0], HAND_HOTSPOT[1], dib_image(hand, 32))], file_type=2)


def main():
    out = Path(sys.argv[1]) if len(sys.argv) > 1 else Path(__file__).resolve().parent
    out.mkdir(parents=True, exist_ok=True)
    draw_background().save(out / "background.jpg", "JPEG", quality=JPEG_QUALITY, optimize=False,
                           progressive=False, subsampling="4:2:0")
    (out / "velmora.ico").write_bytes(make_icon())
    (out / "hand.cur").write_bytes(make_hand_cursor())


if __name__ == "__main__":
    main()
