#!/usr/bin/env python3
"""Draws every image of tarlin.exe and writes the table of shortcut icons.

    python3 resources/art/draw_images.py [--preview DIR]

Writes resources/images/*.ico, *.cur, *.bmp and resources/shortcut_icons.h; the build uses
these committed files. --preview also writes PNGs at four times the size for looking at.
"""

import argparse
import base64
import os
import re
import sys

sys.dont_write_bytecode = True
sys.path.insert(0, os.path.dirname(os.path.abspath(__file__)))

from fonts import LARGE, SMALL  # noqa: E402
from raster import (Canvas, Ellipse, Glyphs, Line, Polygon, Rect, Ring, RoundRect,  # noqa: E402
                    png_bytes, text_width, write_bmp_24, write_bmp_8, write_icon_file,
                    write_png)

HERE = os.path.dirname(os.path.abspath(__file__))
RESOURCES = os.path.dirname(HERE)
IMAGES = os.path.join(RESOURCES, "images")

# --- Colours -------------------------------------------------------------------------------

INK = (36, 40, 52)
WHITE = (255, 255, 255)
PAPER = (252, 252, 250)
NAVY = (24, 36, 72)
SCREEN = (14, 22, 40)
STEEL = (86, 104, 140)
BLUE = (38, 98, 206)
LIGHT_BLUE = (120, 168, 236)
GREEN = (34, 150, 64)
BRIGHT_GREEN = (92, 222, 120)
RED = (206, 44, 40)
ORANGE = (242, 138, 28)
YELLOW = (250, 208, 86)
DARK_YELLOW = (196, 144, 36)
GREY = (112, 116, 126)
LIGHT_GREY = (206, 210, 218)
PINK = (242, 150, 168)

# Tool-bar background: the tool bar makes this colour transparent.
SILVER = (192, 192, 192)

# --- Module models of the shortcut icons -------------------------------------------------------

# family: (colour, what the modules do)
FAMILIES = {
    "RM": ((38, 98, 206), "řídicí jednotky"),
    "IO": ((30, 140, 70), "digitální vstupy a výstupy"),
    "AN": ((226, 120, 20), "analogové a teplotní vstupy"),
    "KM": ((124, 60, 180), "komunikační moduly"),
    "PD": ((16, 140, 150), "panely s displejem"),
    "PW": ((200, 40, 48), "napájení a pohony"),
    "MR": ((120, 88, 50), "měření"),
}

# (model name, family, label on the 16-pixel icon)
MODELS = [
    ("RM-10", "RM", "10"), ("RM-12", "RM", "12"), ("RM-20", "RM", "20"),
    ("RM-24", "RM", "24"), ("RM-40", "RM", "40"),
    ("DI-16", "IO", "DI"), ("DO-16", "IO", "DO"), ("DIO-8", "IO", "DIO"),
    ("AI-8", "AN", "AI"), ("AO-4", "AN", "AO"), ("TM-8", "AN", "TM"), ("PT-4", "AN", "PT"),
    ("KM-232", "KM", "232"), ("KM-485", "KM", "485"), ("KM-CAN", "KM", "CAN"),
    ("KM-ETH", "KM", "ETH"), ("KM-GSM", "KM", "GSM"),
    ("PD-2", "PD", "2"), ("PD-4", "PD", "4"), ("PD-7", "PD", "7"),
    ("ZD-24", "PW", "ZD"), ("MR-3", "PW", "MR"), ("FM-1", "PW", "FM"),
    ("EM-3", "MR", "EM"), ("VM-1", "MR", "VM"),
]
assert len(MODELS) == 25
assert len({m[2] for m in MODELS}) == 25, "16-pixel labels must differ"


# Small pictures drawn pixel by pixel where shapes blur at 16 pixels.
PATTERNS = {
    "prompt": ["##..", ".##.", "..##", ".##.", "##.."],
    "arrow": ["..#..", ".###.", "#####", ".###.", ".###."],
    "question": [".####.", "##..##", "....##", "...##.", "..##..", "..##..", "......", "..##..",
                 "..##.."],
}


def pattern(name, x, y):
    return Glyphs({"*": PATTERNS[name]}, "*", x, y)


def darker(color, k=0.7):
    return tuple(int(c * k) for c in color)


def lighter(color, k=0.5):
    return tuple(int(c + (255 - c) * k) for c in color)


def centered_glyphs(font, text, cx, y, scale=1):
    w = text_width(font, text, scale)
    return Glyphs(font, text, round(cx - w / 2), y, scale)


# --- Icons ---------------------------------------------------------------------------------


def program_icon(s):
    """A terminal window with a prompt and an orange upload badge."""
    u = s / 16
    c = Canvas(s, s)
    c.fill(RoundRect(0, 1 * u, 16 * u, 14 * u, 2 * u), STEEL)
    c.fill(RoundRect(1 * u, 3.5 * u, 15 * u, 13 * u, 1 * u), SCREEN)
    if s < 32:
        c.fill(pattern("prompt", 2, 5), BRIGHT_GREEN)
        c.fill(Ellipse(11.5, 11.5, 4.5), WHITE)
        c.fill(Ellipse(11.5, 11.5, 3.7), ORANGE)
        c.fill(pattern("arrow", 9, 9), WHITE)
        return c
    for k in range(3):
        c.fill(Ellipse((2.4 + 1.3 * k) * u, 2.25 * u, 0.45 * u), LIGHT_GREY)
    w = 1.3 * u
    c.fill(Line(3 * u, 5.5 * u, 5.6 * u, 7.8 * u, w) | Line(5.6 * u, 7.8 * u, 3 * u, 10.1 * u, w),
           BRIGHT_GREEN)
    c.fill(Rect(7 * u, 9.5 * u, 9.5 * u, 10.5 * u), BRIGHT_GREEN)
    bx, by, br = 12 * u, 12 * u, 3.9 * u
    c.fill(Ellipse(bx, by, br + 0.7 * u), WHITE)
    c.fill(Ellipse(bx, by, br), ORANGE)
    c.fill(Polygon([(bx, by - 2.6 * u), (bx + 2.3 * u, by - 0.2 * u), (bx - 2.3 * u, by - 0.2 * u)]),
           WHITE)
    c.fill(Rect(bx - 0.8 * u, by - 0.4 * u, bx + 0.8 * u, by + 2.4 * u), WHITE)
    return c


def power_cycle_icon(s):
    """The power symbol on a red button: switch the module off and on."""
    u = s / 16
    c = Canvas(s, s)
    c.fill(Ellipse(8 * u, 8 * u, 7.6 * u), darker(RED))
    c.fill(Ellipse(8 * u, 8 * u, 6.8 * u), RED)
    w = 1.5 * u
    c.fill(Ring(8 * u, 8.6 * u, 4.4 * u, 4.4 * u - w, 300, 240), WHITE)
    c.fill(Line(8 * u, 3 * u, 8 * u, 8 * u, w), WHITE)
    return c


def chip(c, u, x0, y0, x1, y1, body=(60, 64, 74)):
    """A module drawn as a chip with pins on both sides."""
    pins = int((y1 - y0) / (2 * u))
    for k in range(pins):
        y = y0 + (k + 0.5) * (y1 - y0) / pins
        c.fill(Rect(x0 - 1.2 * u, y - 0.45 * u, x1 + 1.2 * u, y + 0.45 * u), GREY)
    c.fill(RoundRect(x0, y0, x1, y1, 0.8 * u), body)


def upload_icon(s):
    """A blue arrow going down into a module."""
    u = s / 16
    c = Canvas(s, s)
    chip(c, u, 3.5 * u, 8 * u, 12.5 * u, 15.5 * u)
    c.fill(Ellipse(5.2 * u, 13.8 * u, 0.7 * u), BRIGHT_GREEN)
    c.fill(Rect(6.6 * u, 0.5 * u, 9.4 * u, 5.5 * u), BLUE)
    c.fill(Polygon([(3.5 * u, 5 * u), (12.5 * u, 5 * u), (8 * u, 10 * u)]), BLUE)
    return c


def page(c, u, x0, y0, x1, y1, fold):
    c.fill(Polygon([(x0, y0), (x1 - fold, y0), (x1, y0 + fold), (x1, y1), (x0, y1)]), INK)
    e = max(1.0, 0.75 * u)
    c.fill(Polygon([(x0 + e, y0 + e), (x1 - fold - e * 0.4, y0 + e), (x1 - e, y0 + fold + e * 0.4),
                    (x1 - e, y1 - e), (x0 + e, y1 - e)]), PAPER)
    c.fill(Polygon([(x1 - fold, y0), (x1 - fold, y0 + fold), (x1, y0 + fold)]), LIGHT_GREY)


def module_file_icon(s):
    """A page of hexadecimal records."""
    u = s / 16
    c = Canvas(s, s)
    page(c, u, 2 * u, 0.5 * u, 14 * u, 15.5 * u, 4 * u)
    if s >= 32:
        c.fill(Glyphs(LARGE, "MHX", 8, 11), BLUE)
        rows = [(10.5, 11), (12, 9.5), (13.5, 11)]
    else:
        c.fill(Glyphs(SMALL, "HX", 4, 5), BLUE)
        rows = [(11.5, 10), (13.5, 8)]
    for y, x1 in rows:
        c.fill(Rect(4 * u, y * u - 0.5 * u, x1 * u, y * u + 0.5 * u), GREY)
    return c


def help_icon(s, focused):
    """A white question mark on a blue disc; the focused one has an orange ring."""
    u = s / 16
    c = Canvas(s, s)
    if focused:
        c.fill(Ellipse(8 * u, 8 * u, 8 * u), ORANGE)
        c.fill(Ellipse(8 * u, 8 * u, 6.6 * u), (66, 134, 236))
    else:
        c.fill(Ellipse(8 * u, 8 * u, 7.8 * u), darker(BLUE, 0.8))
        c.fill(Ellipse(8 * u, 8 * u, 7 * u), BLUE)
    if s < 32:
        c.fill(pattern("question", 5, 3), WHITE)
        return c
    w = 1.7 * u
    c.fill(Ring(8 * u, 6.3 * u, 3 * u, 3 * u - w, 170, 70), WHITE)
    c.fill(Line(9 * u, 8.9 * u, 8 * u, 9.8 * u, w) | Line(8 * u, 9.8 * u, 8 * u, 10.6 * u, w), WHITE)
    c.fill(Ellipse(8 * u, 12.9 * u, 1.05 * u), WHITE)
    return c


def plug_pair(c, u, x_plug, x_socket, fill, edge):
    """A plug facing right at x_plug and a socket facing left at x_socket, on one cable."""
    e = 1.0 if u < 2 else 1.5

    def body(x0, y0, x1, y1):
        c.fill(RoundRect(x0, y0, x1, y1, 1.2 * u), edge)
        c.fill(RoundRect(x0 + e, y0 + e, x1 - e, y1 - e, 1.2 * u - e), fill)

    c.fill(Rect(0, 7 * u, x_plug + 1, 9 * u), edge)
    c.fill(Rect(x_socket + 4 * u, 7 * u, 16 * u, 9 * u), edge)
    for y in (5 * u, 10 * u):
        c.fill(Rect(x_plug + 4 * u, y, x_socket + 1, y + 1 * u), edge)
    body(x_plug, 3 * u, x_plug + 5 * u, 13 * u)
    body(x_socket, 2 * u, x_socket + 5 * u, 14 * u)


def status_icon(s, connected):
    """Plug and socket: joined and green, or apart with a red slash between them."""
    u = s / 16
    c = Canvas(s, s)
    if connected:
        plug_pair(c, u, 2 * u, 8 * u, (60, 184, 84), darker(GREEN, 0.6))
    else:
        plug_pair(c, u, 0, 11 * u, LIGHT_GREY, GREY)
        c.fill(Line(6.6 * u, 2 * u, 9.4 * u, 14 * u, 1.6 * u), RED)
    return c


def com_icon(s, n):
    """A D-sub connector with its COM number."""
    u = s / 16
    c = Canvas(s, s)
    if s < 32:
        c.fill(Polygon([(0, 2.5), (16, 2.5), (13.5, 13.5), (2.5, 13.5)]), INK)
        c.fill(Polygon([(1.4, 3.5), (14.6, 3.5), (12.7, 12.5), (3.3, 12.5)]), NAVY)
        c.fill(Glyphs(LARGE, str(n), 6, 4.5), WHITE)
        return c
    c.fill(RoundRect(0.5 * u, 1 * u, 15.5 * u, 9.5 * u, 1.2 * u), GREY)
    for x in (1.8, 14.2):
        c.fill(Ellipse(x * u, 5.25 * u, 0.8 * u), LIGHT_GREY)
    c.fill(Polygon([(3.3 * u, 2.2 * u), (12.7 * u, 2.2 * u), (11.5 * u, 8.3 * u), (4.5 * u, 8.3 * u)]),
           NAVY)
    for k in range(5):
        c.fill(Ellipse((5 + 1.5 * k) * u, 4 * u, 0.45 * u), LIGHT_GREY)
    for k in range(4):
        c.fill(Ellipse((5.75 + 1.5 * k) * u, 6.4 * u, 0.45 * u), LIGHT_GREY)
    label = "COM" + str(n)
    c.fill(RoundRect(0.5 * u, 10.5 * u, 15.5 * u, 15.5 * u, 1 * u), NAVY)
    c.fill(centered_glyphs(LARGE, label, 8 * u, 11 * u, scale=u / 2), WHITE)
    return c


def model_icon(s, model, family, label):
    """A DIN-rail module in its family's colour, labelled with its model."""
    color = FAMILIES[family][0]
    c = Canvas(s, s)
    if s < 32:
        c.fill(RoundRect(0.5, 1, 15.5, 15, 1.5), darker(color, 0.65))
        c.fill(RoundRect(1.5, 2, 14.5, 14, 1), color)
        c.fill(Rect(1.5, 2, 14.5, 5), lighter(color, 0.75))
        for k in range(4):
            c.fill(Rect(2.5 + 3 * k, 3, 4.5 + 3 * k, 4), darker(color, 0.55))
        c.fill(centered_glyphs(SMALL, label, 8, 8), WHITE)
        return c
    prefix, number = model.split("-")
    c.fill(RoundRect(3, 1, 29, 31, 2), darker(color, 0.6))
    c.fill(RoundRect(4, 2, 28, 30, 1.4), (240, 242, 246))
    c.fill(Rect(4, 2, 28, 13), color)
    for k in range(4):
        c.fill(Ellipse(7.5 + 5.7 * k, 4.5, 1.4), lighter(color, 0.7))
    c.fill(centered_glyphs(SMALL, prefix, 16, 7), WHITE)
    w = text_width(LARGE, number, 1, spacing=2) + 1
    x = round(16 - w / 2)
    for dx in (0, 1):
        c.fill(Glyphs(LARGE, number, x + dx, 16, 1, spacing=2), darker(color, 0.75))
    c.fill(Ellipse(8, 27, 1.6), GREEN)
    c.fill(Rect(12, 26, 25, 28), LIGHT_GREY)
    return c


# --- Cursor --------------------------------------------------------------------------------


def hand_parts(grow):
    g = grow
    return [
        RoundRect(9 - g, 1 - g, 14 + g, 18 + g, 2.5 + g),   # index finger
        RoundRect(13.5 - g, 9 - g, 18 + g, 18 + g, 2 + g),  # middle finger
        RoundRect(17.5 - g, 10 - g, 22 + g, 19 + g, 2 + g),  # ring finger
        RoundRect(21.5 - g, 12 - g, 25.5 + g, 20 + g, 2 + g),  # little finger
        RoundRect(8 - g, 14 - g, 25.5 + g, 29 + g, 4 + g),  # palm
        Line(4.5, 16.5, 10, 23, 4.6 + 2 * g),               # thumb
    ]


def hand_cursor():
    c = Canvas(32, 32)
    for part in hand_parts(1.1):
        c.fill(part, (0, 0, 0))
    for part in hand_parts(0):
        c.fill(part, WHITE)
    for x0, y0, y1 in ((13.6, 14, 18), (17.6, 15, 19), (21.6, 16, 20)):
        c.fill(Line(x0, y0, x0, y1, 0.9), (0, 0, 0))
    return c, (11, 1)


# --- Tool bar --------------------------------------------------------------------------------


class Pixels:
    """Crisp pixel-art drawing on one 16 x 16 cell of the tool-bar strip."""

    def __init__(self, canvas, cell):
        self.c = canvas
        self.dx = cell * 16

    def rect(self, x0, y0, x1, y1, color):  # inclusive pixel bounds, kept inside the cell
        x0, x1 = max(x0, 0), min(x1, 15)
        if x0 <= x1:
            self.c.fill(Rect(self.dx + x0, y0, self.dx + x1 + 1, y1 + 1), color)

    def px(self, x, y, color):
        self.rect(x, y, x, y, color)

    def box(self, x0, y0, x1, y1, fill, outline=INK):
        self.rect(x0, y0, x1, y1, outline)
        self.rect(x0 + 1, y0 + 1, x1 - 1, y1 - 1, fill)

    def poly(self, points, color):
        self.c.fill(Polygon([(self.dx + x, y) for x, y in points]), color)

    def line(self, x0, y0, x1, y1, color):
        """A one-pixel line between pixel centres."""
        n = max(abs(x1 - x0), abs(y1 - y0))
        for k in range(n + 1):
            t = k / n if n else 0
            self.px(round(x0 + (x1 - x0) * t), round(y0 + (y1 - y0) * t), color)

    def disc(self, cx, cy, r, color):
        self.c.fill(Ellipse(self.dx + cx, cy, r), color)

    def ring(self, cx, cy, r_out, r_in, color, a0=None, a1=None):
        self.c.fill(Ring(self.dx + cx, cy, r_out, r_in, a0, a1), color)


def tb_up_arrow(p, x, y, length=7, color=BLUE):
    """An arrow pointing up, 7 pixels wide, its tip at (x, y)."""
    for k in range(4):
        p.rect(x - k, y + k, x + k, y + k, color)
    p.rect(x - 1, y + 4, x + 1, y + length - 1, color)


def tb_pattern(p, x, y, rows, colors):
    """Pixels from a small picture: each character names a colour, '.' is left alone."""
    for j, row in enumerate(rows):
        for i, ch in enumerate(row):
            if ch != ".":
                p.px(x + i, y + j, colors[ch])


RELOAD = [
    "......#.....",
    "..######....",
    ".########...",
    "##....##....",
    "##....#.....",
    "##..........",
    "##........##",
    "##........##",
    ".##......##.",
    ".###....###.",
    "..########..",
    "....####....",
]

SMALL_RELOAD = [
    "oooo#ooo.",
    "o#####ooo",
    "##oo##oo.",
    "##ooo#ooo",
    "##ooooo##",
    "##ooooo##",
    "o##ooo##o",
    ".o#####o.",
    "..ooooo..",
]

REPEAT = [
    "................",
    "..........#.....",
    "..........##....",
    "...##########...",
    "..###########...",
    "..##......##....",
    "..##......#.....",
    "..##........##..",
    "..##........##..",
    ".....#......##..",
    "....##......##..",
    "...###########..",
    "...##########...",
    "....##..........",
    ".....#..........",
    "................",
]


def tb_page(p, x0, y0, x1, y1, lines=True):
    p.poly([(x0, y0), (x1 - 2, y0), (x1 + 1, y0 + 3), (x1 + 1, y1 + 1), (x0, y1 + 1)], INK)
    p.poly([(x0 + 1, y0 + 1), (x1 - 2, y0 + 1), (x1, y0 + 3), (x1, y1), (x0 + 1, y1)], PAPER)
    if lines:
        for y in range(y0 + 4, y1 - 1, 2):
            p.rect(x0 + 2, y, x1 - 2, y, LIGHT_BLUE)


def tb_open_upload(p):
    p.poly([(0, 4), (4, 4), (5, 5), (10, 5), (10, 14), (0, 14)], DARK_YELLOW)
    p.poly([(1, 5), (4, 5), (5, 6), (9, 6), (9, 13), (1, 13)], YELLOW)
    p.poly([(0, 15), (3, 8), (13, 8), (10, 15)], DARK_YELLOW)
    p.poly([(1, 14), (3.6, 9), (11.6, 9), (9.4, 14)], YELLOW)
    tb_up_arrow(p, 12, 0, 8)


def tb_upload_file(p):
    tb_page(p, 1, 0, 10, 14)
    tb_up_arrow(p, 12, 5, 10)


def tb_upload_again(p):
    tb_pattern(p, 2, 2, RELOAD, {"#": GREEN})
    p.px(7, 5, BLUE)
    p.rect(6, 6, 8, 6, BLUE)
    p.rect(5, 7, 9, 7, BLUE)
    p.rect(6, 8, 8, 10, BLUE)


def tb_keep_uploading(p):
    tb_pattern(p, 0, 0, REPEAT, {"#": GREEN})
    p.rect(7, 5, 8, 5, BLUE)
    p.rect(6, 6, 9, 6, BLUE)
    p.rect(7, 7, 8, 9, BLUE)


def tb_save(p):
    p.box(1, 1, 14, 14, BLUE, darker(BLUE, 0.5))
    p.rect(4, 2, 11, 6, LIGHT_GREY)
    p.rect(9, 3, 10, 5, darker(BLUE, 0.5))
    p.rect(3, 9, 12, 13, PAPER)
    p.rect(4, 10, 11, 10, LIGHT_BLUE)
    p.rect(4, 12, 11, 12, LIGHT_BLUE)


def tb_print(p):
    p.box(3, 1, 12, 7, PAPER)
    p.box(0, 6, 15, 12, LIGHT_GREY)
    p.rect(1, 7, 14, 8, WHITE)
    p.px(13, 10, BRIGHT_GREEN)
    p.box(3, 10, 12, 15, PAPER)
    p.rect(5, 12, 10, 12, GREY)
    p.rect(5, 14, 9, 14, GREY)


def tb_clear_screen(p):
    p.box(0, 0, 14, 11, SCREEN)
    p.rect(5, 12, 9, 12, INK)
    p.rect(3, 13, 11, 13, INK)
    p.rect(2, 2, 7, 2, BRIGHT_GREEN)
    p.rect(2, 4, 9, 4, BRIGHT_GREEN)
    p.rect(2, 6, 5, 6, BRIGHT_GREEN)

    def block(cx, cy, half_length, half_width, grow=0.0):
        d, n = (0.7071, -0.7071), (0.7071, 0.7071)
        a, b = half_length + grow, half_width + grow
        return [(cx + sa * a * d[0] + sb * b * n[0], cy + sa * a * d[1] + sb * b * n[1])
                for sa, sb in ((1, 1), (1, -1), (-1, -1), (-1, 1))]

    p.poly(block(10.5, 11.5, 5, 2.6, 1.0), INK)
    p.poly(block(10.5, 11.5, 5, 2.6), LIGHT_BLUE)
    p.poly(block(12.3, 9.7, 2.4, 2.6), PINK)


def tb_plug_pair(p, x, y, gap, color, edge):
    """Plug (with prongs) and socket facing each other on one cable; gap between them."""
    p.rect(x - 2, y + 3, x - 1, y + 4, INK)
    p.box(x, y, x + 4, y + 7, color, edge)
    p.rect(x + 5, y + 1, x + 6 + gap, y + 2, edge)
    p.rect(x + 5, y + 5, x + 6 + gap, y + 6, edge)
    sx = x + 7 + gap
    p.box(sx, y - 1, sx + 4, y + 8, color, edge)
    p.rect(sx + 5, y + 3, sx + 6, y + 4, INK)


def tb_connect(p):
    tb_plug_pair(p, 2, 4, -1, GREEN, darker(GREEN, 0.55))


def tb_renew(p):
    tb_plug_pair(p, 2, 1, -1, GREEN, darker(GREEN, 0.55))
    tb_pattern(p, 7, 7, SMALL_RELOAD, {"#": GREEN, "o": PAPER})


def tb_disconnect(p):
    tb_plug_pair(p, 1, 4, 3, LIGHT_GREY, GREY)
    p.line(8, 1, 10, 14, RED)
    p.line(9, 1, 11, 14, RED)


def tb_info(p):
    p.disc(8, 8, 7.6, darker(BLUE, 0.7))
    p.disc(8, 8, 6.6, BLUE)
    p.rect(7, 3, 8, 4, WHITE)
    p.rect(6, 6, 8, 6, WHITE)
    p.rect(7, 7, 8, 11, WHITE)
    p.rect(6, 12, 9, 12, WHITE)


def tb_chat(p):
    p.c.fill(RoundRect(p.dx + 5, 0, p.dx + 16, 8, 2), darker(BLUE, 0.7))
    p.c.fill(RoundRect(p.dx + 6, 1, p.dx + 15, 7, 1.5), LIGHT_BLUE)
    p.c.fill(RoundRect(p.dx + 0, 4, p.dx + 12, 13, 2), INK)
    p.c.fill(RoundRect(p.dx + 1, 5, p.dx + 11, 12, 1.5), PAPER)
    p.poly([(2, 12), (6, 12), (2, 16)], INK)
    p.poly([(3, 12), (5, 12), (3, 14)], PAPER)
    p.rect(3, 7, 8, 7, GREY)
    p.rect(3, 9, 6, 9, GREY)


def tb_manual_signals(p):
    p.box(0, 1, 15, 14, SCREEN)
    wave = [(1, 11), (3, 11), (3, 4), (7, 4), (7, 11), (10, 11), (10, 4), (13, 4), (13, 11), (14, 11)]
    for (x0, y0), (x1, y1) in zip(wave, wave[1:]):
        p.line(x0, y0, x1, y1, BRIGHT_GREEN)


def tb_shortcut(p):
    tb_page(p, 5, 0, 14, 14)
    p.box(0, 8, 7, 15, WHITE)
    tb_pattern(p, 1, 9, ["..####", "...###", "..####", ".###.#", "###...", "##...."],
               {"#": BLUE})


TOOLBAR = [
    tb_open_upload,  # 1504 open and upload
    tb_upload_file,  # 1535 upload file
    tb_upload_again,  # 1521 upload again
    tb_keep_uploading,  # 1534 keep uploading
    None,  # separator
    tb_save,  # 1522 save
    tb_print,  # 1524 print
    tb_clear_screen,  # 1517 clear screen
    None,  # separator
    tb_connect,  # 1506 connect
    tb_renew,  # 1515 renew connection
    tb_disconnect,  # 1507 disconnect
    tb_info,  # 1510 connection information
    None,  # separator
    tb_chat,  # 1509 chat mode
    tb_manual_signals,  # 1520 manual signals
    tb_shortcut,  # 1508 current shortcut
]


def toolbar_strip():
    c = Canvas(16 * len(TOOLBAR), 16, ss=1, background=SILVER)
    for cell, draw in enumerate(TOOLBAR):
        if draw is not None:
            draw(Pixels(c, cell))
    rows = c.rgb()
    for cell, draw in enumerate(TOOLBAR):
        if draw is None:
            continue
        used = {rows[y][cell * 16 + x] for y in range(16) for x in range(16)}
        assert len(used) > 2, "tool-bar image %d is empty" % cell
    return rows


# --- Logos -----------------------------------------------------------------------------------


def dsub_emblem(c, x, y, w, h, shell, face, pins):
    """A D-sub connector face, w x h, top left at (x, y)."""
    c.fill(RoundRect(x, y, x + w, y + h, h * 0.22), shell)
    e = w * 0.09
    for ex in (x + e * 0.75, x + w - e * 0.75):
        c.fill(Ellipse(ex, y + h / 2, h * 0.14), face)
    top, bottom = y + h * 0.16, y + h * 0.84
    c.fill(Polygon([(x + e * 1.8, top), (x + w - e * 1.8, top), (x + w - e * 2.6, bottom),
                    (x + e * 2.6, bottom)]), face)
    pitch = (w - 4.8 * e) / 5
    for k in range(5):
        c.fill(Ellipse(x + 2.4 * e + (k + 0.5) * pitch, y + h * 0.36, h * 0.08), pins)
    for k in range(4):
        c.fill(Ellipse(x + 2.4 * e + (k + 1) * pitch, y + h * 0.64, h * 0.08), pins)


def view_logo():
    """The watermark behind the terminal text: pale, on the view's white."""
    c = Canvas(160, 82, ss=4, background=WHITE)
    dsub_emblem(c, 56, 6, 48, 20, (226, 232, 242), WHITE, (214, 222, 236))
    word = Glyphs(LARGE, "TARLIN", 80 - text_width(LARGE, "TARLIN", 4) / 2, 34, 4, dots=True)
    c.fill(word, (208, 220, 240))
    c.fill(Rect(24, 70, 136, 71), (226, 232, 242))
    return c


def about_logo():
    """The About dialog's logo and web link: an amber dot-matrix name on a dark panel."""
    c = Canvas(80, 50, ss=4, background=NAVY)
    c.gradient_fill(Rect(0, 0, 80, 50), (34, 52, 104), (16, 24, 52))
    dsub_emblem(c, 28, 4, 24, 11, (150, 164, 196), (40, 56, 100), (210, 218, 236))
    word = Glyphs(LARGE, "TARLIN", 40 - text_width(LARGE, "TARLIN", 2) / 2, 19, 2)
    c.fill(word, (255, 184, 52))
    c.fill(centered_glyphs(SMALL, "VANTOR", 40, 39), LIGHT_BLUE)
    return c


# --- Output --------------------------------------------------------------------------------


ICONS = [
    # (file name, drawing function, sizes)
    ("tarlin.ico", program_icon, (16, 32, 48)),
    ("tarlin_small.ico", program_icon, (16, 32)),
    ("power_cycle.ico", power_cycle_icon, (16, 32)),
    ("upload.ico", upload_icon, (16, 32)),
    ("module_file.ico", module_file_icon, (16, 32)),
    ("help.ico", lambda s: help_icon(s, False), (16, 32)),
    ("help_focused.ico", lambda s: help_icon(s, True), (16, 32)),
    ("disconnected.ico", lambda s: status_icon(s, False), (16, 32)),
    ("connected.ico", lambda s: status_icon(s, True), (16, 32)),
]
ICONS += [("com%d.ico" % n, (lambda n: lambda s: com_icon(s, n))(n), (16, 32))
          for n in range(1, 9)]
ICONS += [("model_%s.ico" % m[0].lower().replace("-", ""),
           (lambda m: lambda s: model_icon(s, *m))(m), (16, 32)) for m in MODELS]


# Tool-bar buttons as the help pages describe them: position, name, what the button does.
TOOLBAR_HELP = [
    (0, "Otevřít a nahrát", "Otevření a nahrání souboru do modulu."),
    (1, "Nahrát", "Nahrání vybraného souboru do modulu (včetně vypnutí a zapnutí)."),
    (2, "Znovu nahrát (F9)",
     "Opětovné nahrání souboru do modulu (včetně vypnutí a zapnutí modulu)."),
    (3, "Opakovaně nahrávat (F10)",
     "Opětovné nahrávání souboru do více modulů (včetně vypnutí a zapnutí modulu)."),
    (5, "Uložit", "Uložení obsahu obrazovky (výpisu) do textového souboru."),
    (6, "Tisk", "Vytištění obsahu obrazovky (výpisu) na tiskárně."),
    (7, "Smazat obsah obrazovky", "Smazání obsahu obrazovky (výpisu)."),
    (9, "Připojit", "Připojení k portu."),
    (10, "Obnovit připojení",
     "Obnovení připojení k portu (případně včetně parametrů příkazové řádky)."),
    (11, "Odpojit", "Odpojení od portu."),
    (12, "Informace o připojení", "Informace o aktuálním připojení."),
    (14, "Chat mode", "Otevření a uzavření řádku pro odesílání znaků a řetězců."),
    (15, "Manuální nastavení signálů", "Dialog pro manuální řízení úrovní signálů."),
    (16, "Vytvoření aktuálního zástupce", "Vytvoření zástupce s aktuálním nastavením."),
]


def img_tag(rows, alt):
    data = base64.b64encode(png_bytes(rows)).decode("ascii")
    return '<img width="%d" height="%d" alt="%s" src="data:image/png;base64,%s">' % (
        len(rows[0]), len(rows), alt, data)


def write_help_images(path, strip, connected, disconnected):
    """Puts the images into the marked places of the help page."""
    cells = []
    for position, name, what in TOOLBAR_HELP:
        rows = [[(0, 0, 0, 0) if p == SILVER else tuple(p) + (255,)
                 for p in row[position * 16:position * 16 + 16]] for row in strip]
        cells.append("  <tr><td>%s</td><td>%s</td><td>%s</td></tr>" % (img_tag(rows, name), name,
                                                                        what))
    parts = {
        "toolbar": "\n".join(["<table>", "  <tr><th></th><th>Tlačítko</th><th>Funkce</th></tr>"]
                             + cells + ["</table>"]),
        "connected": img_tag(connected, "Připojen"),
        "disconnected": img_tag(disconnected, "Odpojen"),
    }
    with open(path, encoding="utf-8") as f:
        page = f.read()
    for name, html in parts.items():
        pattern = re.compile(r"(<!-- %s:begin[^>]*-->).*?(<!-- %s:end -->)" % (name, name), re.S)
        page, count = pattern.subn(lambda m: m.group(1) + "\n" + html + "\n" + m.group(2), page)
        assert count == 1, "help page has no place for %s" % name
    with open(path, "w", encoding="utf-8", newline="\n") as f:
        f.write(page)


def write_table(path):
    """The icon choice of the shortcut dialogs, for the program."""
    lines = [
        "// The icon choice of the shortcut dialogs. Generated by resources/art/draw_images.py.",
        "#pragma once",
        "",
        "#include \"tarlin_rc.h\"",
        "",
        "struct ShortcutIcon {",
        "    int resourceId;   // preview icon in this program",
        "    int iconIndex;    // the same icon group's index in tarlin.exe, for the shortcut",
        "    const char* name; // shown beside the \"<<\" and \">>\" buttons",
        "};",
        "",
        "constexpr int kShortcutIconCount = 34;",
        "// clang-format off",
        "inline constexpr ShortcutIcon kShortcutIcons[kShortcutIconCount] = {",
        "    {IDI_TARLIN, 0, \"Tarlin\"},",
    ]
    for n in range(1, 9):
        lines.append("    {%d, %d, \"Tarlin COM%d\"}," % (1020 + n, 6 + n, n))
    for k, (model, family, _) in enumerate(MODELS):
        what = FAMILIES[family][1]
        lines.append("    {%d, %d, \"Tarlin %s\"}, // %s" % (1029 + k, 15 + k, model, what))
    lines += ["};", "// clang-format on", ""]
    with open(path, "w", encoding="utf-8") as f:
        f.write("\n".join(lines))


def preview(path, rows, scale=4, background=(255, 255, 255)):
    out = []
    for row in rows:
        line = []
        for p in row:
            if len(p) == 4:
                a = p[3] / 255
                p = tuple(int(p[c] * a + background[c] * (1 - a)) for c in range(3))
            line += [p] * scale
        out += [line] * scale
    write_png(path, out)


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--preview", help="folder for PNG previews at four times the size")
    args = parser.parse_args()
    os.makedirs(IMAGES, exist_ok=True)
    if args.preview:
        os.makedirs(args.preview, exist_ok=True)

    for name, draw, sizes in ICONS:
        images = [draw(s).rgba() for s in sizes]
        write_icon_file(os.path.join(IMAGES, name), images)
        if args.preview:
            for s, rows in zip(sizes, images):
                base = os.path.join(args.preview, "%s-%d" % (name[:-4], s))
                preview(base + ".png", rows)
                preview(base + "-dark.png", rows, background=(60, 60, 60))

    cursor, hotspot = hand_cursor()
    write_icon_file(os.path.join(IMAGES, "link_hand.cur"), [cursor.rgba()], hotspot=hotspot)
    strip = toolbar_strip()
    write_bmp_8(os.path.join(IMAGES, "toolbar.bmp"), strip)
    about = about_logo().rgb()
    write_bmp_24(os.path.join(IMAGES, "about_logo.bmp"), about)
    view = view_logo().rgb()
    write_bmp_24(os.path.join(IMAGES, "view_logo.bmp"), view)
    write_table(os.path.join(RESOURCES, "shortcut_icons.h"))
    write_help_images(os.path.join(RESOURCES, "help", "TarlinHelp.htm"), strip,
                      status_icon(16, True).rgba(), status_icon(16, False).rgba())
    if args.preview:
        preview(os.path.join(args.preview, "cursor.png"), cursor.rgba(), background=(90, 140, 200))
        preview(os.path.join(args.preview, "toolbar.png"), strip)
        preview(os.path.join(args.preview, "about_logo.png"), about, scale=3)
        preview(os.path.join(args.preview, "view_logo.png"), view, scale=3)


if __name__ == "__main__":
    main()
