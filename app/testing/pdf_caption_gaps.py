#!/usr/bin/env python3
"""The gap between each caption and its value on the PDF's pages, as its reader lays the words out.

Reads the word boxes of `pdftotext -bbox` (points from the page's top left). A caption is a word
ending in ":" (the last word of "Estado Civil:"); its value is the nearest word to its right on
its line, when it begins within FARTHEST pixels (a caption whose value is empty has the next
column's caption there). The caption must end before its value begins; a caption the reader found run together
with the following letters ("Naturalidade:São") has no gap at all. The gaps are printed in pixels
of a page `width` pixels wide (the preview's), the least first.
  pdf_caption_gaps.py <pdftotext -bbox output> <page width in pixels> <least caption count>
"""
import html
import re
import sys

PAGE = re.compile(r'<page width="([\d.]+)" height="([\d.]+)">(.*?)</page>', re.S)
WORD = re.compile(r'<word xMin="([\d.]+)" yMin="([\d.]+)" xMax="([\d.]+)" yMax="([\d.]+)">(.*?)</word>')
FARTHEST = 40  # pixels
RUN_TOGETHER = re.compile(r"[^\W\d_]:[^\W\d_]")  # letters on both sides of a caption's colon


def main():
    text = open(sys.argv[1], encoding="utf-8").read()
    width, least_count = float(sys.argv[2]), int(sys.argv[3])
    gaps, problems = [], []
    for number, (page_width, _, body) in enumerate(PAGE.findall(text), start=1):
        scale = width / float(page_width)
        words = [(float(a), float(b), float(c), float(d), html.unescape(w)) for a, b, c, d, w in WORD.findall(body)]
        for x0, y0, x1, y1, word in words:
            if RUN_TOGETHER.search(word):
                problems.append("page %d: \"%s\" reads as one word" % (number, word))
            if not word.endswith(":"):
                continue
            # On the same line: the value's middle lies within the caption's height.
            beside = [w for w in words if w[0] > x0 and y0 <= (w[1] + w[3]) / 2 <= y1]
            if not beside:
                continue
            value = min(beside, key=lambda w: w[0])
            gap = (value[0] - x1) * scale
            if gap > FARTHEST:
                continue
            gaps.append((gap, number, word, value[4]))
            if gap <= 0:
                problems.append("page %d: \"%s\" runs %.1f px into \"%s\"" % (number, word, -gap, value[4]))
    gaps.sort()
    if gaps:
        print("PDF: %d captions, least gap %.1f px after %s (page %d): %s" % (
            len(gaps), gaps[0][0], gaps[0][2], gaps[0][1], ", ".join("%s %.1f" % (g[2], g[0]) for g in gaps)))
    if len(gaps) < least_count:
        problems.append("%d captions with a value beside them, at least %d expected" % (len(gaps), least_count))
    if problems:
        sys.exit("FAIL: " + "; ".join(problems))


main()
