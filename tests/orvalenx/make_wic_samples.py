#!/usr/bin/python3
"""Writes wic_samples.inc: small JPEG, GIF, TIFF and PNG files of every
variant the library reads through the platform's imaging component, with the
pixels each must decode to (top row first, after EXIF orientation). Run with
Debian's python3 and python3-pil:  /usr/bin/python3 make_wic_samples.py
"""
import io
import os
import struct
import zlib

from PIL import Image, ImageOps

W, H = 20, 14


def pattern():
    im = Image.new("RGB", (W, H))
    px = im.load()
    for y in range(H):
        for x in range(W):
            px[x, y] = ((x * 255) // (W - 1), (y * 255) // (H - 1), ((x + y) * 6) & 255)
    return im


def encode(im, fmt, **kw):
    b = io.BytesIO()
    im.save(b, fmt, **kw)
    return b.getvalue()


def tiff(w, h, bps, spp, photometric, rows, compression=1, tile=None, colormap=None, orientation=None, extra=()):
    """A little-endian TIFF with 3-row strips or tiles, stored or deflated."""
    entries = []
    body = bytearray(b"II*\0\0\0\0\0")

    def pack(b):
        return zlib.compress(b) if compression == 8 else b

    offsets, counts = [], []
    rowbytes = len(rows[0])
    if tile is None:
        for y in range(0, h, 3):
            chunk = pack(b"".join(rows[y:y + 3]))
            offsets.append(len(body)); counts.append(len(chunk)); body += chunk
            if len(body) % 2:
                body += b"\0"
    else:
        tw, th = tile
        bpp = bps * spp
        for ty in range(0, h, th):
            for tx in range(0, w, tw):
                t = bytearray()
                for y in range(ty, ty + th):
                    row = rows[y] if y < h else bytes(rowbytes)
                    start, n = tx * bpp // 8, (tw * bpp + 7) // 8
                    seg = row[start:start + n]
                    t += seg + bytes(n - len(seg))
                chunk = pack(bytes(t))
                offsets.append(len(body)); counts.append(len(chunk)); body += chunk
                if len(body) % 2:
                    body += b"\0"
    entries += [(256, 4, [w]), (257, 4, [h]), (258, 3, [bps] * spp), (259, 3, [compression]), (262, 3, [photometric])]
    if orientation:
        entries.append((274, 3, [orientation]))
    entries += [(277, 3, [spp]), (284, 3, [1])]
    if tile is None:
        entries += [(273, 4, offsets), (278, 4, [3]), (279, 4, counts)]
    else:
        entries += [(322, 4, [tile[0]]), (323, 4, [tile[1]]), (324, 4, offsets), (325, 4, counts)]
    if colormap:
        entries.append((320, 3, colormap))
    entries += list(extra)
    entries.sort()
    ifd_off = len(body)
    ext_off = ifd_off + 2 + 12 * len(entries) + 4
    ext = bytearray()
    ifd = bytearray(struct.pack("<H", len(entries)))
    for tag, typ, vals in entries:
        raw = b"".join(struct.pack("<H" if typ == 3 else "<I", v) for v in vals)
        if len(raw) <= 4:
            ifd += struct.pack("<HHI", tag, typ, len(vals)) + raw + bytes(4 - len(raw))
        else:
            ifd += struct.pack("<HHII", tag, typ, len(vals), ext_off + len(ext))
            ext += raw
            if len(ext) % 2:
                ext += b"\0"
    ifd += b"\0\0\0\0"
    body += ifd + ext
    body[4:8] = struct.pack("<I", ifd_off)
    return bytes(body)


def png_chunk(kind, data):
    return struct.pack(">I", len(data)) + kind + data + struct.pack(">I", zlib.crc32(kind + data) & 0xFFFFFFFF)


samples = []  # (name, bytes, expected image (RGB), bits, tolerance, windows_only)


def add(name, data, expected, bits, tolerance=0, windows_only=False):
    samples.append((name, data, expected.convert("RGB"), bits, tolerance, windows_only))


def decoded(data):
    return ImageOps.exif_transpose(Image.open(io.BytesIO(data)))


im = pattern()
rgb_rows = [bytes(v for x in range(W) for v in im.getpixel((x, y))) for y in range(H)]

# JPEG: compared with what a reference decoder makes of the same bytes.
for name, kw in [("baseline.jpg", {}), ("progressive.jpg", {"progressive": True})]:
    data = encode(im, "JPEG", quality=95, subsampling=0, **kw)
    add(name, data, decoded(data), 24, 6)
grey = encode(im.convert("L"), "JPEG", quality=95)
add("grey.jpg", grey, decoded(grey), 8, 6)
cmyk = encode(im.convert("CMYK"), "JPEG", quality=95)
add("cmyk.jpg", cmyk, im, 24, 12)
for orientation in (3, 6, 8):
    exif = Image.Exif()
    exif[274] = orientation
    data = encode(im, "JPEG", quality=95, subsampling=0, exif=exif.tobytes())
    add("orientation%d.jpg" % orientation, data, decoded(data), 24, 6)

# GIF: first frame; the transparent entry (3) shows the background (5).
p = im.convert("P", palette=Image.ADAPTIVE, colors=16)
second = Image.new("P", (W, H), 1)
second.putpalette(p.getpalette())
gif = encode(p, "GIF", transparency=3, background=5, save_all=True, append_images=[second], duration=100)
pal = p.getpalette()
bg = tuple(pal[15:18])
expected = Image.new("RGB", (W, H))
for y in range(H):
    for x in range(W):
        i = p.getpixel((x, y))
        expected.putpixel((x, y), bg if i == 3 else tuple(pal[3 * i:3 * i + 3]))
assert any(p.getpixel((x, y)) == 3 for x in range(W) for y in range(H))
add("transparent.gif", gif, expected, 8)



def gif_lzw(pixels, mcs=2):
    """LZW data that starts afresh before every pixel: valid, if not small."""
    clear, eoi, width = 1 << mcs, (1 << mcs) + 1, mcs + 1
    codes = []
    for v in pixels:
        codes += [clear, v]
    codes.append(eoi)
    bits = n = 0
    out = bytearray()
    for c in codes:
        bits |= c << n
        n += width
        while n >= 8:
            out.append(bits & 255)
            bits >>= 8
            n -= 8
    if n:
        out.append(bits & 255)
    data = bytearray([mcs])
    for i in range(0, len(out), 255):
        data += bytes([len(out[i:i + 255])]) + out[i:i + 255]
    return bytes(data) + b"\0"


def offset_gif(local_table):
    """An 8 x 6 screen (background entry 2, blue) with a 4 x 3 first frame at
    (2, 1); its pixels alternate entries 1 and 0."""
    g = bytearray(b"GIF89a") + struct.pack("<HHBBB", 8, 6, 0x81, 2, 0)
    g += bytes([0, 0, 0, 255, 0, 0, 0, 0, 255, 0, 255, 0])
    frame = [(x + y) % 2 for y in range(3) for x in range(4)]
    g += b"\x2c" + struct.pack("<HHHHB", 2, 1, 4, 3, 0x80 if local_table else 0)
    if local_table:
        g += bytes([255, 255, 0, 9, 9, 9])  # entries 0 and 1: yellow, dark grey
    g += gif_lzw(frame, 2) + b"\x3b"
    table = [(255, 255, 0), (9, 9, 9)] if local_table else [(0, 0, 0), (255, 0, 0)]
    expected = Image.new("RGB", (8, 6), (0, 0, 255))
    for i, v in enumerate(frame):
        expected.putpixel((2 + i % 4, 1 + i // 4), table[v])
    return bytes(g), expected


for name, local in (("offset-frame.gif", False), ("offset-frame-local-table.gif", True)):
    data, expected = offset_gif(local)
    add(name, data, expected, 8)

# PNG.
add("rgb.png", encode(im, "PNG"), im, 24)
add("rgba.png", encode(im.convert("RGBA"), "PNG"), im, 24)
add("palette8.png", encode(p, "PNG"), p, 8)
p4 = im.convert("P", palette=Image.ADAPTIVE, colors=16)
add("palette4.png", encode(p4, "PNG", bits=4), p4, 4)
p2 = im.convert("P", palette=Image.ADAPTIVE, colors=4)
add("palette2.png", encode(p2, "PNG", bits=2), p2, 4)
add("bilevel.png", encode(im.convert("1"), "PNG"), im.convert("1"), 1)
add("grey8.png", encode(im.convert("L"), "PNG"), im.convert("L"), 8)
g16 = Image.new("I;16", (W, H))
g16.putdata([v * 257 + (x % 100) for (x, v) in enumerate(im.convert("L").getdata())])
add("grey16.png", encode(g16, "PNG"), im.convert("L"), 8)
big = png_chunk(b"IHDR", struct.pack(">IIBBBBB", 40000, 40000, 8, 2, 0, 0, 0))
huge_png = b"\x89PNG\r\n\x1a\n" + big + png_chunk(b"IDAT", zlib.compress(b"\0" * 64)) + png_chunk(b"IEND", b"")

# TIFF: strips and tiles, every compression, palette, grey, 16-bit samples.
for name, c in [("none", None), ("packbits", "packbits"), ("lzw", "tiff_lzw"), ("deflate", "tiff_adobe_deflate")]:
    add("strip-%s.tif" % name, encode(im, "TIFF", **({"compression": c} if c else {})), im, 24)
add("strips3-none.tif", tiff(W, H, 8, 3, 2, rgb_rows), im, 24)
add("strips3-deflate.tif", tiff(W, H, 8, 3, 2, rgb_rows, compression=8), im, 24)
add("tiles-none.tif", tiff(W, H, 8, 3, 2, rgb_rows, tile=(16, 16)), im, 24)
add("tiles-deflate.tif", tiff(W, H, 8, 3, 2, rgb_rows, compression=8, tile=(16, 16)), im, 24)
jpeg_tiff = encode(im, "TIFF", compression="jpeg")
add("jpeg.tif", jpeg_tiff, decoded(jpeg_tiff), 24, 8, windows_only=True)
add("palette8.tif", encode(p, "TIFF"), p, 8)
add("bilevel.tif", encode(im.convert("1"), "TIFF"), im.convert("1"), 1)
add("grey8.tif", encode(im.convert("L"), "TIFF"), im.convert("L"), 8)
add("grey16.tif", encode(g16, "TIFF"), im.convert("L"), 8)


def pack4(vals):
    vals = vals + [0] * (len(vals) % 2)
    return bytes((vals[i] << 4) | vals[i + 1] for i in range(0, len(vals), 2))


def pack2(vals):
    vals = vals + [0] * (-len(vals) % 4)
    return bytes((vals[i] << 6) | (vals[i + 1] << 4) | (vals[i + 2] << 2) | vals[i + 3] for i in range(0, len(vals), 4))


idx = [[(x + 2 * y) % 16 for x in range(W)] for y in range(H)]
levels = [(i * 5 % 16, 15 - i, i) for i in range(16)]
cmap = [levels[i][0] * 17 * 257 for i in range(16)] + [levels[i][1] * 17 * 257 for i in range(16)] + \
    [levels[i][2] * 17 * 257 for i in range(16)]
exp4 = Image.new("RGB", (W, H))
exp4.putdata([tuple(c * 17 for c in levels[v]) for row in idx for v in row])
add("palette4.tif", tiff(W, H, 4, 1, 3, [pack4(r) for r in idx], colormap=cmap), exp4, 4)
expg4 = Image.new("RGB", (W, H))
expg4.putdata([(v * 17,) * 3 for row in idx for v in row])
add("grey4.tif", tiff(W, H, 4, 1, 1, [pack4(r) for r in idx]), expg4, 4)
idx2 = [[(x + y) % 4 for x in range(W)] for y in range(H)]
expg2 = Image.new("RGB", (W, H))
expg2.putdata([(v * 85,) * 3 for row in idx2 for v in row])
add("grey2.tif", tiff(W, H, 2, 1, 1, [pack2(r) for r in idx2]), expg2, 4, windows_only=True)
rgb48 = [b"".join(struct.pack("<H", min(65535, v * 257 + (x % 128))) for x in range(W) for v in im.getpixel((x, y)))
         for y in range(H)]
add("rgb48.tif", tiff(W, H, 16, 3, 2, rgb48), im, 24)
rgba64 = [b"".join(struct.pack("<H", v * 257) for x in range(W) for v in im.getpixel((x, y)) + (65535 // 257,))
          for y in range(H)]
add("rgba64.tif", tiff(W, H, 16, 4, 2, rgba64, extra=[(338, 3, [2])]), im, 24)
# Upright views of the EXIF orientations (a reader's own loading may already
# apply a TIFF's, so the expectation is made from the source picture).
UPRIGHT = {2: Image.Transpose.FLIP_LEFT_RIGHT, 3: Image.Transpose.ROTATE_180, 4: Image.Transpose.FLIP_TOP_BOTTOM,
           5: Image.Transpose.TRANSPOSE, 6: Image.Transpose.ROTATE_270, 7: Image.Transpose.TRANSVERSE,
           8: Image.Transpose.ROTATE_90}
for orientation in range(2, 9):
    data = encode(im, "TIFF", tiffinfo={274: orientation})
    add("orientation%d.tif" % orientation, data, im.transpose(UPRIGHT[orientation]), 24)

here = os.path.dirname(os.path.abspath(__file__))
out = ["// Generated by make_wic_samples.py; do not edit.", "// clang-format off"]


def array(name, data):
    text = ",".join(str(b) for b in data)
    out.append("static const unsigned char %s[] = {%s};" % (name, text))


for i, (name, data, expected, bits, tol, windows_only) in enumerate(samples):
    array("kFile%d" % i, data)
    array("kPixels%d" % i, expected.tobytes())
array("kHugePng", huge_png)
out.append("static const WicSample kWicSamples[] = {")
for i, (name, data, expected, bits, tol, windows_only) in enumerate(samples):
    out.append('  {"%s", kFile%d, sizeof kFile%d, %d, %d, %d, %d, kPixels%d, %s},' % (
        name, i, i, expected.width, expected.height, bits, tol, i, "true" if windows_only else "false"))
out.append("};")
with open(os.path.join(here, "wic_samples.inc"), "w") as f:
    f.write("\n".join(out) + "\n")
print("%d samples" % len(samples))
