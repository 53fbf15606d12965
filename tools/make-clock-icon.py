#!/usr/bin/env python3
"""Draws the status window's clock picture and writes it as a 32 x 32, 16-colour .ico file.

Usage: make-clock-icon.py OUTPUT.ico   (the result is committed as resources/clock.ico)
"""
import math
import struct
import sys

SIZE = 32
# The standard 16-colour palette, as (red, green, blue).
PALETTE = [
    (0, 0, 0), (128, 0, 0), (0, 128, 0), (128, 128, 0), (0, 0, 128), (128, 0, 128), (0, 128, 128),
    (192, 192, 192), (128, 128, 128), (255, 0, 0), (0, 255, 0), (255, 255, 0), (0, 0, 255),
    (255, 0, 255), (0, 255, 255), (255, 255, 255),
]
BLACK, NAVY, GREY, SILVER, RED, WHITE = 0, 4, 8, 7, 9, 15


def draw():
    pixels = [[None] * SIZE for _ in range(SIZE)]  # None: transparent
    centre = (SIZE - 1) / 2.0
    for y in range(SIZE):
        for x in range(SIZE):
            r = math.hypot(x - centre, y - centre)
            if r <= 15.5:
                pixels[y][x] = NAVY if r > 13.5 else (SILVER if r > 12.5 else WHITE)

    def put(x, y, colour):
        xi, yi = int(round(x)), int(round(y))
        if 0 <= xi < SIZE and 0 <= yi < SIZE:
            pixels[yi][xi] = colour

    for hour in range(12):
        angle = math.radians(hour * 30)
        length = 2 if hour % 3 == 0 else 1
        for step in range(length + 1):
            radius = 11.5 - step
            put(centre + radius * math.sin(angle), centre - radius * math.cos(angle), BLACK if hour % 3 == 0 else GREY)

    def hand(minutes_angle, length, colour, width):
        angle = math.radians(minutes_angle)
        for i in range(int(length * 4) + 1):
            t = i / 4.0
            x = centre + t * math.sin(angle)
            y = centre - t * math.cos(angle)
            put(x, y, colour)
            if width > 1:
                put(x + 0.5, y + 0.5, colour)

    hand(305, 7, BLACK, 2)  # hour hand near ten
    hand(60, 10, BLACK, 1)  # minute hand at ten past
    hand(180, 10.5, RED, 1)  # seconds
    put(centre, centre, RED)
    return pixels


def encode(pixels):
    row_xor = SIZE // 2  # 4 bits per pixel; 16 bytes is already a multiple of 4
    row_and = 4
    xor = bytearray()
    mask = bytearray()
    for y in reversed(range(SIZE)):  # bottom-up rows
        line = pixels[y]
        for x in range(0, SIZE, 2):
            a = line[x] if line[x] is not None else 0
            b = line[x + 1] if line[x + 1] is not None else 0
            xor.append((a << 4) | b)
        bits = 0
        for x in range(SIZE):
            bits = (bits << 1) | (1 if line[x] is None else 0)
        mask += struct.pack(">I", bits)
    assert len(xor) == row_xor * SIZE and len(mask) == row_and * SIZE
    palette = b"".join(struct.pack("<BBBB", b, g, r, 0) for (r, g, b) in PALETTE)
    header = struct.pack("<IiiHHIIiiII", 40, SIZE, SIZE * 2, 1, 4, 0, len(xor) + len(mask), 0, 0, 16, 0)
    image = header + palette + bytes(xor) + bytes(mask)
    directory = struct.pack("<HHH", 0, 1, 1)
    entry = struct.pack("<BBBBHHII", SIZE, SIZE, 16, 0, 1, 4, len(image), 6 + 16)
    return directory + entry + image


def main():
    if len(sys.argv) != 2:
        sys.exit(__doc__)
    with open(sys.argv[1], "wb") as out:
        out.write(encode(draw()))


if __name__ == "__main__":
    main()
