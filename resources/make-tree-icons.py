#!/usr/bin/env python3
"""Draws the nine page icons of the configuration dialog's tree, 17 x 17 pixels
each, side by side on white (the transparent colour), and writes
tree_icons.bmp: images, options, effects, background, calendar, default text,
password, profiles, about."""
import os
from PIL import Image, ImageDraw

SIZE = 17
WHITE = (255, 255, 255)


def images(d):
    d.rectangle([1, 3, 15, 13], outline=(96, 64, 32), fill=(96, 160, 224))
    d.polygon([(2, 12), (7, 6), (11, 12)], fill=(40, 120, 48))
    d.ellipse([10, 4, 13, 7], fill=(255, 208, 0))


def options(d):
    for y in (4, 8, 12):
        d.line([2, y, 14, y], fill=(64, 64, 64))
    d.rectangle([4, 3, 6, 5], fill=(0, 0, 160))
    d.rectangle([10, 7, 12, 9], fill=(0, 0, 160))
    d.rectangle([6, 11, 8, 13], fill=(0, 0, 160))


def effects(d):
    for x in range(2, 15):
        level = 40 + (x - 2) * 16
        d.line([x, 3, x, 13], fill=(level, level, level))
    d.rectangle([2, 3, 14, 13], outline=(0, 0, 0))


def background(d):
    for y in range(2, 15, 4):
        for x in range(2, 15, 4):
            d.rectangle([x, y, x + 1, y + 1], fill=(160, 32, 32))
    d.rectangle([1, 1, 15, 15], outline=(64, 0, 0))


def calendar(d):
    d.rectangle([2, 3, 14, 14], outline=(0, 0, 0), fill=(250, 250, 250))
    d.rectangle([2, 3, 14, 6], fill=(0, 128, 128))
    for y in (8, 10, 12):
        for x in (4, 7, 10, 12):
            d.point([x, y], fill=(0, 0, 0))


def text(d):
    d.rectangle([3, 2, 13, 14], outline=(64, 64, 64), fill=(255, 255, 224))
    for y in (5, 8, 11):
        d.line([5, y, 11, y], fill=(0, 0, 128))


def password(d):
    d.arc([5, 2, 11, 9], 180, 360, fill=(96, 96, 96))
    d.line([5, 6, 5, 8], fill=(96, 96, 96))
    d.line([11, 6, 11, 8], fill=(96, 96, 96))
    d.rectangle([3, 8, 13, 14], fill=(200, 160, 0), outline=(120, 90, 0))


def profiles(d):
    d.polygon([(3, 2), (10, 2), (13, 5), (13, 14), (3, 14)], fill=(250, 250, 250), outline=(0, 0, 0))
    d.line([10, 2, 10, 5], fill=(0, 0, 0))
    d.line([10, 5, 13, 5], fill=(0, 0, 0))
    d.line([5, 8, 11, 8], fill=(128, 0, 0))
    d.line([5, 11, 11, 11], fill=(128, 0, 0))


def about(d):
    d.ellipse([2, 2, 14, 14], fill=(0, 64, 192))
    d.rectangle([7, 7, 9, 12], fill=WHITE)
    d.rectangle([7, 4, 9, 5], fill=WHITE)


here = os.path.dirname(os.path.abspath(__file__))
strip = Image.new("RGB", (SIZE * 9, SIZE), WHITE)
for index, draw in enumerate([images, options, effects, background, calendar, text, password,
                              profiles, about]):
    tile = Image.new("RGB", (SIZE, SIZE), WHITE)
    draw(ImageDraw.Draw(tile))
    strip.paste(tile, (index * SIZE, 0))
strip.save(os.path.join(here, "tree_icons.bmp"))
