#!/usr/bin/env python3
"""Prints the screen position "X Y" of the centre of a square of a chess board in a screenshot.

Usage: board_square.py SCREENSHOT.ppm R,G,B SQUARE [flipped]

The board is found as the bounding box of the pixels of its dark-square colour R,G,B: a1 and h8
are dark, so the box is the whole board. SQUARE is a1..h8; "flipped" when Black is at the bottom.
"""
import sys


def read_ppm(path):
    with open(path, "rb") as handle:
        data = handle.read()
    fields, position = [], 0
    while len(fields) < 4:
        while data[position:position + 1].isspace():
            position += 1
        if data[position:position + 1] == b"#":
            position = data.index(b"\n", position)
            continue
        end = position
        while not data[end:end + 1].isspace():
            end += 1
        fields.append(data[position:end])
        position = end
    if fields[0] != b"P6" or fields[3] != b"255":
        raise SystemExit("board_square.py: %s is not an 8-bit binary PPM" % path)
    return int(fields[1]), int(fields[2]), data[position + 1:]


def main():
    if len(sys.argv) not in (4, 5):
        raise SystemExit(__doc__)
    width, height, pixels = read_ppm(sys.argv[1])
    colour = bytes(int(part) for part in sys.argv[2].split(","))
    square = sys.argv[3]
    flipped = len(sys.argv) == 5 and sys.argv[4] == "flipped"
    left = top = None
    right = bottom = -1
    for y in range(height):
        row = pixels[3 * width * y: 3 * width * (y + 1)]
        first = row.find(colour)
        while first >= 0 and first % 3:
            first = row.find(colour, first + 1)
        if first < 0:
            continue
        last = row.rfind(colour)
        while last >= 0 and last % 3:
            last = row.rfind(colour, 0, last + 2)
        left = first // 3 if left is None else min(left, first // 3)
        right = max(right, last // 3)
        top = y if top is None else top
        bottom = y
    if left is None or right - left < 64 or bottom - top < 64:
        raise SystemExit("board_square.py: no board of colour %s in %s" % (sys.argv[2], sys.argv[1]))
    file_index = ord(square[0]) - ord("a")
    rank_index = int(square[1]) - 1
    if flipped:
        file_index, rank_index = 7 - file_index, 7 - rank_index
    size_x = (right - left + 1) / 8
    size_y = (bottom - top + 1) / 8
    print(int(left + (file_index + 0.5) * size_x), int(bottom + 1 - (rank_index + 0.5) * size_y))


if __name__ == "__main__":
    main()
