#!/usr/bin/env python3
"""Draws the program icons and writes them: orvalen.ico, a framed landscape
picture, and screen_savers.ico, the same picture on a monitor (the second icon
of Orvalen.exe, shown by the shortcut to the control panel's screen savers)."""
import os
from PIL import Image, ImageDraw


def landscape(d, s, left, top, right, bottom):
    """The sky, sun and two hills inside the given box (in 32-pixel units)."""
    w = (right - left) / 23.0
    h = (bottom - top) / 17.0

    def at(x, y):
        return ((left + x * w) * s, (top + y * h) * s)

    d.rectangle([at(0, 0), at(23, 17)], fill=(96, 160, 224, 255))               # sky
    d.ellipse([at(15, 2), at(20, 7)], fill=(255, 220, 64, 255))                  # sun
    d.polygon([at(0, 17), at(8, 6), at(15, 17)], fill=(48, 120, 56, 255))
    d.polygon([at(9, 17), at(16, 9), at(23, 17)], fill=(32, 96, 40, 255))


def draw_monitor(size):
    image = Image.new("RGBA", (size, size), (0, 0, 0, 0))
    d = ImageDraw.Draw(image)
    s = size / 32.0
    d.polygon([(11 * s, 30 * s), (13 * s, 24 * s), (19 * s, 24 * s), (21 * s, 30 * s)],
              fill=(150, 150, 150, 255))                                         # stand
    d.rectangle([1 * s, 2 * s, 30 * s, 25 * s], fill=(192, 192, 192, 255))      # casing
    d.rectangle([3 * s, 4 * s, 28 * s, 22 * s], fill=(0, 0, 0, 255))            # screen
    landscape(d, s, 5, 6, 26, 20)
    return image


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
sizes = [(16, 16), (32, 32), (48, 48)]
draw(256).save(os.path.join(here, "orvalen.ico"), sizes=sizes)
draw_monitor(256).save(os.path.join(here, "screen_savers.ico"), sizes=sizes)
