#!/usr/bin/env python3
"""Draws Folhavida's authored pictures into app/images/.

Glyphs and menu images are 16x16 pixel art drawn from the character grids below, written as
24-bit BMP files by this script (standard library only). Magenta marks the transparent pixels
(buttons take the bottom-left pixel as their transparent colour, the menu image list masks
magenta). The splash and about pictures are drawn with ImageMagick's `convert`.

Run from the repository root:  python3 tools/draw_app_images.py
"""
import os
import struct
import subprocess
import sys

OUT = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "app", "images")
FONT_DIR = "/usr/share/fonts/truetype/liberation"

PALETTE = {
    ".": (255, 0, 255),   # transparent
    "k": (32, 32, 40),
    "w": (255, 255, 255),
    "g": (200, 204, 210),
    "G": (128, 132, 140),
    "y": (250, 214, 90),
    "Y": (204, 150, 40),
    "b": (52, 112, 200),
    "B": (28, 62, 122),
    "l": (170, 204, 240),
    "s": (128, 190, 240),
    "r": (220, 50, 50),
    "R": (150, 24, 24),
    "n": (60, 168, 70),
    "N": (30, 110, 42),
    "p": (240, 160, 176),
    "P": (200, 100, 120),
    "o": (244, 150, 48),
}

GLYPHS = {
    # a webcam on its stand
    "webcam": [
        "................",
        ".....kkkkkk.....",
        "...kkggggggkk...",
        "..kggggggggggk..",
        "..kgggkkkkgggk..",
        ".kgggkBBBBkgggk.",
        ".kggkBbllbBkggk.",
        ".kggkBblwbBkggk.",
        ".kggkBbbbbBkggk.",
        ".kgggkBBBBkgggk.",
        "..kgggkkkkgggk..",
        "..kGggggggggGk..",
        "...kkGGGGGGkk...",
        ".....kkGGkk.....",
        "...kkGGGGGGkk...",
        "...kkkkkkkkkk...",
    ],
    # a photo under a magnifying glass
    "findphoto": [
        "kkkkkkkkkkkkkk..",
        "ksssssssssyysk..",
        "ksssssssssyysk..",
        "kssssssssssssk..",
        "ksssssnsssssk...",
        "kssssnnnskkkk...",
        "ksssnnnnkwllwk..",
        "kssnnnNkwllllwk.",
        "ksnnnNNklllllwk.",
        "knnnNNNklllllwk.",
        "kkkkkkkkwllllwk.",
        ".........kwwwkk.",
        "..........kkkkkk",
        "..............kk",
        "...............k",
        "................",
    ],
    # a red cross
    "delete": [
        "................",
        ".rr.........rr..",
        ".rRr.......rRr..",
        "..rRr.....rRr...",
        "...rRr...rRr....",
        "....rRr.rRr.....",
        ".....rRrRr......",
        "......rRr.......",
        ".....rRrRr......",
        "....rRr.rRr.....",
        "...rRr...rRr....",
        "..rRr.....rRr...",
        ".rRr.......rRr..",
        ".rr.........rr..",
        "................",
        "................",
    ],
    # an open folder
    "open": [
        "................",
        "................",
        ".kkkk...........",
        "kyyyyk..........",
        "kyYYYYkkkkkkk...",
        "kyYyyyyyyyyyk...",
        "kyYyyyyyyyyyk...",
        "kyYykkkkkkkkkkkk",
        "kyYkyyyyyyyyyyyk",
        "kyykyyyyyyyyyyk.",
        "kykyyyyyyyyyyyk.",
        "kykyyyyyyyyyyk..",
        "kkyyyyyyyyyyyk..",
        "kkkkkkkkkkkkkk..",
        "................",
        "................",
    ],
    # a floppy disk
    "save": [
        "................",
        ".kkkkkkkkkkkkkk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbwGGGGGGwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbwGGGGGGwbbk.",
        ".kbbwwwwwwwwbbk.",
        ".kbbbbbbbbbbbbk.",
        ".kbbbBBBBBBbbbk.",
        ".kbbBggggBgBbbk.",
        ".kbbBggggBgBbbk.",
        ".kbbBggggBgBbbk.",
        ".kbbBggggggBbbk.",
        "..kkkkkkkkkkkkk.",
        "................",
    ],
    # an eraser wiping a line
    "clear": [
        "................",
        "........kkk.....",
        ".......kpppk....",
        "......kppppPk...",
        ".....kppppPPPk..",
        "....kppppPPPPPk.",
        "...kwwwpPPPPPk..",
        "..kwwwwwkPPPk...",
        ".kwwwwwwwkPk....",
        ".kGwwwwwwwk.....",
        "..kGwwwwwk......",
        "...kGwwwk.......",
        "....kkkk........",
        "................",
        "..GGGGGGGGGGGG..",
        "................",
    ],
    # a résumé sheet with a green tick
    "generate": [
        "..kkkkkkkkk.....",
        "..kwwwwwwwkk....",
        "..kwsswGwwkwk...",
        "..kwsswwwwkkkk..",
        "..kwwwwGGGwwwk..",
        "..kwGGGGGGGGwk..",
        "..kwwwwwwwwwwk..",
        "..kwGGGGGGwwwk..",
        "..kwwwwwwwwwwnn.",
        "..kwGGGGGGwwnnN.",
        "..kwwwwwwwwnnN..",
        "..kwGGGnnwnnN...",
        "..kwwwwNnnnN....",
        "..kwwwwwNnN.....",
        "..kkkkkkkNk.....",
        "................",
    ],
    # a globe with a download arrow: look for a newer version
    "update": [
        "....kkkkk.......",
        "..kkbnnbbkk.....",
        ".kbnnnnbbbbk....",
        ".knnnnnbbnnk....",
        "kbnnnnbbbnnnk...",
        "kbbnnbbbbbnnk...",
        "kbbbnbbbbbbbk...",
        "kbbbbnnbbkkkk...",
        "kbbbbnnnbkook...",
        ".kbbbnnbbkook...",
        ".kbbbbnbbkook...",
        "..kkbbbkkkookkk.",
        "....kkkkooooook.",
        "........kooook..",
        ".........kook...",
        "..........kk....",
    ],
}

BUTTON_GLYPHS = {
    "glyph_webcam": "webcam",
    "glyph_findphoto": "findphoto",
    "glyph_deletephoto": "delete",
    "glyph_open": "open",
    "glyph_save": "save",
    "glyph_clear": "clear",
    "glyph_generate": "generate",
}
# The updater's buttons: "Atualizar" (an arrow down onto a disk) and "Desconectar" (a plug
# pulled from its socket), written into updater/images/.
UPDATER_GLYPHS = {
    "glyph_update": [
        "................",
        "......nnnn......",
        "......nNNn......",
        "......nNNn......",
        "......nNNn......",
        "...nnnnNNnnnn...",
        "....nNNNNNNn....",
        ".....nNNNNn.....",
        "......nNNn......",
        ".......nn.......",
        "..kkkkkkkkkkkk..",
        "..kggggggggggk..",
        "..kgggggggnngk..",
        "..kggggggggggk..",
        "..kkkkkkkkkkkk..",
        "................",
    ],
    "glyph_disconnect": [
        "................",
        "..k..k..........",
        "..k..k..........",
        ".kkkkkk.........",
        ".kGGGGk.........",
        ".kGGGGk.....r...",
        "..kGGk.....r....",
        "...kk.....r.....",
        "...kk....r......",
        "....kk..........",
        ".....kk...kkkk..",
        "......k..kggggk.",
        ".........kgkkgk.",
        ".........kggggk.",
        "..........kkkk..",
        "................",
    ],
}

# Menu image list, indices as the main menu uses them: 0 update, 1 generate, 2 clear, 3 open, 4 save.
MENU_STRIP = ["update", "generate", "clear", "open", "save"]


def write_bmp(path, width, height, pixel):
    """24-bit bottom-up BMP; pixel(x, y) gives (r, g, b) with y = 0 at the top."""
    row_size = (width * 3 + 3) & ~3
    data = bytearray()
    for y in range(height - 1, -1, -1):
        row = bytearray()
        for x in range(width):
            r, g, b = pixel(x, y)
            row += bytes((b, g, r))
        row += b"\0" * (row_size - len(row))
        data += row
    header = struct.pack("<2sIHHI", b"BM", 14 + 40 + len(data), 0, 0, 14 + 40)
    info = struct.pack("<IiiHHIIiiII", 40, width, height, 1, 24, 0, len(data), 2835, 2835, 0, 0)
    with open(path, "wb") as f:
        f.write(header + info + data)


def check(name, grid):
    if len(grid) != 16 or any(len(row) != 16 for row in grid):
        sys.exit(f"glyph {name}: grid must be 16x16")
    if any(ch not in PALETTE for row in grid for ch in row):
        sys.exit(f"glyph {name}: unknown colour key")
    if grid[15][0] != ".":
        sys.exit(f"glyph {name}: the bottom-left pixel must be transparent")


def draw_glyphs():
    for name, grid in GLYPHS.items():
        check(name, grid)
    for file_name, glyph in BUTTON_GLYPHS.items():
        grid = GLYPHS[glyph]
        write_bmp(os.path.join(OUT, file_name + ".bmp"), 16, 16, lambda x, y: PALETTE[grid[y][x]])
    strip = [GLYPHS[g] for g in MENU_STRIP]
    write_bmp(os.path.join(OUT, "menu_images.bmp"), 16 * len(strip), 16,
              lambda x, y: PALETTE[strip[x // 16][y][x % 16]])


def icon_pixel(size, x, y):
    """Folhavida's icon at size x size: a sheet with a photo and lines of text, its corner folded,
    and a green leaf at the bottom right. (r, g, b, a) with y = 0 at the top."""
    u = size / 32.0
    X, Y = (x + 0.5) / u, (y + 0.5) / u  # the 32-pixel design's coordinates
    # the leaf: an ellipse leaning up to the right, with a darker vein
    cx, cy = 23.5, 23.5
    dx, dy = X - cx, Y - cy
    a, b = (dx - dy) / 1.4142, (dx + dy) / 1.4142
    if (a / 8.5) ** 2 + (b / 4.6) ** 2 <= 1.0:
        if abs(b) < 0.55 * (1.0 / u) ** 0.5 and abs(a) < 7.5:
            return (30, 110, 42, 255)
        if (a / 8.5) ** 2 + (b / 4.6) ** 2 > 0.72:
            return (30, 110, 42, 255)
        return (60, 168, 70, 255)
    # the sheet, its top-right corner folded
    left, top, right, bottom, fold = 5, 2, 25, 29, 6
    if left <= X <= right and top <= Y <= bottom:
        if X - left < 1 or right - X < 1 or Y - top < 1 or bottom - Y < 1:
            if X + (top - Y) <= right - fold:
                return (52, 62, 80, 255)
        if X - (right - fold) > Y - top:  # beyond the fold
            if abs((X - (right - fold)) - (Y - top)) < 1:
                return (52, 62, 80, 255)
            return (0, 0, 0, 0)
        if right - fold <= X <= right and top <= Y <= top + fold:  # the folded flap
            if abs(X - (right - fold)) < 1 or abs(Y - (top + fold)) < 1:
                return (52, 62, 80, 255)
            return (200, 204, 210, 255)
        if 8 <= X <= 15 and 6 <= Y <= 14:  # the photo
            if ((X - 11.5) / 2.0) ** 2 + ((Y - 9) / 2.2) ** 2 <= 1:
                return (52, 112, 200, 255)
            if Y > 11.5 and ((X - 11.5) / 3.4) ** 2 + ((Y - 15) / 3.2) ** 2 <= 1:
                return (52, 112, 200, 255)
            return (170, 204, 240, 255)
        for line_top, line_right in ((17, 22), (20.5, 22), (24, 16)):
            if line_top <= Y < line_top + 1.6 and 8 <= X <= line_right:
                return (128, 132, 140, 255)
        if 17 <= X <= 22 and (7 <= Y < 8.6 or 10.5 <= Y < 12.1):
            return (128, 132, 140, 255)
        return (255, 255, 255, 255)
    return (0, 0, 0, 0)


def icon_image(size):
    """One image of an icon file: a 32-bit bottom-up DIB of doubled height and its AND mask."""
    pixels = bytearray()
    for y in range(size - 1, -1, -1):
        for x in range(size):
            r, g, b, a = icon_pixel(size, x, y)
            pixels += bytes((b, g, r, a))
    mask_row = ((size + 31) // 32) * 4
    mask = bytearray()
    for y in range(size - 1, -1, -1):
        row = bytearray(mask_row)
        for x in range(size):
            if icon_pixel(size, x, y)[3] == 0:
                row[x // 8] |= 0x80 >> (x % 8)
        mask += row
    info = struct.pack("<IiiHHIIiiII", 40, size, size * 2, 1, 32, 0, len(pixels) + len(mask), 0, 0, 0, 0)
    return info + pixels + mask


def draw_updater_images():
    """The updater's glyphs, and its 57x57 picture: the icon's sheet and leaf on the window's grey."""
    out = os.path.join(os.path.dirname(OUT), "..", "updater", "images")
    os.makedirs(out, exist_ok=True)
    for name, grid in UPDATER_GLYPHS.items():
        check(name, grid)
        write_bmp(os.path.join(out, name + ".bmp"), 16, 16, lambda x, y, g=grid: PALETTE[g[y][x]])

    def picture(x, y):
        r, g, b, a = icon_pixel(57, x, y)
        if a:
            return (r, g, b)
        return (240, 240, 240)
    write_bmp(os.path.join(out, "update_picture.bmp"), 57, 57, picture)


def draw_icon():
    """folhavida.ico, the icon of both programs, at 16 and 32 pixels."""
    images = [icon_image(16), icon_image(32)]
    offset = 6 + 16 * len(images)
    directory = struct.pack("<HHH", 0, 1, len(images))
    for size, image in zip((16, 32), images):
        directory += struct.pack("<BBBBHHII", size, size, 0, 0, 1, 32, len(image), offset)
        offset += len(image)
    with open(os.path.join(OUT, "folhavida.ico"), "wb") as f:
        f.write(directory + b"".join(images))


def font(name):
    return os.path.join(FONT_DIR, name)


SHEET = [  # a small résumé sheet drawn at (x, y): paper, photo, text lines
    "fill #00000040 stroke none roundrectangle {x2},{y2} {x3},{y3} 4,4",
    "fill white stroke #9AB0CC stroke-width 1 roundrectangle {x},{y} {x1},{y1} 4,4",
    "fill #7FB2E8 stroke #3F6FA8 roundrectangle {px},{py} {px1},{py1} 2,2",
    "fill #F3F6FA stroke none circle {hx},{hy} {hx},{hr}",
    "fill #F3F6FA stroke none ellipse {hx},{by} 9,6 180,360",
]


def sheet_commands(x, y, w, h):
    v = dict(x=x, y=y, x1=x + w, y1=y + h, x2=x + 4, y2=y + 4, x3=x + w + 4, y3=y + h + 4,
             px=x + 8, py=y + 8, px1=x + 32, py1=y + 38, hx=x + 20, hy=y + 19, hr=y + 25,
             by=y + 38)
    cmds = [c.format(**v) for c in SHEET]
    lines = [(x + 38, y + 11, 28, "#1E4B8C"), (x + 38, y + 19, 22, "#9AA7B8"),
             (x + 38, y + 27, 26, "#9AA7B8")]
    ly = y + 48
    while ly < y + h - 8:
        lines.append((x + 8, ly, w - 16 if (ly - y) % 16 else w - 28, "#B4BFCC"))
        ly += 8
    for lx, ly, lw, colour in lines:
        cmds.append(f"fill {colour} stroke none rectangle {lx},{ly} {lx + lw},{ly + 2}")
    return cmds


def convert(args, out_name):
    path = os.path.join(OUT, out_name)
    subprocess.run(["convert"] + args + ["-type", "TrueColor", "BMP3:" + path], check=True)


def draws(cmds):
    out = []
    for c in cmds:
        out += ["-draw", c]
    return out


def text(x, y, size, colour, face, words, gravity="NorthWest"):
    return ["-gravity", gravity, "-font", font(face), "-pointsize", str(size), "-fill", colour,
            "-stroke", "none", "-annotate", f"+{x}+{y}", words]


def draw_splash():
    # 252 x 201; the window shows 250 x 198 of it, the progress bar covers (8,168)-(241,185).
    args = ["-size", "252x201", "gradient:#2A6FC0-#0D2A55"]
    args += draws([
        "fill #FFFFFF10 stroke none circle 230,20 300,20",
        "fill #FFFFFF0C stroke none circle 20,190 90,190",
    ])
    args += draws(sheet_commands(18, 24, 74, 100))
    # a green tick badge on the sheet's corner
    args += draws([
        "fill #2FA84F stroke white stroke-width 2 circle 88,116 88,102",
        "fill none stroke white stroke-width 3 polyline 81,116 86,121 95,110",
    ])
    args += text(108, 40, 26, "white", "LiberationSans-Bold.ttf", "Folhavida")
    args += text(110, 74, 20, "#FFC94A", "LiberationSans-Bold.ttf", "3.0")
    args += text(108, 104, 12, "#D6E6FA", "LiberationSans-Regular.ttf", "Crie o seu currículo")
    args += text(108, 120, 12, "#D6E6FA", "LiberationSans-Regular.ttf", "com facilidade!")
    args += draws(["fill #00000040 stroke none rectangle 0,144 252,201",
                   "fill #FFFFFF30 stroke none rectangle 0,144 252,144"])
    args += text(8, 150, 10, "#E8F0FA", "LiberationSans-Regular.ttf", "Carregando...")
    convert(args, "splash.bmp")


def draw_about():
    # 249 x 201; the window's client area is 250 x 200.
    args = ["-size", "249x201", "xc:#F4F7FB"]
    args += ["(", "-size", "249x86", "gradient:#2A6FC0-#123A70", ")", "-geometry", "+0+0",
             "-composite"]
    args += draws(sheet_commands(14, 12, 46, 62)[:5])
    args += draws([f"fill #B4BFCC stroke none rectangle 22,{y} 52,{y + 1}" for y in (54, 60, 66)])
    args += text(74, 18, 24, "white", "LiberationSans-Bold.ttf", "Folhavida")
    args += text(194, 22, 18, "#FFC94A", "LiberationSans-Bold.ttf", "3.0")
    args += text(75, 52, 10, "#D6E6FA", "LiberationSans-Regular.ttf",
                 "Crie o seu currículo com facilidade!")
    args += draws(["fill #FFC94A stroke none rectangle 0,86 249,88"])
    body = "LiberationSans-Regular.ttf"
    args += text(14, 100, 11, "#1E3550", "LiberationSans-Bold.ttf", "Sobre o programa")
    rows = ["Preencha os seus dados, experiências,", "escolaridade e cursos, escolha o estilo",
            "e gere o seu currículo pronto para", "imprimir, salvar ou exportar."]
    for i, row in enumerate(rows):
        args += text(14, 118 + i * 14, 10, "#34495E", body, row)
    args += draws(["fill #C9D4E2 stroke none rectangle 14,178 235,178"])
    args += text(14, 182, 10, "#5A6B7E", body, "Versão 3.0")
    convert(args, "about.bmp")


# The lettering models of the style form, each written in the face it stands for (or the
# close free face that stands in for it under Wine).
MODELS = [
    ("model1.bmp", os.path.join(FONT_DIR, "LiberationSans-Regular.ttf"), "Arial", 15, 11),
    ("model2.bmp", "/usr/share/fonts/opentype/urw-base35/Z003-MediumItalic.otf", "Monotype Corsiva", 19, 14),
    ("model3.bmp", "/usr/share/fonts/opentype/kaushanscript/KaushanScript-Regular.otf", "Brush Script MT", 16, 12),
]


def draw_models():
    # 185 x 162: a sheet of résumé on a soft background, written in the model's lettering.
    for out_name, face, label, big, small in MODELS:
        args = ["-size", "185x162", "gradient:#E9EFF7-#CBD7E6"]
        args += draws([
            "fill #00000030 stroke none roundrectangle 14,10 177,150 5,5",
            "fill white stroke #9AB0CC stroke-width 1 roundrectangle 10,6 173,146 5,5",
            "fill #7FB2E8 stroke #3F6FA8 roundrectangle 132,30 162,66 2,2",
            "fill #F3F6FA stroke none circle 147,44 147,50",
            "fill #F3F6FA stroke none ellipse 147,64 9,7 180,360",
            "fill #1E4B8C stroke none rectangle 20,100 164,101",
        ])
        args += text(20, 10, big, "#1E4B8C", face, "Currículo")
        args += text(20, 34, small, "#22313F", face, "Maria da Silva")
        args += text(20, 52, small - 1, "#34495E", face, "Nasc.: 01/01/1985")
        args += text(20, 70, small - 1, "#34495E", face, "Recife - PE")
        args += text(20, 106, small, "#22313F", face, "Experiências")
        args += text(20, 124, small - 1, "#34495E", face, "Empresa Exemplo Ltda.")
        args += draws(["fill #1E4B8CD0 stroke none rectangle 0,148 185,162"])
        args += text(0, 148, 10, "white", "LiberationSans-Bold.ttf", label, gravity="North")
        convert(args, out_name)


def main():
    os.makedirs(OUT, exist_ok=True)
    draw_glyphs()
    draw_icon()
    draw_updater_images()
    draw_splash()
    draw_about()
    draw_models()


if __name__ == "__main__":
    main()
