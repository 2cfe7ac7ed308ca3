#!/usr/bin/env python3
"""Draws the program icon (a framed landscape picture) and writes orvalen.ico."""
import os
from PIL import Image, ImageDraw


def draw(size):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    s = size / 32.0
    d.rectangle([1 * s, 4 * s, 30 * s, 27 * s], fill=(120, 82, 40, 255))       # frame
    d.rectangle([4 * s, 7 * s, 27 * s, 24 * s], fill=(96, 160, 224, 255))      # sky
    d.ellipse([19 * s, 9 * s, 24 * s, 14 * s], fill=(255, 220, 64, 255))       # sun
    d.polygon([(4 * s, 24 * s), (12 * s, 13 * s), (19 * s, 24 * s)], fill=(48, 120, 56, 255))
    d.polygon([(13 * s, 24 * s), (20 * s, 16 * s), (27 * s, 24 * s)], fill=(32, 96, 40, 255))
    return image


here = os.path.dirname(os.path.abspath(__file__))
draw(256).save(os.path.join(here, "orvalen.ico"), sizes=[(16, 16), (32, 32), (48, 48)])
