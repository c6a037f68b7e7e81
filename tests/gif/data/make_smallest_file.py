#!/usr/bin/env python3
"""Writes smallest_file.hex: the expected bytes of a 10 x 10 file of one picture whose
cells are all 5, colour exponents 1 2 3, background not still.

Made from the file layout tables and the colour formula alone, never from the program;
the formula is first checked against the known colours for exponents 0 0 0.
".." stands for a byte of the comment whose text is ours to choose (title, makers, city,
web host, mail address): only its length is fixed.
"""
import math


def hexline(values, note):
    return " ".join("%02X" % v if v >= 0 else ".." for v in values) + "  # " + note


def text(s):
    return list(s.encode("ascii"))


def colour(exponent, position):
    k = 128 / 6.28
    return math.floor(127 * math.sin(2.0 ** exponent * (position / k))) + 128


# The known colours for exponents 0 0 0 come out.
for i, rgb in {0: (128, 238, 18), 1: (134, 234, 15), 2: (140, 231, 12), 32: (254, 64, 64), 64: (128, 17, 237),
               96: (1, 191, 191), 127: (121, 241, 21)}.items():
    assert (colour(0, i), colour(0, 128 / 3 + i), colour(0, 2 * (128 / 3) + i)) == rgb, i

lines = [
    hexline(text("GIF89a"), "signature and version"),
    hexline([10, 0, 10, 0, 0xF6, 0, 0], "screen 10 x 10, global table of 128, background 0, no aspect"),
]
a, b, c = 1, 2, 3
for i in range(128):
    lines.append(hexline([colour(a, i), colour(b, 128 / 3 + i), colour(c, 2 * (128 / 3) + i)], "colour %d" % i))
lines += [
    hexline([0x21, 0xFF, 0x0B] + text("NETSCAPE2.0") + [3, 1, 0, 0, 0], "loop for ever"),
    hexline([0x21, 0xFE, 0xB6], "comment, one sub-block of 182"),
    hexline(text(' Etot file sozdan programmoj "'), "fixed"),
    hexline([-1] * 37, "title"),
    hexline(text('". Razrabotchik programmy - '), "fixed"),
    hexline([-1] * 26, "makers"),
    hexline(text(". g. "), "fixed"),
    hexline([-1] * 4, "city"),
    hexline(text(", 2008 g. http://"), "fixed"),
    hexline([-1] * 14, "web host"),
    hexline(text(" mailto:"), "fixed"),
    hexline([-1] * 12, "mail address"),
    hexline([0, 0], "NUL, terminator"),
    hexline([0x21, 0xF9, 4, 0x08, 50, 0, 0, 0], "control: disposal 2, delay 50, transparent 0 unused"),
    hexline([0x2C, 0, 0, 0, 0, 10, 0, 10, 0, 0, 7, 0xFE], "image 10 x 10 at 0 0, code size 7, sub-block 254"),
    hexline([0x80, 0x05, 0x82, 0x83, 0x84, 0x85, 0x86, 0x87, 0x88, 0x89, 0x8A, 0x8B, 0x8C, 0x8D, 0x89, 0x81],
            "clear, 5, 130..141, 137, end"),
]
lines += [hexline([0] * 14, "padding")] * 17
lines += [hexline([0], "terminator"), hexline([0x3B], "trailer")]

with open("smallest_file.hex", "w") as out:
    out.write("# 10 x 10, one picture, every cell 5, exponents 1 2 3 (written by make_smallest_file.py)\n")
    out.write("\n".join(lines) + "\n")
