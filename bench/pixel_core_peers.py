#!/usr/bin/python3
"""Peer figures for bench_pixel_core: the same pixel work done by Pillow and
OpenCV on the same sizes (a 4000 x 3000 24-bit source, a 1429 x 1072 picture
area). Prints one line per step: name and median milliseconds.

OpenCV runs on one thread, as ours does; PEER_THREADS=n lets it use n."""
import os
import statistics
import sys
import time

import numpy as np
from PIL import Image

try:
    import cv2
except ImportError:  # python3-opencv not installed
    cv2 = None

SOURCE = (4000, 3000)
AREA = (1429, 1072)
REPEATS = 9


def median_ms(fn, repeats=REPEATS):
    fn()  # warm up
    times = []
    for _ in range(repeats):
        start = time.perf_counter()
        fn()
        times.append((time.perf_counter() - start) * 1000.0)
    return statistics.median(times)


def main():
    if cv2 is not None:
        cv2.setNumThreads(int(os.environ.get("PEER_THREADS", "1")))
    rng = np.random.default_rng(1)
    source = rng.integers(0, 256, size=(SOURCE[1], SOURCE[0], 3), dtype=np.uint8)
    picture = rng.integers(0, 256, size=(AREA[1], AREA[0], 3), dtype=np.uint8)
    screen = rng.integers(0, 256, size=(AREA[1], AREA[0], 3), dtype=np.uint8)
    pil_source = Image.fromarray(source)

    results = {}
    results["pillow_reduce_box"] = median_ms(
        lambda: pil_source.reduce(2).resize(AREA, Image.BOX))
    copy = np.empty_like(source)
    results["memcpy_36mb"] = median_ms(lambda: np.copyto(copy, source))

    if cv2 is not None:
        results["opencv_nearest"] = median_ms(
            lambda: cv2.resize(source, AREA, interpolation=cv2.INTER_NEAREST))
        tone = np.arange(256, dtype=np.uint8)[::-1].copy()
        grey = np.array([[0.11, 0.59, 0.30]] * 3, dtype=np.float32)
        black = np.zeros_like(picture)

        def adjust(old, weights):
            # Gamma and brightness as one table, grey, then four frames.
            p = cv2.LUT(picture, tone)
            p = cv2.transform(p, grey)
            return [cv2.addWeighted(old, s, p, 1.0 - s, 0.0) for s in weights]

        results["opencv_lut"] = median_ms(lambda: cv2.LUT(picture, tone))
        results["opencv_adjust_fade"] = median_ms(
            lambda: adjust(black, (0.6, 0.4, 0.2, 0.1)))
        results["opencv_adjust_blend"] = median_ms(
            lambda: adjust(screen, (0.7, 0.5, 0.3, 0.1)))
        results["opencv_render_blend"] = median_ms(
            lambda: (cv2.resize(source, AREA, interpolation=cv2.INTER_AREA),
                     adjust(screen, (0.7, 0.5, 0.3, 0.1))))
    for name, ms in results.items():
        print(f"{name} {ms:.3f}")
    return 0


if __name__ == "__main__":
    sys.exit(main())
