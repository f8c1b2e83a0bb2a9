# The characters of a one-line label, as a test sees them on the screen:
# reads a binary PPM of the label alone on standard input and prints one
# word per character, left to right, a checksum of its pixels. The label's
# background is its most common colour; a character is a run of columns that
# hold a pixel clearly off it. Two characters print the same word when they
# are drawn alike, so a test can tell "0" from "1" once it has seen each.
import collections
import hashlib
import sys

data = sys.stdin.buffer.read()
# The header's four words, each followed by one blank; the pixels follow.
header, end = [], 0
for _ in range(4):
    start = end
    while data[start : start + 1].isspace():
        start += 1
    end = start
    while not data[end : end + 1].isspace():
        end += 1
    header.append(data[start:end])
    end += 1
if header[0] != b"P6" or header[3] != b"255":
    sys.exit("glyphs.py: expects a binary PPM of 8-bit colours")
width, height, pixels = int(header[1]), int(header[2]), data[end:]


def at(x, y):
    i = 3 * (y * width + x)
    return pixels[i : i + 3]


background = collections.Counter(at(x, y) for x in range(width) for y in range(height))
background = background.most_common(1)[0][0]


def ink(x):
    return any(
        sum(abs(a - b) for a, b in zip(at(x, y), background)) > 100 for y in range(height)
    )


words, run = [], []
for x in range(width + 1):
    if x < width and ink(x):
        run.append(x)
    elif run:
        columns = b"".join(at(c, y) for c in run for y in range(height))
        words.append(hashlib.md5(columns).hexdigest()[:8])
        run = []
print(" ".join(words))
