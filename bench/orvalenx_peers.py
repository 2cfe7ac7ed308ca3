#!/usr/bin/python3
"""Pictures and peer figures for bench_orvalenx.

  orvalenx_peers.py make FOLDER      writes the benchmark's pictures
  orvalenx_peers.py measure FOLDER   Pillow doing the same work on them
  orvalenx_peers.py load-once FILE   one timed load in this new process

The pictures: a 4000 x 3000 photo-like picture as a 24-bit BMP and a 24-bit
PCX, a 4000 x 3000 drawing as an 8-bit RLE BMP, and a 1920 x 1080 photo-like
picture (24-bit BMP) to quantize to 256 colours. `measure` prints one line
per step: name and median milliseconds, name_faults and the median page
faults of one load, or name_rms and the RMS error per channel.

Each picture is loaded three ways:
  pillow_X          a plain loop, as Pillow is usually run. Pillow keeps a
                    picture in 16 MB blocks and by default frees them; the C
                    library mostly gives memory this large back to the
                    kernel, so loads fault in new pages, how many depending
                    on what the process did before (the _faults line).
  pillow_X_reused   a loop with Pillow keeping freed blocks for the next load
                    (set_blocks_max): no new pages, as bench_orvalenx's
                    recycled block.
  pillow_X_fresh    each load in a new process (load-once): the picture's
                    blocks are the first large ones the process asks for, so
                    they are newly mapped pages whatever the C library's
                    reuse rules, as bench_orvalenx's fresh block.
Loads are timed from open to the end of load(); freeing the picture is not
timed, as bench_orvalenx does not time freeing its block.
"""
import math
import os
import resource
import statistics
import struct
import subprocess
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


def page_faults():
    usage = resource.getrusage(resource.RUSAGE_SELF)
    return usage.ru_minflt + usage.ru_majflt


def timed_load(path):
    """Milliseconds and page faults of opening and loading `path`."""
    faults = page_faults()
    start = time.perf_counter()
    picture = Image.open(path)
    picture.load()
    ms = (time.perf_counter() - start) * 1000.0
    faults = page_faults() - faults
    del picture
    return ms, faults


def loop_loads(path):
    """Median ms and faults of REPEATS loads in this process, after one more."""
    timed_load(path)
    runs = [timed_load(path) for _ in range(REPEATS)]
    return statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)


def fresh_loads(path):
    """Median ms and faults of REPEATS loads, each in a new process."""
    runs = []
    for _ in range(REPEATS):
        out = subprocess.run([sys.executable, os.path.abspath(__file__), "load-once", path],
                             check=True, capture_output=True, text=True).stdout.split()
        runs.append((float(out[0]), int(out[1])))
    return statistics.median(r[0] for r in runs), statistics.median(r[1] for r in runs)


def load_once(path):
    # Every plugin is imported before the clock starts; nothing else has
    # allocated large blocks yet.
    Image.init()
    print("%.3f %d" % timed_load(path))


def rms(a, b):
    d = np.asarray(a, np.float64) - np.asarray(b.convert("RGB"), np.float64)
    return math.sqrt((d * d).mean())


def measure(folder):
    Image.init()
    pictures = (("bmp24", "photo24.bmp"), ("rle8", "drawing8.rle.bmp"), ("pcx24", "photo24.pcx"))
    blocks = Image.core.get_blocks_max()
    # The plain loops first, in this order, as they always ran: what memory
    # they get depends on what the process did before.
    for suffix, loads, keep in (("", loop_loads, blocks), ("_fresh", fresh_loads, blocks), ("_reused", loop_loads, 8)):
        # Up to 8 freed blocks kept; the largest picture, 48 MB as Pillow's
        # 4-byte RGB, takes 3.
        Image.core.set_blocks_max(keep)
        for key, name in pictures:
            ms, faults = loads(os.path.join(folder, name))
            print("pillow_%s%s %.3f" % (key, suffix, ms))
            print("pillow_%s%s_faults %d" % (key, suffix, faults))
        Image.core.set_blocks_max(blocks)
    photo = Image.open(os.path.join(folder, "photo1080.bmp"))
    photo.load()
    for key, method in (("mediancut", Image.Quantize.MEDIANCUT), ("fastoctree", Image.Quantize.FASTOCTREE)):
        print("pillow_%s %.3f" % (key, median_ms(lambda: photo.quantize(256, method=method))))
        print("pillow_%s_rms %.3f" % (key, rms(photo, photo.quantize(256, method=method))))


if __name__ == "__main__":
    {"make": make, "measure": measure, "load-once": load_once}[sys.argv[1]](sys.argv[2])
