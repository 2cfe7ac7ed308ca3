#!/usr/bin/env python3
"""Paints the photo-like pictures bench/run-saver-step shows.

    saver_step_pictures.py FOLDER [WIDTH HEIGHT]

Writes FOLDER/step_a.jpg and FOLDER/step_b.jpg (default 4000 x 3000, JPEG
quality 90) and FOLDER/step_large.jpg of twice their width and height (the
picture of a current phone camera, for the reaction to input). Each is a sky gradient over hills, with detail at every scale
(noise at several octaves and a fine grain), so that the files are as large
and take as long to decode as camera pictures of that size. Needs Debian's
python3-pil and python3-numpy.
"""
import os
import sys

import numpy as np
from PIL import Image


def octave_noise(rng, width, height, octaves=7):
    """Noise in [-1, 1] with detail from a few cells across down to pixels."""
    total = np.zeros((height, width), np.float32)
    amplitude, weight = 1.0, 0.0
    cells = 4
    for _ in range(octaves):
        grid = rng.random((cells * height // width + 2, cells + 2)).astype(np.float32)
        layer = Image.fromarray((grid * 255).astype(np.uint8)).resize((width, height), Image.BICUBIC)
        total += amplitude * (np.asarray(layer, np.float32) / 127.5 - 1.0)
        weight += amplitude
        amplitude *= 0.6
        cells *= 2
    return total / weight


def paint(seed, width, height):
    rng = np.random.default_rng(seed)
    y = np.linspace(0.0, 1.0, height, dtype=np.float32)[:, None]
    x = np.linspace(0.0, 1.0, width, dtype=np.float32)[None, :]
    sky_top = np.array([40, 90, 170] if seed % 2 else [200, 110, 60], np.float32)
    sky_bottom = np.array([190, 210, 235] if seed % 2 else [250, 210, 150], np.float32)
    image = np.broadcast_to(sky_top + (sky_bottom - sky_top) * y[..., None], (height, width, 3)).copy()
    clouds = octave_noise(rng, width, height)
    image += (np.clip(clouds, 0, 1) * 90)[..., None]
    # Three ranges of hills, each lower and greener than the one behind it.
    for depth, colour in enumerate(([90, 110, 120], [60, 120, 50], [40, 90, 30])):
        phase = rng.random() * 6.28
        ridge = 0.45 + 0.12 * depth + 0.06 * np.sin(x * (5 + 3 * depth) + phase) + 0.03 * np.sin(x * 23 + phase)
        ground = y >= ridge
        texture = octave_noise(rng, width, height)
        shade = np.array(colour, np.float32) * (0.8 + 0.35 * texture[..., None])
        image = np.where(ground[..., None], shade, image)
    image += rng.normal(0.0, 6.0, image.shape).astype(np.float32)  # grain
    return Image.fromarray(np.clip(image, 0, 255).astype(np.uint8), "RGB")


def main():
    if len(sys.argv) not in (2, 4):
        sys.exit(__doc__)
    folder = sys.argv[1]
    width, height = (int(sys.argv[2]), int(sys.argv[3])) if len(sys.argv) == 4 else (4000, 3000)
    os.makedirs(folder, exist_ok=True)
    for seed, name, scale in ((1, "step_a.jpg", 1), (2, "step_b.jpg", 1), (3, "step_large.jpg", 2)):
        paint(seed, width * scale, height * scale).save(os.path.join(folder, name), quality=90)


if __name__ == "__main__":
    main()
