#!/usr/bin/env python3
"""Draws Tessaro's pictures and writes them into this folder.

The motif: a folder standing behind a drive, because Tessaro gives a folder
a drive letter of its own.  Everything is drawn here from a few rounded
rectangles and circles; this file is the editable source, the pictures are
generated from it.

    python3 assets/generate_pictures.py            # rewrite every picture
    python3 assets/generate_pictures.py --preview /tmp/sheet.png

Output is deterministic: running it twice gives byte-identical files.

Files:
  app.ico        icon of tessaro.exe: 16, 24, 32, 48, 64 px as 32-bit BGRA
                 with alpha, 256 px as a PNG entry (64 px is the one the
                 program must carry)
  window.ico     icon of the main window and the folder dialog: 32 px with
                 24 bits per pixel and an AND mask, plus 16 px for the
                 small title-bar icon
  tray.ico       notification-area icon: 32 px and 16 px, 8 bits per pixel
                 (a 256-colour palette) with an AND mask
  image1.png     the main window's decorative 64 px greyscale picture,
                 greyscale + alpha on a transparent background
  image1.ico     the same picture as a 32-bit icon, for DrawIconEx
  app-16/32/48/64/128/256.png
                 the application icon for the Linux program and its
                 desktop entry (RGBA)
  window-32.png, tray-32.png
                 exactly what window.ico and tray.ico hold at 32 px, as
                 RGBA, so both front ends show the same pictures
  setup-welcome.bmp
                 the Windows setup's welcome and finish pages: 164 x 314,
                 24 bits per pixel, the 128 px icon on the drive's colours
"""

import math
import os
import struct
import sys
import zlib

HERE = os.path.dirname(os.path.abspath(__file__))

# ---------------------------------------------------------------------------
# Palette

def hex_rgb(text):
    return tuple(int(text[i:i + 2], 16) for i in (1, 3, 5))

# Each part of the motif as (colour, grey), a line to a part of the picture.
# The greyscale rendition keeps the same shapes but a calmer, narrower range.
PARTS = {
    "folder_edge": ("#9A5F0C", 104), "folder_back": ("#E39A1B", 172),
    "folder_front_top": ("#FFD166", 214), "folder_front_bottom": ("#F4B63C", 200),
    "sheet": ("#FBF7EE", 244), "sheet_edge": ("#B98A3C", 140),
    "drive_edge": ("#0A3542", 70), "drive_top": ("#237F94", 138), "drive_bottom": ("#135468", 112),
    "drive_shine": ("#4FB3C6", 168), "drive_slot": ("#0B3A48", 82),
    "led": ("#7DF2C4", 232), "led_edge": ("#0A3542", 70),
}

COLOUR = {part: hex_rgb(colour) for part, (colour, _) in PARTS.items()}
GREY = {part: (grey,) * 3 for part, (_, grey) in PARTS.items()}

# ---------------------------------------------------------------------------
# Geometry: signed distances in pixels (negative inside)

def rounded_rect(x0, y0, x1, y1, r):
    cx, cy = (x0 + x1) / 2, (y0 + y1) / 2
    hx, hy = (x1 - x0) / 2 - r, (y1 - y0) / 2 - r

    def sdf(x, y):
        qx, qy = abs(x - cx) - hx, abs(y - cy) - hy
        outside = math.hypot(max(qx, 0.0), max(qy, 0.0))
        return outside + min(max(qx, qy), 0.0) - r

    return sdf, (x0, y0, x1, y1)


def circle(cx, cy, r):
    return (lambda x, y: math.hypot(x - cx, y - cy) - r), (cx - r, cy - r, cx + r, cy + r)


def union(*shapes):
    fns = [s[0] for s in shapes]
    box = (min(s[1][0] for s in shapes), min(s[1][1] for s in shapes),
           max(s[1][2] for s in shapes), max(s[1][3] for s in shapes))
    return (lambda x, y: min(f(x, y) for f in fns)), box


def inset(shape, w):
    fn, box = shape
    return (lambda x, y: fn(x, y) + w), box


def vertical(top, bottom, y0, y1):
    """A colour that runs from top to bottom between rows y0 and y1."""
    def colour(x, y):
        t = min(max((y - y0) / max(y1 - y0, 1e-6), 0.0), 1.0)
        return tuple(a + (b - a) * t for a, b in zip(top, bottom))
    return colour

# ---------------------------------------------------------------------------
# The motif, laid out on a 64-unit grid and scaled to the target size

def motif(size, pal):
    """Layers (shape, colour) from back to front for one picture size."""
    u = size / 64.0
    small = size <= 48

    def at(v):
        # Small pictures put straight edges on whole pixels, so they stay sharp.
        p = v * u
        return float(round(p)) if small else p

    # Edge width: one pixel where pixels are scarce, finer proportion above.
    edge = 1.0 if size <= 32 else max(1.0, size / 40.0)
    radius = max(1.0, 4 * u)

    tab = rounded_rect(at(5), at(7), at(28), at(20), radius)
    back = rounded_rect(at(5), at(12), at(59), at(46), radius)
    folder = union(tab, back)
    sheet = rounded_rect(at(10), at(16), at(54), at(40), max(0.5, 2 * u))
    front = rounded_rect(at(5), at(22), at(59), at(46), radius)

    drive = rounded_rect(at(3), at(35), at(61), at(59), max(1.0, 5 * u))
    shine = rounded_rect(at(3) + edge, at(35) + edge, at(61) - edge,
                         at(35) + edge + max(1.0, 2 * u), max(0.5, 3 * u))
    led_cy = (at(35) + at(59)) / 2
    if size > 16:
        slot = rounded_rect(at(10), at(45), at(36), at(49), max(0.5, 2 * u))
        led_r, led_cx = 4.2 * u, at(61) - edge - 9 * u
        if small:
            # A whole-pixel centre and radius keep the light round, not smeared.
            led_r, led_cx = round(led_r * 2) / 2, float(round(led_cx))
        led = circle(led_cx, led_cy, led_r)
        led_ring = circle(led_cx, led_cy, led_r + edge)
    else:
        # At 16 px whole-pixel blocks read better than anything round.
        slot = rounded_rect(3.0, 11.0, 9.0, 12.0, 0.0)
        led = rounded_rect(11.0, 11.0, 13.0, 13.0, 0.0)

    layers = [
        (folder, pal["folder_edge"]),
        (inset(folder, edge), pal["folder_back"]),
    ]
    if size >= 32:
        layers += [(sheet, pal["sheet_edge"]), (inset(sheet, edge), pal["sheet"])]
    layers += [
        (front, pal["folder_edge"]),
        (inset(front, edge), vertical(pal["folder_front_top"], pal["folder_front_bottom"],
                                      at(22), at(46))),
        (drive, pal["drive_edge"]),
        (inset(drive, edge), vertical(pal["drive_top"], pal["drive_bottom"], at(35), at(59))),
    ]
    if size >= 24:
        layers.append((shine, pal["drive_shine"]))
    layers.append((slot, pal["drive_slot"]))
    if size >= 48:
        layers.append((led_ring, pal["led_edge"]))
    layers.append((led, pal["led"]))
    return layers


def render(size, layers):
    """Composites the layers into premultiplied-free RGBA floats (0..1)."""
    sub = 4 if size <= 64 else 2
    offsets = [(i + 0.5) / sub for i in range(sub)]
    img = [[(0.0, 0.0, 0.0, 0.0)] * size for _ in range(size)]
    for (fn, box), colour in layers:
        bx0 = max(0, int(math.floor(box[0])) - 1)
        by0 = max(0, int(math.floor(box[1])) - 1)
        bx1 = min(size, int(math.ceil(box[2])) + 1)
        by1 = min(size, int(math.ceil(box[3])) + 1)
        for y in range(by0, by1):
            row = img[y]
            for x in range(bx0, bx1):
                cover = 0.0
                for oy in offsets:
                    for ox in offsets:
                        # Each subsample is itself smoothed by its distance.
                        d = fn(x + ox, y + oy)
                        cover += min(max(0.5 - d * sub, 0.0), 1.0)
                cover /= sub * sub
                if cover <= 0.0:
                    continue
                c = colour(x + 0.5, y + 0.5) if callable(colour) else colour
                r, g, b, a = row[x]
                na = cover + a * (1 - cover)
                mix = lambda s, d: (s / 255.0 * cover + d * a * (1 - cover)) / na
                row[x] = (mix(c[0], r), mix(c[1], g), mix(c[2], b), na)
    return [[tuple(int(round(v * 255)) for v in px) for px in row] for row in img]


def binary_alpha(img):
    """For formats with a one-bit mask: half covered counts as opaque."""
    return [[(r, g, b, 255) if a >= 128 else (0, 0, 0, 0) for r, g, b, a in row]
            for row in img]

# ---------------------------------------------------------------------------
# Palette reduction for the 256-colour tray icon

def quantise(img, limit=255):
    """Returns (palette, index rows); index 0 is black, kept for transparency."""
    colours = sorted({px[:3] for row in img for px in row if px[3]})
    if len(colours) > limit:
        colours = median_cut(colours, limit)
    palette = [(0, 0, 0)] + colours
    lookup = {}

    def nearest(c):
        if c not in lookup:
            lookup[c] = min(range(1, len(palette)),
                            key=lambda i: (sum((p - q) ** 2 for p, q in zip(palette[i], c)), i))
        return lookup[c]

    rows = [[nearest(px[:3]) if px[3] else 0 for px in row] for row in img]
    return palette, rows


def median_cut(colours, limit):
    boxes = [colours]
    while len(boxes) < limit:
        boxes.sort(key=lambda b: (-max(max(c[k] for c in b) - min(c[k] for c in b)
                                      for k in range(3)), b[0]))
        box = boxes[0]
        if len(box) < 2:
            break
        k = max(range(3), key=lambda k: max(c[k] for c in box) - min(c[k] for c in box))
        box = sorted(box, key=lambda c: (c[k], c))
        boxes[0:1] = [box[:len(box) // 2], box[len(box) // 2:]]
    return sorted(tuple(sum(c[k] for c in b) // len(b) for k in range(3)) for b in boxes)

# ---------------------------------------------------------------------------
# PNG

def png_chunk(kind, data):
    return (struct.pack(">I", len(data)) + kind + data
            + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF))


def png(img, grey=False):
    size_y, size_x = len(img), len(img[0])
    raw = bytearray()
    for row in img:
        raw.append(0)
        for r, g, b, a in row:
            raw.extend((r, a) if grey else (r, g, b, a))
    ihdr = struct.pack(">IIBBBBB", size_x, size_y, 8, 4 if grey else 6, 0, 0, 0)
    return (b"\x89PNG\r\n\x1a\n" + png_chunk(b"IHDR", ihdr)
            + png_chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + png_chunk(b"IEND", b""))

# ---------------------------------------------------------------------------
# ICO: each entry a BITMAPINFOHEADER image (XOR bitmap + AND mask), or a PNG

def and_mask(mask_rows):
    """One bit per pixel, 1 = transparent, rows bottom-up padded to 32 bits."""
    out = bytearray()
    for row in reversed(mask_rows):
        bits = bytearray((len(row) + 31) // 32 * 4)
        for x, transparent in enumerate(row):
            if transparent:
                bits[x // 8] |= 0x80 >> (x % 8)
        out += bits
    return bytes(out)


def dib(width, height, bpp, xor_rows, mask_rows, palette=()):
    header = struct.pack("<IiiHHIIiiII", 40, width, height * 2, 1, bpp, 0,
                         0, 0, 0, 0, 0)
    pal = b"".join(struct.pack("<BBBB", b, g, r, 0) for r, g, b in palette)
    stride = (width * bpp + 31) // 32 * 4
    xor = b"".join(row.ljust(stride, b"\0") for row in reversed(xor_rows))
    return header + pal + xor + and_mask(mask_rows)


def dib32(img):
    rows = [b"".join(struct.pack("<BBBB", b, g, r, a) for r, g, b, a in row) for row in img]
    return dib(len(img), len(img), 32, rows, [[a == 0 for *_, a in row] for row in img])


def dib24(img):
    # Masked pixels must be black in the XOR bitmap, or Windows inverts them.
    rows = [b"".join(struct.pack("<BBB", b, g, r) if a else b"\0\0\0"
                     for r, g, b, a in row) for row in img]
    return dib(len(img), len(img), 24, rows, [[a == 0 for *_, a in row] for row in img])


def dib8(img):
    palette, idx = quantise(img)
    palette = palette + [(0, 0, 0)] * (256 - len(palette))
    rows = [bytes(row) for row in idx]
    return dib(len(img), len(img), 8, rows, [[a == 0 for *_, a in row] for row in img],
               palette)


def ico(entries):
    """entries: (size, bits per pixel, payload)."""
    head = struct.pack("<HHH", 0, 1, len(entries))
    offset = 6 + 16 * len(entries)
    table, body = b"", b""
    for size, bpp, data in entries:
        dim = size if size < 256 else 0
        table += struct.pack("<BBBBHHII", dim, dim, 0, 0, 1, bpp, len(data), offset)
        body += data
        offset += len(data)
    return head + table + body

# ---------------------------------------------------------------------------
# BMP: the setup's page picture, bottom-up 24-bit rows padded to 32 bits

WELCOME_SIZE = (164, 314)


def bmp24(img):
    w, h = len(img[0]), len(img)
    stride = (w * 3 + 3) // 4 * 4
    pixels = b"".join(b"".join(struct.pack("<BBB", b, g, r) for r, g, b, _ in row)
                      .ljust(stride, b"\0") for row in reversed(img))
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, 24, 0, len(pixels), 2835, 2835, 0, 0)
    head = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(pixels), 0, 0, 14 + 40)
    return head + info + pixels


def welcome(icon):
    """The icon in the upper third of a panel shaded like the drive's front."""
    w, h = WELCOME_SIZE
    shade = vertical(COLOUR["drive_top"], COLOUR["drive_bottom"], 0, h)
    x0, y0 = (w - len(icon)) // 2, 56
    img = []
    for y in range(h):
        row = []
        for x in range(w):
            ground = tuple(int(round(c)) for c in shade(x + 0.5, y + 0.5))
            iy, ix = y - y0, x - x0
            if 0 <= iy < len(icon) and 0 <= ix < len(icon):
                r, g, b, a = icon[iy][ix]
                ground = tuple((c * a + gc * (255 - a) + 127) // 255
                               for c, gc in zip((r, g, b), ground))
            row.append(ground + (255,))
        img.append(row)
    return img


def bmp_read(data):
    magic, size, _, _, offset = struct.unpack("<2sIHHI", data[:14])
    assert magic == b"BM" and size == len(data), "not a BMP"
    hsize, w, h, planes, bpp = struct.unpack("<IiiHH", data[14:30])
    assert (hsize, planes) == (40, 1), "bad BMP header"
    return w, h, bpp, len(data) - offset

# ---------------------------------------------------------------------------
# Reading back, for the self-check and the preview

def png_read(data):
    assert data[:8] == b"\x89PNG\r\n\x1a\n", "not a PNG"
    pos, idat, ihdr = 8, b"", None
    while pos < len(data):
        n, kind = struct.unpack(">I4s", data[pos:pos + 8])
        body = data[pos + 8:pos + 8 + n]
        if kind == b"IHDR":
            ihdr = struct.unpack(">IIBBBBB", body)
        elif kind == b"IDAT":
            idat += body
        pos += 12 + n
    w, h, depth, ctype = ihdr[:4]
    channels = {4: 2, 6: 4}[ctype]
    raw = zlib.decompress(idat)
    img, stride = [], w * channels + 1
    for y in range(h):
        line = raw[y * stride:(y + 1) * stride]
        assert line[0] == 0, "unexpected PNG filter"
        px = line[1:]
        if channels == 2:
            img.append([(px[i], px[i], px[i], px[i + 1]) for i in range(0, len(px), 2)])
        else:
            img.append([tuple(px[i:i + 4]) for i in range(0, len(px), 4)])
    return (w, h, depth, ctype), img


def ico_entries(data):
    reserved, kind, count = struct.unpack("<HHH", data[:6])
    assert (reserved, kind) == (0, 1), "not an icon file"
    out = []
    for i in range(count):
        w, h, colours, _, planes, bpp, length, offset = struct.unpack(
            "<BBBBHHII", data[6 + 16 * i:22 + 16 * i])
        out.append((w or 256, h or 256, bpp, data[offset:offset + length]))
    return out


def ico_decode(w, h, bpp, payload):
    """The entry's picture as RGBA rows, whatever its format."""
    if payload[:8] == b"\x89PNG\r\n\x1a\n":
        return png_read(payload)[1]
    size, bw, bh, planes, bits = struct.unpack("<IiiHH", payload[:16])
    assert (size, bw, bh, planes, bits) == (40, w, 2 * h, 1, bpp), "bad icon header"
    pos = 40
    palette = []
    if bpp <= 8:
        palette = [tuple(payload[pos + 4 * i:pos + 4 * i + 3][::-1]) for i in range(1 << bpp)]
        pos += 4 << bpp
    stride = (w * bpp + 31) // 32 * 4
    mstride = (w + 31) // 32 * 4
    mpos = pos + stride * h
    assert len(payload) == mpos + mstride * h, "icon entry has the wrong length"
    img = []
    for y in range(h - 1, -1, -1):
        line = payload[pos + y * stride:pos + (y + 1) * stride]
        mline = payload[mpos + y * mstride:mpos + (y + 1) * mstride]
        row = []
        for x in range(w):
            masked = mline[x // 8] & (0x80 >> (x % 8))
            if bpp == 32:
                b, g, r, a = line[4 * x:4 * x + 4]
            elif bpp == 24:
                b, g, r = line[3 * x:3 * x + 3]
                a = 0 if masked else 255
            else:
                r, g, b = palette[line[x]]
                a = 0 if masked else 255
            if masked and bpp != 32:
                assert (r, g, b) == (0, 0, 0), "masked pixel not black"
            row.append((r, g, b, a))
        img.append(row)
    return img

# ---------------------------------------------------------------------------

def build():
    """All pictures as {file name: bytes}, plus the expected headers."""
    app = {s: render(s, motif(s, COLOUR)) for s in (16, 24, 32, 48, 64, 128, 256)}
    window = {s: binary_alpha(app[s]) for s in (16, 32)}
    tray = window
    grey = render(64, motif(64, GREY))
    # Straight grey: every channel equal, so the LA file loses nothing.
    grey = [[(r, r, r, a) for r, g, b, a in row] for row in grey]

    files = {
        "app.ico": ico([(s, 32, dib32(app[s])) for s in (16, 24, 32, 48, 64)]
                       + [(256, 32, png(app[256]))]),
        "window.ico": ico([(32, 24, dib24(window[32])), (16, 24, dib24(window[16]))]),
        "tray.ico": ico([(32, 8, dib8(tray[32])), (16, 8, dib8(tray[16]))]),
        "image1.png": png(grey, grey=True),
        "image1.ico": ico([(64, 32, dib32(grey))]),
        "window-32.png": png(window[32]),
    }
    for s in (16, 32, 48, 64, 128, 256):
        files["app-%d.png" % s] = png(app[s])
    # The PNG copy shows what the tray icon really holds after quantising.
    files["tray-32.png"] = png(ico_decode(32, 32, 8, dib8(tray[32])))
    files["setup-welcome.bmp"] = bmp24(welcome(app[128]))
    expect_ico = {
        "app.ico": [(16, 32), (24, 32), (32, 32), (48, 32), (64, 32), (256, 32)],
        "window.ico": [(32, 24), (16, 24)],
        "tray.ico": [(32, 8), (16, 8)],
        "image1.ico": [(64, 32)],
    }
    expect_png = {"image1.png": (64, 4)}
    expect_png.update({"app-%d.png" % s: (s, 6) for s in (16, 32, 48, 64, 128, 256)})
    expect_png.update({"window-32.png": (32, 6), "tray-32.png": (32, 6)})
    return files, expect_ico, expect_png


def self_check(files, expect_ico, expect_png):
    expect_bmp = {"setup-welcome.bmp"}
    assert set(files) == set(expect_ico) | set(expect_png) | expect_bmp, "unexpected file set"
    w, h = WELCOME_SIZE
    assert bmp_read(files["setup-welcome.bmp"]) == (w, h, 24, (w * 3 + 3) // 4 * 4 * h), \
        "setup-welcome.bmp has the wrong shape"
    for name, want in expect_ico.items():
        entries = ico_entries(files[name])
        assert [(w, bpp) for w, h, bpp, _ in entries] == want, name
        for w, h, bpp, payload in entries:
            assert w == h
            img = ico_decode(w, h, bpp, payload)
            assert len(img) == h and all(len(r) == w for r in img), name
            corners = [img[0][0], img[0][-1], img[-1][0], img[-1][-1]]
            assert all(px[3] == 0 for px in corners), name + ": background not transparent"
            assert any(px[3] == 255 for row in img for px in row), name + ": empty"
            if bpp == 8:
                used = {payload[40 + 1024 + y * w + x] for y in range(h) for x in range(w)}
                assert max(used) < 256 and len(used) <= 256, name
    for name, (size, ctype) in expect_png.items():
        (w, h, depth, kind), img = png_read(files[name])
        assert (w, h, depth, kind) == (size, size, 8, ctype), name
        assert img[0][0][3] == 0, name + ": background not transparent"
    grey_img = png_read(files["image1.png"])[1]
    grey_ico = ico_decode(64, 64, 32, ico_entries(files["image1.ico"])[0][3])
    assert grey_img == grey_ico, "image1.png and image1.ico differ"
    assert png_read(files["window-32.png"])[1] == ico_decode(
        32, 32, 24, ico_entries(files["window.ico"])[0][3]), "window-32.png differs"
    assert png_read(files["tray-32.png"])[1] == ico_decode(
        32, 32, 8, ico_entries(files["tray.ico"])[0][3]), "tray-32.png differs"


def preview(files, path):
    """A sheet of every picture, enlarged, on a light and a dark ground."""
    pics = []
    for name in ("app.ico", "window.ico", "tray.ico", "image1.ico"):
        for w, h, bpp, payload in ico_entries(files[name]):
            pics.append(ico_decode(w, h, bpp, payload))
    grounds = [(240, 240, 240), (255, 255, 255), (32, 36, 40), (0, 90, 158)]
    cell, small = 140, 72
    width, height = cell * len(pics), (cell + small) * len(grounds)
    sheet = [[(0, 0, 0, 255)] * width for _ in range(height)]
    for gi, ground in enumerate(grounds):
        for y in range(gi * (cell + small), (gi + 1) * (cell + small)):
            sheet[y] = [ground + (255,)] * width
        for pi, pic in enumerate(pics):
            s = len(pic)
            # Enlarged to 128 px (pixels shown as blocks), then at true size.
            for y0, shown, step in ((gi * (cell + small) + 6, 128, s / 128),
                                    (gi * (cell + small) + cell, min(s, 64), 1)):
                x0 = pi * cell + 6
                for y in range(shown):
                    for x in range(shown):
                        r, g, b, a = pic[int(y * step)][int(x * step)]
                        mix = tuple((c * a + gc * (255 - a)) // 255
                                    for c, gc in zip((r, g, b), ground))
                        sheet[y0 + y][x0 + x] = mix + (255,)
    with open(path, "wb") as f:
        f.write(png(sheet))


def main(argv):
    if not __debug__:
        sys.exit("generate_pictures.py: run without -O, the self-check relies on assert")
    files, expect_ico, expect_png = build()
    self_check(files, expect_ico, expect_png)
    for name in sorted(files):
        with open(os.path.join(HERE, name), "wb") as f:
            f.write(files[name])
    if len(argv) == 3 and argv[1] == "--preview":
        preview(files, argv[2])
    elif len(argv) != 1:
        sys.exit("usage: generate_pictures.py [--preview sheet.png]")


if __name__ == "__main__":
    main(sys.argv)
