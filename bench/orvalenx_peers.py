#!/usr/bin/python3
"""Pictures and peer figures for bench_orvalenx.

  orvalenx_peers.py make FOLDER      writes the benchmark's pictures
  orvalenx_peers.py measure FOLDER   Pillow doing the same work on them

The pictures: a 4000 x 3000 photo-like picture as a 24-bit BMP and a 24-bit
PCX, a 4000 x 3000 drawing as an 8-bit RLE BMP, and a 1920 x 1080 photo-like
picture (24-bit BMP) to quantize to 256 colours. `measure` prints one line
per step: name and median milliseconds, or name and RMS error per channel.
"""
import math
import os
import statistics
import struct
import sys
import time

import numpy as np
from PIL import Image

REPEATS = 7


def photo_like(width, height, seed):
    """Smooth shading, soft shapes, texture and sensor noise, as in a photograph."""
    rng = np.random.default_rng(seed)
    y, x = np.mgrid[0:height, 0:width].astype(np.float32)
    u, v = x / width, y / height
    def field(cells, amplitude):
        small = rng.uniform(0, 255, size=(cells[1], cells[0], 3)).astype(np.uint8)
        big = Image.fromarray(small).resize((width, height), Image.BICUBIC)
        return (np.asarray(big).astype(np.float32) - 128) * amplitude
    sky = np.stack([90 + 60 * v, 140 + 50 * v, 230 - 60 * v], axis=-1)
    ground = np.stack([110 + 40 * u, 100 + 30 * np.sin(6 * u), 60 + 20 * v], axis=-1)
    horizon = 0.55 + 0.08 * np.sin(5 * u + 1.3) + 0.03 * np.sin(17 * u)
    mix = np.clip((v - horizon) * 40, 0, 1)[..., None]
    img = sky * (1 - mix) + ground * mix
    sun = np.exp(-(((u - 0.7) * 6) ** 2 + ((v - 0.25) * 9) ** 2))[..., None]
    img += sun * np.array([120, 90, 30], np.float32)
    img += field((24, 14), 0.35) + field((160, 90), 0.12) * mix
    img += rng.normal(0, 2.5, size=img.shape).astype(np.float32)
    return Image.fromarray(np.clip(img, 0, 255).astype(np.uint8))


def drawing(width, height):
    """Flat colour areas, as drawings and screenshots have: long runs."""
    y, x = np.mgrid[0:height, 0:width]
    index = ((x // 97) + (y // 61) * 3) % 48
    index = np.where((x - 2000) ** 2 + (y - 1500) ** 2 < 900 ** 2, 48 + (y // 150) % 8, index)
    index = np.where((x % 500 < 6) | (y % 400 < 4), 60, index)
    return index.astype(np.uint8)


def write_rle8(path, index, palette):
    """An 8-bit BI_RLE8 bitmap: encoded runs of at most 255, end of line, end of bitmap."""
    height, width = index.shape
    out = bytearray()
    for row in index[::-1]:
        change = np.flatnonzero(np.diff(row)) + 1
        starts = np.concatenate(([0], change))
        ends = np.concatenate((change, [width]))
        for s, e in zip(starts.tolist(), ends.tolist()):
            value = int(row[s])
            n = e - s
            while n > 0:
                k = min(n, 255)
                out += bytes((k, value))
                n -= k
        out += b"\0\0"
    out[-2:] = b"\0\1"
    table = b"".join(bytes((b, g, r, 0)) for (r, g, b) in palette)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 8, 1, len(out), 2835, 2835, 256, 0)
    offset = 14 + len(info) + len(table)
    with open(path, "wb") as f:
        f.write(b"BM" + struct.pack("<IHHI", offset + len(out), 0, 0, offset) + info + table + out)


def make(folder):
    os.makedirs(folder, exist_ok=True)
    big = photo_like(4000, 3000, 1)
    big.save(os.path.join(folder, "photo24.bmp"))
    big.save(os.path.join(folder, "photo24.pcx"))
    rng = np.random.default_rng(2)
    palette = [tuple(int(c) for c in rng.integers(0, 256, 3)) for _ in range(256)]
    write_rle8(os.path.join(folder, "drawing8.rle.bmp"), drawing(4000, 3000), palette)
    photo_like(1920, 1080, 3).save(os.path.join(folder, "photo1080.bmp"))


def median_ms(fn):
    fn()
    times = []
    for _ in range(REPEATS):
        start = time.perf_counter()
        fn()
        times.append((time.perf_counter() - start) * 1000.0)
    return statistics.median(times)


def rms(a, b):
    d = np.asarray(a, np.float64) - np.asarray(b.convert("RGB"), np.float64)
    return math.sqrt((d * d).mean())


def measure(folder):
    def load(name):
        return lambda: Image.open(os.path.join(folder, name)).load()
    print("pillow_bmp24 %.3f" % median_ms(load("photo24.bmp")))
    print("pillow_rle8 %.3f" % median_ms(load("drawing8.rle.bmp")))
    print("pillow_pcx24 %.3f" % median_ms(load("photo24.pcx")))
    photo = Image.open(os.path.join(folder, "photo1080.bmp"))
    photo.load()
    for key, method in (("mediancut", Image.Quantize.MEDIANCUT), ("fastoctree", Image.Quantize.FASTOCTREE)):
        print("pillow_%s %.3f" % (key, median_ms(lambda: photo.quantize(256, method=method))))
        print("pillow_%s_rms %.3f" % (key, rms(photo, photo.quantize(256, method=method))))


if __name__ == "__main__":
    {"make": make, "measure": measure}[sys.argv[1]](sys.argv[2])
