#!/usr/bin/env python3
"""Draws Folhavida's own skin: the bitmaps of skin/SkinLayout.txt into skin/ours/, the skin's
description skin/ours/skin.ini, the engine's bitmap resources into skin/resources/, and a contact
sheet of every bitmap at 4x with its frames numbered.

A light face, dark text, a blue active caption and a grey inactive one; rounded top corners, like
every transparent part, in magenta. Each state of a strip differs from the others at a glance:
hot is lighter and bluer, pressed darker and sunken, disabled flat and faded.

Standard library only. Run from the repository root, then pack the skin:
    python3 tools/draw_skin.py [contact-sheet.png]
    build/native/skin/SkinPack skin/ours skin/ours/skin.ini skin/Folhavida.skn
"""
import os
import struct
import sys
import zlib

ROOT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..")
LAYOUT = os.path.join(ROOT, "skin", "SkinLayout.txt")
OURS = os.path.join(ROOT, "skin", "ours")
RESOURCES = os.path.join(ROOT, "skin", "resources")

MAGENTA = (255, 0, 255)
WHITE = (255, 255, 255)
BLACK = (0, 0, 0)
FACE = (236, 239, 243)
TEXT = (30, 34, 42)
LIGHT = (255, 255, 255)
SHADOW = (160, 168, 180)
DKSHADOW = (92, 100, 114)
ACCENT = (44, 104, 176)
ACCENT_DARK = (24, 64, 120)
CAPTION_ACTIVE = ((70, 132, 204), (34, 86, 156))
CAPTION_INACTIVE = ((214, 219, 227), (186, 192, 203))
BORDER_ACTIVE = (40, 92, 160)
BORDER_INACTIVE = (170, 177, 189)

# The look of a control in each state: face gradient top and bottom, outline, glyph colour.
STATES = {
    "normal": ((252, 253, 254), (222, 227, 234), (118, 128, 144), TEXT),
    "hot": ((234, 244, 255), (190, 216, 248), ACCENT, ACCENT_DARK),
    "pressed": ((176, 190, 210), (212, 220, 232), ACCENT_DARK, (10, 20, 40)),
    "disabled": ((224, 226, 230), (224, 226, 230), (200, 203, 208), (158, 162, 170)),
    "focused": ((252, 253, 254), (222, 227, 234), ACCENT, TEXT),
}


class Canvas:
    def __init__(self, width, height, colour=MAGENTA):
        self.width, self.height = width, height
        self.pixels = [[colour] * width for _ in range(height)]

    def put(self, x, y, colour):
        if 0 <= x < self.width and 0 <= y < self.height:
            self.pixels[y][x] = colour

    def get(self, x, y):
        return self.pixels[y][x]

    def fill(self, x, y, w, h, colour):
        for yy in range(y, y + h):
            for xx in range(x, x + w):
                self.put(xx, yy, colour)

    def outline(self, x, y, w, h, colour):
        for xx in range(x, x + w):
            self.put(xx, y, colour)
            self.put(xx, y + h - 1, colour)
        for yy in range(y, y + h):
            self.put(x, yy, colour)
            self.put(x + w - 1, yy, colour)

    def vgradient(self, x, y, w, h, top, bottom):
        for i in range(h):
            t = i / max(1, h - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(top, bottom))
            self.fill(x, y + i, w, 1, c)

    def hgradient(self, x, y, w, h, left, right):
        for i in range(w):
            t = i / max(1, w - 1)
            c = tuple(round(a + (b - a) * t) for a, b in zip(left, right))
            self.fill(x + i, y, 1, h, c)

    def cut_corners(self, x, y, w, h, radius, top=True, bottom=True):
        """Magenta outside quarter circles of the radius at the chosen corners."""
        for dy in range(radius):
            for dx in range(radius):
                cx, cy = radius - dx - 0.5, radius - dy - 0.5
                if cx * cx + cy * cy > radius * radius:
                    if top:
                        self.put(x + dx, y + dy, MAGENTA)
                        self.put(x + w - 1 - dx, y + dy, MAGENTA)
                    if bottom:
                        self.put(x + dx, y + h - 1 - dy, MAGENTA)
                        self.put(x + w - 1 - dx, y + h - 1 - dy, MAGENTA)

    def glyph(self, x, y, rows, colour):
        for dy, row in enumerate(rows):
            for dx, ch in enumerate(row):
                if ch == "#":
                    self.put(x + dx, y + dy, colour)

    def blit(self, other, x, y):
        for yy in range(other.height):
            for xx in range(other.width):
                self.put(x + xx, y + yy, other.pixels[yy][xx])


def button_face(c, x, y, w, h, state, radius=2):
    top, bottom, edge, _ = STATES[state]
    c.vgradient(x, y, w, h, top, bottom)
    c.outline(x, y, w, h, edge)
    if state == "pressed":
        c.fill(x + 1, y + 1, w - 2, 1, (150, 162, 180))
    elif state != "disabled":
        c.fill(x + 1, y + 1, w - 2, 1, LIGHT)
    if state == "focused":
        c.outline(x + 1, y + 1, w - 2, h - 2, (150, 190, 236))
    c.cut_corners(x, y, w, h, radius)


# Small glyphs, "#" on, "." off.
ARROW_UP = ["...#...", "..###..", ".#####.", "#######"]
ARROW_DOWN = list(reversed(ARROW_UP))
ARROW_LEFT = ["...#", "..##", ".###", "####", ".###", "..##", "...#"]
ARROW_RIGHT = [row[::-1] for row in ARROW_LEFT]
CLOSE = ["##....##", "###..###", ".######.", "..####..", "..####..", ".######.", "###..###", "##....##"]
MAXIMIZE = ["########", "########", "#......#", "#......#", "#......#", "#......#", "#......#", "########"]
MINIMIZE = ["........", "........", "........", "........", "........", "........", "#######.", "#######."]
RESTORE = ["..######", "..######", "..#....#", "######.#", "######.#", "#....###", "#....#..", "######.."]
CHECK = ["......#", ".....##", "#...##.", "##.##..", ".###...", "..#...."]
GRIP = ["#.#.#", ".....", "#.#.#", ".....", "#.#.#"]
SIZE_GRIP = ["..........#.", "..........#.", ".......#..#.", ".......#..#.", "....#..#..#.",
             "....#..#..#.", ".#..#..#..#.", ".#..#..#..#."]


def title_buttons(c, frames, glyph, close):
    """Frames 1 normal, 2 pressed, 3 hot, 4 inactive window, 5 disabled, 6 inactive and hot."""
    fw = c.width // frames
    looks = [
        ((90, 150, 220), (52, 108, 184), WHITE),
        ((30, 74, 140), (52, 100, 170), (220, 230, 245)),
        ((130, 186, 250), (80, 146, 226), WHITE),
        ((222, 226, 233), (200, 205, 214), (120, 126, 138)),
        ((200, 206, 216), (200, 206, 216), (160, 166, 178)),
        ((236, 240, 246), (214, 222, 234), (70, 78, 92)),
    ]
    if close:
        looks[0] = ((226, 96, 82), (186, 52, 40), WHITE)
        looks[1] = ((140, 30, 22), (170, 46, 34), (250, 220, 216))
        looks[2] = ((250, 134, 118), (220, 76, 62), WHITE)
    for f in range(frames):
        top, bottom, ink = looks[f]
        x = f * fw + 2
        w, h = fw - 4, c.height - 2
        c.vgradient(x, 1, w, h, top, bottom)
        c.outline(x, 1, w, h, tuple(v * 2 // 3 for v in bottom))
        c.cut_corners(x, 1, w, h, 3)
        c.glyph(f * fw + (fw - 8) // 2, 1 + (h - 8) // 2, glyph, ink)


def draw_frame_side(c, frames, right):
    fw = c.width // frames
    for f in range(frames):
        caption = CAPTION_ACTIVE if f == 0 else CAPTION_INACTIVE
        border = BORDER_ACTIVE if f == 0 else BORDER_INACTIVE
        x = f * fw
        c.vgradient(x, 0, fw, 31, caption[0], caption[1])
        c.fill(x, 31, fw, c.height - 31, border)
        c.fill(x + (fw - 1 if right else 0), 0, 1, c.height, DKSHADOW if f == 0 else SHADOW)
        c.fill(x + (0 if right else fw - 1), 31, 1, c.height - 31, FACE)
        for dy in range(4):  # the rounded corner continues from the top piece
            for dx in range(4 - dy):
                c.put(x + (fw - 1 - dx if right else dx), dy, MAGENTA)


def draw_frametop(c, frames):
    fh = c.height // frames
    for f in range(frames):
        caption = CAPTION_ACTIVE if f == 0 else CAPTION_INACTIVE
        y = f * fh
        c.vgradient(0, y, c.width, fh, caption[0], caption[1])
        c.fill(0, y + 1, c.width, 1, tuple(min(255, v + 40) for v in caption[0]))
        c.outline(0, y, c.width, fh + 1, DKSHADOW if f == 0 else SHADOW)
        c.fill(1, y + fh - 1, c.width - 2, 1, caption[1])
        c.cut_corners(0, y, c.width, fh, 6, top=True, bottom=False)


def draw_framebottom(c, frames):
    fh = c.height // frames
    for f in range(frames):
        border = BORDER_ACTIVE if f == 0 else BORDER_INACTIVE
        y = f * fh
        c.fill(0, y, c.width, fh, border)
        c.fill(0, y + fh - 1, c.width, 1, DKSHADOW if f == 0 else SHADOW)
        c.fill(0, y, 1, fh, DKSHADOW if f == 0 else SHADOW)
        c.fill(c.width - 1, y, 1, fh, DKSHADOW if f == 0 else SHADOW)
        c.fill(4, y, c.width - 8, 1, FACE)


def draw_mincaption(c, frames):
    fh = c.height // frames
    for f in range(frames):
        caption = CAPTION_ACTIVE if f == 0 else CAPTION_INACTIVE
        c.vgradient(0, f * fh, c.width, fh, caption[0], caption[1])
        c.outline(0, f * fh, c.width, fh, DKSHADOW if f == 0 else SHADOW)
        c.cut_corners(0, f * fh, c.width, fh, 6, top=True, bottom=False)


def draw_buttons(c, frames):
    """1 normal, 2 pressed, 3 disabled, 4 hot, 5 focused."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "pressed", "disabled", "hot", "focused"]):
        button_face(c, f * fw, 0, fw, c.height, state, radius=3)


def draw_checks(c, frames, round_box):
    """Per state (normal, hot, pressed, disabled): unchecked, checked; a check strip adds
    indeterminate in the same four states."""
    fw = c.width // frames
    states = ["normal", "hot", "pressed", "disabled"]
    looks = []
    for state in states:
        looks += [(state, "off"), (state, "on")]
    if not round_box:
        # 1-8 as above, reordered to the strip's slots: 9 indeterminate, 12 indeterminate disabled.
        looks = [looks[0], looks[1], looks[2], looks[3], looks[4], looks[5], looks[6], looks[7],
                 ("normal", "mixed"), ("hot", "mixed"), ("pressed", "mixed"), ("disabled", "mixed")]
    for f, (state, mark) in enumerate(looks):
        top, bottom, edge, ink = STATES[state]
        x = f * fw
        c.fill(x, 0, fw, c.height, MAGENTA)
        c.vgradient(x, 0, fw, c.height, top, bottom)
        c.outline(x, 0, fw, c.height, edge)
        if round_box:
            c.cut_corners(x, 0, fw, c.height, 5)
            if mark == "on":
                c.fill(x + 4, 4, 5, 5, ink)
                c.cut_corners(x + 4, 4, 5, 5, 2)
        else:
            if mark == "on":
                c.glyph(x + 3, 3, CHECK, ink)
            elif mark == "mixed":
                c.fill(x + 3, 3, 7, 7, tuple((a + b) // 2 for a, b in zip(ink, bottom)))


def draw_progress(c, frames):
    c.fill(0, 0, c.width, c.height, (250, 251, 252))
    c.outline(0, 0, c.width, c.height, SHADOW)
    c.fill(1, 1, c.width - 2, 1, (220, 224, 230))


def draw_progresschunk(c, frames):
    c.vgradient(0, 0, c.width, c.height, (120, 200, 130), (40, 140, 60))
    c.outline(0, 0, c.width, c.height, (30, 100, 44))
    c.cut_corners(0, 0, c.width, c.height, 2)


def draw_tab(c, frames):
    """1 normal, 2 selected, 3 hot, 4 disabled, 5 focused."""
    fw = c.width // frames
    looks = [("normal", (226, 230, 236)), ("focused", FACE), ("hot", None), ("disabled", None), ("focused", None)]
    for f, (state, flat) in enumerate(looks):
        top, bottom, edge, _ = STATES[state]
        x = f * fw
        if flat:
            c.vgradient(x, 0, fw, c.height, LIGHT if f == 1 else top, flat)
        else:
            c.vgradient(x, 0, fw, c.height, top, bottom)
        c.outline(x, 0, fw, c.height + 1, edge)
        if f == 1:
            c.fill(x + 1, 0, fw - 2, 2, ACCENT)
        c.cut_corners(x, 0, fw, c.height, 3, top=True, bottom=False)


def draw_tabsheet(c, frames):
    c.fill(0, 0, c.width, c.height, FACE)
    c.outline(0, 0, c.width, c.height, SHADOW)
    c.fill(1, 1, c.width - 2, 1, LIGHT)
    c.fill(1, c.height - 2, c.width - 2, 1, (210, 214, 222))
    c.fill(c.width - 2, 1, 1, c.height - 2, (210, 214, 222))


def draw_comboboxbtn(c, frames):
    """1 normal, 2 pressed, 3 disabled, 4 hot."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "pressed", "disabled", "hot"]):
        button_face(c, f * fw, 0, fw, c.height, state)
        c.glyph(f * fw + (fw - 7) // 2, 6, ARROW_DOWN, STATES[state][3])


def draw_extraimages(c, frames):
    """Drop-down glyphs 1 normal, 2 pressed, 3 disabled, 4 hot; 5 the size grip."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "pressed", "disabled", "hot"]):
        c.glyph(f * fw + (fw - 7) // 2, 7 + (1 if state == "pressed" else 0), ARROW_DOWN, STATES[state][3])
    c.glyph(4 * fw + 3, 7, SIZE_GRIP, SHADOW)
    c.glyph(4 * fw + 4, 8, SIZE_GRIP, LIGHT)


def draw_statusbar(c, frames):
    fw = c.width // frames
    for f in range(frames):
        x = f * fw
        c.vgradient(x, 0, fw, c.height, (246, 247, 249), (222, 226, 232) if f == 0 else (214, 219, 226))
        c.fill(x, 0, fw, 1, SHADOW)
        c.fill(x, 1, fw, 1, LIGHT)
        if f > 0:
            c.outline(x + 2, 3, fw - 4, c.height - 6, SHADOW if f == 1 else ACCENT)


def draw_header(c, frames):
    """1 normal, 2 hot, 3 pressed, 4 disabled."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "hot", "pressed", "disabled"]):
        top, bottom, edge, _ = STATES[state]
        x = f * fw
        c.vgradient(x, 0, fw, c.height, top, bottom)
        c.fill(x, c.height - 1, fw, 1, edge)
        c.fill(x + fw - 2, 3, 1, c.height - 6, SHADOW)
        c.fill(x + fw - 1, 3, 1, c.height - 6, LIGHT)
        if state == "hot":
            c.fill(x, c.height - 2, fw, 2, ACCENT)


def draw_scrollbararrow(c, frames):
    """Left, right, up, down arrows, each normal, pressed, disabled, hot (1-16); the grip of a
    horizontal thumb normal, pressed, hot (17-19), of a vertical one (20-22); 23 unused."""
    fw = c.width // frames
    f = 0
    for glyph in (ARROW_LEFT, ARROW_RIGHT, ARROW_UP, ARROW_DOWN):
        for state in ("normal", "pressed", "disabled", "hot"):
            button_face(c, f * fw, 0, fw, c.height, state)
            gw, gh = len(glyph[0]), len(glyph)
            c.glyph(f * fw + (fw - gw) // 2, (c.height - gh) // 2, glyph, STATES[state][3])
            f += 1
    for vertical in (False, True):
        for ink in (SHADOW, ACCENT_DARK, ACCENT):
            rows = GRIP if vertical else ["".join(r) for r in zip(*GRIP)]
            c.fill(f * fw, 0, fw, c.height, MAGENTA)
            c.glyph(f * fw + 6, 6, rows, ink)
            f += 1
    c.fill(f * fw, 0, c.width - f * fw, c.height, MAGENTA)


def draw_scrollbar_track(c, frames, vertical):
    """1 normal, 2 pressed, 3 disabled, 4 hot."""
    fw = c.width // frames
    looks = [((232, 235, 240), (244, 246, 249)), ((196, 206, 220), (214, 222, 234)),
             ((242, 243, 245), (242, 243, 245)), ((220, 232, 248), (236, 243, 252))]
    for f, (a, b) in enumerate(looks):
        x = f * fw
        if vertical:
            c.hgradient(x, 0, fw, c.height, a, b)
            c.fill(x, 0, 1, c.height, (208, 212, 220))
            c.fill(x + fw - 1, 0, 1, c.height, (208, 212, 220))
        else:
            c.vgradient(x, 0, fw, c.height, a, b)
            c.fill(x, 0, fw, 1, (208, 212, 220))
            c.fill(x, c.height - 1, fw, 1, (208, 212, 220))


def draw_thumb(c, frames):
    """1 normal, 2 pressed, 3 hot, 4 disabled."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "pressed", "hot", "disabled"]):
        button_face(c, f * fw, 0, fw, c.height, state, radius=3)


def draw_menuitem(c, frames):
    """1 normal, 2 selected, 3 disabled and selected, 4 separator, 5 checked mark backing."""
    fw = c.width // frames
    c.fill(0, 0, c.width, c.height, MAGENTA)
    c.vgradient(fw, 0, fw, c.height, (206, 226, 250), (168, 202, 242))
    c.outline(fw, 0, fw, c.height, ACCENT)
    c.cut_corners(fw, 0, fw, c.height, 2)
    c.fill(2 * fw, 0, fw, c.height, (226, 230, 236))
    c.outline(2 * fw, 0, fw, c.height, SHADOW)
    c.cut_corners(2 * fw, 0, fw, c.height, 2)
    c.fill(3 * fw + 2, c.height // 2, fw - 4, 1, SHADOW)
    c.fill(3 * fw + 2, c.height // 2 + 1, fw - 4, 1, LIGHT)
    c.fill(4 * fw + 2, 1, c.height - 2, c.height - 2, (220, 232, 248))
    c.outline(4 * fw + 2, 1, c.height - 2, c.height - 2, ACCENT)


def draw_menubackground(c, frames):
    c.fill(0, 0, c.width, c.height, (252, 252, 253))
    c.outline(0, 0, c.width, c.height, DKSHADOW)
    c.fill(1, 1, 3, c.height - 2, (232, 236, 242))


def draw_spin(c, frames, horizontal):
    """1-4 up (or left), 5-8 down (or right): normal, pressed, disabled, hot."""
    fw = c.width // frames
    states = ["normal", "pressed", "disabled", "hot"] * 2
    for f, state in enumerate(states):
        button_face(c, f * fw, 0, fw, c.height, state)


def draw_spinarrow(c, frames, horizontal):
    fw = c.width // frames
    c.fill(0, 0, c.width, c.height, MAGENTA)
    for f in range(frames):
        state = ["normal", "pressed", "disabled", "hot"][f % 4]
        if horizontal:
            glyph = ARROW_LEFT if f < 4 else ARROW_RIGHT
            glyph = [row[:4] for row in glyph]
        else:
            glyph = ARROW_UP if f < 4 else ARROW_DOWN
            glyph = [row[1:6] for row in glyph] if fw < 7 else glyph
        gw, gh = len(glyph[0]), len(glyph)
        c.glyph(f * fw + (fw - gw) // 2, (c.height - gh) // 2, glyph, STATES[state][3])


def draw_trackthumb(c, frames, pointing_down):
    """1 normal, 2 pressed, 3 hot, 4 disabled, 5 focused."""
    fw = c.width // frames
    for f, state in enumerate(["normal", "pressed", "hot", "disabled", "focused"]):
        x = f * fw
        top, bottom, edge, _ = STATES[state]
        body = c.height - 5 if pointing_down else c.height
        c.vgradient(x, 0, fw, body, top, bottom)
        c.outline(x, 0, fw, body, edge)
        c.cut_corners(x, 0, fw, body, 2, top=True, bottom=not pointing_down)
        if pointing_down:
            for i in range(5):
                c.fill(x + i, body + i, fw - 2 * i, 1, MAGENTA)
                c.fill(x + i + 1, body + i - 1, max(0, fw - 2 * i - 2), 1, bottom)
                c.put(x + i, body + i - 1, edge)
                c.put(x + fw - 1 - i, body + i - 1, edge)


def draw_mdibutton(c, frames):
    """Three buttons (minimize, restore, close), each normal, pressed, hot, inactive."""
    fw = c.width // frames
    small = {"min": ["......", "......", "......", "......", "#####.", "#####."],
             "restore": [".####.", ".#..#.", "####.#", "#..###", "#..#..", "####.."],
             "close": ["#...#.", "##.##.", ".###..", ".###..", "##.##.", "#...#."]}
    f = 0
    for name in ("min", "restore", "close"):
        for state in ("normal", "pressed", "hot", "disabled"):
            button_face(c, f * fw, 0, fw, c.height, state)
            c.glyph(f * fw + 4, 4, small[name], STATES[state][3])
            f += 1


DRAWERS = {
    "frameleft": lambda c, n: draw_frame_side(c, n, right=False),
    "frameright": lambda c, n: draw_frame_side(c, n, right=True),
    "frametop": draw_frametop,
    "framebottom": draw_framebottom,
    "closebutton": lambda c, n: title_buttons(c, n, CLOSE, close=True),
    "maxbutton": lambda c, n: title_buttons(c, n, MAXIMIZE, close=False),
    "minbutton": lambda c, n: title_buttons(c, n, MINIMIZE, close=False),
    "restrorebutton": lambda c, n: title_buttons(c, n, RESTORE, close=False),
    "buttons": draw_buttons,
    "checkbox": lambda c, n: draw_checks(c, n, round_box=False),
    "radiobutton": lambda c, n: draw_checks(c, n, round_box=True),
    "progress": draw_progress,
    "progresschunk": draw_progresschunk,
    "tab": draw_tab,
    "tabsheet": draw_tabsheet,
    "comboboxbtn": draw_comboboxbtn,
    "extraimages": draw_extraimages,
    "statusbar": draw_statusbar,
    "header": draw_header,
    "scrollbararrow": draw_scrollbararrow,
    "scrollbarhbar": lambda c, n: draw_scrollbar_track(c, n, vertical=False),
    "scrollbarvbar": lambda c, n: draw_scrollbar_track(c, n, vertical=True),
    "scrollbarhthumb": draw_thumb,
    "scrollbarvthumb": draw_thumb,
    "menuitem": draw_menuitem,
    "menubackground": draw_menubackground,
    "spin": lambda c, n: draw_spin(c, n, horizontal=False),
    "spinh": lambda c, n: draw_spin(c, n, horizontal=True),
    "spinarrow": lambda c, n: draw_spinarrow(c, n, horizontal=False),
    "spinharrow": lambda c, n: draw_spinarrow(c, n, horizontal=True),
    "trackthumbh": lambda c, n: draw_trackthumb(c, n, pointing_down=False),
    "trackbot": lambda c, n: draw_trackthumb(c, n, pointing_down=True),
    "mdibutton": draw_mdibutton,
    "mincaption": draw_mincaption,
}


def read_layout():
    rows = []
    with open(LAYOUT, encoding="ascii") as f:
        for line in f:
            if not line.strip() or line.startswith("#"):
                continue
            entry, key, size, bits, frames, layout, margins = line.split()
            w, h = (int(v) for v in size.split("x"))
            rows.append({
                "entry": entry, "key": None if key == "-" else key.split("/"), "width": w, "height": h,
                "bits": int(bits), "frames": int(frames), "layout": layout,
                "margins": None if margins == "-" else [int(v) for v in margins.split(",")],
            })
    return rows


# ---- files ----

def bmp_bytes(canvas, bits):
    w, h = canvas.width, canvas.height
    palette = []
    if bits == 8:
        palette = sorted({p for row in canvas.pixels for p in row})
        assert len(palette) <= 256, "too many colours for 8 bits"
    elif bits == 1:
        palette = [BLACK, WHITE]
    index = {c: i for i, c in enumerate(palette)}
    stride = ((w * bits + 31) // 32) * 4
    data = bytearray()
    for y in range(h - 1, -1, -1):
        row = bytearray()
        if bits == 1:
            for x0 in range(0, w, 8):
                byte = 0
                for k in range(8):
                    if x0 + k < w and index[canvas.pixels[y][x0 + k]]:
                        byte |= 0x80 >> k
                row.append(byte)
        else:
            for x in range(w):
                r, g, b = canvas.pixels[y][x]
                if bits == 8:
                    row.append(index[(r, g, b)])
                elif bits == 24:
                    row += bytes((b, g, r))
                else:
                    row += bytes((b, g, r, 0))
        row += bytes(stride - len(row))
        data += row
    colours = b"".join(bytes((b, g, r, 0)) for r, g, b in palette)
    offset = 14 + 40 + len(colours)
    header = struct.pack("<2sIHHI", b"BM", offset + len(data), 0, 0, offset)
    info = struct.pack("<IiiHHIIiiII", 40, w, h, 1, bits, 0, len(data), 2835, 2835, len(palette), 0)
    return header + info + colours + bytes(data)


def write(path, data):
    with open(path, "wb") as f:
        f.write(data)


def png_bytes(canvas):
    raw = bytearray()
    for row in canvas.pixels:
        raw.append(0)
        for p in row:
            raw += bytes(p)

    def chunk(kind, body):
        return struct.pack(">I", len(body)) + kind + body + struct.pack(">I", zlib.crc32(kind + body))

    ihdr = struct.pack(">IIBBBBB", canvas.width, canvas.height, 8, 2, 0, 0, 0)
    return b"\x89PNG\r\n\x1a\n" + chunk(b"IHDR", ihdr) + chunk(b"IDAT", zlib.compress(bytes(raw), 9)) + chunk(b"IEND", b"")


# ---- the description ----

COLOURS = [
    ("ButtonFace", FACE), ("WindowText", TEXT), ("ButtonText", TEXT), ("TitleTextActive", WHITE),
    ("TitleTextNoActive", (64, 70, 82)), ("ButtonHilight", LIGHT), ("ButtonShadow", SHADOW),
    ("ButtonDkShadow", DKSHADOW), ("Buttonlight", (246, 247, 249)), ("Menubar", FACE), ("Menu", (252, 252, 253)),
    ("MenuText", TEXT), ("MenuBarText", TEXT), ("Hilight", ACCENT), ("HilightText", WHITE),
]

# Settings of each section beyond its images and margins (which come from the layout table).
SETTINGS = {
    "Personality": [("LeftFrame", 2), ("LeftStretch", 1), ("LeftTrans", 1),
                    ("RightFrame", 2), ("RightStretch", 1), ("RightTrans", 1),
                    ("TopFrame", 2), ("TopStretch", 1), ("TopTrans", 1),
                    ("BottomFrame", 2), ("BottomStretch", 1), ("BottomTrans", 0),
                    ("TextShift", 16), ("TextShiftVert", 2), ("TextRightClip", 20)],
    "Buttons": [("Trans", 1), ("CheckButtonFrame", 12), ("RadioButtonFrame", 8)],
    "Progress": [("Trans", 0), ("Tile", 0), ("Style", 1)],
    "Progress.Chunk": [("Trans", 1), ("Tile", 0), ("Style", 1)],
    "Tabs": [("Trans", 0), ("Tile", 0), ("Style", 1)],
    "Tab.Pane": [("Trans", 0), ("Tile", 0), ("Style", 1)],
    "ComboButton": [("Trans", 0), ("Style", 1)],
    "StatusBarEdges": [("Tile", 1)],
    "Headerbar": [("Tile", 0), ("Trans", 1), ("Frame", 4)],
    "HorzScroll": [("Tile", 0)],
    "VertScroll": [("Tile", 0)],
    "HorzScrollThumb": [("FrameCount", 4)],
    "VertScrollThumb": [("FrameCount", 4)],
    "MenuItem": [("Frame", 5), ("Trans", 1)],
    "Button0": [("Align", 1), ("XCoord", 35), ("YCoord", 5), ("Action", 0), ("Visibility", 0)],
    "Button1": [("Align", 1), ("XCoord", 59), ("YCoord", 5), ("Action", 1), ("Visibility", 2), ("Visibility1", 6)],
    "Button2": [("Align", 1), ("XCoord", 83), ("YCoord", 5), ("Action", 2), ("Visibility", 8)],
    "Button3": [("Align", 1), ("XCoord", 59), ("YCoord", 5), ("Action", 1), ("Visibility", 1)],
    "Button4": [("Align", 0), ("XCoord", 8), ("YCoord", 7), ("Action", 3), ("Visibility", 0)],
}


def description(rows):
    sections = {}
    order = []

    def section(name):
        if name not in sections:
            sections[name] = []
            order.append(name)
        return sections[name]

    for row in rows:
        if not row["key"]:
            continue
        name, key = row["key"]
        lines = section(name)
        lines.append((key, row["entry"] + ".bmp"))
        m = row["margins"]
        if name == "Personality" and m:
            vertical = key in ("Left", "Right")
            lines += [(key + "TopHeight", m[1] if vertical else m[0]), (key + "BotHeight", m[3] if vertical else m[2])]
        elif m and key in ("Image", "Bitmap"):
            lines += [("LeftWidth", m[0]), ("TopHeight", m[1]), ("RightWidth", m[2]), ("BottomHeight", m[3])]
    section("Button4")
    out = ["; Folhavida's skin, written by tools/draw_skin.py from skin/SkinLayout.txt", ""]
    for name in order:
        out.append("[%s]" % name)
        out += ["%s=%s" % (k, v) for k, v in sections[name] + SETTINGS.get(name, [])]
        out.append("")
    out.append("[Colours]")
    out += ["%s=%d %d %d" % (k, *c) for k, c in COLOURS]
    return "\r\n".join(out) + "\r\n"


# ---- the engine's own bitmaps ----

def track_rows():
    s, g, w = (192, 192, 192), (128, 128, 128), WHITE
    return [[s, s] + [g] * 12 + [w, w], [s, s] + [w] * 14, [g, s] + [w] * 14, [s, s] + [w] * 14]


def resources():
    track = Canvas(16, 4)
    track.pixels = track_rows()
    vert = Canvas(4, 16)
    vert.pixels = [[track.pixels[x][y] for x in range(4)] for y in range(16)]
    glyphs = Canvas(64, 16, WHITE)
    for i, glyph in enumerate((RESTORE, MAXIMIZE, MINIMIZE, CLOSE)):
        glyphs.glyph(i * 16 + 4, 4, glyph, BLACK)
    write(os.path.join(RESOURCES, "track.bmp"), bmp_bytes(track, 24))
    write(os.path.join(RESOURCES, "trackvert.bmp"), bmp_bytes(vert, 24))
    write(os.path.join(RESOURCES, "skinmenuglyphs.bmp"), bmp_bytes(glyphs, 1))
    return [track, vert, glyphs]


# ---- the contact sheet ----

DIGITS = ["###,#.#,#.#,#.#,###", ".#.,##.,.#.,.#.,###", "###,..#,###,#..,###", "###,..#,###,..#,###",
          "#.#,#.#,###,..#,..#", "###,#..,###,..#,###", "###,#..,###,#.#,###", "###,..#,..#,..#,..#",
          "###,#.#,###,#.#,###", "###,#.#,###,..#,###"]


def number(c, x, y, value, colour, scale=2):
    for i, ch in enumerate(str(value)):
        rows = DIGITS[int(ch)].split(",")
        for dy, row in enumerate(rows):
            for dx, on in enumerate(row):
                if on == "#":
                    c.fill(x + (i * 4 + dx) * scale, y + dy * scale, scale, scale, colour)


def contact_sheet(rows, canvases, extra):
    zoom, gap = 4, 6
    items = []
    for row, canvas in zip(rows, canvases):
        n = row["frames"]
        across = row["layout"] == "across"
        fw = canvas.width // n if across else canvas.width
        fh = canvas.height if across else canvas.height // n
        frames = []
        for f in range(n):
            piece = Canvas(fw, fh)
            for y in range(fh):
                for x in range(fw):
                    piece.pixels[y][x] = canvas.pixels[y + (0 if across else f * fh)][x + (f * fw if across else 0)]
            frames.append(piece)
        items.append(frames)
    items += [[c] for c in extra]
    width = max(40 + sum(f.width * zoom + gap for f in frames) for frames in items) + 10
    height = sum(max(f.height for f in frames) * zoom + 18 for frames in items) + 10
    sheet = Canvas(width, height, (120, 124, 130))
    y = 5
    for i, frames in enumerate(items, 1):
        number(sheet, 4, y + 12, i, WHITE)
        x = 40
        for f, piece in enumerate(frames, 1):
            number(sheet, x, y, f, (255, 255, 160))
            for py in range(piece.height):
                for px in range(piece.width):
                    sheet.fill(x + px * zoom, y + 12 + py * zoom, zoom, zoom, piece.pixels[py][px])
            x += piece.width * zoom + gap
        y += max(f.height for f in frames) * zoom + 18
    return sheet


def main():
    sheet_path = sys.argv[1] if len(sys.argv) > 1 else os.path.join(ROOT, "build", "skin-contact-sheet.png")
    rows = read_layout()
    os.makedirs(OURS, exist_ok=True)
    os.makedirs(RESOURCES, exist_ok=True)
    canvases = []
    for row in rows:
        canvas = Canvas(row["width"], row["height"])
        DRAWERS[row["entry"]](canvas, row["frames"])
        write(os.path.join(OURS, row["entry"] + ".bmp"), bmp_bytes(canvas, row["bits"]))
        canvases.append(canvas)
    write(os.path.join(OURS, "skin.ini"), description(rows).encode("ascii"))
    extra = resources()
    os.makedirs(os.path.dirname(sheet_path), exist_ok=True)
    write(sheet_path, png_bytes(contact_sheet(rows, canvases, extra)))
    print("wrote %d bitmaps, the description and %s" % (len(rows), sheet_path))


if __name__ == "__main__":
    main()
