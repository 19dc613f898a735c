#!/usr/bin/env python3
"""Compares renders of a résumé page with its preview (binary PPMs of one size).

The preview shows where things are: the photo's four plain quarters (red, lime, blue, yellow) on
the page that has it, the long rules (page frame, section lines) and the lines of text (left of
the photo). Each render must show the photo over the same box with every quarter's colour in its
middle (and no photo where the preview has none), a rule within a few pixels of each of the
preview's (the PDF's dashed where the preview's is), and as many lines of text, each within a
few pixels of the preview's. The PDF underlines the lines the preview underlines; the HTML page
underlines none. The figures are printed: how far each render's text lies from the preview's.
  compare_renders.py <preview.ppm> <NAME=render.ppm>...
"""
import sys

QUARTERS = {"red": (255, 0, 0), "lime": (0, 255, 0), "blue": (0, 0, 255), "yellow": (255, 255, 0)}
EDGE_SLACK = 3  # pixels: the PDF reader's anti-aliasing, the JPEG's blurred edges
COLOUR_SLACK = 24  # per channel at a quarter's middle (the JPEG's rounding)
# The HTML page puts a horizontal-line shape's rule at the shape's top, the preview draws it
# through the shape's middle: 3 pixels apart at 96 dpi.
RULE_SLACK = 4
RULE_SHARE = 0.4  # a rule covers this share of the page's width (height) at least
TEXT_SLACK = 3  # pixels between a text line's middle (or start) in the preview and in a render
DASH_SHARE = 0.85  # a rule inked along less of its length than this is dashed
UNDERLINE_SHARE = 0.9  # an underline runs unbroken along this share of its line's ink at least
UNDERLINE_LEAST = 20  # pixels: a line narrower than this is not looked at for an underline


def load(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        if data[at:at + 1] == b"#":
            while data[at:at + 1] not in (b"\n", b""):
                at += 1
            continue
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    if fields[0] != b"P6" or fields[3] != b"255":
        sys.exit("%s: not an 8-bit binary PPM" % path)
    return int(fields[1]), int(fields[2]), data[at + 1:]


class Image:
    def __init__(self, path):
        self.width, self.height, self.pixels = load(path)

    def at(self, x, y):
        i = (y * self.width + x) * 3
        return tuple(self.pixels[i:i + 3])

    def box_of(self, colour, slack):
        """The smallest box holding every pixel within slack of the colour: (x0, y0, x1, y1)."""
        x0 = y0 = 10 ** 9
        x1 = y1 = -1
        w, p = self.width, self.pixels
        r, g, b = colour
        for y in range(self.height):
            row = p[y * w * 3:(y + 1) * w * 3]
            for x in range(w):
                i = x * 3
                if abs(row[i] - r) <= slack and abs(row[i + 1] - g) <= slack and abs(row[i + 2] - b) <= slack:
                    x0, x1 = min(x0, x), max(x1, x)
                    y0, y1 = min(y0, y), max(y1, y)
        return None if x1 < 0 else (x0, y0, x1, y1)

    def dark_counts(self):
        """Dark pixels per row and per column (a rule drawn grey over two lines counts)."""
        rows, cols = [0] * self.height, [0] * self.width
        w, p = self.width, self.pixels
        for y in range(self.height):
            row = p[y * w * 3:(y + 1) * w * 3]
            for x in range(w):
                i = x * 3
                if row[i] + row[i + 1] + row[i + 2] < 3 * 180:
                    rows[y] += 1
                    cols[x] += 1
        return rows, cols


def dark(row, x):
    return row[3 * x] + row[3 * x + 1] + row[3 * x + 2] < 3 * 180


def text_lines(image, left, right):
    """The lines of text between x = left and x = right, as (top, bottom, first inked x): runs of
    rows with some ink but less than a rule's share."""
    w, p = image.width, image.pixels
    x0, x1 = left, right
    found, run = [], []
    for y in range(image.height + 1):
        ink = []
        if y < image.height:
            row = p[y * w * 3:(y + 1) * w * 3]
            ink = [x for x in range(x0, x1) if dark(row, x)]
        if ink and len(ink) < RULE_SHARE * (x1 - x0):
            run.append((y, ink[0]))
        elif run:
            found.append((run[0][0], run[-1][0], min(x for _, x in run)))
            run = []
    return found


def underlined(image, line, left, right):
    """Whether a line of text has an underline: a row in it inked without a break along nearly
    the whole of the line's inked width (letters leave gaps between them)."""
    top, bottom, _ = line
    w, p = image.width, image.pixels
    rows = []
    for y in range(top, bottom + 1):
        row = p[y * w * 3:(y + 1) * w * 3]
        rows.append([x for x in range(left, right) if dark(row, x)])
    inked = [x for ink in rows for x in ink]
    if not inked:
        return False
    span = max(inked) - min(inked) + 1
    for ink in rows:
        longest = run = 0
        for a, b in zip(ink, ink[1:]):
            run = run + 1 if b == a + 1 else 0
            longest = max(longest, run + 1)
        if span >= UNDERLINE_LEAST and longest >= UNDERLINE_SHARE * span:
            return True
    return False


def rules(counts, length):
    """The positions whose dark count reaches the share, runs of neighbours as one (their middle)."""
    found, run = [], []
    for i, c in enumerate(counts + [0]):
        if c >= RULE_SHARE * length:
            run.append(i)
        elif run:
            found.append(sum(run) / len(run))
            run = []
    return found


def row_share(image, y, x0, x1):
    """The share of dark pixels along row y between x0 and x1."""
    w, p = image.width, image.pixels
    row = p[y * w * 3:(y + 1) * w * 3]
    return sum(1 for x in range(x0, x1) if dark(row, x)) / max(x1 - x0, 1)


def dashed(image, at, x0, x1):
    """Whether the rule near row `at` is broken into dashes: its darkest row (an anti-aliased rule
    spreads over two) leaves a good part of its length blank."""
    rows = [y for y in range(int(at) - 1, int(at) + 2) if 0 <= y < image.height]
    return max(row_share(image, y, x0, x1) for y in rows) < DASH_SHARE


def main():
    preview = Image(sys.argv[1])
    renders = [(arg.split("=", 1)[0], Image(arg.split("=", 1)[1])) for arg in sys.argv[2:]]
    problems = []

    # The photo's quarters, on the page that has the photo.
    boxes = {name: preview.box_of(colour, 16) for name, colour in QUARTERS.items()}
    photo = None
    if any(boxes.values()):
        if None in boxes.values() or not (boxes["red"][2] < boxes["lime"][0] and boxes["red"][3] < boxes["blue"][1]
                                          and boxes["blue"][2] < boxes["yellow"][0]
                                          and boxes["lime"][3] < boxes["yellow"][1]):
            sys.exit("FAIL: the preview's photo quarters are out of order: %r" % boxes)
        photo = (boxes["red"][0], boxes["red"][1], boxes["yellow"][2], boxes["yellow"][3])
        print("preview %dx%d: photo %d,%d-%d,%d" % ((preview.width, preview.height) + photo))
    rows, cols = preview.dark_counts()
    preview_rows, preview_cols = rules(rows, preview.width), rules(cols, preview.height)
    print("preview rules: rows %s, columns %s" % ([round(r, 1) for r in preview_rows],
                                                  [round(c, 1) for c in preview_cols]))
    if not preview_rows or len(preview_cols) < 2:
        sys.exit("FAIL: the preview shows no page frame")
    # Inside the frame, left of the photo.
    text_left, text_right = int(preview_cols[0]) + 4, (photo[0] if photo else int(preview_cols[-1])) - 5
    preview_text = text_lines(preview, text_left, text_right)
    preview_underlined = [underlined(preview, line, text_left, text_right) for line in preview_text]
    print("preview: %d lines of text, underlined at rows %s" % (
        len(preview_text), [line[0] for line, under in zip(preview_text, preview_underlined) if under]))

    for label, image in renders:
        if (image.width, image.height) != (preview.width, preview.height):
            problems.append("%s: %dx%d, the preview %dx%d" % (label, image.width, image.height, preview.width,
                                                             preview.height))
            continue
        # The quarters' outer edges; the JPEG blurs the edges between them.
        got = {name: image.box_of(colour, 60) for name, colour in QUARTERS.items()}
        if photo is None:
            if any(got.values()):
                problems.append("%s: a photo's colours where the preview has none: %s" % (label, got))
        elif None in got.values():
            problems.append("%s: the photo's quarters %s" % (label, got))
        else:
            mine = (got["red"][0], got["red"][1], got["yellow"][2], got["yellow"][3])
            print("%s: photo %d,%d-%d,%d" % ((label,) + mine))
            if max(abs(a - b) for a, b in zip(mine, photo)) > EDGE_SLACK:
                problems.append("%s: the photo at %s, the preview's at %s" % (label, mine, photo))
            for name, colour in QUARTERS.items():
                want = boxes[name]
                middle = image.at((want[0] + want[2]) // 2, (want[1] + want[3]) // 2)
                if max(abs(a - b) for a, b in zip(middle, colour)) > COLOUR_SLACK:
                    problems.append("%s: the %s quarter's middle is %s" % (label, name, middle))
        rows, cols = image.dark_counts()
        mine_rows, mine_cols = rules(rows, image.width), rules(cols, image.height)
        print("%s rules: rows %s, columns %s" % (label, [round(r, 1) for r in mine_rows],
                                                 [round(c, 1) for c in mine_cols]))
        for kind, theirs, mine in (("row", preview_rows, mine_rows), ("column", preview_cols, mine_cols)):
            for at in theirs:
                if not any(abs(at - m) <= RULE_SLACK for m in mine):
                    problems.append("%s: no rule near %s %.1f" % (label, kind, at))
        # The PDF draws the pen's dashes as the preview does (the HTML page has solid rules only).
        if label == "PDF" and len(preview_cols) >= 2:
            x0, x1 = int(preview_cols[0]) + 3, int(preview_cols[-1]) - 3
            print("%s: dashed rules at rows %s" % (label, [round(at, 1) for at in preview_rows[1:-1]
                                                         if dashed(preview, at, x0, x1)]))
            for at in preview_rows[1:-1]:
                near = [m for m in mine_rows if abs(at - m) <= RULE_SLACK]
                if near and dashed(preview, at, x0, x1) != dashed(image, near[0], x0, x1):
                    problems.append("%s: the rule at row %.1f is %s, the preview's %s" % (
                        label, at, "dashed" if dashed(image, near[0], x0, x1) else "solid",
                        "dashed" if dashed(preview, at, x0, x1) else "solid"))
        text = text_lines(image, text_left, text_right)
        if len(text) != len(preview_text):
            problems.append("%s: %d lines of text, the preview %d" % (label, len(text), len(preview_text)))
            continue
        downs = [(t + b - pt - pb) / 2 for (t, b, _), (pt, pb, _) in zip(text, preview_text)]
        rights = [x - px for (_, _, x), (_, _, px) in zip(text, preview_text)]
        print("%s text: lines %+.1f to %+.1f px down, starts %+d to %+d px right of the preview's"
              % (label, min(downs), max(downs), min(rights), max(rights)))
        for (t, b, x), (pt, pb, px), down, right in zip(text, preview_text, downs, rights):
            if abs(down) > TEXT_SLACK or abs(right) > TEXT_SLACK:
                problems.append("%s: the line of text at %d-%d from %d is at %d-%d from %d" % (label, pt, pb, px, t, b, x))
        # The PDF underlines what the preview does; the HTML page renders no underline.
        mine_underlined = [underlined(image, line, text_left, text_right) for line in text]
        print("%s: underlined lines at rows %s" % (label, [line[0] for line, under in zip(text, mine_underlined) if under]))
        for line, theirs, mine in zip(preview_text, preview_underlined, mine_underlined):
            wanted = theirs if label == "PDF" else False
            if mine != wanted:
                problems.append("%s: the line of text at %d-%d is %sunderlined" % (label, line[0], line[1],
                                                                                 "" if mine else "not "))
    if problems:
        sys.exit("FAIL: " + "; ".join(problems))


main()
