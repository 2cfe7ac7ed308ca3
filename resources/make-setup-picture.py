#!/usr/bin/env python3
"""Draws the picture on the left of Setup's wizard and writes setup_picture.bmp.

Run with Debian's python3 (python3-pil)."""
import os
from PIL import Image, ImageDraw

WIDTH, HEIGHT = 124, 200

image = Image.new("RGB", (WIDTH, HEIGHT))
d = ImageDraw.Draw(image)
for y in range(HEIGHT):  # evening sky, dark blue to orange
    t = y / (HEIGHT - 1)
    d.line([(0, y), (WIDTH, y)], fill=(int(24 + 200 * t), int(40 + 90 * t), int(110 - 60 * t)))
d.ellipse([70, 40, 100, 70], fill=(255, 220, 96))
d.polygon([(0, 200), (0, 130), (40, 95), (86, 150), (124, 120), (124, 200)], fill=(36, 70, 44))
d.polygon([(0, 200), (0, 165), (60, 135), (124, 175), (124, 200)], fill=(24, 50, 32))
# A picture frame in the foreground: the slide show.
d.rectangle([18, 150, 64, 190], fill=(120, 82, 40))
d.rectangle([23, 155, 59, 185], fill=(96, 160, 224))
d.polygon([(23, 185), (35, 168), (47, 185)], fill=(48, 120, 56))
here = os.path.dirname(os.path.abspath(__file__))
image.save(os.path.join(here, "setup_picture.bmp"))
