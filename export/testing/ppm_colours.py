#!/usr/bin/env python3
"""Checks the colours of a PPM render (as pdftoppm writes it) at given pixels.

Usage: ppm_colours.py <page.ppm> X,Y=R,G,B ...
Each pixel must be within 8 of its colour in every channel; otherwise the program names the
pixels that are not and exits with 1.
"""
import sys


def read_ppm(path):
    data = open(path, "rb").read()
    fields, at = [], 0
    while len(fields) < 4:
        while data[at:at + 1].isspace():
            at += 1
        end = at
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[at:end])
        at = end
    return int(fields[1]), data[at + 1:]


def main():
    width, pixels = read_ppm(sys.argv[1])
    bad = {}
    for spec in sys.argv[2:]:
        place, colour = spec.split("=")
        x, y = map(int, place.split(","))
        wanted = tuple(map(int, colour.split(",")))
        i = (y * width + x) * 3
        got = tuple(pixels[i:i + 3])
        if max(abs(a - b) for a, b in zip(got, wanted)) > 8:
            bad[(x, y)] = got
    if bad:
        sys.exit("FAIL: colours %r" % bad)


main()
