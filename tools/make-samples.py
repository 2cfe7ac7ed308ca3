#!/usr/bin/env python3
"""Paints the distribution's four sample pictures and the background tile.

Run with Debian's python3 (python3-pil); writes dist/vdelete1.jpg ..
dist/vdelete4.jpg and dist/TileOrvl.jpg. The pictures are our own: simple
landscapes, drawn from gradients and shapes.
"""
import math
import os

from PIL import Image, ImageDraw, ImageFilter

HERE = os.path.dirname(os.path.abspath(__file__))
DIST = os.path.join(HERE, "..", "dist")


def gradient(size, top, bottom):
    width, height = size
    image = Image.new("RGB", size)
    draw = ImageDraw.Draw(image)
    for y in range(height):
        t = y / max(1, height - 1)
        colour = tuple(int(a + (b - a) * t) for a, b in zip(top, bottom))
        draw.line([(0, y), (width, y)], fill=colour)
    return image


def hills(draw, size, base, amplitude, period, phase, colour):
    width, height = size
    points = [(0, height)]
    for x in range(0, width + 1, 4):
        y = base + amplitude * math.sin(x / period + phase) + amplitude / 3 * math.sin(x / (period / 3.1) + 2 * phase)
        points.append((x, y))
    points.append((width, height))
    draw.polygon(points, fill=colour)


def sunset(size):
    image = gradient(size, (40, 20, 90), (250, 150, 60))
    draw = ImageDraw.Draw(image)
    w, h = size
    draw.ellipse([w * 0.58, h * 0.42, w * 0.72, h * 0.42 + w * 0.14], fill=(255, 220, 120))
    hills(draw, size, h * 0.68, h * 0.05, w / 7, 0.3, (70, 40, 60))
    hills(draw, size, h * 0.80, h * 0.04, w / 5, 1.7, (35, 20, 35))
    return image


def lake(size):
    image = gradient(size, (90, 160, 230), (200, 230, 250))
    draw = ImageDraw.Draw(image)
    w, h = size
    hills(draw, size, h * 0.45, h * 0.10, w / 6, 1.1, (90, 110, 140))
    hills(draw, size, h * 0.55, h * 0.06, w / 4, 2.5, (50, 110, 60))
    draw.rectangle([0, h * 0.66, w, h], fill=(40, 90, 150))
    for i in range(12):
        y = h * 0.70 + i * h * 0.025
        draw.line([(w * 0.1 + i * 13, y), (w * 0.35 + i * 9, y)], fill=(150, 190, 230), width=2)
    return image


def forest(size):
    image = gradient(size, (160, 200, 220), (230, 240, 210))
    draw = ImageDraw.Draw(image)
    w, h = size
    hills(draw, size, h * 0.62, h * 0.05, w / 5, 0.4, (70, 130, 60))
    for i in range(18):
        x = (i * 0.37 % 1.0) * w
        base = h * (0.72 + (i % 5) * 0.05)
        tree = h * (0.18 + (i % 3) * 0.05)
        draw.polygon([(x, base - tree), (x - tree / 3, base), (x + tree / 3, base)], fill=(20, 80 + 8 * (i % 4), 40))
        draw.rectangle([x - tree / 30, base, x + tree / 30, base + tree / 8], fill=(90, 60, 30))
    return image


def night(size):
    image = gradient(size, (5, 10, 40), (30, 40, 90))
    draw = ImageDraw.Draw(image)
    w, h = size
    for i in range(160):
        x = (i * 0.6180339 % 1.0) * w
        y = (i * 0.3819660 * 1.7 % 1.0) * h * 0.6
        r = 1 + (i % 3 == 0)
        draw.ellipse([x - r, y - r, x + r, y + r], fill=(255, 255, 230))
    draw.ellipse([w * 0.15, h * 0.12, w * 0.25, h * 0.12 + w * 0.10], fill=(240, 240, 210))
    hills(draw, size, h * 0.78, h * 0.06, w / 6, 2.0, (10, 15, 25))
    return image


def tile(size):
    image = gradient(size, (70, 40, 30), (50, 28, 22))
    draw = ImageDraw.Draw(image)
    w, h = size
    for i in range(0, w, 8):
        draw.line([(i, 0), (i + w // 2, h)], fill=(80, 48, 36), width=1)
    return image.filter(ImageFilter.SMOOTH)


def main():
    pictures = [(sunset, (1024, 768)), (lake, (1024, 768)), (forest, (800, 1000)), (night, (1280, 800))]
    for number, (paint, size) in enumerate(pictures, start=1):
        paint(size).save(os.path.join(DIST, "vdelete%d.jpg" % number), quality=88, optimize=True)
    tile((64, 64)).save(os.path.join(DIST, "TileOrvl.jpg"), quality=90)


if __name__ == "__main__":
    main()
